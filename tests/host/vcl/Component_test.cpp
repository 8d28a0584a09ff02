#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/vcl/Classes.h"

using namespace host;

namespace {

std::vector<std::string> gLog;

// Records notifications and keeps one reference that it clears on opRemove.
class TWatcher : public TComponent {
    HOST_CLASS(TWatcher, TComponent)
public:
    using TComponent::TComponent;
    TComponent* Ref = nullptr;
    void SetRef(TComponent* Value)
    {
        Ref = Value;
        if (Value) Value->FreeNotification(this);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove) {
            gLog.push_back(GetName() + " sees " + AComponent->GetName() + " go as " + AComponent->ClassName());
            if (AComponent == Ref) Ref = nullptr;
        }
    }

protected:
    void Destroy() override
    {
        gLog.push_back("destroy " + GetName());
        inherited::Destroy();
    }
};

class TSpecial : public TWatcher {
    HOST_CLASS(TSpecial, TWatcher)
public:
    using TWatcher::TWatcher;
};

class TPlainItem : public TPersistent {
    HOST_CLASS(TPlainItem, TPersistent)
public:
    TPlainItem() = default;
};

class TAbstractPart : public TComponent {
    HOST_CLASS(TAbstractPart, TComponent)
public:
    using TComponent::TComponent;
    virtual void Run() = 0;
};

TWatcher* Make(TComponent* Owner, const std::string& Name)
{
    auto* w = new TWatcher(Owner);
    w->SetName(Name);
    return w;
}

} // namespace

TEST(ComponentTest, ClassReferencesCreateTheRightClass)
{
    TClass cls = TSpecial::StaticClass();
    EXPECT_EQ(cls->ClassName(), "TSpecial");
    EXPECT_EQ(cls->Parent, TWatcher::StaticClass());
    EXPECT_TRUE(cls->InheritsFrom(TComponent::StaticClass()));
    EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(cls));

    TComponent* owner = new TComponent(nullptr);
    TComponent* made = CreateComponent(cls, owner);
    EXPECT_EQ(made->ClassType(), cls);
    EXPECT_EQ(made->GetOwner(), owner);
    EXPECT_NE(dynamic_cast<TSpecial*>(made), nullptr);

    TObject* plain = TPlainItem::StaticClass()->NewInstance();
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->ClassName(), "TPlainItem");
    plain->Free();

    EXPECT_FALSE(TAbstractPart::StaticClass()->CanCreate());
    EXPECT_THROW(CreateComponent(TAbstractPart::StaticClass(), owner), EInvalidOperation);
    owner->Free();
}

