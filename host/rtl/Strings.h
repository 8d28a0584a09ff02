#pragma once
// String lists: the abstract TStrings and the stored, optionally sorted
// TStringList.
#include <functional>
#include <string>
#include <vector>

#include "host/rtl/Events.h"
#include "host/rtl/Object.h"
#include "host/rtl/SysUtils.h"

namespace host {

class TStream;
class TStringList;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// Negative when the item at Index1 sorts first, zero when equal.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStrings : public TPersistent {
    HOST_CLASS(TStrings, TPersistent)
public:
    virtual int Add(const std::string& S);
    virtual int AddObject(const std::string& S, TObject* AObject);
    void Append(const std::string& S) { Add(S); }
    virtual void AddStrings(TStrings* Strings);
    void Assign(TPersistent* Source) override;
    void BeginUpdate();
    void EndUpdate();
    virtual void Clear() = 0;
    virtual void Delete(int Index) = 0;
    // Same count and the same strings, compared with case.
    bool Equals(TStrings* Strings) const;
    virtual void Exchange(int Index1, int Index2);
    virtual int IndexOf(const std::string& S) const;
    virtual int IndexOfName(const std::string& Name) const;
    virtual int IndexOfObject(TObject* AObject) const;
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
    virtual void Move(int CurIndex, int NewIndex);
    virtual void LoadFromFile(const std::string& FileName);
    // Reads from the stream's position to its end.
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToFile(const std::string& FileName);
    virtual void SaveToStream(TStream* Stream);

    virtual int GetCount() const = 0;
    std::string GetStrings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const std::string& S) { Put(Index, S); }
    std::string operator[](int Index) const { return Get(Index); }
    TObject* GetObjects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }
    // The part before the first '=' of item Index; empty without '='.
    std::string GetNames(int Index) const;
    // The part after "Name=" of the first item named Name.
    std::string GetValues(const std::string& Name) const;
    // Replaces or adds "Name=Value"; an empty Value deletes the item.
    void SetValues(const std::string& Name, const std::string& Value);
    // Every item followed by CR LF.
    std::string GetText() const { return GetTextStr(); }
    // One item per line; lines end with CR LF, LF or CR.
    void SetText(const std::string& Value) { SetTextStr(Value); }
    std::string GetCommaText() const;
    void SetCommaText(const std::string& Value);
    virtual int GetCapacity() const { return GetCount(); }
    virtual void SetCapacity(int) {}
    int GetUpdateCount() const { return FUpdateCount; }

protected:
    virtual std::string Get(int Index) const = 0;
    virtual TObject* GetObject(int) const { return nullptr; }
    virtual void Put(int Index, const std::string& S);
    virtual void PutObject(int, TObject*) {}
    virtual std::string GetTextStr() const;
    virtual void SetTextStr(const std::string& Value);
    virtual void SetUpdateState(bool) {}
    // How IndexOf and IndexOfName compare: AnsiCompareText, without case.
    virtual int CompareStrings(const std::string& S1, const std::string& S2) const;
    [[noreturn]] void Error(const std::string& Msg, int Data) const;

private:
    int FUpdateCount = 0;
};

class TStringList : public TStrings {
    HOST_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;
    ~TStringList() override;

    int Add(const std::string& S) override;
    int AddObject(const std::string& S, TObject* AObject) override;
    void Clear() override;
    void Delete(int Index) override;
    void Exchange(int Index1, int Index2) override;
    // Binary search of a sorted list: true when found; Index receives the
    // position of the first match or where S would be inserted.
    virtual bool Find(const std::string& S, int& Index) const;
    int IndexOf(const std::string& S) const override;
    void Insert(int Index, const std::string& S) override;
    void InsertObject(int Index, const std::string& S, TObject* AObject) override;
    void Move(int CurIndex, int NewIndex) override;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    int GetCount() const override { return static_cast<int>(FList.size()); }
    int GetCapacity() const override { return static_cast<int>(FList.capacity()); }
    void SetCapacity(int NewCapacity) override;
    TDuplicates GetDuplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool Value);
    // Sorting and searching use AnsiCompareStr instead of AnsiCompareText.
    bool GetCaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    const TNotifyEvent& GetOnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent Value) { FOnChange = std::move(Value); }
    const TNotifyEvent& GetOnChanging() const { return FOnChanging; }
    void SetOnChanging(TNotifyEvent Value) { FOnChanging = std::move(Value); }

protected:
    virtual void Changed();
    virtual void Changing();
    std::string Get(int Index) const override;
    TObject* GetObject(int Index) const override;
    void Put(int Index, const std::string& S) override;
    void PutObject(int Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const std::string& S1, const std::string& S2) const override;

private:
    struct TStringItem {
        std::string FString;
        TObject* FObject;
    };

    void CheckIndex(int Index) const;
    void InsertItem(int Index, const std::string& S, TObject* AObject);
    void QuickSort(int L, int R, const TStringListSortCompare& Compare);
    void CustomSortUnchecked(const TStringListSortCompare& Compare);
    void SortItems();

    std::vector<TStringItem> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    TDuplicates FDuplicates = dupIgnore;
    TNotifyEvent FOnChange;
    TNotifyEvent FOnChanging;
};

} // namespace host
