// Invalid regions, WM_PAINT, window and screen device contexts.
#include "host/gdi/DcInternal.h"
#include "host/win/WinInternal.h"

#include <algorithm>

namespace host::win {

using gdi::Region;

namespace {

gdi::Surface GEmptySurface;
std::vector<uint32_t> GScreenPixels;
gdi::Surface GScreenSurface;

RECT ClientArea(const TWnd* w)
{
    return RECT{0, 0, w->Client.right - w->Client.left, w->Client.bottom - w->Client.top};
}

Region Subtract(const Region& a, const RECT& r) { return Region::Combine(a, Region(r), RGN_DIFF); }

}  // namespace

void InvalidateWindow(TWnd* w, const Region* clientArea, bool erase, bool children)
{
    if (!w || !IsReallyVisible(w))
        return;
    Region area = clientArea ? Region::Combine(*clientArea, Region(ClientArea(w)), RGN_AND)
                             : Region(ClientArea(w));
    if (area.IsEmpty())
        return;
    if (!w->Desktop) {
        w->Update = Region::Combine(w->Update, area, RGN_OR);
        if (erase)
            w->NeedErase = true;
    }
    if (!children)
        return;
    for (TWnd* c : w->Children) {
        if (!(c->Style & WS_VISIBLE) || !area.Intersects(c->Rect))
            continue;
        Region sub = Region::Combine(area, Region(c->Rect), RGN_AND);
        if (c->Client.left != 0 || c->Client.top != 0 ||
            c->Client.right != c->Rect.right - c->Rect.left ||
            c->Client.bottom != c->Rect.bottom - c->Rect.top)
            c->NeedFrame = true;
        sub.Offset(-(c->Rect.left + c->Client.left), -(c->Rect.top + c->Client.top));
        InvalidateWindow(c, &sub, erase, true);
    }
}

void InvalidateFrame(TWnd* w)
{
    if (w && IsReallyVisible(w))
        w->NeedFrame = true;
}

namespace {

TWnd* FindPaintIn(TWnd* w)
{
    for (TWnd* c : w->Children) {
        if (!(c->Style & WS_VISIBLE))
            continue;
        if (!c->Update.IsEmpty() || c->InternalPaint || c->NeedFrame)
            return c;
        if (TWnd* d = FindPaintIn(c))
            return d;
    }
    return nullptr;
}

}  // namespace

TWnd* FindWindowToPaint() { return FindPaintIn(State().Desktop); }

Region VisibleRegion(TWnd* w, bool client, bool clipChildren)
{
    TWnd* top = TopLevelOf(w);
    if (!top || top->Desktop || !IsReallyVisible(w))
        return Region();
    Region rgn(client ? ClientScreenRect(w) : ScreenRect(w));
    for (TWnd* p = w; p != top; p = p->Parent) {
        rgn = Region::Combine(rgn, Region(ClientScreenRect(p->Parent)), RGN_AND);
        if (!(p->Style & WS_CLIPSIBLINGS))
            continue;
        for (TWnd* s : p->Parent->Children) {
            if (s == p)
                break;
            if (s->Style & WS_VISIBLE)
                rgn = Subtract(rgn, ScreenRect(s));
        }
    }
    if (clipChildren)
        for (TWnd* c : w->Children)
            if (c->Style & WS_VISIBLE)
                rgn = Subtract(rgn, ScreenRect(c));
    POINT o = ScreenOrigin(top);
    rgn.Offset(-o.x, -o.y);
    return rgn;
}

HDC MakeDc(TWnd* w, TDcArea area, const Region* clip, int clipChildren)
{
    TWnd* top = TopLevelOf(w);
    auto dc = std::make_unique<gdi::Dc>(OBJ_DC);
    dc->S.Pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    dc->S.Brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    dc->S.Font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    gdi::AddSelection(dc->S.Pen);
    gdi::AddSelection(dc->S.Brush);
    gdi::AddSelection(dc->S.Font);
    Region vis;
    if (top && !top->Desktop) {
        bool clientArea = area == TDcArea::Client;
        POINT o = clientArea ? ClientScreenOrigin(w) : ScreenOrigin(w);
        POINT t = ScreenOrigin(top);
        dc->Target = &top->Surf;
        dc->DeviceOrigin = POINT{o.x - t.x, o.y - t.y};
        bool clipKids = clipChildren < 0 ? clientArea && (w->Style & WS_CLIPCHILDREN) : clipChildren > 0;
        vis = VisibleRegion(w, clientArea, clipKids);
        if (area == TDcArea::Frame) {
            RECT c = ClientScreenRect(w);
            OffsetRect(&c, -t.x, -t.y);
            vis = Subtract(vis, c);
        }
        if (clip)
            vis = Region::Combine(vis, *clip, RGN_AND);
    } else {
        dc->Target = &GEmptySurface;
    }
    dc->VisRgn = vis;
    gdi::Dc* raw = dc.get();
    HDC h = static_cast<HDC>(gdi::AddObject(std::move(dc)));
    gdi::RealizeAll(*raw);
    State().Dcs.push_back(TDcRecord{h, w->Handle, area != TDcArea::Client});
    return h;
}

void RetargetDcs(TWnd* top)
{
    for (TDcRecord& r : State().Dcs) {
        TWnd* w = FindWnd(r.Wnd);
        if (!w || TopLevelOf(w) != top)
            continue;
        if (gdi::Dc* dc = gdi::FindDc(r.Dc)) {
            dc->Target = top && !top->Desktop && top->Surf.Bits ? &top->Surf : &GEmptySurface;
            gdi::RealizeAll(*dc);
        }
    }
}

void ForgetDcs(TWnd* w)
{
    for (TDcRecord& r : State().Dcs) {
        if (r.Wnd != w->Handle)
            continue;
        if (gdi::Dc* dc = gdi::FindDc(r.Dc)) {
            dc->Target = &GEmptySurface;
            dc->VisRgn = Region();
            gdi::RealizeAll(*dc);
        }
    }
    // Children draw on this window's surface too.
    if (IsTopLevel(w))
        for (TDcRecord& r : State().Dcs)
            if (gdi::Dc* dc = gdi::FindDc(r.Dc); dc && dc->Target == &w->Surf) {
                dc->Target = &GEmptySurface;
                gdi::RealizeAll(*dc);
            }
}

void NotifyBackend(TWnd* w)
{
    if (w && IsTopLevel(w))
        State().Backend->TopLevelChanged(w->Handle);
}

}  // namespace host::win

