#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/rtl/Resources.h"
#include "TestForms.h"

using namespace host;
using namespace testforms;

namespace {

std::string Bytes(std::initializer_list<int> B)
{
    std::string s;
    for (int b : B) s += static_cast<char>(b);
    return s;
}

template <class Fn>
std::string Written(Fn&& Write)
{
    TStringStream stream;
    {
        TWriter writer(&stream);
        Write(writer);
    }
    return stream.GetDataString();
}

const char* const kHandWritten = R"(object MainForm: TTestForm
  Caption = 'It''s a form'#13#10'second line'
  object Panel1: TTestControl
    Align = taTop
    Caption = 'Panel'
    Buddy = Target
    object Button1: TTestControl
      Caption = 'Press ' +
        'me'
      Width = -12
      Enabled = False
      Ratio = 2.5
      Scale = 0.25s
      Big = 12345678901234
      Letter = 'Z'
      Font.Name = 'Serif'
      Font.Style = [tsBold, tsUnderline]
      Font.Color = clRed
      Lines.Strings = (
        'one'
        'two')
      Items = <
        item
          Caption = 'first'
        end
        item
          Caption = 'second'
          Width = 10
        end>
      Data = {
        00FF10
        20}
      OnClick = Button1Click
    end
  end
  object Target: TTestControl
    Tag = -7
    Left = 16
    Top = 24
  end
end
)";

TTestForm* LoadText(const std::string& Text, TTestForm* Into = nullptr)
{
    RegisterTestClasses();
    return static_cast<TTestForm*>(ReadComponentFromString(Text, Into));
}

} // namespace

TEST(WriterTest, StringAndIntegerLayouts)
{
    struct Case {
        std::string text;
        std::string expectedPrefix;
    };
    const Case strings[] = {
        {"xyz", Bytes({6, 3})},
        {"", Bytes({6, 0})},
        {std::string(255, 'a'), Bytes({6, 255})},
        {std::string(300, 'b'), Bytes({12, 0x2C, 0x01, 0, 0})},
    };
    for (const Case& c : strings) {
        std::string out = Written([&](TWriter& w) { w.WriteString(c.text); });
        EXPECT_EQ(out.substr(0, c.expectedPrefix.size()), c.expectedPrefix) << c.text.size();
        EXPECT_EQ(out.size(), c.expectedPrefix.size() + c.text.size());
        TStringStream in(out);
        TReader reader(&in);
        EXPECT_EQ(reader.ReadString(), c.text);
    }

    struct IntCase {
        int64_t value;
        std::string bytes;
    };
    const IntCase ints[] = {
        {0, Bytes({2, 0})},
        {-128, Bytes({2, 0x80})},
        {128, Bytes({3, 0x80, 0})},
        {-32769, Bytes({4, 0xFF, 0x7F, 0xFF, 0xFF})},
        {int64_t(1) << 40, Bytes({19, 0, 0, 0, 0, 0, 1, 0, 0})},
    };
    for (const IntCase& c : ints) {
        EXPECT_EQ(Written([&](TWriter& w) { w.WriteInteger(c.value); }), c.bytes) << c.value;
        TStringStream in(c.bytes);
        TReader reader(&in);
        EXPECT_EQ(reader.ReadInt64(), c.value);
    }
    TStringStream big(ints[4].bytes);
    TReader reader(&big);
    EXPECT_THROW(reader.ReadInteger(), EReadError);

    EXPECT_EQ(Written([](TWriter& w) { w.WriteBoolean(true); w.WriteBoolean(false); }), Bytes({9, 8}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteIdent("nil"); w.WriteIdent("alTop"); }),
              Bytes({13, 7, 5, 'a', 'l', 'T', 'o', 'p'}));
}

