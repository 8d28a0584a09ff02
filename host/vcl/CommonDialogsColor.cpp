// The colour dialog: a grid of basic colours, sixteen custom colours, and,
// opened fully, a hue and saturation field with a luminance bar and the
// colour's numbers.
#include "host/vcl/CommonDialogs.h"
#include "host/vcl/CommonDialogsInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace host {

using namespace cdlg;

namespace {

constexpr TColor BasicColors[48] = {
    TColor(RGB(255, 128, 128)), TColor(RGB(255, 255, 232)), TColor(RGB(128, 255, 128)), TColor(RGB(0, 255, 128)),
    TColor(RGB(128, 255, 255)), TColor(RGB(0, 128, 255)),   TColor(RGB(255, 128, 192)), TColor(RGB(255, 128, 255)),
    TColor(RGB(255, 0, 0)),     TColor(RGB(255, 255, 128)), TColor(RGB(128, 255, 0)),   TColor(RGB(0, 255, 64)),
    TColor(RGB(0, 255, 255)),   TColor(RGB(0, 128, 192)),   TColor(RGB(128, 128, 192)), TColor(RGB(255, 0, 255)),
    TColor(RGB(128, 64, 64)),   TColor(RGB(255, 255, 0)),   TColor(RGB(0, 255, 0)),     TColor(RGB(0, 128, 128)),
    TColor(RGB(0, 64, 128)),    TColor(RGB(128, 128, 255)), TColor(RGB(128, 0, 64)),    TColor(RGB(255, 0, 128)),
    TColor(RGB(128, 0, 0)),     TColor(RGB(255, 128, 0)),   TColor(RGB(0, 128, 0)),     TColor(RGB(0, 128, 64)),
    TColor(RGB(0, 0, 255)),     TColor(RGB(0, 0, 160)),     TColor(RGB(128, 0, 128)),   TColor(RGB(128, 0, 255)),
    TColor(RGB(64, 0, 0)),      TColor(RGB(128, 64, 0)),    TColor(RGB(0, 64, 0)),      TColor(RGB(0, 64, 64)),
    TColor(RGB(0, 0, 128)),     TColor(RGB(0, 0, 64)),      TColor(RGB(64, 0, 64)),     TColor(RGB(64, 0, 128)),
    TColor(RGB(0, 0, 0)),       TColor(RGB(128, 128, 0)),   TColor(RGB(128, 128, 64)),  TColor(RGB(128, 128, 128)),
    TColor(RGB(64, 128, 128)),  TColor(RGB(192, 192, 192)), TColor(RGB(64, 0, 64)),     TColor(RGB(255, 255, 255)),
};

// Hue, luminance and saturation on the scale of 0 to 240 that colour
// pickers show.
struct THLS {
    int H = 0, L = 0, S = 0;
};

THLS RGBToHLS(TColor Color)
{
    double r = GetRValue(Color) / 255.0, g = GetGValue(Color) / 255.0, b = GetBValue(Color) / 255.0;
    double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    double l = (mx + mn) / 2, h = 0, s = 0;
    if (mx != mn) {
        double d = mx - mn;
        s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
        if (mx == r)
            h = (g - b) / d + (g < b ? 6 : 0);
        else if (mx == g)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
        h /= 6;
    }
    return THLS{int(std::lround(h * 240)) % 240, int(std::lround(l * 240)), int(std::lround(s * 240))};
}

double HueToRGB(double p, double q, double t)
{
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 1.0 / 2) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

TColor HLSToRGB(THLS C)
{
    double h = C.H / 240.0, l = C.L / 240.0, s = C.S / 240.0;
    if (s == 0) {
        int v = int(std::lround(l * 255));
        return TColor(RGB(v, v, v));
    }
    double q = l < 0.5 ? l * (1 + s) : l + s - l * s, p = 2 * l - q;
    auto c = [&](double t) { return int(std::lround(HueToRGB(p, q, t) * 255)); };
    return TColor(RGB(c(h + 1.0 / 3), c(h), c(h - 1.0 / 3)));
}

} // namespace

