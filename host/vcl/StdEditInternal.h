#pragma once
// Shared by the translation units of the edit controls.
#include "host/vcl/StdEdit.h"
#include "host/vcl/Menus.h"

#include <cctype>

namespace host {

// Text is measured on a memory DC of its own, so that layout works before
// the control has a window.
class TCustomEdit::TMeasure {
public:
    TMeasure() : FDC(CreateCompatibleDC(nullptr)) { FCanvas.SetHandle(FDC); }
    ~TMeasure()
    {
        FCanvas.SetHandle(nullptr);
        DeleteDC(FDC);
    }
    TMeasure(const TMeasure&) = delete;
    TMeasure& operator=(const TMeasure&) = delete;
    void SetFont(TFont* Font)
    {
        FCanvas.SetFont(Font);
        FLineHeight = FCanvas.TextHeight("Wg");
    }
    int Width(const std::string& S) { return S.empty() ? 0 : FCanvas.TextWidth(S); }
    int LineHeight() const { return FLineHeight; }

private:
    HDC FDC;
    TCanvas FCanvas;
    int FLineHeight = 13;
};

namespace edit {

inline std::string ApplyCharCase(std::string S, TEditCharCase Case)
{
    if (Case == ecUpperCase)
        for (char& c : S) c = char(std::toupper(static_cast<unsigned char>(c)));
    else if (Case == ecLowerCase)
        for (char& c : S) c = char(std::tolower(static_cast<unsigned char>(c)));
    return S;
}

inline bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }

// The published properties of single-line edits, shared by the edit classes.
// The stored-predicates are protected: the caller's published block names them.
template <class C>
void PublishEditProperties(TPublisher<C>& P, bool (TControl::*FontStored)() const,
                           bool (TControl::*ShowHintStored)() const)
{
    P.Property("AutoSelect", &C::GetAutoSelect, &C::SetAutoSelect).Default(true);
    P.Property("AutoSize", &C::GetAutoSize, &C::SetAutoSize).Default(true);
    P.Property("BorderStyle", &C::GetBorderStyle, &C::SetBorderStyle).Default(bsSingle);
    P.Property("CharCase", &C::GetCharCase, &C::SetCharCase).Default(ecNormal);
    P.Property("Color", &C::GetColor, &C::SetColor).Type(ColorTypeInfo()).Default(clWindow);
    P.Property("Ctl3D", &C::GetCtl3D, &C::SetCtl3D).Default(true);
    P.Property("DragMode", &C::GetDragMode, &C::SetDragMode).Default(dmManual);
    P.Property("Enabled", &C::GetEnabled, &C::SetEnabled).Default(true);
    P.Property("Font", &C::GetFont, &C::SetFont).Stored(FontStored);
    P.Property("HideSelection", &C::GetHideSelection, &C::SetHideSelection).Default(true);
    P.Property("MaxLength", &C::GetMaxLength, &C::SetMaxLength).Default(0);
    P.Property("OEMConvert", &C::GetOEMConvert, &C::SetOEMConvert).Default(false);
    P.Property("ParentColor", &C::GetParentColor, &C::SetParentColor).Default(false);
    P.Property("ParentCtl3D", &C::GetParentCtl3D, &C::SetParentCtl3D).Default(true);
    P.Property("ParentFont", &C::GetParentFont, &C::SetParentFont).Default(true);
    P.Property("ParentShowHint", &C::GetParentShowHint, &C::SetParentShowHint).Default(true);
    P.Property("PopupMenu", &C::GetPopupMenu, &C::SetPopupMenu);
    P.Property("PasswordChar", &C::GetPasswordChar, &C::SetPasswordChar).Default('\0');
    P.Property("ReadOnly", &C::GetReadOnly, &C::SetReadOnly).Default(false);
    P.Property("ShowHint", &C::GetShowHint, &C::SetShowHint).Stored(ShowHintStored);
    P.Property("TabOrder", &C::GetTabOrder, &C::SetTabOrder).Default(-1);
    P.Property("TabStop", &C::GetTabStop, &C::SetTabStop).Default(true);
    P.Property("Text", &C::GetText, &C::SetText);
    P.Property("Visible", &C::GetVisible, &C::SetVisible).Default(true);
    P.Property("OnChange", &C::OnChange);
    P.Property("OnClick", &C::OnClick);
    P.Property("OnDblClick", &C::OnDblClick);
    P.Property("OnDragDrop", &C::OnDragDrop);
    P.Property("OnDragOver", &C::OnDragOver);
    P.Property("OnEndDrag", &C::OnEndDrag);
    P.Property("OnEnter", &C::OnEnter);
    P.Property("OnExit", &C::OnExit);
    P.Property("OnKeyDown", &C::OnKeyDown);
    P.Property("OnKeyPress", &C::OnKeyPress);
    P.Property("OnKeyUp", &C::OnKeyUp);
    P.Property("OnMouseDown", &C::OnMouseDown);
    P.Property("OnMouseMove", &C::OnMouseMove);
    P.Property("OnMouseUp", &C::OnMouseUp);
    P.Property("OnStartDrag", &C::OnStartDrag);
}

std::string GetClipboardText(HWND Owner);
void PutClipboardText(HWND Owner, const std::string& Text);

constexpr int kLeftMargin = 2;
constexpr int kRightMargin = 1;

} // namespace edit
} // namespace host
