#include "host/rtl/Strings.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Streams.h"

using namespace host;

namespace {

using Lines = std::vector<std::string>;

Lines Items(const TStrings& s)
{
    Lines out;
    for (int i = 0; i < s.GetCount(); ++i) out.push_back(s[i]);
    return out;
}

void Fill(TStrings& s, const Lines& lines)
{
    for (const std::string& l : lines) s.Add(l);
}

} // namespace

TEST(Strings, SortedAddFindAndDuplicates)
{
    struct Case {
        TDuplicates dups;
        Lines adds;
        Lines expected;
        bool raises;
    };
    const Case cases[] = {
        {dupIgnore, {"pear", "Apple", "fig", "apple", "PEAR"}, {"Apple", "fig", "pear"}, false},
        // An accepted duplicate goes in front of the equal items already there.
        {dupAccept, {"pear", "Apple", "fig", "apple"}, {"apple", "Apple", "fig", "pear"}, false},
        {dupError, {"b", "a", "B"}, {"a", "b"}, true},
        // Punctuation sorts before digits, digits before letters.
        {dupIgnore, {"a_b", "aB", "a", "A1", ""}, {"", "a", "a_b", "A1", "aB"}, false},
        {dupIgnore, {"\xC3\xA9t\xC3\xA9", "ete", "\xC3\x89T\xC3\x89", "f"}, {"ete", "\xC3\xA9t\xC3\xA9", "f"}, false},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetSorted(true);
        l.SetDuplicates(c.dups);
        bool raised = false;
        for (const std::string& s : c.adds) {
            try {
                l.Add(s);
            } catch (const EStringListError& e) {
                raised = true;
                EXPECT_STREQ(e.what(), "String list does not allow duplicates");
            }
        }
        EXPECT_EQ(raised, c.raises);
        EXPECT_EQ(Items(l), c.expected) << c.expected[0];
    }

    TStringList l;
    l.SetDuplicates(dupAccept);
    l.SetSorted(true);
    Fill(l, {"b", "a", "c", "b", "B", "d"});
    int index = -1;
    EXPECT_TRUE(l.Find("b", index));
    EXPECT_EQ(index, 1) << "Find reports the first of equal items";
    EXPECT_FALSE(l.Find("bb", index));
    EXPECT_EQ(index, 4) << "Find reports where a missing item belongs";
    EXPECT_FALSE(l.Find("zz", index));
    EXPECT_EQ(index, 6);
    EXPECT_EQ(l.IndexOf("C"), 4);
    EXPECT_EQ(l.IndexOf("e"), -1);
}

TEST(Strings, IgnoredDuplicateKeepsItsObject)
{
    TStringList l;
    l.SetSorted(true);
    TObject a, b;
    EXPECT_EQ(l.AddObject("x", &a), 0);
    EXPECT_EQ(l.AddObject("X", &b), 0);
    EXPECT_EQ(l.GetObjects(0), &a);
    EXPECT_EQ(l.GetCount(), 1);
}

TEST(Strings, CaseSensitivity)
{
    TStringList l;
    Fill(l, {"b", "B", "a", "A"});
    EXPECT_EQ(l.IndexOf("A"), 2);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf("A"), 3);
    l.SetSorted(true);
    // With case, a lower-case letter sorts before its capital.
    EXPECT_EQ(Items(l), (Lines{"a", "A", "b", "B"}));
    EXPECT_EQ(l.IndexOf("A"), 1);
    l.SetCaseSensitive(false);
    EXPECT_EQ(l.IndexOf("a"), l.IndexOf("A"));
}

TEST(Strings, SortedListRefusesPositionalEdits)
{
    struct Case {
        const char* name;
        std::function<void(TStringList&)> op;
    };
    const Case cases[] = {
        {"insert", [](TStringList& l) { l.Insert(0, "x"); }},
        {"put", [](TStringList& l) { l.SetStrings(0, "x"); }},
        {"move", [](TStringList& l) { l.Move(0, 2); }},
        {"value of existing name", [](TStringList& l) { l.SetValues("k", "9"); }},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetSorted(true);
        Fill(l, {"a", "k=1", "z"});
        try {
            c.op(l);
            ADD_FAILURE() << c.name << " did not raise";
        } catch (const EStringListError& e) {
            EXPECT_STREQ(e.what(), "Operation not allowed on sorted string list") << c.name;
        }
        EXPECT_EQ(Items(l), (Lines{"a", "k=1", "z"})) << c.name << " lost or changed items";
    }
    TStringList l;
    l.SetSorted(true);
    l.SetValues("m", "2");
    l.SetValues("b", "1");
    EXPECT_EQ(Items(l), (Lines{"b=1", "m=2"}));
}

