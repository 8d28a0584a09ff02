// Published properties of the common dialogs, and their registration for
// form files.
#include "host/vcl/CommonDialogs.h"

namespace host {

HOST_PUBLISHED(TCommonDialog)
{
    P.Property("Ctl3D", &TCommonDialog::GetCtl3D, &TCommonDialog::SetCtl3D).Default(true);
    P.Property("HelpContext", &TCommonDialog::GetHelpContext, &TCommonDialog::SetHelpContext).Default(0);
}

HOST_PUBLISHED(TOpenDialog)
{
    P.Property("DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt);
    P.Property("FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName);
    P.Property("Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter);
    P.Property("FilterIndex", &TOpenDialog::GetFilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
    P.Property("HistoryList", &TOpenDialog::GetHistoryList, &TOpenDialog::SetHistoryList);
    P.Property("InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir);
    P.Property("Options", &TOpenDialog::GetOptions, &TOpenDialog::SetOptions).Default(TOpenOptions{});
    P.Property("Title", &TOpenDialog::GetTitle, &TOpenDialog::SetTitle);
}

HOST_PUBLISHED(TFontDialog)
{
    P.Property("Font", &TFontDialog::GetFont, &TFontDialog::SetFont);
    P.Property("Device", &TFontDialog::GetDevice, &TFontDialog::SetDevice).Default(fdScreen);
    P.Property("MinFontSize", &TFontDialog::GetMinFontSize, &TFontDialog::SetMinFontSize).Default(0);
    P.Property("MaxFontSize", &TFontDialog::GetMaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
    P.Property("Options", &TFontDialog::GetOptions, &TFontDialog::SetOptions).Default(TFontDialogOptions{fdEffects});
    P.Property("OnApply", &TFontDialog::OnApply);
}

HOST_PUBLISHED(TColorDialog)
{
    P.Property("Color", &TColorDialog::GetColor, &TColorDialog::SetColor).Type(ColorTypeInfo()).Default(clBlack);
    P.Property("CustomColors", &TColorDialog::GetCustomColors, &TColorDialog::SetCustomColors);
    P.Property("Options", &TColorDialog::GetOptions, &TColorDialog::SetOptions).Default(TColorDialogOptions{});
}

HOST_PUBLISHED(TPrintDialog)
{
    P.Property("Collate", &TPrintDialog::GetCollate, &TPrintDialog::SetCollate).Default(false);
    P.Property("Copies", &TPrintDialog::GetCopies, &TPrintDialog::SetCopies).Default(0);
    P.Property("FromPage", &TPrintDialog::GetFromPage, &TPrintDialog::SetFromPage).Default(0);
    P.Property("MinPage", &TPrintDialog::GetMinPage, &TPrintDialog::SetMinPage).Default(0);
    P.Property("MaxPage", &TPrintDialog::GetMaxPage, &TPrintDialog::SetMaxPage).Default(0);
    P.Property("Options", &TPrintDialog::GetOptions, &TPrintDialog::SetOptions).Default(TPrintDialogOptions{});
    P.Property("PrintToFile", &TPrintDialog::GetPrintToFile, &TPrintDialog::SetPrintToFile).Default(false);
    P.Property("PrintRange", &TPrintDialog::GetPrintRange, &TPrintDialog::SetPrintRange).Default(prAllPages);
    P.Property("ToPage", &TPrintDialog::GetToPage, &TPrintDialog::SetToPage).Default(0);
}

HOST_PUBLISHED(TFindDialog)
{
    P.Property("FindText", &TFindDialog::GetFindText, &TFindDialog::SetFindText);
    P.Property("Options", &TFindDialog::GetOptions, &TFindDialog::SetOptions).Default(TFindOptions{frDown});
    P.Property("OnFind", &TFindDialog::OnFind);
}

HOST_PUBLISHED(TReplaceDialog)
{
    P.Property("ReplaceText", &TReplaceDialog::GetReplaceText, &TReplaceDialog::SetReplaceText);
    P.Property("OnReplace", &TReplaceDialog::OnReplace);
}

HOST_REGISTER_CLASSES(TOpenDialog, TSaveDialog, TFontDialog, TColorDialog, TPrintDialog, TPrinterSetupDialog,
                      TFindDialog, TReplaceDialog);

} // namespace host
