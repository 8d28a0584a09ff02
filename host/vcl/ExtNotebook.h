#pragma once
// Notebooks: a stack of pages of which one shows at a time. Each page is a
// window of its own that holds controls; Pages names them, PageIndex and
// ActivePage choose the one in front.
//
// Pages belong to their notebook (owner and parent) and are streamed as its
// children; the controls on a page belong to the form as usual.
#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/Controls.h"

namespace host {

class TPageHost;

// One page: a plain container aligned to its notebook's page area.
class TPage : public TCustomControl {
    HOST_CLASS(TPage, TCustomControl)
    HOST_MESSAGES(TPage)
public:
    explicit TPage(TComponent* AOwner);
    // Joining a notebook makes the page one of its pages.
    void SetParent(TWinControl* AParent) override;

protected:
    void Paint() override;
    void CMTextChanged(TMessage& Message);
};

// The page names of a notebook: adding a name adds a page, deleting one
// frees the page with its controls, Objects[i] is the page itself.
class TPageAccess : public TStrings {
    HOST_CLASS(TPageAccess, TStrings)
public:
    explicit TPageAccess(TPageHost* Host) : FHost(Host) {}
    int GetCount() const override;
    void Clear() override;
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    void Move(int CurIndex, int NewIndex) override;

protected:
    std::string Get(int Index) const override;
    TObject* GetObject(int Index) const override;
    void Put(int Index, const std::string& S) override;

private:
    TPageHost* FHost;
};

// What the notebooks share: the page list, the page in front and streaming.
class TPageHost : public TCustomControl {
    HOST_CLASS(TPageHost, TCustomControl)
public:
    explicit TPageHost(TComponent* AOwner);

    TStrings* GetPages() const { return FAccess.get(); }
    void SetPages(TStrings* Value) { FAccess->Assign(Value); }
    int GetPageIndex() const { return FPageIndex; }
    // Out-of-range values and a refused change leave the page as it is.
    // Virtual: a notebook may switch pages its own way (dropping the
    // windows of hidden pages, say).
    virtual void SetPageIndex(int Value);
    // The name of the page in front; setting an unknown name does nothing.
    std::string GetActivePage() const;
    void SetActivePage(const std::string& Value);
    int GetPageCount() const { return int(FPages.size()); }
    TPage* GetPage(int Index) const;

    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    TComponent* GetChildOwner() override { return this; }

protected:
    friend class TPage;
    friend class TPageAccess;
    void Destroy() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ReadState(TReader* Reader) override;
    void Loaded() override;

    // A new page of the class this notebook holds.
    virtual TPage* CreatePage();
    // Whether the page may change to NewIndex (the tabbed notebook asks OnChange).
    virtual bool CanChange(int NewIndex);
    // After the page in front changed.
    virtual void PageChanged() {}
    // After pages were added, removed, renamed or moved.
    virtual void PagesChanged() {}

    void AttachPage(TPage* Page, int Index);
    void RemovePage(TPage* Page);
    void ShowPage(int Index);

    std::vector<TPage*> FPages;
    int FPageIndex = -1;
    std::unique_ptr<TPageAccess> FAccess;
};

class TNotebook : public TPageHost {
    HOST_CLASS(TNotebook, TPageHost)
public:
    // Starts with one page, "Default".
    explicit TNotebook(TComponent* AOwner);

    TNotifyEvent OnPageChanged;

protected:
    void PageChanged() override;
};

} // namespace host
