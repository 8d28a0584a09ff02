#include <gtest/gtest.h>

#include "TestForms.h"

using namespace host;
using namespace testforms;

namespace {
// A descendant that changes an inherited default and adds a property.
class TWideControl : public TTestControl {
    HOST_CLASS(TWideControl, TTestControl)
public:
    explicit TWideControl(TComponent* AOwner) : TTestControl(AOwner) { FWidth = 200; }
    int FDepth = 0;
};
HOST_PUBLISHED(TWideControl)
{
    P.Property("Width", &TWideControl::FWidth).Default(200);
    P.Property("Depth", &TWideControl::FDepth).Default(0);
}
} // namespace

TEST(TypInfoTest, PropertyListsFollowDeclarationAndInheritance)
{
    std::vector<std::string> names;
    for (const TPropInfo* p : GetPropList(TWideControl::StaticClass())) names.push_back(p->Name);
    std::vector<std::string> expected = {"Name", "Tag", "Align", "Big",   "Buddy", "Caption", "Enabled", "Font",    "Items",
                                         "Letter", "Lines", "Ratio", "Scale",   "Width",   "OnClick", "Depth"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(GetPropInfo(TWideControl::StaticClass(), "width")->Default, 200);
    EXPECT_EQ(GetPropInfo(TTestControl::StaticClass(), "Width")->Default, 75);
    EXPECT_EQ(GetPropInfo(TTestControl::StaticClass(), "Depth"), nullptr);
    EXPECT_TRUE(IsPublishedProp(TTestControl::StaticClass(), "onclick"));
    EXPECT_EQ(GetPropList(TTestControl::StaticClass(), TTypeKinds{tkMethod}).size(), 1u);
    EXPECT_EQ(GetPropInfo(TTestControl::StaticClass(), "OnClick", tkProperties), nullptr);
}

TEST(TypInfoTest, AccessorsByNameCoverEveryKind)
{
    auto* c = new TTestControl(nullptr);
    struct Kind {
        const char* prop;
        TTypeKind kind;
    };
    const Kind kinds[] = {{"Align", tkEnumeration}, {"Big", tkInt64},   {"Buddy", tkClass},  {"Caption", tkLString},
                          {"Enabled", tkEnumeration}, {"Font", tkClass}, {"Letter", tkChar}, {"Ratio", tkFloat},
                          {"Width", tkInteger},     {"OnClick", tkMethod}};
    for (const Kind& k : kinds) EXPECT_EQ(PropType(c, k.prop), k.kind) << k.prop;

    SetOrdProp(c, "Width", 33);
    EXPECT_EQ(c->FWidth, 33);
    SetEnumProp(c, "Align", "taClient");
    EXPECT_EQ(c->FAlign, taClient);
    EXPECT_EQ(GetEnumProp(c, "Align"), "taClient");
    SetEnumProp(c, "Enabled", "false");
    EXPECT_FALSE(c->FEnabled);
    SetStrProp(c, "Caption", "Hi");
    EXPECT_EQ(c->GetCaption(), "Hi");
    SetFloatProp(c, "Ratio", 1.25);
    EXPECT_EQ(GetFloatProp(c, "Ratio"), 1.25);
    SetInt64Prop(c, "Big", int64_t(1) << 40);
    EXPECT_EQ(GetInt64Prop(c, "Big"), int64_t(1) << 40);
    SetOrdProp(c, "Letter", 'q');
    EXPECT_EQ(c->FLetter, 'q');

    TTestFont* font = c->GetFont();
    EXPECT_EQ(GetObjectProp(c, "Font"), font);
    SetSetProp(font, "Style", "[tsItalic, tsBold]");
    EXPECT_EQ(font->FStyle, (TTestStyles{tsBold, tsItalic}));
    EXPECT_EQ(GetSetProp(font, "Style", true), "[tsBold,tsItalic]");
    EXPECT_EQ(SetToString(GetPropInfo(font, "Style")->PropType, 0, true), "[]");

    auto* other = new TTestControl(nullptr);
    SetObjectProp(c, "Buddy", other);
    EXPECT_EQ(c->GetBuddy(), other);
    EXPECT_THROW(SetObjectProp(c, "Buddy", font), EPropertyError); // not a component

    struct Failure {
        const char* what;
        std::function<void()> fn;
    };
    const Failure failures[] = {
        {"unknown property", [&] { GetOrdProp(c, "Nope"); }},
        {"wrong kind", [&] { GetStrProp(c, "Width"); }},
        {"unknown enum name", [&] { SetEnumProp(c, "Align", "taMiddle"); }},
        {"unknown set element", [&] { SetSetProp(font, "Style", "[tsBold, tsWide]"); }},
    };
    for (const Failure& f : failures) EXPECT_THROW(f.fn(), EPropertyError) << f.what;
    try {
        GetOrdProp(c, "Nope");
    } catch (const EPropertyError& e) {
        EXPECT_STREQ(e.what(), "Property Nope does not exist");
    }
    other->Free();
    c->Free();
}

TEST(TypInfoTest, EventsBindByPublishedMethodName)
{
    auto* form = new TTestForm(nullptr);
    auto* button = new TTestControl(form);
    TMethod m = MethodAddress(form, "button1click");
    ASSERT_TRUE(m.Assigned());
    EXPECT_EQ(m.Data, form);
    SetMethodProp(button, "OnClick", m);
    button->FOnClick(button);
    EXPECT_EQ(form->Clicks, 1);
    EXPECT_EQ(form->LastSender, button);

    TMethod back = GetMethodProp(button, "OnClick");
    EXPECT_TRUE(back == m);
    EXPECT_EQ(MethodName(form->ClassType(), back), "Button1Click");
    EXPECT_EQ(MethodName(form->ClassType(), MethodAddress(form, "FormHelper")), "FormHelper");
    EXPECT_FALSE(MethodAddress(form, "Missing").Assigned());
    EXPECT_FALSE(MethodAddress(button, "Button1Click").Assigned());

    // A method of another signature does not fit the event.
    TEvent<void(TObject*, int)> other = [](TObject*, int) {};
    EXPECT_THROW(SetMethodProp(button, "OnClick", other.GetMethod()), EPropertyError);
    SetMethodProp(button, "OnClick", TMethod{});
    EXPECT_FALSE(button->FOnClick);
    form->Free();
}

TEST(TypInfoTest, PublishedFieldsFollowOwnedComponents)
{
    auto* form = new TTestForm(nullptr);
    auto* button = new TTestControl(form);
    EXPECT_EQ(form->Button1, nullptr);
    button->SetName("Button1");
    EXPECT_EQ(form->Button1, button);
    button->SetName("Renamed");
    EXPECT_EQ(form->Button1, nullptr);
    button->SetName("Button1");
    EXPECT_EQ(GetPublishedField(form, "button1"), button);
    form->RemoveComponent(button);
    EXPECT_EQ(form->Button1, nullptr);
    button->Free();
    form->Free();
}

TEST(CollectionTest, ItemsAddMoveDeleteAndNotify)
{
    auto* owner = new TTestControl(nullptr);
    owner->SetName("Grid");
    TCollection* items = owner->GetItems();
    int changes = 0;
    items->OnChange = [&](TObject*) { ++changes; };

    auto* a = static_cast<TTestItem*>(items->Add());
    auto* b = static_cast<TTestItem*>(items->Add());
    auto* c = static_cast<TTestItem*>(items->Insert(0));
    EXPECT_EQ(items->GetCount(), 3);
    EXPECT_EQ(items->GetItem(0), c);
    EXPECT_EQ(a->GetID(), 0);
    EXPECT_EQ(c->GetID(), 2);
    EXPECT_EQ(items->FindItemID(1), b);
    EXPECT_EQ(b->GetNamePath(), "Grid.Items[2]");
    EXPECT_GT(changes, 0);

    changes = 0;
    items->BeginUpdate();
    a->SetIndex(2);
    items->Delete(0);
    EXPECT_EQ(changes, 0);
    items->EndUpdate();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(items->GetItem(0), b);
    EXPECT_EQ(items->GetItem(1), a);

    a->FCaption = "copied";
    TCollection copy(TTestItem::StaticClass());
    copy.Assign(items);
    EXPECT_EQ(copy.GetCount(), 2);
    EXPECT_EQ(copy.Items<TTestItem>(1)->FCaption, "copied");
    EXPECT_THROW(items->GetItem(5), EListError);

    try {
        owner->GetFont()->Assign(items);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TCollection to a TTestFont");
    }
    b->Free(); // an item freed directly leaves its collection
    EXPECT_EQ(items->GetCount(), 1);
    owner->Free();
}