TEST(WriterTest, ExtendedFloatsConvertExactly)
{
    uint8_t one[10];
    DoubleToExtended(1.0, one);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(one), 10), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));

    const double values[] = {0.0, -0.0, 1.0, -2.5, 3.141592653589793, 1e300, -1e-300, 4.9406564584124654e-324,
                             std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity()};
    for (double v : values) {
        uint8_t raw[10];
        DoubleToExtended(v, raw);
        double back = ExtendedToDouble(raw);
        EXPECT_EQ(back, v) << v;
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << v;
    }
    uint8_t nan[10];
    DoubleToExtended(std::nan(""), nan);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(nan)));
}

TEST(ReaderTest, HandWrittenTextFormLoadsAndBehaves)
{
    TTestForm* form = LoadText(kHandWritten);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetName(), "MainForm");
    EXPECT_EQ(form->FCaption, "It's a form\r\nsecond line");
    ASSERT_NE(form->Panel1, nullptr);
    ASSERT_NE(form->Button1, nullptr);
    TTestControl* button = form->Button1;
    TTestControl* panel = form->Panel1;
    auto* target = dynamic_cast<TTestControl*>(form->FindComponent("Target"));
    ASSERT_NE(target, nullptr);

    EXPECT_EQ(button->GetParent(), panel);
    EXPECT_EQ(button->GetOwner(), form);
    EXPECT_EQ(panel->GetBuddy(), target); // declared later, fixed up after loading
    EXPECT_TRUE(panel->LoadedSawBuddy);
    EXPECT_EQ(panel->FAlign, taTop);
    EXPECT_EQ(button->GetCaption(), "Press me");
    EXPECT_EQ(button->FWidth, -12);
    EXPECT_FALSE(button->FEnabled);
    EXPECT_DOUBLE_EQ(button->FRatio, 2.5);
    EXPECT_FLOAT_EQ(button->FScale, 0.25f);
    EXPECT_EQ(button->FBig, 12345678901234);
    EXPECT_EQ(button->FLetter, 'Z');
    EXPECT_EQ(button->GetFont()->FName, "Serif");
    EXPECT_EQ(button->GetFont()->FStyle, (TTestStyles{tsBold, tsUnderline}));
    EXPECT_EQ(button->GetFont()->FColor, 0xFF);
    ASSERT_EQ(button->GetLines()->GetCount(), 2);
    EXPECT_EQ(button->GetLines()->GetStrings(1), "two");
    ASSERT_EQ(button->GetItems()->GetCount(), 2);
    EXPECT_EQ(button->GetItems()->Items<TTestItem>(1)->FWidth, 10);
    EXPECT_EQ(button->GetItems()->Items<TTestItem>(0)->FWidth, 64);
    EXPECT_EQ(button->FData, Bytes({0, 0xFF, 0x10, 0x20}));
    EXPECT_EQ(target->GetDesignInfo(), (24 << 16) | 16);
    EXPECT_EQ(target->GetTag(), -7);

    // Everything read was created loading, got Loaded once, and left loading.
    for (TTestControl* c : {panel, button, target}) {
        EXPECT_TRUE(c->CreatedLoading);
        EXPECT_EQ(c->LoadedCalls, 1);
        EXPECT_FALSE(c->GetComponentState().Contains(csLoading));
        EXPECT_FALSE(c->GetComponentState().Contains(csReading));
        EXPECT_EQ(c->CaptionChangesOutsideLoading, 0);
    }
    button->FOnClick(button);
    EXPECT_EQ(form->Clicks, 1);
    EXPECT_EQ(form->LastSender, button);

    // Freeing a component clears the form's field and the reference to it.
    target->Free();
    EXPECT_EQ(panel->GetBuddy(), nullptr);
    button->Free();
    EXPECT_EQ(form->Button1, nullptr);
    form->Free();
}

