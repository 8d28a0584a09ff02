// TPicture and the registry of graphic file formats.
#include <algorithm>

#include "host/rtl/FileUtils.h"
#include "host/rtl/Streams.h"
#include "host/vcl/Filer.h"
#include "host/vcl/Graphics.h"

namespace host {

namespace {

struct TFileFormat {
    std::string Extension; // lower case, without the dot
    std::string Description;
    TGraphicClass GraphicClass;
};

std::vector<TFileFormat>& FileFormats()
{
    static std::vector<TFileFormat> formats = {
        {"bmp", "Bitmaps", TBitmap::StaticClass()},
        {"png", "PNG images", TBitmap::StaticClass()},
        {"ico", "Icons", TIcon::StaticClass()},
        {"kmf", "Recorded drawings", TMetafile::StaticClass()},
    };
    return formats;
}

const TFileFormat* FindFormat(const std::string& Ext)
{
    for (const TFileFormat& f : FileFormats())
        if (SameText(f.Extension, Ext)) return &f;
    return nullptr;
}

TGraphic* NewGraphic(TGraphicClass Class) { return static_cast<TGraphic*>(Class->NewInstance()); }

std::string ExtensionOf(const std::string& FileName)
{
    std::string ext = ExtractFileExt(FileName);
    return ext.empty() ? ext : LowerCase(ext.substr(1));
}

} // namespace

void TPicture::RegisterFileFormat(const std::string& AExtension, const std::string& ADescription,
                                  TGraphicClass AGraphicClass)
{
    std::string ext = LowerCase(AExtension);
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    auto& formats = FileFormats();
    // A later registration of an extension takes it over.
    formats.erase(std::remove_if(formats.begin(), formats.end(), [&](const TFileFormat& f) { return f.Extension == ext; }),
                  formats.end());
    formats.push_back({ext, ADescription, AGraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass AClass)
{
    auto& formats = FileFormats();
    formats.erase(std::remove_if(formats.begin(), formats.end(),
                                 [&](const TFileFormat& f) { return f.GraphicClass->InheritsFrom(AClass); }),
                  formats.end());
}

std::string GraphicFileMask(TGraphicClass GraphicClass)
{
    std::string mask;
    for (const TFileFormat& f : FileFormats())
        if (f.GraphicClass->InheritsFrom(GraphicClass)) mask += (mask.empty() ? "*." : ";*.") + f.Extension;
    return mask;
}

std::string GraphicFilter(TGraphicClass GraphicClass)
{
    std::string all = GraphicFileMask(GraphicClass);
    std::string filter = "All (" + all + ")|" + all;
    for (const TFileFormat& f : FileFormats())
        if (f.GraphicClass->InheritsFrom(GraphicClass))
            filter += "|" + f.Description + " (*." + f.Extension + ")|*." + f.Extension;
    return filter;
}

std::string GraphicExtension(TGraphicClass GraphicClass)
{
    for (const TFileFormat& f : FileFormats())
        if (f.GraphicClass == GraphicClass) return f.Extension;
    return {};
}

// ---- TPicture ---------------------------------------------------------------------------

TPicture::TPicture() = default;

TPicture::~TPicture() { FreeAndNil(FGraphic); }

void TPicture::Destroy()
{
    FreeAndNil(FGraphic);
    inherited::Destroy();
}

void TPicture::Changed(TObject*)
{
    if (OnChange) OnChange(this);
}

void TPicture::ReplaceGraphic(TGraphic* NewGraphic)
{
    TGraphic* old = FGraphic;
    FGraphic = NewGraphic;
    if (FGraphic) FGraphic->OnChange = TNotifyEvent(this, &TPicture::Changed);
    host::Free(old);
    Changed(this);
}

template <class G>
G* TPicture::ForceType()
{
    if (auto* g = dynamic_cast<G*>(FGraphic)) return g;
    G* g = new G();
    ReplaceGraphic(g);
    return g;
}

TBitmap* TPicture::GetBitmap() { return ForceType<TBitmap>(); }
TIcon* TPicture::GetIcon() { return ForceType<TIcon>(); }
TMetafile* TPicture::GetMetafile() { return ForceType<TMetafile>(); }
void TPicture::SetBitmap(TBitmap* Value) { SetGraphic(Value); }
void TPicture::SetIcon(TIcon* Value) { SetGraphic(Value); }
void TPicture::SetMetafile(TMetafile* Value) { SetGraphic(Value); }

void TPicture::SetGraphic(TGraphic* Value)
{
    if (Value == FGraphic && Value) return;
    TGraphic* copy = nullptr;
    if (Value) {
        copy = NewGraphic(Value->ClassType());
        try {
            copy->Assign(Value);
        } catch (...) {
            copy->Free();
            throw;
        }
    }
    ReplaceGraphic(copy);
}

void TPicture::Assign(TPersistent* Source)
{
    if (!Source) return SetGraphic(nullptr);
    if (auto* p = dynamic_cast<TPicture*>(Source)) return SetGraphic(p->FGraphic);
    if (auto* g = dynamic_cast<TGraphic*>(Source)) return SetGraphic(g);
    inherited::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest)
{
    if (auto* g = dynamic_cast<TGraphic*>(Dest); g && FGraphic) return g->Assign(FGraphic);
    inherited::AssignTo(Dest);
}

void TPicture::LoadFromFile(const std::string& FileName)
{
    std::string ext = ExtensionOf(FileName);
    const TFileFormat* format = FindFormat(ext);
    if (!format) throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
    TGraphic* g = NewGraphic(format->GraphicClass);
    try {
        g->LoadFromFile(FileName);
    } catch (...) {
        g->Free();
        throw;
    }
    ReplaceGraphic(g);
}

void TPicture::SaveToFile(const std::string& FileName)
{
    if (FGraphic) FGraphic->SaveToFile(FileName);
}

// ---- Streaming --------------------------------------------------------------------------

void TPicture::DefineProperties(TFiler* Filer)
{
    bool hasData = FGraphic && !FGraphic->GetEmpty();
    Filer->DefineBinaryProperty("Data", TStreamProc(this, &TPicture::ReadData), TStreamProc(this, &TPicture::WriteData),
                                hasData);
}

// The class name as a length-prefixed string, then the graphic's own data.
void TPicture::ReadData(TStream* Stream)
{
    uint8_t len = 0;
    Stream->ReadBuffer(&len, 1);
    std::string name(len, '\0');
    if (len) Stream->ReadBuffer(name.data(), len);
    TGraphicClass cls = nullptr;
    for (const TFileFormat& f : FileFormats())
        if (SameText(f.GraphicClass->Name, name)) cls = f.GraphicClass;
    if (!cls) throw EInvalidGraphic("Unknown picture class " + name);
    TGraphic* g = NewGraphic(cls);
    try {
        g->ReadData(Stream);
    } catch (...) {
        g->Free();
        throw;
    }
    ReplaceGraphic(g);
}

void TPicture::WriteData(TStream* Stream)
{
    std::string name = FGraphic ? FGraphic->ClassName() : std::string();
    uint8_t len = static_cast<uint8_t>(std::min<size_t>(name.size(), 255));
    Stream->WriteBuffer(&len, 1);
    if (len) Stream->WriteBuffer(name.data(), len);
    if (FGraphic) FGraphic->WriteData(Stream);
}

} // namespace host
