#pragma once
// The common dialogs: file open and save, font, colour, print, printer setup,
// find and replace. Each is a non-visual component whose Execute builds a
// real form in code. The modal ones run it with ShowModal (so tests answer
// them through the modal hook like any form) and return true on OK; find and
// replace show theirs non-modally and report through OnFind and OnReplace.
//
// The forms name their controls so that programs and tests can find them with
// FindComponent: "OK", "Cancel", "Help" on every dialog; the file dialogs add
// "FileName", "Files", "Folders", "FileTypes", "Drives", "ReadOnly"; the font
// dialog "FaceEdit", "Faces", "StyleEdit", "Styles", "SizeEdit", "Sizes",
// "Strikeout", "Underline", "Colors", "Sample", "Apply"; the colour dialog
// "BasicColors", "CustomColors", "DefineCustom", "HueField", "Luminance",
// "Swatch", "Hue", "Sat", "Lum", "Red", "Green", "Blue", "AddCustom"; the
// print dialog "AllPages", "Selection", "Pages", "FromPage", "ToPage",
// "Copies", "PrintToFile", "Collate", "Setup"; the printer setup dialog
// "Printers", "Portrait", "Landscape"; find and replace "FindText",
// "ReplaceText", "WholeWord", "MatchCase", "Up", "Down", "FindNext",
// "Replace", "ReplaceAll".
//
// The file dialogs list the folder with plain list boxes over the file
// system; the "drives" are the root and the home folder. Options that only
// make sense for another platform's file system (ofShareAware,
// ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog) are kept but change
// nothing.
#include <memory>
#include <string>
#include <vector>

#include "host/rtl/Strings.h"
#include "host/vcl/Forms.h"

namespace host {

class TForm;

class TCommonDialog : public TComponent {
    HOST_CLASS(TCommonDialog, TComponent)
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    // Shows the dialog; true when the user closed it with OK.
    virtual bool Execute() = 0;

    bool GetCtl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value) { FCtl3D = Value; }
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

protected:
    // A bsDialog form of the given client size (in dialog units of its own
    // font), centred on the screen, owned by the application.
    TForm* CreateDialogForm(const std::string& Caption, int Width, int Height);
    void ShowHelp();

    bool FCtl3D = true;
    int FHelpContext = 0;
};

// ---- File dialogs ---------------------------------------------------------------------------

HOST_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
          ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
          ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
          ofNoDereferenceLinks)
using TOpenOptions = TSet<TOpenOption>;

class TFileDialogForm;

class TOpenDialog : public TCommonDialog {
    HOST_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* AOwner);
    bool Execute() override;

    const std::string& GetTitle() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    // Pairs of description and masks: "Text files|*.txt|All files|*.*";
    // several masks of one type are separated by ';'.
    const std::string& GetFilter() const { return FFilter; }
    void SetFilter(const std::string& Value) { FFilter = Value; }
    // 1-based; the type chosen in the dialog comes back here.
    int GetFilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // Without the dot; appended to a chosen name that has no extension.
    const std::string& GetDefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
    // The chosen file with its full path (the first one with ofAllowMultiSelect).
    const std::string& GetFileName() const { return FFileName; }
    void SetFileName(const std::string& Value) { FFileName = Value; }
    // Every chosen file with its full path.
    TStrings* GetFiles() const { return FFiles.get(); }
    const std::string& GetInitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
    // Names offered in the file name box's drop-down list.
    TStrings* GetHistoryList() const { return FHistoryList.get(); }
    void SetHistoryList(TStrings* Value) { FHistoryList->Assign(Value); }
    TOpenOptions GetOptions() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }

protected:
    friend class TFileDialogForm;
    virtual bool IsSaveDialog() const { return false; }
    virtual std::string DefaultTitle() const { return "Open"; }

    std::string FTitle;
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FDefaultExt;
    std::string FFileName;
    std::string FInitialDir;
    TOpenOptions FOptions;
    std::unique_ptr<TStringList> FFiles;
    std::unique_ptr<TStringList> FHistoryList;
};