TEST(ReaderTest, RoundTripsAreStable)
{
    TTestForm* form = LoadText(kHandWritten);
    std::string first = WriteComponentToString(form);
    auto* copy = static_cast<TTestForm*>(ReadComponentFromString(first, nullptr));
    std::string second = WriteComponentToString(copy);
    EXPECT_EQ(first, second);
    std::string text = ObjectBinaryToText(first);
    EXPECT_EQ(ObjectTextToBinary(text), first);
    EXPECT_NE(text.find("Items = <"), std::string::npos);
    EXPECT_NE(text.find("OnClick = Button1Click"), std::string::npos);
    EXPECT_NE(text.find("Font.Style = [tsBold, tsUnderline]"), std::string::npos);
    EXPECT_NE(text.find("Font.Color = clRed"), std::string::npos);
    EXPECT_NE(text.find("Scale = 0.25s"), std::string::npos);
    // Defaults stay out of the stream.
    EXPECT_EQ(text.find("Target: TTestControl\r\n    Width"), std::string::npos);

    // Long strings, binary data and every float kind survive text as well.
    copy->Button1->SetCaption(std::string(300, 'q') + "'\x01\xC3\xA9");
    copy->Button1->FData = std::string(100, '\x7F');
    copy->Button1->FRatio = 0.1;
    copy->Button1->FBig = -(int64_t(1) << 50);
    std::string third = WriteComponentToString(copy);
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(third)), third);
    auto* again = static_cast<TTestForm*>(ReadComponentFromString(ObjectBinaryToText(third), nullptr));
    EXPECT_EQ(again->Button1->GetCaption(), copy->Button1->GetCaption());
    EXPECT_EQ(again->Button1->FRatio, 0.1);
    EXPECT_EQ(WriteComponentToString(again), third);
    again->Free();
    copy->Free();
    form->Free();
}

TEST(ReaderTest, DefaultValuesAreNotWritten)
{
    RegisterTestClasses();
    auto* form = new TTestForm(nullptr);
    form->SetName("F");
    auto* c = new TTestControl(form);
    c->SetName("C");
    std::string text = ObjectBinaryToText(WriteComponentToString(form));
    EXPECT_EQ(text, "object F: TTestForm\r\n  object C: TTestControl\r\n  end\r\nend\r\n");
    c->FEnabled = false;  // differs from the default True
    c->FWidth = 75;       // equals its default
    c->GetFont()->FName = "Sans";
    c->FOnClick = [](TObject*) {}; // not a published method: cannot be stored
    text = ObjectBinaryToText(WriteComponentToString(form));
    EXPECT_EQ(text, "object F: TTestForm\r\n  object C: TTestControl\r\n    Enabled = False\r\n  end\r\nend\r\n");
    form->Free();
}

TEST(ReaderTest, MalformedStreamsRaiseReadErrors)
{
    RegisterTestClasses();
    std::string good = ObjectTextToBinary("object F: TTestForm\n object C: TTestControl\n Width = 5\n end\nend\n");
    struct Case {
        const char* what;
        std::string data;
        const char* message; // substring expected in the error
    };
    std::string badProp = ObjectTextToBinary("object F: TTestForm\n object C: TTestControl\n Height = 5\n end\nend\n");
    std::string badEnum = ObjectTextToBinary("object F: TTestForm\n object C: TTestControl\n Align = taLeft\n end\nend\n");
    std::string badType = ObjectTextToBinary("object F: TTestForm\n object C: TTestControl\n Width = 'x'\n end\nend\n");
    std::string badMethod = ObjectTextToBinary("object F: TTestForm\n object C: TTestControl\n OnClick = Nope\n end\nend\n");
    std::string hugeString =
        good.substr(0, good.size() - 3) + Bytes({7, 'C', 'a', 'p', 't', 'i', 'o', 'n', 12, 0xFF, 0xFF, 0xFF, 0x7F});
    std::string badSignature = "TPF1" + good.substr(4);
    const Case cases[] = {
        {"unknown property", badProp, "Error reading C.Height: Property Height does not exist"},
        {"unknown enum name", badEnum, "Error reading C.Align: Invalid property value"},
        {"wrong value type", badType, "Error reading C.Width: Invalid property value"},
        {"unknown method", badMethod, "Invalid property value"},
        {"truncated", good.substr(0, good.size() - 3), "Stream read error"},
        {"huge length", hugeString, "Stream read error"},
        {"bad signature", badSignature, "Invalid stream format"},
        {"bad value type", good.substr(0, 30) + Bytes({0x55}), ""},
    };
    for (const Case& c : cases) {
        try {
            TStringStream stream(c.data);
            TReader reader(&stream);
            reader.ReadRootComponent(nullptr);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const EReadError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
        }
    }

    std::string deep = "TPF0";
    deep += Bytes({9}) + "TTestForm" + Bytes({1, 'F', 0});
    for (int i = 0; i < 100000; ++i) deep += Bytes({12}) + "TTestControl" + Bytes({0, 0});
    EXPECT_THROW(ReadComponentFromString(deep, nullptr), EReadError);
    std::string deepText = "object F: TTestForm\n";
    for (int i = 0; i < 100000; ++i) deepText += "object TTestControl\n";
    EXPECT_THROW(ReadComponentFromString(deepText, nullptr), EReadError);
    EXPECT_THROW(ReadComponentFromString("object F: TNoSuchClass\nend\n", nullptr), EClassNotFound);
}