namespace host {

using namespace win;

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    TWnd* w = hwnd ? FindWnd(hwnd) : State().Desktop;
    if (!w)
        return FALSE;
    gdi::RegionObject* r = rgn ? gdi::FindObjectAs<gdi::RegionObject>(rgn, OBJ_REGION) : nullptr;
    InvalidateWindow(w, r ? &r->Rgn : nullptr, erase, !(w->Style & WS_CLIPCHILDREN));
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* r, BOOL erase)
{
    TWnd* w = hwnd ? FindWnd(hwnd) : State().Desktop;
    if (!w)
        return FALSE;
    if (!r) {
        InvalidateWindow(w, nullptr, erase, !(w->Style & WS_CLIPCHILDREN));
        return TRUE;
    }
    gdi::Region area(*r);
    InvalidateWindow(w, &area, erase, !(w->Style & WS_CLIPCHILDREN));
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return FALSE;
    gdi::RegionObject* r = rgn ? gdi::FindObjectAs<gdi::RegionObject>(rgn, OBJ_REGION) : nullptr;
    if (!r) {
        w->Update = gdi::Region();
        w->NeedErase = false;
        w->InternalPaint = false;
        return TRUE;
    }
    w->Update = gdi::Region::Combine(w->Update, r->Rgn, RGN_DIFF);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* r)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return FALSE;
    if (!r) {
        w->Update = gdi::Region();
        w->NeedErase = false;
        w->InternalPaint = false;
        return TRUE;
    }
    w->Update = gdi::Region::Combine(w->Update, gdi::Region(*r), RGN_DIFF);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* r, BOOL erase)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return FALSE;
    RECT box = w->Update.IsEmpty() ? RECT{} : w->Update.Box();
    if (r)
        *r = box;
    if (erase && w->NeedErase && !w->Update.IsEmpty()) {
        HDC dc = MakeDc(w, TDcArea::Client);
        w->NeedErase = !SendMessage(hwnd, WM_ERASEBKGND, WPARAM(dc), 0);
        ReleaseDC(hwnd, dc);
    }
    return !IsRectEmpty(&box);
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    TWnd* w = FindWnd(hwnd);
    gdi::RegionObject* r = rgn ? gdi::FindObjectAs<gdi::RegionObject>(rgn, OBJ_REGION) : nullptr;
    if (!w || !r)
        return ERROR;
    r->Rgn = w->Update;
    GetUpdateRect(hwnd, nullptr, erase);
    return r->Rgn.Complexity();
}

