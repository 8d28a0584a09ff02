#include "host/vcl/FileCtrl.h"

#include "host/vcl/FileCtrlInternal.h"

#include "host/rtl/Drives.h"
#include "host/rtl/FileUtils.h"
#include "host/rtl/SysUtils.h"

namespace host {

using namespace filectrl;

namespace {

constexpr int LevelIndent = 8;  // per folder level in the folder list
constexpr TColor FolderYellow = TColor(0x00C0FFFF);  // BGR: a pale yellow
constexpr TColor FolderOlive = TColor(0x00008080);

void ClosedFolder(TCanvas* C, int X, int Y)
{
    C->GetPen()->SetColor(FolderOlive);
    C->GetBrush()->SetColor(FolderYellow);
    C->Polygon({{X + 1, Y + 3}, {X + 6, Y + 3}, {X + 7, Y + 4}, {X + 14, Y + 4}, {X + 14, Y + 13}, {X + 1, Y + 13}});
    C->MoveTo(X + 2, Y + 5);
    C->LineTo(X + 14, Y + 5);
}

void OpenFolder(TCanvas* C, int X, int Y)
{
    C->GetPen()->SetColor(FolderOlive);
    C->GetBrush()->SetColor(clWhite);
    C->Polygon({{X + 1, Y + 3}, {X + 6, Y + 3}, {X + 7, Y + 4}, {X + 12, Y + 4}, {X + 12, Y + 13}, {X + 1, Y + 13}});
    // The front flap leans back: the folder is open.
    C->GetBrush()->SetColor(FolderYellow);
    C->Polygon({{X + 1, Y + 13}, {X + 4, Y + 7}, {X + 15, Y + 7}, {X + 12, Y + 13}});
}

void FileSheet(TCanvas* C, int X, int Y)
{
    C->GetPen()->SetColor(clBlack);
    C->GetBrush()->SetColor(clWhite);
    C->Polygon({{X + 3, Y + 1}, {X + 10, Y + 1}, {X + 13, Y + 4}, {X + 13, Y + 14}, {X + 3, Y + 14}});
    C->Polyline({{X + 10, Y + 1}, {X + 10, Y + 4}, {X + 13, Y + 4}});
    C->GetPen()->SetColor(clGray);
    for (int y = Y + 6; y < Y + 13; y += 2) {
        C->MoveTo(X + 5, y);
        C->LineTo(X + 11, y);
    }
}

void DriveBox(TCanvas* C, int X, int Y)
{
    C->GetPen()->SetColor(clBlack);
    C->GetBrush()->SetColor(clSilver);
    C->Rectangle(X + 1, Y + 5, X + 15, Y + 12);
    C->GetPen()->SetColor(clLime);
    C->MoveTo(X + 11, Y + 9);
    C->LineTo(X + 13, Y + 9);
}

} // namespace

void DrawFileGlyph(TCanvas* Canvas, int X, int Y, TFileGlyph Glyph)
{
    Canvas->GetPen()->SetWidth(1);
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetBrush()->SetStyle(bsSolid);
    switch (Glyph) {
    case TFileGlyph::ClosedFolder: ClosedFolder(Canvas, X, Y); break;
    case TFileGlyph::OpenFolder: OpenFolder(Canvas, X, Y); break;
    case TFileGlyph::File: FileSheet(Canvas, X, Y); break;
    case TFileGlyph::Drive: DriveBox(Canvas, X, Y); break;
    }
}

namespace filectrl {

void DrawItemText(TCanvas* C, TColor Back, const TRect& Rect, int TextLeft, const std::string& Text,
                  bool Selected)
{
    TColor textColor = C->GetFont()->GetColor();
    C->GetBrush()->SetColor(Back);
    C->FillRect(Rect);
    int width = C->TextWidth(Text) + 4;
    TRect textRect{TextLeft - 2, Rect.top, std::min<int>(Rect.right, TextLeft - 2 + width), Rect.bottom};
    if (Selected) {
        C->GetBrush()->SetColor(clHighlight);
        C->FillRect(textRect);
    }
    C->GetFont()->SetColor(textColor);
    C->GetBrush()->SetStyle(bsClear);
    C->TextOut(TextLeft, Rect.top + (Rect.bottom - Rect.top - C->TextHeight(Text)) / 2, Text);
    C->GetBrush()->SetStyle(bsSolid);
}

std::string CanonicalDir(const std::string& Value)
{
    std::string path = ExpandFileName(DrivePathToNative(Value));
    return ExcludeTrailingPathDelimiter(path).empty() ? std::string("/") : ExcludeTrailingPathDelimiter(path);
}

std::string JoinPath(const std::string& Dir, const std::string& Name)
{
    return Dir == "/" ? "/" + Name : Dir + "/" + Name;
}

std::string CheckedDirectory(const std::string& Value)
{
    std::string dir = CanonicalDir(Value);
    if (!DirectoryExists(dir)) throw EInOutError("Directory not found: " + Value, 3);
    return dir;
}

} // namespace filectrl

// ---- TDirectoryListBox -----------------------------------------------------------------------

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
    SetBounds(0, 0, 145, 97);
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(GlyphSize + 1);
    FDirectory = CanonicalDir(GetCurrentDir());
    ReadDirectoryNames();
}

void TDirectoryListBox::SetDirectory(const std::string& Value)
{
    if (GetComponentState().Contains(csLoading)) {
        FDirectory = CanonicalDir(Value);
        return;
    }
    std::string dir = CheckedDirectory(Value);
    if (dir == FDirectory) return;
    FDirectory = dir;
    ReadDirectoryNames();
    FollowDirectory();
    Change();
}

