// The radio group: a group box that makes, lays out and tracks one radio
// button per item of its Items list.
#include "host/vcl/ExtRadioGroup.h"

#include <algorithm>

#include "host/gdi/WinText.h"
#include "host/vcl/Forms.h"
#include "host/vcl/StdPublish.h"

namespace host {

// ---- TGroupButton -------------------------------------------------------------------------

TGroupButton::TGroupButton(TCustomRadioGroup* AGroup) : TRadioButton(AGroup)
{
    AGroup->FButtons.push_back(this);
    SetVisible(false);
    SetEnabled(AGroup->GetEnabled());
    SetParentShowHint(false);
    OnClick = TNotifyEvent(AGroup, &TCustomRadioGroup::ButtonClick);
    SetParent(AGroup);
}

TCustomRadioGroup* TGroupButton::Group() const { return static_cast<TCustomRadioGroup*>(GetParent()); }

// A click the group refuses (CanModify) leaves the check where it was; an
// exception from the group's OnClick is reported, not thrown into the
// window system's click.
void TGroupButton::CNCommand(TMessage& Message)
{
    if (FInClick) return;
    WORD code = HIWORD(Message.WParam);
    if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;
    FInClick = true;
    try {
        if (Group()->CanModify()) inherited::Dispatch(Message);
    } catch (...) {
        FInClick = false;
        if (Application) {
            Application->HandleException(this);
            return;
        }
        throw;
    }
    FInClick = false;
}

void TGroupButton::KeyDown(WORD& Key, TShiftState Shift)
{
    inherited::KeyDown(Key, Shift);
    Group()->KeyDown(Key, Shift);
}

void TGroupButton::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    Group()->KeyPress(Key);
    if ((Key == '\b' || Key == ' ') && !Group()->CanModify()) Key = '\0';
}

HOST_MESSAGE_MAP(TGroupButton) { M(CN_COMMAND, &TGroupButton::CNCommand); }

// ---- TCustomRadioGroup --------------------------------------------------------------------

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>())
{
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    FItems->SetOnChange(TNotifyEvent(this, &TCustomRadioGroup::ItemsChange));
}

void TCustomRadioGroup::Destroy()
{
    FItems->SetOnChange(TNotifyEvent());
    SetButtonCount(0);
    inherited::Destroy();
}

TRadioButton* TCustomRadioGroup::GetButton(int Index) const
{
    if (Index < 0 || Index >= int(FButtons.size())) return nullptr;
    return FButtons[size_t(Index)];
}

bool TCustomRadioGroup::CanModify() { return true; }

void TCustomRadioGroup::GetChildren(TGetChildProc, TComponent*) {}

void TCustomRadioGroup::ReadState(TReader* Reader)
{
    FReading = true;
    try {
        inherited::ReadState(Reader);
    } catch (...) {
        FReading = false;
        throw;
    }
    FReading = false;
    UpdateButtons();
}

void TCustomRadioGroup::SetButtonCount(int Value)
{
    while (int(FButtons.size()) < Value) new TGroupButton(this);
    while (int(FButtons.size()) > Value) {
        TGroupButton* last = FButtons.back();
        FButtons.pop_back();
        last->Free();
    }
}

void TCustomRadioGroup::SetColumns(int Value)
{
    Value = std::clamp(Value, 1, 16);
    if (Value == FColumns) return;
    FColumns = Value;
    ArrangeButtons();
    Invalidate();
}

// Unchecks the old button before checking the new one, so that checking it
// reaches OnClick through ButtonClick with the new index in place.
void TCustomRadioGroup::SetItemIndex(int Value)
{
    if (FReading) {
        FItemIndex = Value;
        return;
    }
    Value = std::clamp(Value, -1, int(FButtons.size()) - 1);
    if (Value == FItemIndex) return;
    if (FItemIndex >= 0) FButtons[size_t(FItemIndex)]->SetChecked(false);
    FItemIndex = Value;
    if (FItemIndex >= 0) FButtons[size_t(FItemIndex)]->SetChecked(true);
}

void TCustomRadioGroup::SetItems(TStrings* Value) { FItems->Assign(Value); }

void TCustomRadioGroup::ButtonClick(TObject* Sender)
{
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), Sender);
    if (it == FButtons.end()) return;
    FItemIndex = int(it - FButtons.begin());
    Perform(CM_CHANGED, 0, LPARAM(this));
    Click();
}

// An index past the shortened list moves to its last item; an emptied list
// has none.
void TCustomRadioGroup::ItemsChange(TObject*)
{
    if (FReading) return;
    if (FItemIndex >= FItems->GetCount()) FItemIndex = FItems->GetCount() - 1;
    UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons()
{
    // An index read from a form file may lie past the items it came with.
    FItemIndex = std::clamp(FItemIndex, -1, FItems->GetCount() - 1);
    SetButtonCount(FItems->GetCount());
    for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetCaption(FItems->GetStrings(int(i)));
    if (FItemIndex >= 0) {
        FUpdating = true;
        FButtons[size_t(FItemIndex)]->SetChecked(true);
        FUpdating = false;
    } else {
        for (TGroupButton* b : FButtons) b->SetChecked(false);
    }
    ArrangeButtons();
    Invalidate();
}

int TCustomRadioGroup::TextHeight()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    TEXTMETRIC tm;
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

// Columns share the width inside the frame; the rows share the height
// below the caption evenly, the remainder split above and below.
void TCustomRadioGroup::ArrangeButtons()
{
    if (FButtons.empty() || FReading) return;
    int textHeight = TextHeight();
    int count = int(FButtons.size());
    int perColumn = (count + FColumns - 1) / FColumns;
    int buttonWidth = (GetWidth() - 10) / FColumns;
    int rowsHeight = GetHeight() - textHeight - 5;
    int buttonHeight = rowsHeight / perColumn;
    int topMargin = textHeight + 1 + (rowsHeight % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        TGroupButton* b = FButtons[size_t(i)];
        b->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin, buttonWidth,
                     buttonHeight);
        b->SetVisible(true);
    }
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    for (TGroupButton* b : FButtons) b->SetEnabled(GetEnabled());
}

void TCustomRadioGroup::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    ArrangeButtons();
}

void TCustomRadioGroup::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    ArrangeButtons();
}

HOST_MESSAGE_MAP(TCustomRadioGroup)
{
    M(CM_ENABLEDCHANGED, &TCustomRadioGroup::CMEnabledChanged);
    M(CM_FONTCHANGED, &TCustomRadioGroup::CMFontChanged);
    M(WM_SIZE, &TCustomRadioGroup::WMSize);
}

HOST_PUBLISHED(TRadioGroup)
{
    HOST_PUBLISH_CONTROL_LOOK(TRadioGroup);
    P.Property("Caption", &TRadioGroup::GetCaption, &TRadioGroup::SetCaption);
    P.Property("Columns", &TRadioGroup::GetColumns, &TRadioGroup::SetColumns).Default(1);
    P.Property("Ctl3D", &TRadioGroup::GetCtl3D, &TRadioGroup::SetCtl3D).Default(true);
    P.Property("ItemIndex", &TRadioGroup::GetItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
    P.Property("Items", &TRadioGroup::GetItems, &TRadioGroup::SetItems);
    HOST_PUBLISH_FOCUS(TRadioGroup);
    HOST_PUBLISH_MOUSE_EVENTS(TRadioGroup);
}

HOST_REGISTER_CLASSES(TRadioGroup);

} // namespace host