BOOL UpdateWindow(HWND hwnd)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return FALSE;
    if (!w->Update.IsEmpty() || w->InternalPaint || w->NeedFrame)
        SendMessage(hwnd, WM_PAINT, 0, 0);
    if (!(w = FindWnd(hwnd)))
        return TRUE;
    std::vector<HWND> kids;
    for (TWnd* c : w->Children)
        kids.push_back(c->Handle);
    for (HWND k : kids)
        if (TWnd* c = FindWnd(k); c && (c->Style & WS_VISIBLE))
            UpdateWindow(k);
    return TRUE;
}

namespace {

void RedrawTree(TWnd* w, const gdi::Region* area, UINT flags, bool top)
{
    HWND h = w->Handle;
    bool children = (flags & RDW_ALLCHILDREN) ||
                    (!(flags & RDW_NOCHILDREN) && !(w->Style & WS_CLIPCHILDREN));
    if (flags & RDW_INVALIDATE) {
        InvalidateWindow(w, area, flags & RDW_ERASE, children);
        if (flags & RDW_FRAME)
            InvalidateFrame(w);
    }
    if (flags & RDW_INTERNALPAINT)
        w->InternalPaint = true;
    if (flags & RDW_VALIDATE) {
        if (area)
            w->Update = gdi::Region::Combine(w->Update, *area, RGN_DIFF);
        else
            w->Update = gdi::Region();
        if (flags & RDW_NOFRAME)
            w->NeedFrame = false;
        if (flags & RDW_NOERASE)
            w->NeedErase = false;
        if (flags & RDW_NOINTERNALPAINT)
            w->InternalPaint = false;
        if (children)
            for (TWnd* c : w->Children)
                RedrawTree(c, nullptr, flags & ~RDW_UPDATENOW, false);
    }
    if (top && (flags & RDW_UPDATENOW))
        UpdateWindow(h);
    else if (top && (flags & RDW_ERASENOW) && FindWnd(h))
        GetUpdateRect(h, nullptr, TRUE);
}

}  // namespace

BOOL RedrawWindow(HWND hwnd, const RECT* r, HRGN rgn, UINT flags)
{
    TWnd* w = hwnd ? FindWnd(hwnd) : State().Desktop;
    if (!w)
        return FALSE;
    gdi::Region area;
    const gdi::Region* pa = nullptr;
    if (gdi::RegionObject* ro = rgn ? gdi::FindObjectAs<gdi::RegionObject>(rgn, OBJ_REGION) : nullptr) {
        area = ro->Rgn;
        pa = &area;
    } else if (r) {
        area = gdi::Region(*r);
        pa = &area;
    }
    RedrawTree(w, pa, flags, true);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps)
{
    TWnd* w = FindWnd(hwnd);
    if (!w || !ps)
        return nullptr;
    if (w->NeedFrame) {
        w->NeedFrame = false;
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
        if (!(w = FindWnd(hwnd)))
            return nullptr;
    }
    HideCaretForPaint(hwnd, true);
    if (!(w = FindWnd(hwnd)))
        return nullptr;
    gdi::Region update = w->Update;
    bool erase = w->NeedErase;
    w->Update = gdi::Region();
    w->NeedErase = false;
    w->InternalPaint = false;
    TWnd* top = TopLevelOf(w);
    gdi::Region clip = update;
    POINT o = ClientScreenOrigin(w), t = ScreenOrigin(top);
    clip.Offset(o.x - t.x, o.y - t.y);
    HDC dc = MakeDc(w, TDcArea::Client, &clip);
    ps->hdc = dc;
    ps->rcPaint = update.IsEmpty() ? RECT{} : update.Box();
    ps->fErase = FALSE;
    if (erase)
        ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, WPARAM(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (!ps)
        return FALSE;
    ReleaseDC(hwnd, ps->hdc);
    HideCaretForPaint(hwnd, false);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (!hwnd || hwnd == State().Desktop->Handle) {
        TImageData img = State().Backend->CaptureScreen();
        GScreenPixels = std::move(img.Pixels);
        GScreenSurface.Bits = GScreenPixels.data();
        GScreenSurface.Width = img.Width;
        GScreenSurface.Height = img.Height;
        GScreenSurface.Stride = img.Width;
        HDC dc = MakeDc(State().Desktop, TDcArea::Client);
        if (gdi::Dc* d = gdi::FindDc(dc)) {
            d->Target = &GScreenSurface;
            d->VisRgn.reset();
            gdi::RealizeAll(*d);
        }
        return dc;
    }
    TWnd* w = FindWnd(hwnd);
    return w ? MakeDc(w, TDcArea::Client) : nullptr;
}

HDC GetWindowDC(HWND hwnd)
{
    TWnd* w = hwnd ? FindWnd(hwnd) : nullptr;
    return w ? MakeDc(w, TDcArea::Window) : GetDC(nullptr);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags)
{
    TWnd* w = hwnd ? FindWnd(hwnd) : nullptr;
    if (!w)
        return GetDC(nullptr);
    gdi::RegionObject* r = clip ? gdi::FindObjectAs<gdi::RegionObject>(clip, OBJ_REGION) : nullptr;
    TDcArea area = (flags & DCX_WINDOW) ? TDcArea::Window : TDcArea::Client;
    int clipKids = (flags & DCX_CLIPCHILDREN) ? 1 : 0;
    if (!r || !(flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)))
        return MakeDc(w, area, nullptr, clipKids);
    // The region is in window or client coordinates; the visible region is in surface ones.
    TWnd* top = TopLevelOf(w);
    POINT o = (flags & DCX_WINDOW) ? ScreenOrigin(w) : ClientScreenOrigin(w), t = ScreenOrigin(top);
    gdi::Region rgn = r->Rgn;
    rgn.Offset(o.x - t.x, o.y - t.y);
    if (flags & DCX_EXCLUDERGN) {
        RECT all = top->Surf.Bounds();
        rgn = gdi::Region::Combine(gdi::Region(all), rgn, RGN_DIFF);
    }
    return MakeDc(w, area, &rgn, clipKids);
}