TEST(ReaderTest, ErrorHandlerCanSkipBadProperties)
{
    RegisterTestClasses();
    std::string data = ObjectTextToBinary(
        "object F: TTestForm\n object C: TTestControl\n Height = 5\n Align = taLeft\n Width = 7\n"
        " Font.Style = [tsBold, tsWide]\n end\nend\n");
    TStringStream stream(data);
    TReader reader(&stream);
    std::vector<std::string> errors;
    reader.OnError = [&](TReader*, const std::string& Message, bool& Handled) {
        errors.push_back(Message);
        Handled = true;
    };
    auto* form = static_cast<TTestForm*>(reader.ReadRootComponent(nullptr));
    auto* c = static_cast<TTestControl*>(form->FindComponent("C"));
    EXPECT_EQ(c->FWidth, 7);
    EXPECT_EQ(c->FAlign, taNone);
    EXPECT_EQ(c->GetFont()->FStyle, TTestStyles{tsBold});
    EXPECT_EQ(errors.size(), 3u);
    form->Free();
}

TEST(ReaderTest, ReferencesAcrossFormsResolveWhenTheOtherLoads)
{
    RegisterTestClasses();
    static TTestForm* other = nullptr;
    TFindGlobalComponent finder = [](const std::string& Name) -> TComponent* {
        return other && SameText(other->GetName(), Name) ? other : nullptr;
    };
    RegisterFindGlobalComponentProc(finder);
    int pendingBefore = PendingGlobalFixupCount();
    TTestForm* first = LoadText("object First: TTestForm\n object C: TTestControl\n Buddy = Second.Target\n end\nend\n");
    auto* c = static_cast<TTestControl*>(first->FindComponent("C"));
    EXPECT_EQ(c->GetBuddy(), nullptr);
    EXPECT_EQ(PendingGlobalFixupCount(), pendingBefore + 1);
    EXPECT_TRUE(c->GetComponentState().Contains(csFixups));

    // Like a form that registers itself before its layout loads.
    other = new TTestForm(nullptr);
    LoadText("object Second: TTestForm\n object Target: TTestControl\n end\nend\n", other);
    EXPECT_EQ(c->GetBuddy(), other->FindComponent("Target"));
    EXPECT_EQ(PendingGlobalFixupCount(), pendingBefore);
    EXPECT_FALSE(c->GetComponentState().Contains(csFixups));
    // The reference is written back with its form's name.
    EXPECT_NE(ObjectBinaryToText(WriteComponentToString(first)).find("Buddy = Second.Target"), std::string::npos);

    // A form that dies with a pending reference takes it along.
    TTestForm* third = LoadText("object Third: TTestForm\n object C: TTestControl\n Buddy = Fourth.X\n end\nend\n");
    EXPECT_EQ(PendingGlobalFixupCount(), pendingBefore + 1);
    third->Free();
    EXPECT_EQ(PendingGlobalFixupCount(), pendingBefore);

    other->Free();
    other = nullptr;
    EXPECT_EQ(c->GetBuddy(), nullptr);
    first->Free();
    UnregisterFindGlobalComponentProc(finder);
}