class TSaveDialog : public TOpenDialog {
    HOST_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
    bool IsSaveDialog() const override { return true; }
    std::string DefaultTitle() const override { return "Save As"; }
};

// ---- Font dialog ----------------------------------------------------------------------------

HOST_ENUM(TFontDialogDevice, fdScreen, fdPrinter, fdBoth)
HOST_ENUM(TFontDialogOption, fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist,
          fdNoFaceSel, fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp,
          fdWysiwyg, fdLimitSize, fdScalableOnly)
using TFontDialogOptions = TSet<TFontDialogOption>;
// The Apply button: Wnd is the dialog's window; the dialog's Font already
// holds what the dialog shows.
using TFDApplyEvent = TEvent<void(TObject* Sender, HWND Wnd)>;

class TFontDialog : public TCommonDialog {
    HOST_CLASS(TFontDialog, TCommonDialog)
public:
    explicit TFontDialog(TComponent* AOwner);
    bool Execute() override;

    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TFontDialogDevice GetDevice() const { return FDevice; }
    void SetDevice(TFontDialogDevice Value) { FDevice = Value; }
    // Point sizes the dialog accepts with fdLimitSize; 0 means no limit.
    int GetMinFontSize() const { return FMinFontSize; }
    void SetMinFontSize(int Value) { FMinFontSize = Value; }
    int GetMaxFontSize() const { return FMaxFontSize; }
    void SetMaxFontSize(int Value) { FMaxFontSize = Value; }
    TFontDialogOptions GetOptions() const { return FOptions; }
    void SetOptions(TFontDialogOptions Value) { FOptions = Value; }

    // Shown as an "Apply" button when assigned.
    TFDApplyEvent OnApply;

private:
    friend class TFontDialogForm;
    std::unique_ptr<TFont> FFont;
    TFontDialogDevice FDevice = fdScreen;
    int FMinFontSize = 0;
    int FMaxFontSize = 0;
    TFontDialogOptions FOptions{fdEffects};
};

// ---- Colour dialog --------------------------------------------------------------------------

HOST_ENUM(TColorDialogOption, cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor)
using TColorDialogOptions = TSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
    HOST_CLASS(TColorDialog, TCommonDialog)
public:
    explicit TColorDialog(TComponent* AOwner);
    bool Execute() override;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    // "ColorA=BBGGRR" to "ColorP=BBGGRR" (hexadecimal); the sixteen custom
    // colours come back here when the dialog closes with OK.
    TStrings* GetCustomColors() const { return FCustomColors.get(); }
    void SetCustomColors(TStrings* Value) { FCustomColors->Assign(Value); }
    TColorDialogOptions GetOptions() const { return FOptions; }
    void SetOptions(TColorDialogOptions Value) { FOptions = Value; }

    static constexpr int CustomColorCount = 16;

private:
    TColor FColor = clBlack;
    std::unique_ptr<TStringList> FCustomColors;
    TColorDialogOptions FOptions;
};

// ---- Print dialogs --------------------------------------------------------------------------

HOST_ENUM(TPrintRange, prAllPages, prSelection, prPageNums)
HOST_ENUM(TPrintDialogOption, poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile)
using TPrintDialogOptions = TSet<TPrintDialogOption>;

class TPrintDialog : public TCommonDialog {
    HOST_CLASS(TPrintDialog, TCommonDialog)
public:
    explicit TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
    // On OK the printer's Copies is set too.
    bool Execute() override;

