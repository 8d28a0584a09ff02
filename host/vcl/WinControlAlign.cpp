// TWinControl: aligning children and reading children from a form.
#include "host/vcl/Controls.h"
#include "host/vcl/Filer.h"

namespace host {

namespace {

// Order within one alignment: the control nearer the edge it is aligned to
// goes first.
bool InsertBefore(TControl* C1, TControl* C2, TAlign Align)
{
    switch (Align) {
    case alTop: return C1->GetTop() < C2->GetTop();
    case alBottom: return C1->GetTop() + C1->GetHeight() > C2->GetTop() + C2->GetHeight();
    case alLeft: return C1->GetLeft() < C2->GetLeft();
    case alRight: return C1->GetLeft() + C1->GetWidth() > C2->GetLeft() + C2->GetWidth();
    default: return false;
    }
}

// Places Control against the edge of Rect that Align names and takes its
// room out of Rect.
void DoPosition(TControl* Control, TAlign Align, TRect& Rect)
{
    int width = Rect.right - Rect.left;
    if (width < 0 || Align == alLeft || Align == alRight) width = Control->GetWidth();
    int height = Rect.bottom - Rect.top;
    if (height < 0 || Align == alTop || Align == alBottom) height = Control->GetHeight();
    int left = Rect.left;
    int top = Rect.top;
    switch (Align) {
    case alTop: Rect.top += height; break;
    case alBottom:
        Rect.bottom -= height;
        top = Rect.bottom;
        break;
    case alLeft: Rect.left += width; break;
    case alRight:
        Rect.right -= width;
        left = Rect.right;
        break;
    default: break;
    }
    Control->SetBounds(left, top, width, height);
}

} // namespace

void TWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    bool designing = GetComponentState().Contains(csDesigning);
    auto takesPart = [&](TControl* c, TAlign a) { return c->GetAlign() == a && (designing || c->GetVisible()); };
    bool any = false;
    for (int i = 0; i < GetControlCount() && !any; ++i) any = GetControls(i)->GetAlign() != alNone;
    if (!any) return;
    AdjustClientRect(Rect);
    std::vector<TControl*> list;
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        list.clear();
        // The control that asked keeps its place ahead of its equals.
        if (AControl && takesPart(AControl, align)) list.push_back(AControl);
        for (int i = 0; i < GetControlCount(); ++i) {
            TControl* c = GetControls(i);
            if (c == AControl || !takesPart(c, align)) continue;
            size_t j = 0;
            while (j < list.size() && !InsertBefore(c, list[j], align)) ++j;
            list.insert(list.begin() + ptrdiff_t(j), c);
        }
        for (TControl* c : list) DoPosition(c, align, Rect);
    }
}

void TWinControl::AlignControl(TControl* AControl)
{
    if (GetComponentState().Contains(csDestroying)) return;
    if (FAlignLevel != 0 || GetComponentState().Contains(csLoading)) {
        FControlState += csAlignmentNeeded;
        return;
    }
    DisableAlign();
    try {
        TRect r = GetClientRect();
        AlignControls(AControl, r);
    } catch (...) {
        FControlState -= csAlignmentNeeded;
        EnableAlign();
        throw;
    }
    FControlState -= csAlignmentNeeded;
    EnableAlign();
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::ReadState(TReader* Reader)
{
    DisableAlign();
    try {
        inherited::ReadState(Reader);
    } catch (...) {
        EnableAlign();
        throw;
    }
    FixupTabList();
    if (FParent) UpdateControlState();
    EnableAlign();
}

void TWinControl::Loaded()
{
    inherited::Loaded();
    if (FControlState.Contains(csAlignmentNeeded)) Realign();
}

} // namespace host