// A grid of colour cells, each sunk into the dialog's face; the selected
// one is framed, and the focus rectangle marks it while the grid is focused.
class TColorCellGrid : public TCustomControl {
    HOST_CLASS(TColorCellGrid, TCustomControl)
public:
    TColorCellGrid(TComponent* AOwner, int AColumns, int ARows) : TCustomControl(AOwner), FColumns(AColumns), FRows(ARows)
    {
        FColors.assign(size_t(AColumns * ARows), clWhite);
        SetTabStop(true);
        SetColor(clBtnFace);
    }
    std::vector<TColor>& Colors() { return FColors; }
    int GetIndex() const { return FIndex; }
    void SetIndex(int Value)
    {
        if (Value == FIndex) return;
        FIndex = Value;
        Invalidate();
    }
    TRect CellRect(int Index)
    {
        int w = GetClientWidth() / FColumns, h = GetClientHeight() / FRows;
        int col = Index % FColumns, row = Index / FColumns;
        return TRect{col * w, row * h, col * w + w, row * h + h};
    }
    // Clicking or moving to a cell.
    TNotifyEvent OnSelect;

protected:
    void Paint() override
    {
        TCanvas* c = GetCanvas();
        c->GetBrush()->SetColor(clBtnFace);
        c->FillRect(GetClientRect());
        for (int i = 0; i < int(FColors.size()); ++i) {
            TRect r = CellRect(i);
            InflateRect(&r, -3, -3);
            if (i == FIndex) {
                TRect f = r;
                InflateRect(&f, 2, 2);
                c->GetBrush()->SetColor(clBlack);
                c->FrameRect(f);
                if (Focused()) {
                    InflateRect(&f, 1, 1);
                    c->DrawFocusRect(f);
                }
            }
            DrawEdge(c->GetHandle(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
            c->GetBrush()->SetColor(FColors[size_t(i)]);
            c->FillRect(r);
        }
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        if (CanFocus()) SetFocus();
        for (int i = 0; i < int(FColors.size()); ++i) {
            TRect r = CellRect(i);
            if (PtInRect(&r, POINT{X, Y})) Select(i);
        }
        inherited::MouseDown(Button, Shift, X, Y);
    }
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        int i = std::max(FIndex, 0), n = int(FColors.size());
        switch (Key) {
        case VK_LEFT: i = i % FColumns > 0 ? i - 1 : i; break;
        case VK_RIGHT: i = i % FColumns < FColumns - 1 && i + 1 < n ? i + 1 : i; break;
        case VK_UP: i = i >= FColumns ? i - FColumns : i; break;
        case VK_DOWN: i = i + FColumns < n ? i + FColumns : i; break;
        default: inherited::KeyDown(Key, Shift); return;
        }
        Select(i);
    }
    // The arrow keys move between cells instead of between the dialog's controls.
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_GETDLGCODE) {
            Message.Result = DLGC_WANTARROWS;
            return;
        }
        inherited::WndProc(Message);
    }
    void DoEnter() override
    {
        Invalidate();
        inherited::DoEnter();
    }
    void DoExit() override
    {
        Invalidate();
        inherited::DoExit();
    }

private:
    void Select(int Index)
    {
        SetIndex(Index);
        if (OnSelect) OnSelect(this);
    }

    int FColumns, FRows;
    std::vector<TColor> FColors;
    int FIndex = -1;
};

// The hue (across) and saturation (up) field, or the luminance bar of the
// current hue and saturation; a click picks from it.
class TColorPickField : public TCustomControl {
    HOST_CLASS(TColorPickField, TCustomControl)
public:
    TColorPickField(TComponent* AOwner, bool ALuminance) : TCustomControl(AOwner), FLuminance(ALuminance) {}
    THLS Value;
    TNotifyEvent OnPick;

protected:
    void Paint() override
    {
        TCanvas* c = GetCanvas();
        TRect all = GetClientRect();
        int w = all.right, h = all.bottom;
        constexpr int Step = 4;
        for (int y = 0; y < h; y += Step) {
            for (int x = 0; x < (FLuminance ? 1 : w); x += Step) {
                THLS at = Value;
                if (FLuminance) {
                    at.L = 240 - y * 240 / std::max(1, h - 1);
                } else {
                    at.H = x * 239 / std::max(1, w - 1);
                    at.S = 240 - y * 240 / std::max(1, h - 1);
                    at.L = 120;
                }
                c->GetBrush()->SetColor(HLSToRGB(at));
                c->FillRect(TRect{x, y, FLuminance ? w : std::min(w, x + Step), std::min(h, y + Step)});
            }
        }
        // Cross-hairs (or the bar's marker) at the current value.
        c->GetPen()->SetColor(clBlack);
        if (FLuminance) {
            int y = (240 - Value.L) * (h - 1) / 240;
            c->MoveTo(0, y);
            c->LineTo(w, y);
        } else {
            int x = Value.H * (w - 1) / 239, y = (240 - Value.S) * (h - 1) / 240;
            c->MoveTo(x - 6, y);
            c->LineTo(x - 1, y);
            c->MoveTo(x + 2, y);
            c->LineTo(x + 7, y);
            c->MoveTo(x, y - 6);
            c->LineTo(x, y - 1);
            c->MoveTo(x, y + 2);
            c->LineTo(x, y + 7);
        }
    }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        Pick(X, Y);
        inherited::MouseDown(Button, Shift, X, Y);
    }
    // Dragging with the button down keeps picking.
    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        if (Shift.Contains(ssLeft)) Pick(X, Y);
        inherited::MouseMove(Shift, X, Y);
    }

