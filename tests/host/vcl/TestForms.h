#pragma once
// Small classes that exercise every kind of published member and the parent /
// child structure of forms, for the streaming and RTTI tests.
#include <algorithm>
#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/Classes.h"
#include "host/vcl/Filer.h"
#include "host/vcl/TypInfo.h"

namespace testforms {

using namespace host;

HOST_ENUM_T(TTestAlign, uint8_t, taNone, taTop, taBottom, taClient)
HOST_ENUM(TTestStyle, tsBold, tsItalic, tsUnderline)
using TTestStyles = TSet<TTestStyle>;

inline bool ColorToIdent(int64_t Value, std::string& Ident)
{
    if (Value == 0xFF) return Ident = "clRed", true;
    if (Value == 0) return Ident = "clBlack", true;
    return false;
}
inline bool IdentToColor(const std::string& Ident, int64_t& Value)
{
    if (SameText(Ident, "clRed")) return Value = 0xFF, true;
    if (SameText(Ident, "clBlack")) return Value = 0, true;
    return false;
}
inline const TTypeInfo* ColorInfo()
{
    static const TTypeInfo info = MakeIntegerTypeInfo("TColor", &IdentToColor, &ColorToIdent);
    return &info;
}

class TTestFont : public TPersistent {
    HOST_CLASS(TTestFont, TPersistent)
public:
    TTestFont() = default;
    std::string FName = "Sans";
    int FSize = 8;
    TTestStyles FStyle;
    int FColor = 0;
    void Assign(TPersistent* Source) override
    {
        if (auto* f = dynamic_cast<TTestFont*>(Source)) {
            FName = f->FName;
            FSize = f->FSize;
            FStyle = f->FStyle;
            FColor = f->FColor;
            return;
        }
        inherited::Assign(Source);
    }
    bool IsNameStored() const { return FName != "Sans"; }
};

HOST_PUBLISHED(TTestFont)
{
    P.Property("Color", &TTestFont::FColor).Type(ColorInfo()).Default(0);
    P.Property("Name", &TTestFont::FName).Stored(&TTestFont::IsNameStored);
    P.Property("Size", &TTestFont::FSize).Default(8);
    P.Property("Style", &TTestFont::FStyle).Default(TTestStyles{});
}

class TTestItem : public TCollectionItem {
    HOST_CLASS(TTestItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    std::string FCaption;
    int FWidth = 64;
    void Assign(TPersistent* Source) override
    {
        if (auto* i = dynamic_cast<TTestItem*>(Source)) {
            FCaption = i->FCaption;
            FWidth = i->FWidth;
            return;
        }
        inherited::Assign(Source);
    }
};

HOST_PUBLISHED(TTestItem)
{
    P.Property("Caption", &TTestItem::FCaption);
    P.Property("Width", &TTestItem::FWidth).Default(64);
}

// A control: owned by the form, parented by another control.
class TTestControl : public TComponent {
    HOST_CLASS(TTestControl, TComponent)
public:
    explicit TTestControl(TComponent* AOwner)
        : TComponent(AOwner), FFont(new TTestFont), FLines(new TStringList),
          FItems(new TCollection(this, TTestItem::StaticClass()))
    {
        CreatedLoading = GetComponentState().Contains(csLoading);
    }

    TTestControl* GetParent() const { return FParent; }
    void SetParent(TTestControl* Value)
    {
        if (FParent == Value) return;
        if (FParent) std::erase(FParent->FChildren, this);
        FParent = Value;
        if (FParent) FParent->FChildren.push_back(this);
    }
    const std::vector<TTestControl*>& Children() const { return FChildren; }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* Value) override { SetParent(dynamic_cast<TTestControl*>(Value)); }
    void GetChildren(TGetChildProc Proc, TComponent*) override
    {
        for (TTestControl* c : FChildren) Proc(c);
    }
    void Loaded() override
    {
        inherited::Loaded();
        ++LoadedCalls;
        LoadedSawBuddy = FBuddy != nullptr;
    }
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        inherited::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
    }

