#include "host/vcl/Clipbrd.h"

#include "host/rtl/Streams.h"
#include "host/vcl/Controls.h"
#include "host/vcl/Filer.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace host {

const UINT CF_PICTURE = RegisterClipboardFormat("Host Picture");
const UINT CF_COMPONENT = RegisterClipboardFormat("Host Component");

namespace {

// Open for the length of one call, closed also when the call raises.
class TClipboardOpen {
public:
    explicit TClipboardOpen(TClipboard* C) : FClipboard(C) { C->Open(); }
    ~TClipboardOpen() { FClipboard->Close(); }
    TClipboardOpen(const TClipboardOpen&) = delete;
    TClipboardOpen& operator=(const TClipboardOpen&) = delete;

private:
    TClipboard* FClipboard;
};

// A packed DIB is a BMP file without its 14-byte file header.
constexpr size_t kFileHeaderSize = 14;

std::string DibOf(TBitmap* Bitmap)
{
    TStringStream s;
    Bitmap->SaveToStream(&s);
    const std::string& bmp = s.GetDataString();
    return bmp.size() > kFileHeaderSize ? bmp.substr(kFileHeaderSize) : std::string();
}

// The bits offset stays 0 so that the reader places the bits after the
// colour table, where a packed DIB has them.
std::string BmpFileOf(const std::vector<uint8_t>& Dib)
{
    std::string file(kFileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    uint32_t size = uint32_t(std::min<size_t>(Dib.size() + kFileHeaderSize, UINT32_MAX));
    std::memcpy(&file[2], &size, 4);
    file.append(reinterpret_cast<const char*>(Dib.data()), Dib.size());
    return file;
}

bool IsPictureFormat(UINT Format)
{
    return Format == CF_BITMAP || Format == CF_DIB || Format == CF_METAFILEPICT;
}

// Owner's components must have unique names: a pasted "Button1" becomes
// "Button2" when the owner already has a Button1.
std::string UniqueNameIn(TComponent* Owner, const std::string& Name)
{
    if (!Owner || Name.empty() || !Owner->FindComponent(Name)) return Name;
    std::string base = Name;
    while (!base.empty() && base.back() >= '0' && base.back() <= '9') base.pop_back();
    for (int i = 1;; ++i) {
        std::string candidate = base + std::to_string(i);
        if (!Owner->FindComponent(candidate)) return candidate;
    }
}

TClipboard*& TheClipboard()
{
    static TClipboard* clipboard = nullptr;
    return clipboard;
}

} // namespace

TClipboard::~TClipboard()
{
    if (FOpenRefCount > 0) CloseClipboard();
}

void TClipboard::Open()
{
    if (FOpenRefCount == 0) {
        if (!OpenClipboard(nullptr)) throw Exception("Cannot open clipboard");
        FEmptied = false;
    }
    ++FOpenRefCount;
}

void TClipboard::Close()
{
    if (FOpenRefCount == 0) return;
    if (--FOpenRefCount > 0) return;
    CloseClipboard();
    FEmptied = false;
}

void TClipboard::Clear()
{
    TClipboardOpen open(this);
    EmptyClipboard();
}

void TClipboard::Adding()
{
    if (FOpenRefCount != 0 && !FEmptied) {
        Clear();
        FEmptied = true;
    }
}

bool TClipboard::HasFormat(UINT Format)
{
    if (Format == CF_PICTURE) return HasFormat(CF_BITMAP) || HasFormat(CF_DIB) || HasFormat(CF_METAFILEPICT);
    return IsClipboardFormatAvailable(Format) != FALSE;
}

int TClipboard::GetFormatCount() { return CountClipboardFormats(); }

UINT TClipboard::GetFormats(int Index)
{
    TClipboardOpen open(this);
    UINT format = EnumClipboardFormats(0);
    for (int i = 0; i < Index && format; ++i) format = EnumClipboardFormats(format);
    return Index < 0 ? 0 : format;
}

// ---- Raw data ---------------------------------------------------------------------------

void TClipboard::PutHandle(UINT Format, HANDLE Value)
{
    if (!SetClipboardData(Format, Value)) throw Exception("Cannot put data of format %d on the clipboard", {int(Format)});
}

void TClipboard::SetBuffer(UINT Format, const void* Buffer, size_t Size)
{
    TClipboardOpen open(this);
    Adding();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
    if (!data) throw EOutOfMemory("Out of memory");
    if (void* p = GlobalLock(data)) {
        if (Size) std::memcpy(p, Buffer, Size);
        GlobalUnlock(data);
    }
    try {
        PutHandle(Format, data);
    } catch (...) {
        GlobalFree(data);
        throw;
    }
}

std::vector<uint8_t> TClipboard::GetBuffer(UINT Format)
{
    TClipboardOpen open(this);
    HANDLE data = GetClipboardData(Format);
    if (!data) return {};
    auto* p = static_cast<const uint8_t*>(GlobalLock(data));
    if (!p) return {};
    std::vector<uint8_t> bytes(p, p + GlobalSize(data));
    GlobalUnlock(data);
    return bytes;
}

HANDLE TClipboard::GetAsHandle(UINT Format)
{
    TClipboardOpen open(this);
    return GetClipboardData(Format);
}

void TClipboard::SetAsHandle(UINT Format, HANDLE Value)
{
    TClipboardOpen open(this);
    Adding();
    PutHandle(Format, Value);
}

// ---- Text --------------------------------------------------------------------------------

std::string TClipboard::GetAsText()
{
    std::vector<uint8_t> bytes = GetBuffer(CF_TEXT);
    // The block ends at its NUL, or at its size when another writer left none.
    auto end = std::find(bytes.begin(), bytes.end(), uint8_t(0));
    return std::string(bytes.begin(), end);
}

void TClipboard::SetAsText(const std::string& Value) { SetBuffer(CF_TEXT, Value.c_str(), Value.size() + 1); }

int TClipboard::GetTextBuf(char* Buffer, int BufSize)
{
    if (!Buffer || BufSize <= 0) return 0;
    std::string text = GetAsText();
    int n = int(std::min<size_t>(text.size(), size_t(BufSize - 1)));
    std::memcpy(Buffer, text.data(), size_t(n));
    Buffer[n] = '\0';
    return n;
}

void TClipboard::SetTextBuf(const char* Buffer) { SetAsText(Buffer ? Buffer : ""); }

// ---- Graphics --------------------------------------------------------------------------

void TClipboard::Assign(TPersistent* Source)
{
    if (auto* picture = dynamic_cast<TPicture*>(Source)) {
        if (picture->GetGraphic()) return AssignGraphic(picture->GetGraphic());
        return Clear();
    }
    if (auto* graphic = dynamic_cast<TGraphic*>(Source)) return AssignGraphic(graphic);
    inherited::Assign(Source);
}

void TClipboard::AssignGraphic(TGraphic* Graphic)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(Graphic)) return AssignBitmap(bitmap);
    if (auto* metafile = dynamic_cast<TMetafile*>(Graphic)) return AssignMetafile(metafile);
    throw EInvalidGraphic("Clipboard does not support " + Graphic->ClassName().substr(1) + "s");
}

