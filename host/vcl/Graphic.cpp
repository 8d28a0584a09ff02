// TGraphic: what every kind of graphic shares.
#include "host/rtl/Streams.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Graphics.h"

namespace host {

void TGraphic::Changed(TObject*)
{
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::SetModified(bool Value)
{
    if (Value == FModified) return;
    if (Value)
        Changed(this);
    else
        FModified = false;
}

void TGraphic::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    Changed(this);
}

void TGraphic::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TGraphic::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty("Data", TStreamProc(this, &TGraphic::ReadData), TStreamProc(this, &TGraphic::WriteData),
                                !GetEmpty());
}

} // namespace host