char TDirectoryListBox::GetDrive() const { return DriveOfPath(FDirectory); }

void TDirectoryListBox::SetDrive(char Value)
{
    Value = char(std::toupper(static_cast<unsigned char>(Value)));
    if (Value == GetDrive() || GetDriveRoot(Value).empty()) return;
    std::string remembered = Value >= 'A' && Value <= 'Z' ? FDriveDirs[Value - 'A'] : std::string();
    if (!remembered.empty() && DirectoryExists(remembered) && DriveOfPath(remembered) == Value)
        SetDirectory(remembered);
    else
        SetDirectory(GetDriveRoot(Value));
}

void TDirectoryListBox::SetDirLabel(TLabel* Value)
{
    if (FDirLabel == Value) return;
    FDirLabel = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->SetCaption(FDirectory);
    }
}

void TDirectoryListBox::SetFileList(TFileListBox* Value)
{
    if (FFileList == Value) return;
    FFileList = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->SetDirectory(FDirectory);
    }
}

void TDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FDirLabel) FDirLabel = nullptr;
    if (AComponent == FFileList) FFileList = nullptr;
    if (AComponent == FDriveCombo) FDriveCombo = nullptr;
}

void TDirectoryListBox::Loaded()
{
    inherited::Loaded();
    // A stored folder that is gone leaves the list where the program started.
    if (!DirectoryExists(FDirectory)) FDirectory = CanonicalDir(GetCurrentDir());
    ReadDirectoryNames();
    FollowDirectory();
}

std::string TDirectoryListBox::GetItemPath(int Index) const
{
    if (Index < 0 || Index >= int(FDirs.size())) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return FDirs[Index].Path;
}

int TDirectoryListBox::GetItemLevel(int Index) const
{
    return Index >= 0 && Index < int(FDirs.size()) ? FDirs[Index].Level : -1;
}

void TDirectoryListBox::Rescan()
{
    if (!DirectoryExists(FDirectory)) {
        // The folder went away: climb to the nearest one that is still there.
        std::string dir = FDirectory;
        while (dir != "/" && !DirectoryExists(dir)) dir = CanonicalDir(ExtractFileDir(dir));
        FDirectory = dir;
        FollowDirectory();
        Change();
    }
    ReadDirectoryNames();
}

void TDirectoryListBox::ReadDirectoryNames()
{
    FDirs.clear();
    char drive = DriveOfPath(FDirectory);
    std::string root = drive ? GetDriveRoot(drive) : std::string("/");
    FDirs.push_back({root, 0, true});
    std::string rest = FDirectory.substr(root == "/" ? 1 : std::min(FDirectory.size(), root.size() + 1));
    std::string path = root;
    int level = 0;
    size_t start = 0;
    while (start < rest.size()) {
        size_t end = rest.find('/', start);
        if (end == std::string::npos) end = rest.size();
        path = JoinPath(path, rest.substr(start, end - start));
        FDirs.push_back({path, ++level, true});
        start = end + 1;
    }
    int current = int(FDirs.size()) - 1;
    TSearchRec sr;
    for (int rc = FindFirst(JoinPath(FDirectory, "*"), faDirectory, sr); rc == 0; rc = FindNext(sr)) {
        if (!(sr.Attr & faDirectory) || sr.Name.empty() || sr.Name[0] == '.') continue;
        FDirs.push_back({JoinPath(FDirectory, sr.Name), level + 1, false});
    }
    FindClose(sr);

    TStrings* items = GetItems();
    items->Clear();
    for (size_t i = 0; i < FDirs.size(); ++i) {
        std::string text = i == 0 ? (drive ? NativeToDrivePath(root) : root) : ExtractFileName(FDirs[i].Path);
        items->Add(text);
    }
    SetItemIndex(current);
}

void TDirectoryListBox::FollowDirectory()
{
    char drive = GetDrive();
    if (drive) FDriveDirs[drive - 'A'] = FDirectory;
    if (FDirLabel) FDirLabel->SetCaption(FDirectory);
    if (FFileList) FFileList->SetDirectory(FDirectory);
    if (FDriveCombo && drive) FDriveCombo->DirListMoved(drive);
}

void TDirectoryListBox::Change() { OnChange(this); }

void TDirectoryListBox::OpenCurrent()
{
    int index = GetItemIndex();
    if (index < 0 || index >= int(FDirs.size())) return;
    SetDirectory(FDirs[index].Path);
}

void TDirectoryListBox::DblClick()
{
    OpenCurrent();
    inherited::DblClick();
}

void TDirectoryListBox::KeyPress(char& Key)
{
    inherited::KeyPress(Key);
    if (Key != '\r') return;
    Key = 0;
    OpenCurrent();
}

void TDirectoryListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (FOnDrawItem) {
        FOnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* c = GetCanvas();
    if (Index >= int(FDirs.size())) {
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(Rect);
        return;
    }
    const TDirItem& item = FDirs[Index];
    int x = Rect.left + 2 + item.Level * LevelIndent;
    DrawItemText(c, GetColor(), Rect, x + GlyphSize + 4, GetItems()->GetStrings(Index), State.Contains(odSelected));
    DrawFileGlyph(c, x, Rect.top + (Rect.bottom - Rect.top - GlyphSize) / 2,
                  item.Open ? TFileGlyph::OpenFolder : TFileGlyph::ClosedFolder);
}

} // namespace host
