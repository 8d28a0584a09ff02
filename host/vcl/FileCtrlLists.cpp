// The file list.
#include "host/rtl/Drives.h"
#include "host/rtl/FileUtils.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/FileCtrl.h"
#include "host/vcl/FileCtrlInternal.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

using namespace filectrl;

namespace {

bool HasWildcards(const std::string& S) { return S.find_first_of("*?") != std::string::npos; }

std::vector<std::string> SplitMasks(const std::string& Mask)
{
    std::vector<std::string> masks;
    size_t start = 0;
    while (start <= Mask.size()) {
        size_t end = Mask.find(';', start);
        if (end == std::string::npos) end = Mask.size();
        std::string m = Trim(Mask.substr(start, end - start));
        if (!m.empty()) masks.push_back(m);
        start = end + 1;
    }
    return masks;
}

// The attributes the list filters by, as the file system reports them.
int EntryAttr(const std::string& Path, const std::string& Name)
{
    struct stat st;
    if (lstat(Path.c_str(), &st) != 0) return -1;
    if (S_ISLNK(st.st_mode) && stat(Path.c_str(), &st) != 0) return -1;
    int attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= faDirectory;
    else if (S_ISREG(st.st_mode))
        attr |= faArchive;
    else
        attr |= faSysFile;
    if (!Name.empty() && Name[0] == '.' && Name != "..") attr |= faHidden;
    // access() alone would call everything writable for root; the owner's
    // write bit is what a user cleared to protect a file.
    if (access(Path.c_str(), W_OK) != 0 || !(st.st_mode & S_IWUSR)) attr |= faReadOnly;
    return attr;
}

} // namespace

TFileListBox::TFileListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
    SetBounds(0, 0, 145, 97);
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(GlyphSize + 1);
    FDirectory = CanonicalDir(GetCurrentDir());
    ReadFileNames();
}

void TFileListBox::SetDirectory(const std::string& Value)
{
    if (GetComponentState().Contains(csLoading)) {
        FDirectory = CanonicalDir(Value);
        return;
    }
    std::string dir = CheckedDirectory(Value);
    if (dir == FDirectory) return;
    FDirectory = dir;
    ReadFileNames();
    Change();
}

void TFileListBox::SetMask(const std::string& Value)
{
    std::string mask = Value.empty() ? std::string("*.*") : Value;
    if (FMask == mask) return;
    FMask = mask;
    if (GetComponentState().Contains(csLoading)) return;
    ReadFileNames();
    Change();
}

void TFileListBox::SetFileType(TFileType Value)
{
    if (FFileType == Value) return;
    FFileType = Value;
    if (GetComponentState().Contains(csLoading)) return;
    ReadFileNames();
    Change();
}

void TFileListBox::SetShowGlyphs(bool Value)
{
    if (FShowGlyphs == Value) return;
    FShowGlyphs = Value;
    Invalidate();
}

void TFileListBox::SetFileEdit(TEdit* Value)
{
    if (FFileEdit == Value) return;
    FFileEdit = Value;
    if (Value) {
        Value->FreeNotification(this);
        UpdateFileEdit();
    }
}

void TFileListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileEdit) FFileEdit = nullptr;
}

void TFileListBox::Loaded()
{
    inherited::Loaded();
    if (!DirectoryExists(FDirectory)) FDirectory = CanonicalDir(GetCurrentDir());
    ReadFileNames();
}

bool TFileListBox::IsDirectoryItem(int Index) const
{
    return Index >= 0 && Index < int(FIsDir.size()) && FIsDir[Index];
}

std::string TFileListBox::GetFileName()
{
    int index = GetItemIndex();
    if (index < 0 || index >= GetItems()->GetCount()) return "";
    if (GetMultiSelect() && !GetSelected(index)) return "";
    std::string name = GetItems()->GetStrings(index);
    if (IsDirectoryItem(index)) name = name.substr(1, name.size() - 2);
    return JoinPath(FDirectory, name);
}

void TFileListBox::SetFileName(const std::string& Value)
{
    std::string native = DrivePathToNative(Value);
    std::string name = native;
    if (native.find('/') != std::string::npos) {
        SetDirectory(ExtractFileDir(ExpandFileName(native)));
        name = ExtractFileName(native);
    }
    TStrings* items = GetItems();
    int found = items->IndexOf(name);
    // Names differ only in case on case-insensitive volumes; take an exact
    // match first, then one that differs in case.
    for (int i = 0; i < items->GetCount() && found < 0; ++i)
        if (SameText(items->GetStrings(i), name)) found = i;
    if (GetMultiSelect())
        for (int i = 0; i < items->GetCount(); ++i) SetSelected(i, i == found);
    SetItemIndex(found);
    UpdateFileEdit();
}