private:
    void Pick(int X, int Y)
    {
        int w = std::max(1, GetClientWidth() - 1), h = std::max(1, GetClientHeight() - 1);
        X = std::clamp(X, 0, w);
        Y = std::clamp(Y, 0, h);
        if (FLuminance) {
            Value.L = 240 - Y * 240 / h;
        } else {
            Value.H = X * 239 / w;
            Value.S = 240 - Y * 240 / h;
        }
        Invalidate();
        if (OnPick) OnPick(this);
    }

    bool FLuminance;
};

// A plain swatch of the colour chosen so far.
class TColorSwatch : public TGraphicControl {
    HOST_CLASS(TColorSwatch, TGraphicControl)
public:
    explicit TColorSwatch(TComponent* AOwner) : TGraphicControl(AOwner) {}
    void SetSwatch(TColor Value)
    {
        FSwatch = Value;
        Invalidate();
    }

protected:
    void Paint() override
    {
        TCanvas* c = GetCanvas();
        TRect r = GetClientRect();
        DrawEdge(c->GetHandle(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        c->GetBrush()->SetColor(FSwatch);
        c->FillRect(r);
    }

private:
    TColor FSwatch = clBlack;
};

namespace {

// The dialog's form and the state it edits.
class TColorDialogBuilder {
public:
    TColorDialogBuilder(TForm* Form, TColorDialogOptions Options, const TDlgUnits& U) : FForm(Form), FUnits(U)
    {
        FBasic = AddGrid("BasicColors", "&Basic colors:", 4, 4, 140, 86, 8, 6);
        std::copy(std::begin(BasicColors), std::end(BasicColors), FBasic->Colors().begin());
        FCustom = AddGrid("CustomColors", "&Custom colors:", 4, 106, 140, 28, 8, 2);
        FDefine = PlaceButton(Form, "DefineCustom", "&Define Custom Colors >>", U, 4, 150, 140, 14);
        FDefine->SetEnabled(!Options.Contains(cdPreventFullOpen));
        FDefine->OnClick = [this](TObject*) { OpenFully(); };
        PlaceOKCancel(Form, U, TPoint{4, 170}, TPoint{50, 170}, 44, 14);
        FHelp = PlaceButton(Form, "Help", "&Help", U, 100, 170, 44, 14);
        FHelp->SetVisible(Options.Contains(cdShowHelp));
        BuildFullPart();
        FBasic->OnSelect = [this](TObject*) { PickCell(FBasic); };
        FCustom->OnSelect = [this](TObject*) { PickCell(FCustom); };
        if (Options.Contains(cdFullOpen) && !Options.Contains(cdPreventFullOpen)) OpenFully();
    }

    TColorCellGrid* FBasic;
    TColorCellGrid* FCustom;
    TButton* FHelp;
    TColor FCurrent = clBlack;

    // Which numbers the new colour came from: those are left as typed.
    enum class TSource { Elsewhere, RGBEdits, HLSEdits };

    // Known: the hue, luminance and saturation Value was made from (which
    // converting back could round differently).
    void SetCurrent(TColor Value, TSource Source = TSource::Elsewhere, const THLS* Known = nullptr)
    {
        FCurrent = Value;
        FSwatch->SetSwatch(Value);
        THLS hls = Known ? *Known : RGBToHLS(Value);
        FUpdating = true;
        if (Source != TSource::RGBEdits) {
            FRed->SetText(std::to_string(GetRValue(Value)));
            FGreen->SetText(std::to_string(GetGValue(Value)));
            FBlue->SetText(std::to_string(GetBValue(Value)));
        }
        if (Source != TSource::HLSEdits) {
            FHue->SetText(std::to_string(hls.H));
            FSat->SetText(std::to_string(hls.S));
            FLum->SetText(std::to_string(hls.L));
        }
        FUpdating = false;
        FField->Value = hls;
        FBar->Value = hls;
        FField->Invalidate();
        FBar->Invalidate();
    }
    void SelectMatching(TColor Value)
    {
        auto& basic = FBasic->Colors();
        auto it = std::find(basic.begin(), basic.end(), Value);
        if (it != basic.end()) FBasic->SetIndex(int(it - basic.begin()));
    }

private:
    TColorCellGrid* AddGrid(const std::string& Name, const std::string& Caption, int X, int Y, int W, int H, int Cols,
                            int Rows)
    {
        auto* grid = new TColorCellGrid(FForm, Cols, Rows);
        grid->SetName(Name);
        grid->SetBounds(FUnits.X(X), FUnits.Y(Y + 10), FUnits.X(W), FUnits.Y(H));
        grid->SetParent(FForm);
        PlaceLabel(FForm, FForm, Caption, FUnits, X, Y, W, 9, grid);
        return grid;
    }

    void BuildFullPart()
    {
        const TDlgUnits& u = FUnits;
        FFirstFullPart = FForm->GetComponentCount();
        FField = new TColorPickField(FForm, false);
        FField->SetName("HueField");
        FField->SetBounds(u.X(152), u.Y(4), u.X(122), u.Y(116));
        FField->SetParent(FForm);
        FBar = new TColorPickField(FForm, true);
        FBar->SetName("Luminance");
        FBar->SetBounds(u.X(280), u.Y(4), u.X(10), u.Y(116));
        FBar->SetParent(FForm);
        FSwatch = new TColorSwatch(FForm);
        FSwatch->SetName("Swatch");
        FSwatch->SetBounds(u.X(152), u.Y(128), u.X(46), u.Y(40));
        FSwatch->SetParent(FForm);
        FHue = AddNumber("Hue", "Hu&e:", 204, 128, 239);
        FSat = AddNumber("Sat", "&Sat:", 204, 142, 240);
        FLum = AddNumber("Lum", "&Lum:", 204, 156, 240);
        FRed = AddNumber("Red", "&Red:", 252, 128, 255);
        FGreen = AddNumber("Green", "&Green:", 252, 142, 255);
        FBlue = AddNumber("Blue", "Bl&ue:", 252, 156, 255);
        TButton* add = PlaceButton(FForm, "AddCustom", "&Add to Custom Colors", u, 152, 170, 144, 14);
        add->OnClick = [this](TObject*) { AddToCustom(); };
        // Hidden until the dialog opens fully, so that Tab cannot reach them.
        for (int i = FFirstFullPart; i < FForm->GetComponentCount(); ++i)
            if (auto* c = dynamic_cast<TControl*>(FForm->GetComponents(i))) c->SetVisible(false);
        FField->OnPick = [this](TObject*) { PickHLS(FField->Value); };
        FBar->OnPick = [this](TObject*) { PickHLS(FBar->Value); };
    }
    TEdit* AddNumber(const std::string& Name, const std::string& Caption, int X, int Y, int Max)
    {
        TEdit* e = Place<TEdit>(FForm, FForm, Name, FUnits, X + 24, Y, 20, 12);
        e->SetMaxLength(3);
        PlaceLabel(FForm, FForm, Caption, FUnits, X, Y + 2, 24, 9, e);
        e->OnChange = [this, Max](TObject* Sender) {
            if (FUpdating) return;
            // Typing past the largest value puts the largest value in the box.
            auto* edit = static_cast<TEdit*>(Sender);
            int v = 0;
            if (ParseInt(edit->GetText(), v) && v > Max) {
                FUpdating = true;
                edit->SetText(std::to_string(Max));
                FUpdating = false;
            }
            if (edit == FRed || edit == FGreen || edit == FBlue)
                RGBEditsChanged();
            else
                HLSEditsChanged();
        };
        return e;
    }
    void OpenFully()
    {
        FForm->SetClientWidth(FUnits.X(300));
        for (int i = FFirstFullPart; i < FForm->GetComponentCount(); ++i)
            if (auto* c = dynamic_cast<TControl*>(FForm->GetComponents(i))) c->SetVisible(true);
        FDefine->SetEnabled(false);
    }
    void PickCell(TColorCellGrid* Grid)
    {
        (Grid == FBasic ? FCustom : FBasic)->SetIndex(-1);
        SetCurrent(Grid->Colors()[size_t(Grid->GetIndex())]);
    }
    void PickHLS(THLS Value)
    {
        FBasic->SetIndex(-1);
        SetCurrent(HLSToRGB(Value), TSource::Elsewhere, &Value);
    }
    void RGBEditsChanged()
    {
        int r = 0, g = 0, b = 0;
        if (!ParseInt(FRed->GetText(), r) || !ParseInt(FGreen->GetText(), g) || !ParseInt(FBlue->GetText(), b)) return;
        FBasic->SetIndex(-1);
        SetCurrent(TColor(RGB(std::min(r, 255), std::min(g, 255), std::min(b, 255))), TSource::RGBEdits);
    }
    void HLSEditsChanged()
    {
        THLS v;
        if (!ParseInt(FHue->GetText(), v.H) || !ParseInt(FSat->GetText(), v.S) || !ParseInt(FLum->GetText(), v.L)) return;
        v.H = std::min(v.H, 239);
        v.S = std::min(v.S, 240);
        v.L = std::min(v.L, 240);
        FBasic->SetIndex(-1);
        SetCurrent(HLSToRGB(v), TSource::HLSEdits, &v);
    }
    // Into the selected custom cell, else the next one in turn.
    void AddToCustom()
    {
        int i = FCustom->GetIndex();
        if (i < 0) i = FNextCustom;
        FNextCustom = (i + 1) % TColorDialog::CustomColorCount;
        FCustom->Colors()[size_t(i)] = FCurrent;
        FCustom->SetIndex(i);
        FCustom->Invalidate();
    }

    TForm* FForm;
    TDlgUnits FUnits;
    TButton* FDefine = nullptr;
    TColorPickField* FField = nullptr;
    TColorPickField* FBar = nullptr;
    TColorSwatch* FSwatch = nullptr;
    TEdit* FHue = nullptr;
    TEdit* FSat = nullptr;
    TEdit* FLum = nullptr;
    TEdit* FRed = nullptr;
    TEdit* FGreen = nullptr;
    TEdit* FBlue = nullptr;
    bool FUpdating = false;
    int FNextCustom = 0;
    int FFirstFullPart = 0;  // the first of the form's components in the full part
};

std::string CustomColorName(int Index) { return std::string("Color") + char('A' + Index); }

} // namespace

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>())
{
}

bool TColorDialog::Execute()
{
    // The builder's handlers run until the form is gone, so it outlives the form.
    std::optional<TColorDialogBuilder> builder;
    TFormPtr form(CreateDialogForm("Color", 150, 190));
    TColorDialogBuilder& b = builder.emplace(form.get(), FOptions, DialogUnitsOf(form.get()));
    for (int i = 0; i < CustomColorCount; ++i) {
        std::string v = FCustomColors->GetValues(CustomColorName(i));
        char* end = nullptr;
        long c = std::strtol(v.c_str(), &end, 16);
        if (!v.empty() && end && *end == 0 && c >= 0 && c <= 0xFFFFFF) b.FCustom->Colors()[size_t(i)] = TColor(c);
    }
    TColor start = ColorToRGB(FColor);
    b.SelectMatching(start);
    b.SetCurrent(start);
    b.FHelp->OnClick = [this](TObject*) { ShowHelp(); };
    static_cast<TButton*>(form->FindComponent("OK"))->SetModalResult(mrOk);
    if (form->ShowModal() != mrOk) return false;
    FColor = b.FCurrent;
    for (int i = 0; i < CustomColorCount; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%.6X", unsigned(b.FCustom->Colors()[size_t(i)]) & 0xFFFFFFu);
        FCustomColors->SetValues(CustomColorName(i), hex);
    }
    return true;
}

} // namespace host