    // Published accessors.
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value)
    {
        FCaption = Value;
        if (!GetComponentState().Contains(csLoading)) ++CaptionChangesOutsideLoading;
    }
    TTestFont* GetFont() const { return FFont.get(); }
    void SetFont(TTestFont* Value) { FFont->Assign(Value); }
    TStrings* GetLines() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    TCollection* GetItems() const { return FItems.get(); }
    void SetItems(TCollection* Value) { FItems->Assign(Value); }
    TComponent* GetBuddy() const { return FBuddy; }
    void SetBuddy(TComponent* Value)
    {
        FBuddy = Value;
        if (Value) Value->FreeNotification(this);
    }
    void DefineProperties(TFiler* Filer) override
    {
        inherited::DefineProperties(Filer);
        Filer->DefineBinaryProperty(
            "Data",
            [this](TStream* S) {
                FData.resize(static_cast<size_t>(S->GetSize()));
                S->ReadBuffer(FData.data(), static_cast<int64_t>(FData.size()));
            },
            [this](TStream* S) { S->WriteBuffer(FData.data(), static_cast<int64_t>(FData.size())); },
            !FData.empty());
    }

    std::string FCaption;
    int FWidth = 75;
    TTestAlign FAlign = taNone;
    bool FEnabled = true;
    double FRatio = 0;
    float FScale = 0;
    int64_t FBig = 0;
    char FLetter = 'A';
    std::string FData;
    TNotifyEvent FOnClick;
    int LoadedCalls = 0;
    bool LoadedSawBuddy = false;
    bool CreatedLoading = false;
    int CaptionChangesOutsideLoading = 0;

private:
    std::unique_ptr<TTestFont> FFont;
    std::unique_ptr<TStringList> FLines;
    std::unique_ptr<TCollection> FItems;
    TComponent* FBuddy = nullptr;
    TTestControl* FParent = nullptr;
    std::vector<TTestControl*> FChildren;

protected:
    void Destroy() override
    {
        SetParent(nullptr);
        for (TTestControl* c : std::vector<TTestControl*>(FChildren)) c->SetParent(nullptr);
        inherited::Destroy();
    }
};

HOST_PUBLISHED(TTestControl)
{
    P.Property("Align", &TTestControl::FAlign).Default(taNone);
    P.Property("Big", &TTestControl::FBig).Default(0);
    P.Property("Buddy", &TTestControl::GetBuddy, &TTestControl::SetBuddy);
    P.Property("Caption", &TTestControl::GetCaption, &TTestControl::SetCaption);
    P.Property("Enabled", &TTestControl::FEnabled).Default(true);
    P.Property("Font", &TTestControl::GetFont, &TTestControl::SetFont);
    P.Property("Items", &TTestControl::GetItems, &TTestControl::SetItems);
    P.Property("Letter", &TTestControl::FLetter).Default('A');
    P.Property("Lines", &TTestControl::GetLines, &TTestControl::SetLines);
    P.Property("Ratio", &TTestControl::FRatio);
    P.Property("Scale", &TTestControl::FScale);
    P.Property("Width", &TTestControl::FWidth).Default(75);
    P.Property("OnClick", &TTestControl::FOnClick);
}

// A form: owns every component; streams the unparented ones as its children.
class TTestForm : public TComponent {
    HOST_CLASS(TTestForm, TComponent)
public:
    using TComponent::TComponent;
    TTestForm() : TComponent(nullptr) {}

    void GetChildren(TGetChildProc Proc, TComponent* Root) override
    {
        for (int i = 0; i < GetComponentCount(); ++i) {
            TComponent* c = GetComponents(i);
            if (!c->GetParentComponent()) Proc(c);
        }
        (void)Root;
    }
    void Button1Click(TObject* Sender)
    {
        ++Clicks;
        LastSender = Sender;
    }
    void FormHelper(TObject*) {}

    std::string FCaption;
    TTestControl* Button1 = nullptr;
    TTestControl* Panel1 = nullptr;
    int Clicks = 0;
    TObject* LastSender = nullptr;
};

HOST_PUBLISHED(TTestForm)
{
    P.Property("Caption", &TTestForm::FCaption);
    P.Method("Button1Click", &TTestForm::Button1Click);
    P.Method("FormHelper", &TTestForm::FormHelper);
    P.Field("Button1", &TTestForm::Button1);
    P.Field("Panel1", &TTestForm::Panel1);
}

inline void RegisterTestClasses()
{
    RegisterClasses({TTestForm::StaticClass(), TTestControl::StaticClass()});
}

} // namespace testforms
