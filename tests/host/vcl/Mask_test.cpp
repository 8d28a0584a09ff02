// Edit masks: formatting, and TMaskEdit driven by the keyboard.
#include "EditTest.h"

#include "host/rtl/SysLocale.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Mask.h"

namespace edittest {
namespace {

// Pins the separators that ':' and '/' stand for.
class SeparatorGuard {
public:
    SeparatorGuard(char Date, char Time) : FDate(DateSeparator), FTime(TimeSeparator)
    {
        DateSeparator = Date;
        TimeSeparator = Time;
    }
    ~SeparatorGuard()
    {
        DateSeparator = FDate;
        TimeSeparator = FTime;
    }

private:
    char FDate, FTime;
};

TEST(MaskTextTest, FormatMaskTextPutsLiteralsAndBlanksInPlace)
{
    SeparatorGuard guard('/', ':');
    struct Case {
        const char* Mask;
        const char* Value;
        const char* Expected;
    } cases[] = {
        {"!(999)000-0000;0;_", "4085551234", "(408)555-1234"},
        {"!(999)000-0000;0;_", "5551234", "(   )555-1234"},  // '!': blanks lead
        {"(999)000-0000;0;_", "5551234", "(555)123-4   "},   // without it they trail
        {"00/00/00;0;_", "123199", "12/31/99"},
        {"000;0;_", "12", "12 "},
        {"!999;0;_", "12", " 12"},
        {"000;0", "12345", "123"},
        {"\\A00;0", "12", "A12"},                             // an escaped mask character is literal
        {"_00;0", "12", " 12"},                               // '_' is a literal blank
        {"00:00;0", "1230", "12:30"},
        {"(000);1;_", "(12", "(12 )"},                         // literals saved: the value has them
        {"(000);1;_", "(123)", "(123)"},
        {"!(000);1;_", "23)", "( 23)"},
        {">LL<ll;0;*", "abCD", "abCD"},                        // case applies to typing, not formatting
        {"", "free", "free"},  // no mask: the value as it is
    };
    for (const Case& c : cases) EXPECT_EQ(FormatMaskText(c.Mask, c.Value), c.Expected) << c.Mask << " / " << c.Value;

    // ':' and '/' follow the locale.
    SeparatorGuard dots('.', '.');
    EXPECT_EQ(FormatMaskText("00:00;0", "1230"), "12.30");
    EXPECT_EQ(MaskDoFormatText("00/00;0", "0102", '_'), "01.02");
    EXPECT_EQ(MaskDoFormatText("00/00;0", "01", '_'), "01.__");
}

TEST(MaskTextTest, FieldsGiveSavingAndBlank)
{
    struct Case {
        const char* Mask;
        bool Save;
        char Blank;
    } cases[] = {
        {"000", true, '_'}, {"000;0", false, '_'}, {"000;1;*", true, '*'}, {"000;0; ", false, ' '},
        {"0\\;0;0;#", false, '#'},  // an escaped ';' belongs to the mask
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MaskGetMaskSave(c.Mask), c.Save) << c.Mask;
        EXPECT_EQ(MaskGetMaskBlank(c.Mask), c.Blank) << c.Mask;
    }
    EXPECT_EQ(mask::ParseMask("0\\;0;0;#").Slots.size(), 3u);
}

class MaskEditTest : public ControlTest {
protected:
    TMaskEdit* MakeMaskEdit(const std::string& Mask)
    {
        auto* e = Make<TMaskEdit>(Root(), "MaskEdit1", 10, 10, 150, 21);
        e->SetEditMask(Mask);
        e->SetFocus();
        ProcessPendingMessages();
        return e;
    }
    SeparatorGuard FGuard{'/', ':'};
};

TEST_F(MaskEditTest, TypingFillsPositionsAndStepsOverLiterals)
{
    TMaskEdit* e = MakeMaskEdit("!(999)000-0000;1;_");
    EXPECT_EQ(e->GetEditText(), "(___)___-____");
    EXPECT_EQ(e->GetText(), "(   )   -    ");
    Input::KeyPress(VK_HOME);
    EXPECT_EQ(e->GetSelStart(), 1);  // the first position, past the literal
    EXPECT_EQ(e->GetSelLength(), 1);  // the character to be overwritten is selected
    Input::TypeText("4085551234");
    EXPECT_EQ(e->GetEditText(), "(408)555-1234");
    EXPECT_EQ(e->GetText(), "(408)555-1234");
    EXPECT_TRUE(e->GetModified());
    // Typing over a position replaces it; the length never changes.
    Input::KeyPress(VK_HOME);
    Input::TypeText("7");
    EXPECT_EQ(e->GetEditText(), "(708)555-1234");
    EXPECT_EQ(e->GetSelStart(), 2);
}

TEST_F(MaskEditTest, InvalidCharactersAreRejectedWithABeep)
{
    TMaskEdit* e = MakeMaskEdit("00-LL;0;_");
    int beeps = Input::BeepCount();
    Input::KeyPress(VK_HOME);
    Input::TypeText("1x2");
    EXPECT_EQ(e->GetEditText(), "12-__");
    EXPECT_EQ(Input::BeepCount(), beeps + 1);
    Input::TypeText("-a9b");  // '-' steps over the literal; '9' is no letter
    EXPECT_EQ(e->GetEditText(), "12-ab");
    EXPECT_EQ(Input::BeepCount(), beeps + 2);
    EXPECT_EQ(e->GetText(), "12ab");
    // Past the last position there is nowhere to type.
    Input::TypeText("c");
    EXPECT_EQ(e->GetEditText(), "12-ab");
    EXPECT_EQ(Input::BeepCount(), beeps + 3);
}

TEST_F(MaskEditTest, CaseDirectivesConvertTypedLetters)
{
    TMaskEdit* e = MakeMaskEdit(">LL<LL<>LL;0;_");
    Input::KeyPress(VK_HOME);
    Input::TypeText("abCDeF");
    EXPECT_EQ(e->GetText(), "ABcdeF");
}

TEST_F(MaskEditTest, ValidateEditRaisesOnAnIncompleteEntry)
{
    TMaskEdit* e = MakeMaskEdit("00/00/00;0;_");
    e->ValidateEdit();  // untouched: nothing to complain about
    Input::KeyPress(VK_HOME);
    Input::TypeText("1231");
    EXPECT_EQ(e->GetEditText(), "12/31/__");
    try {
        e->ValidateEdit();
        ADD_FAILURE() << "no exception";
    } catch (const EDBEditError& x) {
        EXPECT_EQ(x.GetMessage(), "Invalid input value.  Use escape key to abandon changes");
    }
    EXPECT_EQ(e->GetSelStart(), 6);  // the caret goes to the missing position
    Input::TypeText("99");
    EXPECT_NO_THROW(e->ValidateEdit());
    EXPECT_EQ(e->GetText(), "123199");
    // Optional positions may stay blank.
    TMaskEdit* opt = MakeMaskEdit("0999;0;_");
    Input::KeyPress(VK_HOME);
    Input::TypeText("5");
    EXPECT_NO_THROW(opt->ValidateEdit());
    EXPECT_EQ(opt->GetText(), "5");
}

TEST_F(MaskEditTest, LeavingAnIncompleteEntryKeepsTheFocus)
{
    TMaskEdit* e = MakeMaskEdit("000;0;_");
    auto* other = Make<TEdit>(e->GetParent(), "Other", 10, 50, 100, 21);
    Input::KeyPress(VK_HOME);
    Input::TypeText("1");
    EXPECT_THROW(other->SetFocus(), EDBEditError);
    ProcessPendingMessages();
    EXPECT_TRUE(e->Focused());
    Input::TypeText("23");
    other->SetFocus();
    EXPECT_TRUE(other->Focused());
}

TEST_F(MaskEditTest, BackspaceDeleteEscapeAndPaste)
{
    TMaskEdit* e = MakeMaskEdit("000-000;1;_");
    e->SetText("123-456");
    EXPECT_EQ(e->GetEditText(), "123-456");
    EXPECT_FALSE(e->GetModified());
    e->SetFocus();
    Input::KeyPress(VK_END);
    Input::KeyPress(VK_BACK);
    EXPECT_EQ(e->GetEditText(), "123-45_");
    Input::KeyPress(VK_HOME);
    Input::KeyPress(VK_RIGHT);
    Input::KeyPress(VK_DELETE);
    EXPECT_EQ(e->GetEditText(), "1_3-45_");
    EXPECT_EQ(e->GetText(), "1 3-45 ");
    // Escape abandons the changes made since the edit was entered.
    e->SetText("123-456");
    Input::KeyPress(VK_HOME);
    Input::TypeText("9");
    Input::KeyPress(VK_ESCAPE);
    EXPECT_EQ(e->GetEditText(), "123-456");
    EXPECT_FALSE(e->GetModified());
    // Pasted text goes through the mask character by character.
    SetClipboardText("98x7654");
    Input::KeyPress(VK_HOME);
    Input::KeyPress('V', Input::Ctrl);
    EXPECT_EQ(e->GetEditText(), "987-654");
    // Clearing keeps the literals in place, so typing still lines up.
    e->Clear();
    EXPECT_EQ(e->GetEditText(), "___-___");
    Input::KeyPress(VK_HOME);
    Input::TypeText("12345");
    EXPECT_EQ(e->GetText(), "123-45 ");
}

TEST_F(MaskEditTest, WithoutAMaskItIsAPlainEdit)
{
    TMaskEdit* e = MakeMaskEdit("");
    EXPECT_FALSE(e->IsMasked());
    Input::TypeText("free text");
    EXPECT_EQ(e->GetText(), "free text");
    EXPECT_EQ(e->GetEditText(), "free text");
    e->SetEditMask("000;0;_");
    EXPECT_TRUE(e->IsMasked());
    EXPECT_EQ(e->GetEditText(), "fre");  // the old value, formatted by the new mask
    EXPECT_EQ(e->GetMaxLength(), 3);
}

TEST(MaskEditStreamingTest, MaskAndTextSurviveAFormFile)
{
    SeparatorGuard guard('/', ':');
    auto* e = new TMaskEdit(nullptr);
    e->SetName("MaskEdit1");
    e->SetEditMask("!99/99/00;1;_");
    e->SetText("1/02/03");
    std::string data = WriteComponentToString(e);
    auto* copy = static_cast<TMaskEdit*>(ReadComponentFromString(data, nullptr));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetEditMask(), "!99/99/00;1;_");
    EXPECT_EQ(copy->GetEditText(), e->GetEditText());
    EXPECT_EQ(copy->GetText(), e->GetText());
    EXPECT_EQ(WriteComponentToString(copy), data);
    copy->Free();
    e->Free();
}

} // namespace
} // namespace edittest
