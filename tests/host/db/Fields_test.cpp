#include <gtest/gtest.h>

#include "DBTestUtil.h"
#include "host/rtl/DateTime.h"

using namespace host;
using namespace dbtest;

namespace {

class FieldsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ShortDateFormat = "yyyy-mm-dd";
        DateSeparator = '-';
        DecimalSeparator = '.';
        Owned<TTable> t(new TTable(nullptr));
        t->SetDatabaseName(Dir.Path());
        t->SetTableName("ALLTYPES.DB");
        auto* d = t->GetFieldDefs();
        d->Add("S", ftString, 5);
        d->Add("SI", ftSmallint);
        d->Add("I", ftInteger);
        d->Add("W", ftWord);
        d->Add("B", ftBoolean);
        d->Add("F", ftFloat);
        d->Add("C", ftCurrency);
        d->Add("D", ftDate);
        d->Add("DT", ftDateTime);
        d->Add("BL", ftBlob);
        t->CreateTable();
        T = new TTable(nullptr);
        T->SetDatabaseName(Dir.Path());
        T->SetTableName("ALLTYPES.DB");
        T->Open();
        T->Append();
    }
    void TearDown() override { host::Free(T); }
    TField* F(const char* Name) { return T->FieldByName(Name); }
    TempDir Dir;
    TTable* T = nullptr;
};

TEST_F(FieldsTest, ConversionsBetweenTypes)
{
    F("S")->SetAsString("123456");
    EXPECT_EQ(F("S")->GetAsString(), "12345") << "strings are cut to the field size";
    EXPECT_EQ(F("S")->GetAsInteger(), 12345);
    F("S")->SetAsBoolean(true);
    EXPECT_EQ(F("S")->GetAsString(), "T");
    EXPECT_TRUE(F("S")->GetAsBoolean());
    F("I")->SetAsString("-42");
    EXPECT_EQ(F("I")->GetAsInteger(), -42);
    EXPECT_DOUBLE_EQ(F("I")->GetAsFloat(), -42.0);
    F("I")->SetAsFloat(2.5);
    EXPECT_EQ(F("I")->GetAsInteger(), 2) << "halves round to even";
    F("F")->SetAsString("1.5E3");
    EXPECT_EQ(F("F")->GetAsInteger(), 1500);
    EXPECT_EQ(F("F")->GetAsString(), "1500");
    F("B")->SetAsString("f");
    EXPECT_FALSE(F("B")->GetAsBoolean());
    EXPECT_EQ(F("B")->GetAsString(), "False");
    static_cast<TBooleanField*>(F("B"))->SetDisplayValues("Yes;No");
    F("B")->SetAsString("Y");
    EXPECT_EQ(F("B")->GetDisplayText(), "Yes");
    F("D")->SetAsString("2024-03-01");
    EXPECT_EQ(F("D")->GetAsDateTime(), EncodeDate(2024, 3, 1));
    F("D")->SetAsDateTime(EncodeDate(2024, 3, 1) + 0.75);
    EXPECT_EQ(F("D")->GetAsDateTime(), EncodeDate(2024, 3, 1)) << "date fields drop the time";
    F("DT")->SetAsDateTime(EncodeDate(2024, 3, 1) + 0.5);
    static_cast<TDateTimeField*>(F("DT"))->SetDisplayFormat("dd/mm hh:nn");
    EXPECT_EQ(F("DT")->GetDisplayText(), "01-03 12:00") << "/ is the date separator";
    F("C")->SetAsFloat(3.5);
    EXPECT_EQ(F("C")->GetEditText(), "3.50");
    F("BL")->SetAsString(std::string("a\0b", 3));
    EXPECT_EQ(F("BL")->GetAsString().size(), 3u);
    EXPECT_EQ(F("BL")->GetDisplayText(), "(BLOB)");
    F("BL")->Clear();
    EXPECT_EQ(F("BL")->GetDisplayText(), "(Blob)");
    EXPECT_TRUE(F("BL")->GetIsNull());
    F("I")->SetAsString("");
    EXPECT_TRUE(F("I")->GetIsNull());
    EXPECT_EQ(F("I")->GetDisplayText(), "");
}

