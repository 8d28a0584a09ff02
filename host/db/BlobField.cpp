#include <algorithm>
#include <cstring>

#include "host/db/DBConsts.h"
#include "host/db/DataSet.h"

namespace host {

using engine::TValue;

TBlobField::TBlobField(TComponent* AOwner) : TField(AOwner) { FDataType = ftBlob; }

TMemoField::TMemoField(TComponent* AOwner) : TBlobField(AOwner) { FDataType = ftMemo; }

TGraphicField::TGraphicField(TComponent* AOwner) : TBlobField(AOwner) { FDataType = ftGraphic; }

void TBlobField::SetBlobType(TFieldType Value)
{
    if (Value == FDataType) return;
    CheckInactive();
    FDataType = Value;
}

std::string TBlobField::GetAsString() const
{
    TValue v;
    return GetData(v) ? v.Bytes : std::string();
}

void TBlobField::SetAsString(const std::string& Value)
{
    if (Value.empty()) {
        Clear();
        return;
    }
    bool text = engine::StorageKind(FDataType) == engine::TValueKind::Text;
    SetData(text ? TValue::OfText(Value) : TValue::OfBlob(Value));
}

TVariant TBlobField::GetAsVariant() const
{
    TValue v;
    return GetData(v) ? TVariant(v) : TVariant();
}

int64_t TBlobField::GetBlobSize() const { return static_cast<int64_t>(GetAsString().size()); }

std::string TBlobField::FormatText(bool) const { return ClassDesc(); }

void TBlobField::LoadFromStream(TStream* Stream)
{
    std::string data;
    char chunk[8192];
    for (;;) {
        int64_t n = Stream->Read(chunk, sizeof chunk);
        if (n < 0) throw EReadError("Stream read error");
        if (n == 0) break;
        data.append(chunk, static_cast<size_t>(n));
    }
    SetAsString(data);
}

void TBlobField::SaveToStream(TStream* Stream) const
{
    std::string data = GetAsString();
    if (!data.empty()) Stream->WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TBlobField::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead);
    LoadFromStream(&stream);
}

void TBlobField::SaveToFile(const std::string& FileName) const
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

HOST_PUBLISHED(TBlobField)
{
    P.Property("BlobType", &TBlobField::GetBlobType, &TBlobField::SetBlobType);
    P.Property("Size", &TBlobField::GetSize, &TBlobField::SetSize).Default(0);
}

HOST_PUBLISHED(TMemoField)
{
    P.Property("BlobType", &TMemoField::GetBlobType, &TMemoField::SetBlobType).Default(ftMemo);
}

HOST_PUBLISHED(TGraphicField)
{
    P.Property("BlobType", &TGraphicField::GetBlobType, &TGraphicField::SetBlobType).Default(ftGraphic);
}

// ---- TBlobStream

TBlobStream::TBlobStream(TBlobField* Field, TBlobStreamMode Mode) : FField(Field), FMode(Mode)
{
    if (Mode != bmRead) {
        TDataSet* ds = Field->GetDataSet();
        if (!ds || !IsDataEditState(ds->GetState())) DatabaseError(DBConsts::SNotEditing);
        if (!Field->CanModify()) DatabaseErrorFmt(DBConsts::SFieldReadOnly, {Field->GetDisplayName()});
    }
    if (Mode == bmWrite)
        FModified = true; // opening for writing empties the blob
    else
        FData = Field->GetAsString();
}

TBlobStream::~TBlobStream()
{
    try {
        Store();
    } catch (...) {
        // Destructors must not throw; Truncate() stores with errors reported.
    }
}

int64_t TBlobStream::Read(void* Buffer, int64_t Count)
{
    if (Count <= 0 || FPos >= static_cast<int64_t>(FData.size())) return 0;
    int64_t n = std::min<int64_t>(Count, static_cast<int64_t>(FData.size()) - FPos);
    std::memcpy(Buffer, FData.data() + FPos, static_cast<size_t>(n));
    FPos += n;
    return n;
}

int64_t TBlobStream::Write(const void* Buffer, int64_t Count)
{
    if (FMode == bmRead) throw EStreamError("Cannot write to a read-only blob stream");
    if (Count <= 0) return 0;
    if (FPos + Count > static_cast<int64_t>(FData.size())) FData.resize(static_cast<size_t>(FPos + Count));
    std::memcpy(FData.data() + FPos, Buffer, static_cast<size_t>(Count));
    FPos += Count;
    FModified = true;
    return Count;
}

int64_t TBlobStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPos : static_cast<int64_t>(FData.size());
    FPos = std::max<int64_t>(0, base + Offset);
    return FPos;
}

void TBlobStream::SetSize(int64_t NewSize)
{
    if (FMode == bmRead) throw EStreamError("Cannot write to a read-only blob stream");
    FData.resize(static_cast<size_t>(std::max<int64_t>(0, NewSize)));
    FPos = std::min<int64_t>(FPos, static_cast<int64_t>(FData.size()));
    FModified = true;
}

void TBlobStream::Truncate()
{
    SetSize(FPos);
    Store();
}

void TBlobStream::Store()
{
    if (!FModified) return;
    FModified = false;
    FField->SetAsString(FData);
}

} // namespace host