int ReleaseDC(HWND, HDC hdc)
{
    auto& v = State().Dcs;
    auto it = std::find_if(v.begin(), v.end(), [&](const TDcRecord& r) { return r.Dc == hdc; });
    if (it == v.end())
        return 0;
    HWND wnd = it->Wnd;
    v.erase(it);
    DeleteDC(hdc);
    if (TWnd* w = FindWnd(wnd); w && !w->Desktop) {
        TWnd* top = TopLevelOf(w);
        State().Backend->TopLevelPainted(top->Handle, RECT{0, 0, top->Surf.Width, top->Surf.Height});
    }
    return 1;
}

HWND WindowFromDC(HDC hdc)
{
    for (const TDcRecord& r : State().Dcs)
        if (r.Dc == hdc)
            return r.Wnd;
    return nullptr;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

BOOL GetWindowRgnBox(HWND, RECT*) { return ERROR; }

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   RECT* updateRect, UINT flags)
{
    TWnd* w = FindWnd(hwnd);
    if (!w)
        return ERROR;
    RECT area = scroll ? *scroll : RECT{0, 0, w->Client.right - w->Client.left, w->Client.bottom - w->Client.top};
    if (clip)
        IntersectRect(&area, &area, clip);
    // Move the pixels that stay visible, then mark the uncovered strip invalid.
    HDC dc = MakeDc(w, TDcArea::Client);
    BitBlt(dc, area.left + dx, area.top + dy, area.right - area.left, area.bottom - area.top, dc,
           area.left, area.top, SRCCOPY);
    ReleaseDC(hwnd, dc);
    RECT moved = area;
    OffsetRect(&moved, dx, dy);
    IntersectRect(&moved, &moved, &area);
    gdi::Region exposed = gdi::Region::Combine(gdi::Region(area), gdi::Region(moved), RGN_DIFF);
    if (!(w = FindWnd(hwnd)))
        return ERROR;
    if (flags & SW_SCROLLCHILDREN) {
        for (TWnd* c : w->Children) {
            RECT cr = c->Rect;
            if (scroll && !IntersectRect(&cr, &cr, scroll))
                continue;
            SetWindowPos(c->Handle, nullptr, c->Rect.left + dx, c->Rect.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (gdi::RegionObject* r = update ? gdi::FindObjectAs<gdi::RegionObject>(update, OBJ_REGION) : nullptr)
        r->Rgn = exposed;
    if (updateRect)
        *updateRect = exposed.IsEmpty() ? RECT{} : exposed.Box();
    if ((flags & SW_INVALIDATE) && (w = FindWnd(hwnd)))
        InvalidateWindow(w, &exposed, flags & SW_ERASE, true);
    return exposed.Complexity();
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip)
{
    UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR;
}

}  // namespace host