TEST_F(FieldsTest, InvalidValuesRaiseWithTheirTexts)
{
    struct Case {
        const char* Field;
        std::function<void(TField*)> Action;
        bool Convert; // EConvertError, else EDatabaseError
        std::string Message;
    };
    const Case cases[] = {
        {"I", [](TField* f) { f->SetAsString("abc"); }, true, "'abc' is not a valid integer value for field 'I'"},
        {"F", [](TField* f) { f->SetAsString("1,x"); }, true, "'1,x' is not a valid floating point value for field 'F'"},
        {"B", [](TField* f) { f->SetAsString("maybe"); }, true, "'maybe' is not a valid boolean value for field 'B'"},
        {"S", [](TField* f) { f->SetAsString("abc"), (void)f->GetAsInteger(); }, true, "'abc' is not a valid integer value"},
        {"SI", [](TField* f) { f->SetAsInteger(40000); }, false,
         "40000 is not a valid value for field 'SI'. The allowed range is -32768 to 32767"},
        {"W", [](TField* f) { f->SetAsInteger(-1); }, false,
         "-1 is not a valid value for field 'W'. The allowed range is 0 to 65535"},
        {"I", [](TField* f) { (void)f->GetAsBoolean(); }, false, "Cannot access field 'I' as type Boolean"},
        {"D", [](TField* f) { f->SetAsString("2024-13-45"); }, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Message);
        try {
            c.Action(F(c.Field));
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_TRUE(c.Convert);
            if (!c.Message.empty()) EXPECT_EQ(e.GetMessage(), c.Message);
        } catch (const EDatabaseError& e) {
            EXPECT_FALSE(c.Convert);
            EXPECT_EQ(e.GetMessage(), c.Message);
        }
    }
    auto* i = static_cast<TIntegerField*>(F("I"));
    i->SetMinValue(1);
    i->SetMaxValue(10);
    EXPECT_THROW(i->SetAsInteger(11), EDatabaseError);
    i->SetAsInteger(10);
    F("I")->SetReadOnly(true);
    EXPECT_THROW(F("I")->SetAsInteger(5), EDatabaseError);
}

TEST_F(FieldsTest, ValidateSeesTheNewValueAndCanRefuseIt)
{
    int seen = 0;
    F("I")->OnValidate = [&](TField* f) {
        seen = f->GetAsInteger();
        if (seen < 0) throw EDatabaseError("negative");
    };
    int changes = 0;
    F("I")->OnChange = [&](TField*) { ++changes; };
    F("I")->SetAsInteger(7);
    EXPECT_EQ(seen, 7);
    EXPECT_THROW(F("I")->SetAsInteger(-3), EDatabaseError);
    EXPECT_EQ(F("I")->GetAsInteger(), 7);
    EXPECT_EQ(changes, 1);
    F("S")->OnGetText = [](TField* f, std::string& Text, bool Display) {
        Text = (Display ? "<" : "[") + f->GetAsString() + (Display ? ">" : "]");
    };
    F("S")->SetAsString("ab");
    EXPECT_EQ(F("S")->GetDisplayText(), "<ab>");
    EXPECT_EQ(F("S")->GetEditText(), "[ab]");
    EXPECT_TRUE(F("I")->IsValidChar('5'));
    EXPECT_FALSE(F("I")->IsValidChar('.'));
    EXPECT_TRUE(F("F")->IsValidChar('.'));
    EXPECT_EQ(F("I")->GetAlignment(), taRightJustify);
    EXPECT_EQ(F("S")->GetDisplayWidth(), 5);
}

TEST_F(FieldsTest, BlobStreamsAndFiles)
{
    auto* blob = static_cast<TBlobField*>(F("BL"));
    {
        TBlobStream w(blob, bmWrite);
        w.WriteBuffer("hello world", 11);
    }
    EXPECT_EQ(blob->GetAsString(), "hello world");
    {
        TBlobStream rw(blob, bmReadWrite);
        rw.Seek(6, soBeginning);
        rw.WriteBuffer("there", 5);
    }
    EXPECT_EQ(blob->GetAsString(), "hello there");
    std::string file = Dir.Path() + "/blob.bin";
    blob->SaveToFile(file);
    blob->Clear();
    blob->LoadFromFile(file);
    EXPECT_EQ(blob->GetBlobSize(), 11);
    T->Post();
    EXPECT_THROW(TBlobStream(blob, bmWrite), EDatabaseError) << "writing needs edit mode";
    TBlobStream r(blob, bmRead);
    char buf[32] = {};
    EXPECT_EQ(r.Read(buf, sizeof buf), 11);
    EXPECT_STREQ(buf, "hello there");
    EXPECT_THROW(blob->LoadFromFile(Dir.Path() + "/missing.bin"), EFOpenError);
}

} // namespace