TEST(Strings, IndexErrors)
{
    TStringList l;
    Fill(l, {"a", "b"});
    const std::vector<std::function<void()>> ops = {
        [&] { l.GetStrings(2); }, [&] { l.GetObjects(-1); },  [&] { l.SetStrings(2, ""); },
        [&] { l.Delete(5); },     [&] { l.Insert(3, "x"); }, [&] { l.Exchange(0, 2); },
    };
    for (size_t i = 0; i < ops.size(); ++i) {
        try {
            ops[i]();
            ADD_FAILURE() << "operation " << i << " did not raise";
        } catch (const EStringListError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("List index out of bounds (", 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(Items(l), (Lines{"a", "b"}));
}

TEST(Strings, NamesAndValues)
{
    TStringList l;
    Fill(l, {"Color=red", "plain", "Size=", "Path=a=b", "color=blue"});
    EXPECT_EQ(l.GetNames(0), "Color");
    EXPECT_EQ(l.GetNames(1), "");
    EXPECT_EQ(l.GetValues("COLOR"), "red");
    EXPECT_EQ(l.GetValues("Path"), "a=b");
    EXPECT_EQ(l.GetValues("Size"), "");
    EXPECT_EQ(l.GetValues("plain"), "");
    EXPECT_EQ(l.IndexOfName("size"), 2);

    l.SetValues("color", "green");
    EXPECT_EQ(l[0], "color=green");
    l.SetValues("New", "1");
    EXPECT_EQ(l[5], "New=1");
    l.SetValues("Path", "");
    l.SetValues("Missing", "");
    EXPECT_EQ(Items(l), (Lines{"color=green", "plain", "Size=", "color=blue", "New=1"}));
}

TEST(Strings, CommaTextWriting)
{
    struct Case {
        Lines items;
        const char* text;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a", "b c", "d,e", "say \"hi\""}, "a,\"b c\",\"d,e\",\"say \"\"hi\"\"\""},
        {{"a", "", "b"}, "a,,b"},
        {{"a", ""}, "a,\"\""},
        {{"tab\there", "\xC3\xA9t\xC3\xA9"}, "\"tab\there\",\xC3\xA9t\xC3\xA9"},
    };
    for (const Case& c : cases) {
        TStringList l;
        Fill(l, c.items);
        EXPECT_EQ(l.GetCommaText(), c.text);
        TStringList back;
        back.SetCommaText(l.GetCommaText());
        EXPECT_EQ(Items(back), c.items) << "round trip of " << c.text;
    }
}

TEST(Strings, CommaTextReading)
{
    struct Case {
        const char* text;
        Lines items;
    };
    const Case cases[] = {
        {"  a b ,c", {"a", "b", "c"}},
        {"a,,b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a"}},
        {"\"x y\"z", {"x y", "z"}},
        {"\"unterminated, still", {"unterminated, still"}},
        {"\"\"\"\"", {"\""}},
        {"a\x01\x1f" "b", {"a", "b"}},
        {"\r\n a \r\n", {"a"}},
        {"a\"b", {"a\"b"}},
        {"   ", {}},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.Add("old");
        l.SetCommaText(c.text);
        EXPECT_EQ(Items(l), c.items) << "reading [" << c.text << "]";
    }
    TStringList l;
    l.SetCommaText(std::string("a\0b,\"c\0d\"", 10));
    EXPECT_EQ(Items(l), (Lines{"a", "b", std::string("c\0d", 3)}));
}

TEST(Strings, TextLineEnds)
{
    struct Case {
        const char* text;
        Lines items;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\r\n", {""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetText(c.text);
        EXPECT_EQ(Items(l), c.items) << "reading [" << c.text << "]";
    }
    TStringList l;
    Fill(l, {"x", "", "y"});
    EXPECT_EQ(l.GetText(), "x\r\n\r\ny\r\n");
    l.SetText(std::string("nul\0inside\nnext", 15));
    EXPECT_EQ(Items(l), (Lines{std::string("nul\0inside", 10), "next"}));
}