void TClipboard::AssignBitmap(TBitmap* Bitmap)
{
    TClipboardOpen open(this);
    Adding();
    if (Bitmap->GetEmpty()) return;
    std::string dib = DibOf(Bitmap);
    SetBuffer(CF_DIB, dib.data(), dib.size());
    // A copy of its own: the clipboard frees the handle it holds.
    TBitmap copy;
    copy.Assign(Bitmap);
    HBITMAP handle = copy.ReleaseHandle();
    try {
        PutHandle(CF_BITMAP, handle);
    } catch (...) {
        DeleteObject(handle);
        throw;
    }
}

void TClipboard::AssignMetafile(TMetafile* Metafile)
{
    TStringStream s;
    Metafile->SaveToStream(&s);
    const std::string& bytes = s.GetDataString();
    SetBuffer(CF_METAFILEPICT, bytes.data(), bytes.size());
}

bool TClipboard::LoadBitmap(TBitmap* Bitmap)
{
    TClipboardOpen open(this);
    std::vector<uint8_t> dib = GetBuffer(CF_DIB);
    if (!dib.empty()) {
        TStringStream s(BmpFileOf(dib));
        Bitmap->LoadFromStream(&s);
        return true;
    }
    HBITMAP handle = HBITMAP(GetClipboardData(CF_BITMAP));
    if (!handle) return false;
    // Borrow the clipboard's handle: the loan ends with the handle given
    // back and a copy of the image kept.
    TBitmap loan;
    loan.SetHandle(handle);
    if (loan.ReleaseHandle() != handle) throw EInvalidGraphic("Bitmap image is not valid");
    Bitmap->Assign(&loan);
    return true;
}