    int GetCopies() const { return FCopies; }
    void SetCopies(int Value) { FCopies = Value; }
    bool GetCollate() const { return FCollate; }
    void SetCollate(bool Value) { FCollate = Value; }
    int GetFromPage() const { return FFromPage; }
    void SetFromPage(int Value) { FFromPage = Value; }
    int GetToPage() const { return FToPage; }
    void SetToPage(int Value) { FToPage = Value; }
    // The pages the user may ask for; MaxPage 0 means any.
    int GetMinPage() const { return FMinPage; }
    void SetMinPage(int Value) { FMinPage = Value; }
    int GetMaxPage() const { return FMaxPage; }
    void SetMaxPage(int Value) { FMaxPage = Value; }
    TPrintRange GetPrintRange() const { return FPrintRange; }
    void SetPrintRange(TPrintRange Value) { FPrintRange = Value; }
    bool GetPrintToFile() const { return FPrintToFile; }
    void SetPrintToFile(bool Value) { FPrintToFile = Value; }
    TPrintDialogOptions GetOptions() const { return FOptions; }
    void SetOptions(TPrintDialogOptions Value) { FOptions = Value; }

private:
    friend class TPrintDialogForm;
    int FCopies = 0;
    bool FCollate = false;
    int FFromPage = 0;
    int FToPage = 0;
    int FMinPage = 0;
    int FMaxPage = 0;
    TPrintRange FPrintRange = prAllPages;
    bool FPrintToFile = false;
    TPrintDialogOptions FOptions;
};

// The printer's choice and orientation; OK applies them to Printer().
class TPrinterSetupDialog : public TCommonDialog {
    HOST_CLASS(TPrinterSetupDialog, TCommonDialog)
public:
    explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
    bool Execute() override;
};

// ---- Find and replace -----------------------------------------------------------------------

HOST_ENUM(TFindOption, frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase,
          frDisableMatchCase, frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord,
          frShowHelp)
using TFindOptions = TSet<TFindOption>;

class TFindDialogForm;

// Modeless: Execute shows the dialog and returns at once. "Find Next" puts
// the edited text in FindText, the boxes in Options (with frFindNext) and
// calls OnFind; Cancel or closing hides the dialog.
class TFindDialog : public TCommonDialog {
    HOST_CLASS(TFindDialog, TCommonDialog)
public:
    explicit TFindDialog(TComponent* AOwner);
    bool Execute() override;
    void CloseDialog();

    const std::string& GetFindText() const { return FFindText; }
    void SetFindText(const std::string& Value);
    TFindOptions GetOptions() const { return FOptions; }
    void SetOptions(TFindOptions Value);
    // The dialog's top-left corner on the screen.
    TPoint GetPosition() const;
    void SetPosition(const TPoint& Value);
    int GetLeft() const { return GetPosition().x; }
    void SetLeft(int Value) { SetPosition(TPoint{Value, GetPosition().y}); }
    int GetTop() const { return GetPosition().y; }
    void SetTop(int Value) { SetPosition(TPoint{GetPosition().x, Value}); }
    // The dialog's form while it exists (after the first Execute).
    TForm* GetForm() const;

    TNotifyEvent OnFind;

protected:
    friend class TFindDialogForm;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual bool IsReplaceDialog() const { return false; }
    void Find();

    std::string FFindText;
    std::string FReplaceText;
    TFindOptions FOptions{frDown};
    TPoint FPosition{-1, -1};
    TFindDialogForm* FForm = nullptr;
};

// Adds "Replace" (frReplace) and "Replace All" (frReplaceAll), which call
// OnReplace; "Find Next" still calls OnFind.
class TReplaceDialog : public TFindDialog {
    HOST_CLASS(TReplaceDialog, TFindDialog)
public:
    explicit TReplaceDialog(TComponent* AOwner) : TFindDialog(AOwner) {}
    const std::string& GetReplaceText() const { return FReplaceText; }
    void SetReplaceText(const std::string& Value);

    TNotifyEvent OnReplace;

protected:
    friend class TFindDialogForm;
    bool IsReplaceDialog() const override { return true; }
    void Replace();
};

} // namespace host
