// TCustomEdit: construction, properties, and the messages the control
// answers for the window system and the dialog machinery.
#include "host/vcl/StdEdit.h"

#include "host/vcl/StdEditInternal.h"

#include <algorithm>

namespace host {

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner), FMeasure(std::make_unique<TMeasure>())
{
    FControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    FLeft = 0;
    FTop = 0;
    FWidth = 121;
    FHeight = 25;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FMeasure->SetFont(FFont.get());
    AdjustHeight();
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Caption = FBuf;
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FBorderStyle == bsSingle) {
        if (FCtl3D)
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    if (FReadOnly) Params.Style |= ES_READONLY;
    if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
    if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
    if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
    if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
    if (FPasswordChar) Params.Style |= ES_PASSWORD;
    Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_IBEAM);
}

void TCustomEdit::CreateWnd()
{
    // The text lives in the engine; a new window must not reset it.
    std::string text = FBuf;
    int anchor = FAnchor, caret = FCaret;
    bool modified = FModified;
    bool canUndo = FCanUndo;
    FChanging = true;
    try {
        inherited::CreateWnd();
    } catch (...) {
        FChanging = false;
        throw;
    }
    FChanging = false;
    FBuf = text;
    FAnchor = anchor;
    FCaret = caret;
    FModified = modified;
    FCanUndo = canUndo;
    FLayoutValid = false;
    UpdateScrollBars();
}

void TCustomEdit::Loaded()
{
    inherited::Loaded();
    FModified = false;
    AdjustHeight();
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::AdjustHeight()
{
    if (!FAutoSize || FMultiLine) return;
    if (GetComponentState().Contains(csLoading)) return;
    int border = FCtl3D ? 8 : 6;
    SetHeight(LineHeight() + border * GetSystemMetrics(SM_CYBORDER));
}

// ---- Properties ------------------------------------------------------------------------------

void TCustomEdit::SetAutoSize(bool Value)
{
    if (FAutoSize == Value) return;
    FAutoSize = Value;
    AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
    if (Value != bsNone) Value = bsSingle;
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    FLayoutValid = false;
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value)
{
    if (FCharCase == Value) return;
    FCharCase = Value;
    // The text already there takes the new case, as a new window would show it.
    std::string converted = edit::ApplyCharCase(FBuf, FCharCase);
    if (converted != FBuf) {
        FBuf = converted;
        FLayoutValid = false;
        Invalidate();
        NotifyChanged();
    }
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value)
{
    if (FHideSelection == Value) return;
    FHideSelection = Value;
    Invalidate();
}

void TCustomEdit::SetMaxLength(int Value)
{
    if (Value < 0) Value = 0;
    if (FMaxLength == Value) return;
    FMaxLength = Value;
}

void TCustomEdit::SetPasswordChar(char Value)
{
    if (FPasswordChar == Value) return;
    FPasswordChar = Value;
    FLayoutValid = false;
    ScrollCaret();
    Invalidate();
}

void TCustomEdit::SetReadOnly(bool Value)
{
    if (FReadOnly == Value) return;
    FReadOnly = Value;
    if (HandleAllocated()) {
        LONG_PTR style = GetWindowLong(FHandle, GWL_STYLE);
        SetWindowLong(FHandle, GWL_STYLE, Value ? (style | ES_READONLY) : (style & ~LONG_PTR(ES_READONLY)));
    }
}

bool TCustomEdit::GetModified() { return FModified; }
void TCustomEdit::SetModified(bool Value) { FModified = Value; }

// ---- Selection and clipboard -------------------------------------------------------------

int TCustomEdit::GetSelStart() { return std::min(FAnchor, FCaret); }

void TCustomEdit::SetSelStart(int Value) { SetSel(Value, Value); }

int TCustomEdit::GetSelLength() { return std::abs(FCaret - FAnchor); }

void TCustomEdit::SetSelLength(int Value)
{
    int start = GetSelStart();
    SetSel(start, start + std::max(0, Value));
}

std::string TCustomEdit::GetSelText() { return FBuf.substr(size_t(GetSelStart()), size_t(GetSelLength())); }

void TCustomEdit::SetSelText(const std::string& Value) { ReplaceSelection(Value, true, false); }

int TCustomEdit::GetSelTextBuf(char* Buffer, int BufSize)
{
    if (!Buffer || BufSize <= 0) return 0;
    std::string s = GetSelText();
    int n = std::min(int(s.size()), BufSize - 1);
    std::copy_n(s.data(), n, Buffer);
    Buffer[n] = '\0';
    return n;
}

void TCustomEdit::SetSelTextBuf(const char* Buffer) { SetSelText(Buffer ? Buffer : ""); }

void TCustomEdit::SelectAll() { SetSel(0, int(FBuf.size())); }

void TCustomEdit::Clear() { SetText(""); }

void TCustomEdit::ClearSelection() { Perform(WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { Perform(WM_UNDO, 0, 0); }
void TCustomEdit::ClearUndo() { Perform(EM_EMPTYUNDOBUFFER, 0, 0); }
bool TCustomEdit::GetCanUndo() { return Perform(EM_CANUNDO, 0, 0) != 0; }

// ---- Messages ----------------------------------------------------------------------------------

// Tab-selecting an edit selects its text, a click does not.
void TCustomEdit::CMEnter(TMessage& Message)
{
    if (FAutoSelect && !FMultiLine && !FControlState.Contains(csLButtonDown)) SelectAll();
    inherited::Dispatch(Message);
}

void TCustomEdit::CMFontChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    FMeasure->SetFont(FFont.get());
    FLayoutValid = false;
    AdjustHeight();
    if (FHasCaret) {
        DestroyCaret();
        CreateCaret(FHandle, nullptr, 1, LineHeight());
        ShowCaret(FHandle);
    }
    ScrollCaret();
    Invalidate();
}

void TCustomEdit::CMEnabledChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TCustomEdit::CMColorChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    Invalidate();
}

void TCustomEdit::CMCtl3DChanged(TMessage& Message)
{
    inherited::Dispatch(Message);
    AdjustHeight();
    RecreateWnd();
}

void TCustomEdit::WMSize(TMessage& Message)
{
    inherited::Dispatch(Message);
    FLayoutValid = false;
    ScrollCaret();
}

void TCustomEdit::WMGetDlgCode(TMessage& Message)
{
    Message.Result = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!FMultiLine) return;
    Message.Result |= DLGC_WANTALLKEYS;
    if (FWantTabs) Message.Result |= DLGC_WANTTAB;
    if (!FWantReturns) Message.Result &= ~DLGC_WANTALLKEYS;
}

HOST_MESSAGE_MAP(TCustomEdit)
{
    M(CM_ENTER, &TCustomEdit::CMEnter);
    M(CM_FONTCHANGED, &TCustomEdit::CMFontChanged);
    M(CM_ENABLEDCHANGED, &TCustomEdit::CMEnabledChanged);
    M(CM_COLORCHANGED, &TCustomEdit::CMColorChanged);
    M(CM_CTL3DCHANGED, &TCustomEdit::CMCtl3DChanged);
    M(WM_SIZE, &TCustomEdit::WMSize);
    M(WM_GETDLGCODE, &TCustomEdit::WMGetDlgCode);
}

// ---- Form files --------------------------------------------------------------------------------

HOST_PUBLISHED(TEdit) { edit::PublishEditProperties(P, &TEdit::IsFontStored, &TEdit::IsShowHintStored); }

HOST_REGISTER_CLASSES(TEdit);

} // namespace host