TEST(WriterTest, DescendentStoresOnlyDifferences)
{
    RegisterTestClasses();
    TTestForm* ancestor = LoadText(kHandWritten);
    TTestForm* descendant = LoadText(kHandWritten);
    descendant->Panel1->SetCaption("Changed");
    auto* extra = new TTestControl(descendant);
    extra->SetName("Extra");

    TStringStream stream;
    TWriter writer(&stream);
    writer.WriteDescendent(descendant, ancestor);
    std::string text = ObjectBinaryToText(stream.GetDataString());
    EXPECT_EQ(text.rfind("inherited MainForm: TTestForm", 0), 0u) << text;
    EXPECT_NE(text.find("inherited Panel1: TTestControl\r\n    Caption = 'Changed'"), std::string::npos) << text;
    EXPECT_NE(text.find("object Extra: TTestControl"), std::string::npos) << text;
    EXPECT_EQ(text.find("Press"), std::string::npos) << text;
    EXPECT_EQ(text.find("Items"), std::string::npos) << text;

    // Read over a fresh copy of the ancestor, it reproduces the descendant.
    TTestForm* rebuilt = LoadText(kHandWritten);
    ReadComponentFromString(stream.GetDataString(), rebuilt);
    EXPECT_EQ(rebuilt->Panel1->GetCaption(), "Changed");
    EXPECT_NE(rebuilt->FindComponent("Extra"), nullptr);
    EXPECT_EQ(rebuilt->Button1->GetCaption(), "Press me");
    rebuilt->Free();
    descendant->Free();
    ancestor->Free();
}

namespace {
// A dialog whose constructor loads its stored layout.
class TLayoutDialog : public TTestForm {
    HOST_CLASS(TLayoutDialog, TTestForm)
public:
    explicit TLayoutDialog(TComponent* AOwner) : TTestForm(AOwner)
    {
        FPrefix = ">"; // read by the layout's setters below
        InitInheritedComponent(this, TLayoutDialog::StaticClass());
        ButtonAfterLoad = Button1;
    }
    void SetTitle(const std::string& Value) { FCaption = FPrefix + Value; }
    const std::string& GetTitle() const { return FCaption; }
    std::string FPrefix;
    TTestControl* ButtonAfterLoad = nullptr;
};
HOST_PUBLISHED(TLayoutDialog)
{
    P.Property("Title", &TLayoutDialog::GetTitle, &TLayoutDialog::SetTitle);
}
} // namespace

TEST(ReaderTest, StoredLayoutLoadsDuringConstruction)
{
    RegisterTestClasses();
    static const char layout[] =
        "object LayoutDialog: TLayoutDialog\n Title = 'Hello'\n object Button1: TTestControl\n"
        "  Caption = 'OK'\n OnClick = Button1Click\n end\nend\n";
    RegisterResource(TResType::FormLayout, "TLayoutDialog", layout);
    auto* dialog = new TLayoutDialog(nullptr);
    EXPECT_EQ(dialog->GetName(), "LayoutDialog");
    EXPECT_EQ(dialog->FCaption, ">Hello");
    ASSERT_NE(dialog->ButtonAfterLoad, nullptr);
    EXPECT_EQ(dialog->ButtonAfterLoad->GetCaption(), "OK");
    dialog->ButtonAfterLoad->FOnClick(nullptr);
    EXPECT_EQ(dialog->Clicks, 1);
    EXPECT_FALSE(InitInheritedComponent(dialog, TTestForm::StaticClass()));

    // Two dialogs of one owner at a time: the second gets a name of its own.
    auto* owner = new TComponent(nullptr);
    auto* first = new TLayoutDialog(owner);
    auto* second = new TLayoutDialog(owner);
    EXPECT_EQ(first->GetName(), "LayoutDialog");
    EXPECT_EQ(second->GetName(), "LayoutDialog_1");
    owner->Free();
    dialog->Free();
    UnregisterResource(TResType::FormLayout, "TLayoutDialog");
}