bool TFileListBox::MatchesAnyMask(const std::string& Name) const
{
    for (const std::string& m : SplitMasks(FMask)) {
        if (m == "*" || m == "*.*") return true;
        // "name.*" also takes a name without an extension, as classic masks do.
        if (m.size() > 2 && m.compare(m.size() - 2, 2, ".*") == 0 && MatchesMask(Name, m.substr(0, m.size() - 2)))
            return true;
        if (MatchesMask(Name, m)) return true;
    }
    return false;
}

// Hidden, system and folder entries need their own type; the rest show with
// ftNormal or when they have one of the asked-for attributes.
bool TFileListBox::Wanted(const std::string& Name, int Attr) const
{
    if ((Attr & faHidden) && !FFileType.Contains(ftHidden)) return false;
    if ((Attr & faSysFile) && !FFileType.Contains(ftSystem)) return false;
    if (Attr & faDirectory) return FFileType.Contains(ftDirectory) && Name != ".";
    if (FFileType.Contains(ftNormal)) return true;
    int asked = (FFileType.Contains(ftReadOnly) ? faReadOnly : 0) | (FFileType.Contains(ftHidden) ? faHidden : 0) |
                (FFileType.Contains(ftSystem) ? faSysFile : 0) | (FFileType.Contains(ftArchive) ? faArchive : 0);
    return (Attr & asked) != 0;
}

void TFileListBox::ReadFileNames()
{
    std::vector<std::pair<std::string, bool>> entries;
    TSearchRec sr;
    for (int rc = FindFirst(JoinPath(FDirectory, "*"), faAnyFile, sr); rc == 0; rc = FindNext(sr)) {
        if (sr.Name == "." || (sr.Name == ".." && FDirectory == "/")) continue;
        int attr = EntryAttr(JoinPath(FDirectory, sr.Name), sr.Name);
        if (attr < 0 || !Wanted(sr.Name, attr)) continue;
        bool dir = attr & faDirectory;
        if (!dir && !MatchesAnyMask(sr.Name)) continue;
        entries.emplace_back(sr.Name, dir);
    }
    FindClose(sr);
    // Folders after files, each group by name, as the classic list shows them.
    std::stable_sort(entries.begin(), entries.end(), [](const auto& A, const auto& B) {
        if (A.second != B.second) return !A.second;
        return CompareText(A.first, B.first) < 0;
    });

    // No BeginUpdate here: a list window filled inside one is left unpainted.
    TStrings* items = GetItems();
    items->Clear();
    FIsDir.clear();
    for (const auto& [name, dir] : entries) {
        items->Add(dir ? "[" + name + "]" : name);
        FIsDir.push_back(dir);
    }
    FLastSelected.clear();
    UpdateFileEdit();
}

void TFileListBox::Rescan() { ReadFileNames(); }

void TFileListBox::ApplyFilePath(const std::string& EditText)
{
    std::string native = DrivePathToNative(Trim(EditText));
    if (native.empty()) return;
    std::string dir = ExtractFileDir(native), name = ExtractFileName(native);
    if (DirectoryExists(native) && !HasWildcards(native)) {
        SetDirectory(native);
        return;
    }
    if (!dir.empty() && native.find('/') != std::string::npos) SetDirectory(dir);
    if (HasWildcards(name))
        SetMask(name);
    else
        SetFileName(name);
}

void TFileListBox::UpdateFileEdit()
{
    if (!FFileEdit) return;
    int index = GetItemIndex();
    FFileEdit->SetText(index >= 0 && index < GetItems()->GetCount() ? GetItems()->GetStrings(index) : FMask);
}

void TFileListBox::Click()
{
    inherited::Click();
    std::string selected = GetFileName();
    if (selected == FLastSelected) return;
    FLastSelected = selected;
    UpdateFileEdit();
    Change();
}

void TFileListBox::Change() { OnChange(this); }

void TFileListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (FOnDrawItem) {
        FOnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* c = GetCanvas();
    std::string text = Index < GetItems()->GetCount() ? GetItems()->GetStrings(Index) : std::string();
    int textLeft = Rect.left + 2 + (FShowGlyphs ? GlyphSize + 2 : 0);
    DrawItemText(c, GetColor(), Rect, textLeft, text, State.Contains(odSelected));
    if (FShowGlyphs)
        DrawFileGlyph(c, Rect.left + 1, Rect.top + (Rect.bottom - Rect.top - GlyphSize) / 2,
                      IsDirectoryItem(Index) ? TFileGlyph::ClosedFolder : TFileGlyph::File);
}

} // namespace host
