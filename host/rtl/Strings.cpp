#include "host/rtl/Strings.h"

#include <algorithm>

#include "host/rtl/Streams.h"

namespace host {

namespace {

bool IsBlank(unsigned char c) { return c <= ' '; }

// Wraps S in double quotes, doubling the quotes inside.
std::string QuoteItem(const std::string& S)
{
    std::string out = "\"";
    for (char c : S) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

// Reads a quoted item starting at the opening quote at Pos and leaves Pos
// after the closing quote. An unterminated item runs to the end of the text.
std::string ExtractQuoted(const std::string& Text, size_t& Pos)
{
    std::string out;
    for (++Pos; Pos < Text.size(); ++Pos) {
        if (Text[Pos] != '"') {
            out += Text[Pos];
        } else if (Pos + 1 < Text.size() && Text[Pos + 1] == '"') {
            out += '"';
            ++Pos;
        } else {
            ++Pos;
            break;
        }
    }
    return out;
}

bool NeedsQuotes(const std::string& S)
{
    return std::any_of(S.begin(), S.end(),
                       [](char c) { return IsBlank(static_cast<unsigned char>(c)) || c == '"' || c == ','; });
}

} // namespace

// ---- TStrings

void TStrings::Error(const std::string& Msg, int Data) const { throw EStringListError(Format(Msg, {Data})); }

int TStrings::Add(const std::string& S)
{
    const int result = GetCount();
    Insert(result, S);
    return result;
}

int TStrings::AddObject(const std::string& S, TObject* AObject)
{
    const int result = Add(S);
    PutObject(result, AObject);
    return result;
}

void TStrings::AddStrings(TStrings* Strings)
{
    BeginUpdate();
    try {
        const int count = Strings->GetCount();
        for (int i = 0; i < count; ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TStrings*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    BeginUpdate();
    try {
        Clear();
        AddStrings(source);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    // An unmatched EndUpdate must not leave the count negative, which would
    // silence every later change notification.
    if (FUpdateCount == 0) return;
    --FUpdateCount;
    if (FUpdateCount == 0) SetUpdateState(false);
}

bool TStrings::Equals(TStrings* Strings) const
{
    const int count = GetCount();
    if (count != Strings->GetCount()) return false;
    for (int i = 0; i < count; ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

void TStrings::Exchange(int Index1, int Index2)
{
    BeginUpdate();
    try {
        const std::string tempString = Get(Index1);
        TObject* tempObject = GetObject(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, tempString);
        PutObject(Index2, tempObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(const std::string& S) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& Name) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const std::string s = Get(i);
        const size_t p = s.find('=');
        if (p != std::string::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject)
{
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    BeginUpdate();
    try {
        const std::string tempString = Get(CurIndex);
        TObject* tempObject = GetObject(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, tempString, tempObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::LoadFromStream(TStream* Stream)
{
    const int64_t size = std::max<int64_t>(Stream->GetSize() - Stream->GetPosition(), 0);
    std::string text(static_cast<size_t>(size), '\0');
    // A failed read raises rather than passing for an empty text.
    Stream->ReadBuffer(text.data(), size);
    BeginUpdate();
    try {
        SetTextStr(text);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::SaveToFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TStrings::SaveToStream(TStream* Stream)
{
    const std::string text = GetTextStr();
    Stream->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

std::string TStrings::GetNames(int Index) const
{
    std::string s = Get(Index);
    const size_t p = s.find('=');
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::GetValues(const std::string& Name) const
{
    const int i = IndexOfName(Name);
    if (i < 0) return std::string();
    // Cut at the item's own '=': a name that compares equal may differ in length.
    const std::string s = Get(i);
    return s.substr(s.find('=') + 1);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value)
{
    const int i = IndexOfName(Name);
    if (Value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    // A new item is added whole rather than added empty and then replaced,
    // which a sorted list would refuse half-way.
    if (i < 0)
        Add(Name + '=' + Value);
    else
        Put(i, Name + '=' + Value);
}

void TStrings::Put(int Index, const std::string& S)
{
    TObject* tempObject = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, tempObject);
}

std::string TStrings::GetTextStr() const
{
    std::string result;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        result += Get(i);
        result += "\r\n";
    }
    return result;
}

void TStrings::SetTextStr(const std::string& Value)
{
    BeginUpdate();
    try {
        Clear();
        size_t p = 0;
        while (p < Value.size()) {
            const size_t start = p;
            while (p < Value.size() && Value[p] != '\r' && Value[p] != '\n') ++p;
            Add(Value.substr(start, p - start));
            if (p < Value.size() && Value[p] == '\r') ++p;
            if (p < Value.size() && Value[p] == '\n') ++p;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::GetCommaText() const
{
    const int count = GetCount();
    if (count == 1 && Get(0).empty()) return "\"\"";
    std::string result;
    for (int i = 0; i < count; ++i) {
        const std::string s = Get(i);
        // A trailing empty item is quoted, as bare it would vanish on reading.
        const bool quote = NeedsQuotes(s) || (s.empty() && i == count - 1);
        if (i > 0) result += ',';
        result += quote ? QuoteItem(s) : s;
    }
    return result;
}

void TStrings::SetCommaText(const std::string& Value)
{
    auto blank = [&](size_t p) { return p < Value.size() && IsBlank(static_cast<unsigned char>(Value[p])); };
    BeginUpdate();
    try {
        Clear();
        size_t p = 0;
        while (blank(p)) ++p;
        while (p < Value.size()) {
            if (Value[p] == '"') {
                Add(ExtractQuoted(Value, p));
            } else {
                const size_t start = p;
                while (p < Value.size() && !blank(p) && Value[p] != ',') ++p;
                Add(Value.substr(start, p - start));
            }
            while (blank(p)) ++p;
            if (p < Value.size() && Value[p] == ',') {
                do ++p;
                while (blank(p));
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const { return AnsiCompareText(S1, S2); }

// ---- TStringList

TStringList::~TStringList()
{
    FOnChange = nullptr;
    FOnChanging = nullptr;
}

void TStringList::Changed()
{
    if (GetUpdateCount() != 0 || !FOnChange) return;
    // A copy, so that a handler may replace the event while it runs.
    TNotifyEvent handler = FOnChange;
    handler(this);
}

void TStringList::Changing()
{
    if (GetUpdateCount() != 0 || !FOnChanging) return;
    TNotifyEvent handler = FOnChanging;
    handler(this);
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
}

int TStringList::Add(const std::string& S) { return AddObject(S, nullptr); }

// Adding a duplicate that is ignored leaves the existing item and its object
// alone, instead of overwriting that object with the new one.
int TStringList::AddObject(const std::string& S, TObject* AObject)
{
    int result = GetCount();
    if (FSorted && Find(S, result)) {
        if (FDuplicates == dupIgnore) return result;
        if (FDuplicates == dupError) Error("String list does not allow duplicates", 0);
    }
    InsertItem(result, S, AObject);
    return result;
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty()) return;
    Changing();
    FList.clear();
    FList.shrink_to_fit();
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[Index1], FList[Index2]);
    Changed();
}

bool TStringList::Find(const std::string& S, int& Index) const
{
    bool result = false;
    int L = 0;
    int H = GetCount() - 1;
    while (L <= H) {
        const int I = (L + H) >> 1;
        const int C = CompareStrings(FList[I].FString, S);
        if (C < 0) {
            L = I + 1;
        } else {
            H = I - 1;
            if (C == 0) {
                result = true;
                if (FDuplicates != dupAccept) L = I;
            }
        }
    }
    Index = L;
    return result;
}

int TStringList::IndexOf(const std::string& S) const
{
    if (!FSorted) return TStrings::IndexOf(S);
    int result;
    return Find(S, result) ? result : -1;
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject)
{
    if (FSorted) Error("Operation not allowed on sorted string list", 0);
    if (Index < 0 || Index > GetCount()) Error("List index out of bounds (%d)", Index);
    InsertItem(Index, S, AObject);
}

// Checked before anything moves: taking an item out of a sorted list and then
// failing to put it back would lose it.
void TStringList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    if (FSorted) Error("Operation not allowed on sorted string list", 0);
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    Changing();
    TStringItem item = std::move(FList[CurIndex]);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, std::move(item));
    Changed();
}

std::string TStringList::Get(int Index) const
{
    CheckIndex(Index);
    return FList[Index].FString;
}

TObject* TStringList::GetObject(int Index) const
{
    CheckIndex(Index);
    return FList[Index].FObject;
}

void TStringList::Put(int Index, const std::string& S)
{
    if (FSorted) Error("Operation not allowed on sorted string list", 0);
    CheckIndex(Index);
    Changing();
    FList[Index].FString = S;
    Changed();
}

void TStringList::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index);
    Changing();
    FList[Index].FObject = AObject;
    Changed();
}

void TStringList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < GetCount()) Error("List capacity out of bounds (%d)", NewCapacity);
    if (NewCapacity > GetCapacity())
        FList.reserve(static_cast<size_t>(NewCapacity));
    else if (NewCapacity == GetCount())
        FList.shrink_to_fit();
}

void TStringList::SetSorted(bool Value)
{
    if (FSorted == Value) return;
    if (Value) SortItems();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (FCaseSensitive == Value) return;
    FCaseSensitive = Value;
    // The order depends on the comparison, so a sorted list sorts again.
    if (FSorted) SortItems();
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const
{
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::Sort()
{
    if (!FSorted) SortItems();
}

void TStringList::SortItems()
{
    CustomSortUnchecked([](TStringList* List, int Index1, int Index2) {
        return List->CompareStrings(List->FList[Index1].FString, List->FList[Index2].FString);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
    if (!FSorted) CustomSortUnchecked(Compare);
}

void TStringList::CustomSortUnchecked(const TStringListSortCompare& Compare)
{
    if (GetCount() < 2) return;
    Changing();
    QuickSort(0, GetCount() - 1, Compare);
    Changed();
}

// The compare function sees indexes, so the pivot is followed as it moves.
// Every scan is bounded, so an inconsistent compare function leaves the list
// unsorted but never runs off its ends.
void TStringList::QuickSort(int L, int R, const TStringListSortCompare& Compare)
{
    while (L < R) {
        int I = L, J = R;
        int P = (L + R) >> 1;
        do {
            while (I < R && Compare(this, I, P) < 0) ++I;
            while (J > L && Compare(this, J, P) > 0) --J;
            if (I <= J) {
                if (I != J) std::swap(FList[I], FList[J]);
                if (P == I)
                    P = J;
                else if (P == J)
                    P = I;
                ++I;
                --J;
            }
        } while (I <= J);
        if (J - L < R - I) {
            if (L < J) QuickSort(L, J, Compare);
            L = I;
        } else {
            if (I < R) QuickSort(I, R, Compare);
            R = J;
        }
    }
}

} // namespace host
