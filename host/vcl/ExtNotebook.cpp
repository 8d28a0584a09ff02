#include "host/vcl/ExtNotebook.h"

#include <algorithm>

#include "host/rtl/SysUtils.h"
#include "host/vcl/StdPublish.h"

namespace host {

namespace {

[[noreturn]] void BadIndex(int Index) { throw EListError("List index out of bounds (" + IntToStr(Index) + ")"); }

} // namespace

// ---- TPage ------------------------------------------------------------------------------------

TPage::TPage(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle += csAcceptsControls;
    SetVisible(false);
    SetAlign(alClient);
}

void TPage::SetParent(TWinControl* AParent)
{
    auto* oldHost = dynamic_cast<TPageHost*>(GetParent());
    inherited::SetParent(AParent);
    auto* newHost = dynamic_cast<TPageHost*>(AParent);
    if (oldHost && oldHost != newHost) oldHost->RemovePage(this);
    if (newHost) newHost->AttachPage(this, newHost->GetPageCount());
}

// A page shows nothing of its own; in the designer its edge is outlined so
// an empty page can be found.
void TPage::Paint()
{
    if (!GetComponentState().Contains(csDesigning)) return;
    TCanvas* c = GetCanvas();
    c->GetPen()->SetStyle(psDash);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, GetWidth(), GetHeight());
}

void TPage::CMTextChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    if (auto* host = dynamic_cast<TPageHost*>(GetParent())) host->PagesChanged();
}

HOST_MESSAGE_MAP(TPage)
{
    M(CM_TEXTCHANGED, &TPage::CMTextChanged);
}

// ---- TPageAccess ------------------------------------------------------------------------------

int TPageAccess::GetCount() const { return FHost->GetPageCount(); }

std::string TPageAccess::Get(int Index) const { return FHost->GetPage(Index)->GetCaption(); }

TObject* TPageAccess::GetObject(int Index) const { return FHost->GetPage(Index); }

void TPageAccess::Put(int Index, const std::string& S) { FHost->GetPage(Index)->SetCaption(S); }

void TPageAccess::Clear()
{
    while (GetCount() > 0) Delete(GetCount() - 1);
}

void TPageAccess::Delete(int Index)
{
    // Freeing the page removes it from the list (Notification).
    FHost->GetPage(Index)->Free();
}

void TPageAccess::Insert(int Index, const std::string& S)
{
    if (Index < 0 || Index > GetCount()) BadIndex(Index);
    TPage* page = FHost->CreatePage();
    page->SetCaption(S);
    // Joining the notebook appends the page; then it moves into place.
    page->SetParent(FHost);
    if (Index != GetCount() - 1) Move(GetCount() - 1, Index);
}

void TPageAccess::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    TPage* page = FHost->GetPage(CurIndex);
    if (NewIndex < 0 || NewIndex >= GetCount()) BadIndex(NewIndex);
    TPage* front = FHost->FPageIndex >= 0 ? FHost->FPages[FHost->FPageIndex] : nullptr;
    auto& pages = FHost->FPages;
    pages.erase(pages.begin() + CurIndex);
    pages.insert(pages.begin() + NewIndex, page);
    if (front) FHost->FPageIndex = int(std::find(pages.begin(), pages.end(), front) - pages.begin());
    FHost->PagesChanged();
}

// ---- TPageHost --------------------------------------------------------------------------------

TPageHost::TPageHost(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle += csAcceptsControls;
    FAccess = std::make_unique<TPageAccess>(this);
    SetBounds(0, 0, 150, 150);
}

void TPageHost::Destroy()
{
    inherited::Destroy();
    FPages.clear();
}

TPage* TPageHost::GetPage(int Index) const
{
    if (Index < 0 || Index >= int(FPages.size())) BadIndex(Index);
    return FPages[Index];
}

TPage* TPageHost::CreatePage() { return new TPage(this); }

bool TPageHost::CanChange(int) { return true; }

void TPageHost::AttachPage(TPage* Page, int Index)
{
    if (std::find(FPages.begin(), FPages.end(), Page) != FPages.end()) return;
    Index = std::clamp(Index, 0, int(FPages.size()));
    FPages.insert(FPages.begin() + Index, Page);
    Page->FreeNotification(this);
    bool loading = GetComponentState().Contains(csLoading);
    // While loading, PageIndex is the stored one and counts the final pages.
    if (!loading && FPageIndex >= Index) ++FPageIndex;
    // The first page comes to the front; later ones wait behind it.
    if (FPageIndex < 0 && !loading) {
        ShowPage(Index);
        PageChanged();
    } else if (!loading) {
        Page->SetVisible(false);
    }
    PagesChanged();
}