TEST(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner)
{
    TComponent* owner = new TComponent(nullptr);
    TWatcher* a = Make(owner, "Button1");
    TWatcher* b = Make(owner, "Edit1");

    struct Case {
        std::string name;
        const char* error; // nullptr: accepted
    };
    const Case cases[] = {
        {"1Button", "'1Button' is not a valid component name"},
        {"My Button", "'My Button' is not a valid component name"},
        {"button1", "A component named button1 already exists"},
        {"BUTTON1", "A component named BUTTON1 already exists"},
        {"_Edit2", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        if (c.error) {
            try {
                b->SetName(c.name);
                ADD_FAILURE() << "accepted " << c.name;
            } catch (const EComponentError& e) {
                EXPECT_STREQ(e.what(), c.error);
            }
        } else {
            EXPECT_NO_THROW(b->SetName(c.name)) << c.name;
            EXPECT_EQ(b->GetName(), c.name);
        }
    }
    // Changing only the case of one's own name is not a clash.
    EXPECT_NO_THROW(a->SetName("BUTTON1"));
    EXPECT_EQ(owner->FindComponent("button1"), a);
    EXPECT_EQ(owner->FindComponent(""), nullptr);
    // Inserting a component whose name is taken fails and leaves it where it was.
    TComponent* other = new TComponent(nullptr);
    TWatcher* dup = Make(other, "Button1");
    EXPECT_THROW(owner->InsertComponent(dup), EComponentError);
    EXPECT_EQ(dup->GetOwner(), other);
    other->Free();
    owner->Free();
}

TEST(ComponentTest, FreeingAnOwnerFreesLastFirstAndNotifiesOutsiders)
{
    gLog.clear();
    TComponent* form = new TComponent(nullptr);
    form->SetName("Form1");
    TWatcher* label = Make(form, "Label1");
    Make(form, "Edit1");
    TWatcher* outsider = Make(nullptr, "Outsider");
    outsider->SetRef(label);

    form->Free();
    std::vector<std::string> expected = {
        "destroy Edit1",
        "destroy Label1",
        "Outsider sees Label1 go as TWatcher",
    };
    EXPECT_EQ(gLog, expected);
    EXPECT_EQ(outsider->Ref, nullptr);

    // The outsider's own death no longer reaches the freed label.
    gLog.clear();
    outsider->Free();
    EXPECT_EQ(gLog, std::vector<std::string>{"destroy Outsider"});
}

TEST(ComponentTest, FreedComponentLeavesEveryList)
{
    gLog.clear();
    TComponent* form = new TComponent(nullptr);
    TWatcher* a = Make(form, "A");
    TWatcher* b = Make(form, "B");
    TWatcher* c = Make(nullptr, "C");
    a->SetRef(b); // sibling: told once, through the owner
    c->SetRef(b); // outsider: told through the free-notification link
    b->Free();

    EXPECT_EQ(form->GetComponentCount(), 1);
    EXPECT_EQ(form->FindComponent("B"), nullptr);
    EXPECT_EQ(a->Ref, nullptr);
    EXPECT_EQ(c->Ref, nullptr);
    int aHeard = 0;
    for (auto& line : gLog) aHeard += line == "A sees B go as TWatcher";
    EXPECT_EQ(aHeard, 1);

    // A client that dies first unhooks itself: freeing the target afterwards
    // must not reach it.
    TWatcher* target = Make(form, "Target");
    TWatcher* client = Make(nullptr, "Client");
    client->SetRef(target);
    client->Free();
    gLog.clear();
    target->Free();
    for (auto& line : gLog) EXPECT_EQ(line.find("Client"), std::string::npos) << line;
    c->Free();
    form->Free();
}

TEST(ComponentTest, OwnerReceivesInsertAndRemove)
{
    struct TOwnerSpy : public TComponent {
        using TComponent::TComponent;
        std::vector<std::pair<TComponent*, TOperation>> seen;
        void Notification(TComponent* AComponent, TOperation Operation) override
        {
            TComponent::Notification(AComponent, Operation);
            if (AComponent != this) seen.emplace_back(AComponent, Operation);
        }
    };
    auto* owner = new TOwnerSpy(nullptr);
    auto* child = new TComponent(owner);
    ASSERT_EQ(owner->seen.size(), 1u);
    EXPECT_EQ(owner->seen[0].second, opInsert);
    owner->RemoveComponent(child);
    ASSERT_EQ(owner->seen.size(), 2u);
    EXPECT_EQ(owner->seen[1], std::make_pair(child, opRemove));
    EXPECT_EQ(child->GetOwner(), nullptr);
    child->Free();
    owner->Free();
}

TEST(ComponentTest, DestroyingStateIsSetBeforeNotificationsWhileTypeIsComplete)
{
    struct TProbe : public TWatcher {
        using TWatcher::TWatcher;
        bool sawDestroying = false;
        void BeforeDestruction() override
        {
            TWatcher::BeforeDestruction();
            sawDestroying = GetComponentState().Contains(csDestroying);
        }
    };
    gLog.clear();
    auto* owner = new TComponent(nullptr);
    auto* probe = new TProbe(owner);
    probe->SetName("Probe");
    TWatcher* child = Make(probe, "Child");
    bool childDestroying = false;
    struct THook : public TComponent {
        using TComponent::TComponent;
        TComponent* watched = nullptr;
        bool* flag = nullptr;
        void Notification(TComponent* AComponent, TOperation Operation) override
        {
            TComponent::Notification(AComponent, Operation);
            if (Operation == opRemove && AComponent == watched)
                *flag = watched->GetComponentState().Contains(csDestroying);
        }
    };
    auto* hook = new THook(nullptr);
    hook->watched = child;
    hook->flag = &childDestroying;
    hook->FreeNotification(child);
    probe->Free();
    EXPECT_TRUE(childDestroying);
    EXPECT_EQ(owner->GetComponentCount(), 0);
    hook->Free();
    owner->Free();
}

TEST(ComponentTest, DesigningSpreadsToOwnedAndLaterComponents)
{
    TComponent* form = new TComponent(nullptr);
    TComponent* before = new TComponent(form);
    TComponent* grandChild = new TComponent(before);
    form->SetDesigning(true);
    EXPECT_TRUE(before->GetComponentState().Contains(csDesigning));
    EXPECT_TRUE(grandChild->GetComponentState().Contains(csDesigning));
    TComponent* after = new TComponent(form);
    EXPECT_TRUE(after->GetComponentState().Contains(csDesigning));
    form->SetDesigning(false);
    EXPECT_FALSE(after->GetComponentState().Contains(csDesigning));
    form->Free();
}

TEST(ComponentTest, ComponentIndexMovesWithinTheOwner)
{
    TComponent* form = new TComponent(nullptr);
    TWatcher* a = Make(form, "A");
    TWatcher* b = Make(form, "B");
    TWatcher* c = Make(form, "C");
    c->SetComponentIndex(0);
    EXPECT_EQ(form->GetComponents(0), c);
    EXPECT_EQ(form->GetComponents(1), a);
    EXPECT_EQ(b->GetComponentIndex(), 2);
    EXPECT_THROW(form->GetComponents(3), EListError);
    form->Free();
}

TEST(ComponentTest, DeletingOutsideTheProtocolStillUnlinks)
{
    gLog.clear();
    TComponent* form = new TComponent(nullptr);
    TWatcher* outsider = Make(nullptr, "Outsider");
    auto* victim = new TSpecial(form);
    victim->SetName("Victim");
    outsider->SetRef(victim);
    delete static_cast<TObject*>(victim); // wrong, but must not leave dangling links
    EXPECT_EQ(form->GetComponentCount(), 0);
    EXPECT_EQ(outsider->Ref, nullptr);
    outsider->Free();
    form->Free();
}

TEST(EventTest, ClosuresCompareCallAndRestore)
{
    struct THandler : public TObject {
        int clicks = 0;
        void Click(TObject*) { ++clicks; }
        void Other(TObject*) { clicks += 100; }
    };
    THandler h1, h2;
    TNotifyEvent e1(&h1, &THandler::Click);
    TNotifyEvent same(&h1, &THandler::Click);
    TNotifyEvent otherObject(&h2, &THandler::Click);
    TNotifyEvent otherMethod(&h1, &THandler::Other);
    EXPECT_TRUE(e1 == same);
    EXPECT_FALSE(e1 == otherObject);
    EXPECT_FALSE(e1 == otherMethod);
    EXPECT_EQ(e1.GetData(), &h1);

    int lambdaCalls = 0;
    TNotifyEvent lambda = [&](TObject*) { ++lambdaCalls; };
    TNotifyEvent lambdaCopy = lambda;
    TNotifyEvent lambdaTwin = [&](TObject*) { ++lambdaCalls; };
    EXPECT_TRUE(lambda == lambdaCopy);
    EXPECT_FALSE(lambda == lambdaTwin);

    // A hook installs itself, calls what it replaced, then restores it only
    // when its own handler is still the installed one.
    TNotifyEvent installed = e1;
    TNotifyEvent saved = installed;
    TNotifyEvent hook = [&](TObject* s) { saved(s); ++lambdaCalls; };
    installed = hook;
    installed(nullptr);
    EXPECT_EQ(h1.clicks, 1);
    EXPECT_EQ(lambdaCalls, 1);
    if (installed == hook) installed = saved;
    EXPECT_TRUE(installed == e1);

    TNotifyEvent empty;
    EXPECT_FALSE(empty);
    EXPECT_TRUE(empty == nullptr);
    EXPECT_TRUE(empty == TNotifyEvent());
    EXPECT_NO_THROW(empty(nullptr));

    // By-reference arguments reach the handler.
    TEvent<void(TObject*, bool&)> cancel = [](TObject*, bool& c) { c = true; };
    bool cancelled = false;
    cancel(nullptr, cancelled);
    EXPECT_TRUE(cancelled);
}

TEST(ClassRegistryTest, FindsRegisteredClassesByName)
{
    RegisterClasses({TSpecial::StaticClass()});
    EXPECT_EQ(FindClass("tspecial"), TSpecial::StaticClass());
    EXPECT_EQ(GetClass("TWatcher"), TWatcher::StaticClass()); // ancestors come along
    EXPECT_EQ(GetClass("TNoSuchThing"), nullptr);
    try {
        FindClass("TNoSuchThing");
        ADD_FAILURE();
    } catch (const EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class TNoSuchThing not found");
    }
    RegisterClassAlias(TSpecial::StaticClass(), "TOldSpecial");
    EXPECT_EQ(GetClass("TOldSpecial"), TSpecial::StaticClass());
    UnRegisterClass(TSpecial::StaticClass());
    EXPECT_EQ(GetClass("TSpecial"), nullptr);
    EXPECT_EQ(GetClass("TOldSpecial"), nullptr);
}