TEST(Strings, UpdateNestingFiresEventsOnce)
{
    TStringList l;
    std::string log;
    l.SetOnChanging([&](TObject* Sender) {
        EXPECT_EQ(Sender, &l);
        log += '<';
    });
    l.SetOnChange([&](TObject*) { log += '>'; });

    l.Add("a");
    EXPECT_EQ(log, "<>");
    log.clear();
    l.BeginUpdate();
    l.BeginUpdate();
    l.Add("b");
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(log, "<");
    l.SetText("x\ny\nz");
    l.EndUpdate();
    EXPECT_EQ(log, "<>");

    // An unmatched EndUpdate does not silence later changes.
    l.EndUpdate();
    log.clear();
    l.Add("c");
    EXPECT_EQ(log, "<>");

    log.clear();
    l.SetCommaText("1,2,3");
    EXPECT_EQ(log, "<>");
    EXPECT_EQ(l.GetCount(), 3);
}

TEST(Strings, AssignAddStringsEquals)
{
    TObject o1, o2;
    TStringList a;
    a.AddObject("one", &o1);
    a.AddObject("two", &o2);

    TStringList b;
    b.Add("junk");
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(&a));
    EXPECT_EQ(b.GetObjects(1), &o2);
    b.Assign(&b);
    EXPECT_EQ(Items(b), (Lines{"one", "two"})) << "assigning a list to itself keeps it";

    b.AddStrings(&b);
    EXPECT_EQ(Items(b), (Lines{"one", "two", "one", "two"}));
    EXPECT_FALSE(b.Equals(&a));
    b.SetText("ONE\ntwo");
    EXPECT_FALSE(b.Equals(&a)) << "Equals compares with case";
    EXPECT_EQ(b.IndexOfObject(&o1), -1);
    EXPECT_EQ(a.IndexOfObject(&o2), 1);

    TPersistent notStrings;
    EXPECT_THROW(b.Assign(&notStrings), EConvertError);
    EXPECT_THROW(b.Assign(nullptr), EConvertError);
    EXPECT_EQ(b.GetCount(), 2);
}

TEST(Strings, MoveExchangeCustomSort)
{
    TStringList l;
    Fill(l, {"a", "b", "c", "d"});
    l.Move(0, 3);
    EXPECT_EQ(Items(l), (Lines{"b", "c", "d", "a"}));
    l.Exchange(0, 3);
    EXPECT_EQ(Items(l), (Lines{"a", "c", "d", "b"}));

    TStringList n;
    Fill(n, {"10", "9", "100", "1", "9"});
    n.CustomSort([](TStringList* List, int I1, int I2) {
        return std::stoi(List->GetStrings(I1)) - std::stoi(List->GetStrings(I2));
    });
    EXPECT_EQ(Items(n), (Lines{"1", "9", "9", "10", "100"}));

    // A compare function that is no order keeps every item.
    TStringList odd;
    for (int i = 0; i < 300; ++i) odd.Add(std::to_string(i));
    odd.CustomSort([](TStringList*, int, int) { return std::rand() % 3 - 1; });
    odd.SetSorted(true);
    EXPECT_EQ(odd.GetCount(), 300);
    for (int i = 0; i < 300; ++i) EXPECT_GE(odd.IndexOf(std::to_string(i)), 0);
}

TEST(Strings, StreamsAndFiles)
{
    TStringList l;
    Fill(l, {"first", "", "last"});
    TStringStream s;
    l.SaveToStream(&s);
    EXPECT_EQ(s.GetDataString(), "first\r\n\r\nlast\r\n");

    TStringStream in("skip\nkeep1\rkeep2");
    in.SetPosition(5);
    TStringList r;
    r.LoadFromStream(&in);
    EXPECT_EQ(Items(r), (Lines{"keep1", "keep2"}));

    const std::string name = testing::TempDir() + "kel_strings_test.txt";
    l.SaveToFile(name);
    TStringList f;
    f.LoadFromFile(name);
    EXPECT_TRUE(f.Equals(&l));
    std::remove(name.c_str());
    EXPECT_THROW(f.LoadFromFile(name), EFOpenError);
    EXPECT_EQ(Items(f), Items(l)) << "a failed load keeps the list";

    // A stream that fails while reading raises instead of loading nothing.
    struct TFailingStream : TStream {
        int64_t Read(void*, int64_t) override { return -1; }
        int64_t Write(const void*, int64_t) override { return -1; }
        using TStream::Seek;
        int64_t Seek(int64_t, TSeekOrigin Origin) override { return Origin == soEnd ? 10 : 0; }
    } failing;
    EXPECT_THROW(f.LoadFromStream(&failing), EReadError);
    EXPECT_EQ(Items(f), Items(l));
}
