// Message dialogs and input boxes.
#include "host/vcl/Dialogs.h"
#include "host/vcl/StdButtons.h"
#include "host/vcl/StdEdit.h"
#include "host/vcl/StdLabel.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace host {

namespace {

const char* const Captions[] = {"Warning", "Error", "Information", "Confirmation", ""};
const char* const ButtonCaptions[] = {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "&Help"};
const char* const ButtonNames[] = {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "Help"};
const TModalResult ModalResults[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll, mrNone};

// Layout in dialog units, converted with the dialog font's average
// character size as dialog templates are.
constexpr int mcHorzMargin = 8, mcVertMargin = 8, mcHorzSpacing = 10, mcVertSpacing = 10, mcButtonWidth = 50,
              mcButtonHeight = 14, mcButtonSpacing = 4;
constexpr int IconSize = 32;

TPoint AveCharSize(TCanvas* Canvas)
{
    std::string letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters += c;
    for (char c = 'a'; c <= 'z'; ++c) letters += c;
    SIZE size;
    GetTextExtentPoint32(Canvas->GetHandle(), letters.c_str(), int(letters.size()), &size);
    return TPoint{size.cx / 52, size.cy};
}

int Scale(int Units, int Base, int Div) { return Units * Base / Div; }

// Escape answers Cancel, else No, else a lone OK.
TMsgDlgBtn CancelButtonOf(TMsgDlgButtons Buttons)
{
    if (Buttons.Contains(mbCancel)) return mbCancel;
    if (Buttons.Contains(mbNo)) return mbNo;
    return mbOK;
}

// Return answers OK, else Yes, else the first button.
bool IsDefaultButton(TMsgDlgBtn B, TMsgDlgButtons Buttons)
{
    if (Buttons.Contains(mbOK)) return B == mbOK;
    if (Buttons.Contains(mbYes)) return B == mbYes;
    for (int i = mbYes; i <= mbHelp; ++i)
        if (Buttons.Contains(TMsgDlgBtn(i))) return B == TMsgDlgBtn(i);
    return false;
}

void DrawTypeIcon(TCanvas* Canvas, TMsgDlgType Type, TPoint At)
{
    if (Type == mtCustom) return;
    TRect r{At.x, At.y, At.x + IconSize, At.y + IconSize};
    static const TColor Fills[] = {clYellow, clRed, clBlue, clBlue};
    static const char* const Marks[] = {"!", "X", "i", "?"};
    Canvas->GetPen()->SetColor(clBlack);
    Canvas->GetBrush()->SetColor(Fills[Type]);
    if (Type == mtWarning) {
        Canvas->Polygon({{(r.left + r.right) / 2, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}});
    } else {
        Canvas->Ellipse(r.left, r.top, r.right, r.bottom);
    }
    Canvas->GetFont()->SetName("Arial");
    Canvas->GetFont()->SetHeight(-20);
    Canvas->GetFont()->SetStyle(TFontStyles{fsBold});
    Canvas->GetFont()->SetColor(Type == mtWarning ? clBlack : clWhite);
    Canvas->GetBrush()->SetStyle(bsClear);
    RECT tr = r;
    if (Type == mtWarning) tr.top += 6;
    DrawText(Canvas->GetHandle(), Marks[Type], 1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

} // namespace

TMessageForm::TMessageForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    SetKeyPreview(true);
}

void TMessageForm::Paint()
{
    inherited::Paint();
    DrawTypeIcon(GetCanvas(), FDlgType, FIconPos);
}

void TMessageForm::HelpButtonClick(TObject*) { GetApplication()->HelpContext(FHelpContext); }

TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)
{
    auto* form = new TMessageForm(GetApplication());
    std::unique_ptr<TMessageForm, void (*)(TMessageForm*)> guard(form, [](TMessageForm* f) { f->Free(); });
    form->FDlgType = DlgType;
    form->SetCaption(DlgType == mtCustom ? GetApplication()->GetTitle() : std::string(Captions[DlgType]));
    TCanvas* canvas = form->GetCanvas();
    canvas->GetFont()->Assign(form->GetFont());
    TPoint units = AveCharSize(canvas);
    int horzMargin = Scale(mcHorzMargin, units.x, 4), vertMargin = Scale(mcVertMargin, units.y, 8);
    int horzSpacing = Scale(mcHorzSpacing, units.x, 4), vertSpacing = Scale(mcVertSpacing, units.y, 8);
    int buttonWidth = Scale(mcButtonWidth, units.x, 4), buttonHeight = Scale(mcButtonHeight, units.y, 8);
    int buttonSpacing = Scale(mcButtonSpacing, units.x, 4);
    int buttonCount = 0;
    for (int i = mbYes; i <= mbHelp; ++i) {
        if (!Buttons.Contains(TMsgDlgBtn(i))) continue;
        ++buttonCount;
        RECT r{0, 0, 0, 0};
        DrawText(canvas->GetHandle(), ButtonCaptions[i], -1, &r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
        buttonWidth = std::max<int>(buttonWidth, r.right + 8);
    }
    RECT text{0, 0, GetScreen()->GetWidth() / 2, 0};
    DrawText(canvas->GetHandle(), Msg.c_str(), -1, &text, DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    int iconTextWidth = text.right, iconTextHeight = text.bottom;
    if (DlgType != mtCustom) {
        iconTextWidth += IconSize + horzSpacing;
        iconTextHeight = std::max(iconTextHeight, IconSize);
    }
    int groupWidth = buttonCount ? buttonWidth * buttonCount + buttonSpacing * (buttonCount - 1) : 0;
    form->SetClientWidth(std::max(iconTextWidth, groupWidth) + horzMargin * 2);
    form->SetClientHeight(iconTextHeight + buttonHeight + vertSpacing + vertMargin * 2);
    form->SetLeft(GetScreen()->GetWidth() / 2 - form->GetWidth() / 2);
    form->SetTop(GetScreen()->GetHeight() / 2 - form->GetHeight() / 2);
    form->FIconPos = TPoint{horzMargin, vertMargin};

    auto* label = new TLabel(form);
    label->SetName("Message");
    label->SetParent(form);
    label->SetShowAccelChar(false);
    label->SetWordWrap(true);
    label->SetCaption(Msg);
    label->SetBoundsRect(TRect{iconTextWidth - text.right + horzMargin, vertMargin,
                               iconTextWidth + horzMargin, vertMargin + text.bottom});
    int x = (form->GetClientWidth() - groupWidth) / 2;
    TMsgDlgBtn cancel = CancelButtonOf(Buttons);
    for (int i = mbYes; i <= mbHelp; ++i) {
        auto b = TMsgDlgBtn(i);
        if (!Buttons.Contains(b)) continue;
        auto* button = new TButton(form);
        button->SetName(ButtonNames[i]);
        button->SetParent(form);
        button->SetCaption(ButtonCaptions[i]);
        button->SetModalResult(ModalResults[i]);
        button->SetDefault(IsDefaultButton(b, Buttons));
        button->SetCancel(b == cancel);
        button->SetBounds(x, iconTextHeight + vertMargin + vertSpacing, buttonWidth, buttonHeight);
        if (b == mbHelp) button->OnClick = TNotifyEvent(form, &TMessageForm::HelpButtonClick);
        x += buttonWidth + buttonSpacing;
    }
    guard.release();
    return form;
}

int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y)
{
    TForm* form = CreateMessageDialog(Msg, DlgType, Buttons);
    std::unique_ptr<TForm, void (*)(TForm*)> guard(form, [](TForm* f) { f->Free(); });
    static_cast<TMessageForm*>(form)->FHelpContext = HelpCtx;
    if (X >= 0) form->SetLeft(X);
    if (Y >= 0) form->SetTop(Y);
    return form->ShowModal();
}

int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void ShowMessage(const std::string& Msg) { MessageDlg(Msg, mtCustom, TMsgDlgButtons{mbOK}, 0); }

void ShowMessageFmt(const std::string& Msg, TVarRecs Params) { ShowMessage(Format(Msg, Params)); }

bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value)
{
    auto* form = new TForm(GetApplication());
    std::unique_ptr<TForm, void (*)(TForm*)> guard(form, [](TForm* f) { f->Free(); });
    form->SetBorderStyle(bsDialog);
    form->SetCaption(ACaption);
    form->SetPosition(poScreenCenter);
    TCanvas* canvas = form->GetCanvas();
    canvas->GetFont()->Assign(form->GetFont());
    TPoint units = AveCharSize(canvas);
    int margin = Scale(8, units.x, 4), top = Scale(8, units.y, 8);
    int editWidth = Scale(164, units.x, 4);
    form->SetClientWidth(Scale(180, units.x, 4));
    form->SetClientHeight(Scale(63, units.y, 8));

    auto* prompt = new TLabel(form);
    prompt->SetName("Prompt");
    prompt->SetParent(form);
    prompt->SetCaption(APrompt);
    prompt->SetLeft(margin);
    prompt->SetTop(top);
    auto* edit = new TEdit(form);
    edit->SetName("Edit");
    edit->SetParent(form);
    edit->SetBounds(margin, Scale(19, units.y, 8), editWidth, Scale(12, units.y, 8) + 4);
    edit->SetMaxLength(255);
    edit->SetText(Value);
    edit->SelectAll();
    prompt->SetFocusControl(edit);
    int buttonTop = Scale(41, units.y, 8), buttonWidth = Scale(50, units.x, 4), buttonHeight = Scale(14, units.y, 8);
    struct TButtonDef {
        const char* Name;
        const char* Caption;
        TModalResult Result;
        int Left;
    } buttons[] = {{"OK", "OK", mrOk, Scale(38, units.x, 4)}, {"Cancel", "Cancel", mrCancel, Scale(92, units.x, 4)}};
    for (const TButtonDef& s : buttons) {
        auto* b = new TButton(form);
        b->SetName(s.Name);
        b->SetParent(form);
        b->SetCaption(s.Caption);
        b->SetModalResult(s.Result);
        b->SetDefault(s.Result == mrOk);
        b->SetCancel(s.Result == mrCancel);
        b->SetBounds(s.Left, buttonTop, buttonWidth, buttonHeight);
    }
    if (form->ShowModal() != mrOk) return false;
    Value = edit->GetText();
    return true;
}

std::string InputBox(const std::string& ACaption, const std::string& APrompt, const std::string& ADefault)
{
    std::string value = ADefault;
    InputQuery(ACaption, APrompt, value);
    return value;
}

HOST_REGISTER_CLASSES(TMessageForm);

} // namespace host