bool TClipboard::LoadMetafile(TMetafile* Metafile)
{
    std::vector<uint8_t> bytes = GetBuffer(CF_METAFILEPICT);
    if (bytes.empty()) return false;
    TStringStream s(std::string(bytes.begin(), bytes.end()));
    Metafile->LoadFromStream(&s);
    return true;
}

void TClipboard::AssignToPicture(TPicture* Picture)
{
    TClipboardOpen open(this);
    // The first picture format offered wins, as the writer ordered them.
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (!IsPictureFormat(format)) continue;
        if (format == CF_METAFILEPICT) {
            if (LoadMetafile(Picture->GetMetafile())) return;
        } else if (LoadBitmap(Picture->GetBitmap())) {
            return;
        }
    }
    throw EInvalidGraphic("Unsupported clipboard format");
}

void TClipboard::AssignTo(TPersistent* Dest)
{
    if (auto* picture = dynamic_cast<TPicture*>(Dest)) return AssignToPicture(picture);
    if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
        if (!LoadBitmap(bitmap)) throw EInvalidGraphic("Unsupported clipboard format");
        return;
    }
    if (auto* metafile = dynamic_cast<TMetafile*>(Dest)) {
        if (!LoadMetafile(metafile)) throw EInvalidGraphic("Unsupported clipboard format");
        return;
    }
    inherited::AssignTo(Dest);
}

// ---- Components ---------------------------------------------------------------------------

void TClipboard::SetComponent(TComponent* Component)
{
    std::string form = WriteComponentToString(Component);
    SetBuffer(CF_COMPONENT, form.data(), form.size());
}

TComponent* TClipboard::GetComponent(TComponent* Owner, TComponent* Parent)
{
    std::vector<uint8_t> bytes = GetBuffer(CF_COMPONENT);
    if (bytes.empty()) return nullptr;
    TStringStream s(std::string(bytes.begin(), bytes.end()));
    TReader reader(&s);
    reader.SetParent(Parent);
    TComponent* result = reader.ReadRootComponent(nullptr);
    try {
        if (Owner) {
            result->SetName(UniqueNameIn(Owner, result->GetName()));
            Owner->InsertComponent(result);
        }
        auto* control = dynamic_cast<TControl*>(result);
        auto* parent = dynamic_cast<TWinControl*>(Parent);
        if (control && parent) control->SetParent(parent);
    } catch (...) {
        result->Free();
        throw;
    }
    return result;
}

// ---- The global object --------------------------------------------------------------------

TClipboard* Clipboard()
{
    TClipboard*& c = TheClipboard();
    if (!c) c = new TClipboard();
    return c;
}

TClipboard* SetClipboard(TClipboard* NewClipboard)
{
    TClipboard* old = TheClipboard();
    TheClipboard() = NewClipboard;
    return old;
}

} // namespace host