void TPageHost::RemovePage(TPage* Page)
{
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end()) return;
    int index = int(it - FPages.begin());
    FPages.erase(it);
    if (GetComponentState().Contains(csDestroying)) return;
    if (index < FPageIndex) {
        --FPageIndex;
    } else if (index == FPageIndex) {
        // The page in front went: its neighbour takes its place.
        FPageIndex = -1;
        if (!FPages.empty()) ShowPage(std::min(index, int(FPages.size()) - 1));
        PageChanged();
    }
    PagesChanged();
}

void TPageHost::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove)
        if (auto* page = dynamic_cast<TPage*>(AComponent)) RemovePage(page);
}

std::string TPageHost::GetActivePage() const
{
    return FPageIndex >= 0 && FPageIndex < int(FPages.size()) ? FPages[FPageIndex]->GetCaption() : std::string();
}

void TPageHost::SetActivePage(const std::string& Value)
{
    int index = FAccess->IndexOf(Value);
    if (index >= 0) SetPageIndex(index);
}

void TPageHost::SetPageIndex(int Value)
{
    if (GetComponentState().Contains(csLoading)) {
        FPageIndex = Value;
        return;
    }
    if (Value == FPageIndex || Value < 0 || Value >= int(FPages.size())) return;
    if (!CanChange(Value)) return;
    ShowPage(Value);
    PageChanged();
}

// Brings page Index to the front and hides the one that was there; the
// focus leaves a page that goes out of sight.
void TPageHost::ShowPage(int Index)
{
    TPage* old = FPageIndex >= 0 && FPageIndex < int(FPages.size()) ? FPages[FPageIndex] : nullptr;
    TPage* page = FPages[Index];
    TWinControl* focused = FindControl(GetFocus());
    bool focusInOld = old && focused && old->ContainsControl(focused);
    FPageIndex = Index;
    page->SetVisible(true);
    page->BringToFront();
    if (old && old != page) old->SetVisible(false);
    if (!focusInOld) return;
    if (TWinControl* next = page->FindNextControl(nullptr, true, true, false); next && next->CanFocus())
        next->SetFocus();
    else if (CanFocus())
        SetFocus();
}

void TPageHost::GetChildren(TGetChildProc Proc, TComponent*)
{
    for (TPage* page : FPages) Proc(page);
}

// Stored pages replace the ones the constructor made.
void TPageHost::ReadState(TReader* Reader)
{
    while (!FPages.empty()) FPages.back()->Free();
    FPageIndex = 0;
    inherited::ReadState(Reader);
}

void TPageHost::Loaded()
{
    inherited::Loaded();
    if (FPages.empty()) {
        FPageIndex = -1;
        return;
    }
    FPageIndex = std::clamp(FPageIndex, 0, int(FPages.size()) - 1);
    for (int i = 0; i < int(FPages.size()); ++i) FPages[i]->SetVisible(i == FPageIndex);
    FPages[FPageIndex]->BringToFront();
    PagesChanged();
}

// ---- TNotebook --------------------------------------------------------------------------------

TNotebook::TNotebook(TComponent* AOwner) : TPageHost(AOwner)
{
    FControlStyle += csOpaque;
    GetPages()->Add("Default");
}

void TNotebook::PageChanged() { OnPageChanged(this); }

// ---- Published properties ---------------------------------------------------------------------

HOST_PUBLISHED(TPage)
{
    P.Property("Caption", &TPage::GetCaption, &TPage::SetCaption);
}

HOST_PUBLISHED(TNotebook)
{
    HOST_PUBLISH_CONTROL_LOOK(TNotebook);
    HOST_PUBLISH_MOUSE_EVENTS(TNotebook);
    P.Property("PageIndex", &TNotebook::GetPageIndex, &TNotebook::SetPageIndex).Default(0);
    P.Property("Pages", &TNotebook::GetPages, &TNotebook::SetPages).Stored(false);
    P.Property("OnEnter", &TNotebook::OnEnter);
    P.Property("OnExit", &TNotebook::OnExit);
    P.Property("OnPageChanged", &TNotebook::OnPageChanged);
}

HOST_REGISTER_CLASSES(TPage, TNotebook);

} // namespace host