TEST(ReaderTest, EveryValueTypeReadsAndConvertsToText)
{
    int64_t currency = 123456; // 12.3456
    double date = 36526.5;
    float single = 1.5f;
    auto raw = [](const void* p, size_t n) { return std::string(static_cast<const char*>(p), n); };
    struct Case {
        std::string value;
        std::string text;
    };
    const Case cases[] = {
        {Bytes({18, 4, 0, 0, 0, 'h', 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE}), "'h\xC3\xA9\xF0\x9F\x98\x80'"},
        {Bytes({20, 2, 0, 0, 0, 0xC3, 0xA9}), "'\xC3\xA9'"},
        {Bytes({16}) + raw(&currency, 8), "12.3456c"},
        {Bytes({17}) + raw(&date, 8), "36526.5d"},
        {Bytes({15}) + raw(&single, 4), "1.5s"},
        {Bytes({13}), "nil"},
        {Bytes({0x0B, 1, 'a', 1, 'b', 0}), "[a, b]"},
        {Bytes({1, 2, 1, 6, 1, 'x', 0}), "(\r\n    1\r\n    'x')"},
        {Bytes({14, 2, 3, 1, 1, 'W', 2, 5, 0, 0}), "<\r\n    item [3]\r\n      W = 5\r\n    end>"},
        {Bytes({6, 2, '\'', 9}), "''''#9"},
    };
    for (const Case& c : cases) {
        std::string binary = "TPF0" + Bytes({5}) + "TForm" + Bytes({0, 1, 'P'}) + c.value + Bytes({0, 0});
        std::string text = ObjectBinaryToText(binary);
        EXPECT_EQ(text, "object TForm\r\n  P = " + c.text + "\r\nend\r\n") << c.text;
    }
    TStringStream stream(Bytes({16}) + raw(&currency, 8) + Bytes({17}) + raw(&date, 8) + Bytes({18, 1, 0, 0, 0, 0x41, 0}));
    TReader reader(&stream);
    EXPECT_DOUBLE_EQ(reader.ReadFloat(), 12.3456);
    EXPECT_DOUBLE_EQ(reader.ReadDate(), date);
    EXPECT_EQ(reader.ReadString(), "A");
}

namespace {
class TStartupRegistered : public TComponent {
    HOST_CLASS(TStartupRegistered, TComponent)
public:
    using TComponent::TComponent;
};
HOST_REGISTER_CLASSES(TStartupRegistered);
} // namespace

TEST(ClassRegistryTest, StartupRegistrationHappensBeforeMain)
{
    EXPECT_EQ(GetClass("TStartupRegistered"), TStartupRegistered::StaticClass());
    TComponent* c = ReadComponentFromString("object X: TStartupRegistered\nend\n", nullptr);
    EXPECT_EQ(c->ClassType(), TStartupRegistered::StaticClass());
    c->Free();
}

TEST(ReaderTest, TextFormsRejectWhatBinaryCannotHold)
{
    RegisterTestClasses();
    const std::string bad[] = {
        "object F: TTestForm\n  " + std::string(300, 'P') + " = 1\nend\n", // name over 255 characters
        "object F: TTestForm\n  Caption = 'open\nend\n",
        "object F: TTestForm\n  Caption = #300\nend\n",
        "object F: TTestForm\n  Data = {ABC}\nend\n",
        "object F: TTestForm\n  Width = 99999999999999999999\nend\n",
        "object F: TTestForm\n  Items = < item end\n",
        "object F: TTestForm\n",
        "",
    };
    for (const std::string& text : bad) EXPECT_THROW(ObjectTextToBinary(text), EReadError) << text.substr(0, 40);
    // A byte order mark is not part of the form.
    EXPECT_EQ(ObjectTextToBinary("\xEF\xBB\xBFobject F: TTestForm\nend\n"),
              ObjectTextToBinary("object F: TTestForm\nend\n"));
}
