#include "general/Stopform.h"

#include "general/Stopwtch.h"
#include "host/rtl/Resources.h"
#include "host/vcl/Filer.h"

namespace kel {

using namespace host;

namespace {

// The dialog's designed layout, read like any stored form.
const char StopWatchDialogLayout[] = R"(object StopWatchDialog: TStopWatchDialog
  Left = 200
  Top = 120
  ActiveControl = OKBtn
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Stopwatch'
  ClientHeight = 214
  ClientWidth = 317
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold]
  Position = poScreenCenter
  object Bevel1: TBevel
    Left = 8
    Top = 8
    Width = 300
    Height = 161
    Shape = bsFrame
  end
  object Label1: TLabel
    Left = 20
    Top = 36
    Width = 80
    Height = 13
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'Laps:'
  end
  object Label2: TLabel
    Left = 20
    Top = 67
    Width = 80
    Height = 13
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'Total:'
  end
  object Label3: TLabel
    Left = 20
    Top = 97
    Width = 80
    Height = 13
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'Average:'
  end
  object Label4: TLabel
    Left = 20
    Top = 128
    Width = 80
    Height = 13
    Alignment = taRightJustify
    AutoSize = False
    Caption = 'Last Lap:'
  end
  object lblLaps: TLabel
    Left = 120
    Top = 36
    Width = 6
    Height = 13
    Caption = '0'
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lblTotal: TLabel
    Left = 120
    Top = 67
    Width = 6
    Height = 13
    Caption = '0'
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lblAverage: TLabel
    Left = 120
    Top = 97
    Width = 6
    Height = 13
    Caption = '0'
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object lblLastLap: TLabel
    Left = 120
    Top = 128
    Width = 6
    Height = 13
    Caption = '0'
    Font.Color = clBlue
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object OKBtn: TButton
    Left = 120
    Top = 180
    Width = 77
    Height = 27
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
  end
end
)";

const bool LayoutRegistered = [] {
    RegisterResource(TResType::FormLayout, "TStopWatchDialog", StopWatchDialogLayout);
    return true;
}();

} // namespace

HOST_PUBLISHED(TStopWatchDialog)
{
    P.Field("Bevel1", &TStopWatchDialog::Bevel1);
    P.Field("Label1", &TStopWatchDialog::Label1);
    P.Field("Label2", &TStopWatchDialog::Label2);
    P.Field("Label3", &TStopWatchDialog::Label3);
    P.Field("Label4", &TStopWatchDialog::Label4);
    P.Field("lblLaps", &TStopWatchDialog::lblLaps);
    P.Field("lblTotal", &TStopWatchDialog::lblTotal);
    P.Field("lblAverage", &TStopWatchDialog::lblAverage);
    P.Field("lblLastLap", &TStopWatchDialog::lblLastLap);
    P.Field("OKBtn", &TStopWatchDialog::OKBtn);
}

TStopWatchDialog::TStopWatchDialog(TComponent* AOwner) : TForm(AOwner)
{
    (void)LayoutRegistered;
    InitInheritedComponent(this, TStopWatchDialog::StaticClass());
}

void TStopWatch::Show()
{
    auto* Dialog = new TStopWatchDialog(this);
    try {
        Dialog->SetCaption(GetName());
        Dialog->lblLaps->SetCaption(std::to_string(FLaps));
        Dialog->lblTotal->SetCaption(DialogTimeText(FTotal));
        Dialog->lblAverage->SetCaption(DialogTimeText(GetAverage()));
        Dialog->lblLastLap->SetCaption(DialogTimeText(FLastLap));
        Dialog->ShowModal();
    } catch (...) {
        Dialog->Free();
        throw;
    }
    Dialog->Free();
}

HOST_REGISTER_CLASSES(TStopWatchDialog);

} // namespace kel
