// The open and save dialogs: a file name field over the list of files of
// the current folder, the folder's path as a list of folders, the file types
// of the filter and the drives (the root and the home folder).
#include "host/vcl/CommonDialogs.h"
#include "host/vcl/CommonDialogsInternal.h"
#include "host/rtl/FileUtils.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace host {

using namespace cdlg;

namespace {

struct TFileType {
    std::string Description;
    std::string Masks;
};

// "Text files|*.txt|All files|*.*" as description and masks pairs.
std::vector<TFileType> ParseFilter(const std::string& Filter)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= Filter.size() && !Filter.empty()) {
        size_t bar = Filter.find('|', start);
        if (bar == std::string::npos) bar = Filter.size();
        parts.push_back(Filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<TFileType> types;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) types.push_back(TFileType{parts[i], Trim(parts[i + 1])});
    return types;
}

// Absolute, normalised, without a trailing separator (except the root).
std::string NormalDir(const fs::path& Dir)
{
    std::error_code ec;
    std::string s = fs::absolute(Dir, ec).lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

bool HasWildcards(const std::string& S) { return S.find_first_of("*?") != std::string::npos; }

bool MatchesAny(const std::string& Name, const std::string& Masks)
{
    size_t start = 0;
    while (start <= Masks.size()) {
        size_t semi = Masks.find(';', start);
        if (semi == std::string::npos) semi = Masks.size();
        std::string mask = Trim(Masks.substr(start, semi - start));
        // Hidden files show only to a mask that asks for them.
        bool hiddenOk = !mask.empty() && mask[0] == '.';
        if (!mask.empty() && (Name[0] != '.' || hiddenOk)) {
            // "*.*" means every file, with or without an extension.
            if (mask == "*.*") return true;
            try {
                if (MatchesMask(Name, mask)) return true;
            } catch (const Exception&) {
                // A malformed mask matches nothing.
            }
        }
        start = semi + 1;
    }
    return false;
}

// The names in a file name field: one name, or several in double quotes.
std::vector<std::string> ParseNames(const std::string& Text)
{
    std::vector<std::string> names;
    if (Text.find('"') == std::string::npos) {
        if (!Trim(Text).empty()) names.push_back(Trim(Text));
        return names;
    }
    size_t i = 0;
    while ((i = Text.find('"', i)) != std::string::npos) {
        size_t end = Text.find('"', i + 1);
        if (end == std::string::npos) end = Text.size();
        std::string name = Text.substr(i + 1, end - i - 1);
        if (!name.empty()) names.push_back(name);
        i = end + 1;
    }
    return names;
}

// A name the file system can hold: no control characters, no part longer
// than a file name may be.
bool IsValidName(const std::string& Path)
{
    for (unsigned char c : Path)
        if (c < 0x20 || c == 0x7F) return false;
    for (const auto& part : fs::path(Path))
        if (part.native().size() > 255) return false;
    return true;
}

// A file nobody may write to by its permissions, or that this process
// cannot write to (the permission bits count even for a superuser, as a
// read-only attribute would).
bool IsReadOnlyFile(const std::string& Path)
{
    std::error_code ec;
    fs::perms p = fs::status(Path, ec).permissions();
    if (ec) return false;
    constexpr fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (p & writable) == fs::perms::none || access(Path.c_str(), W_OK) != 0;
}

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    std::error_code ec;
    if (home && *home && fs::is_directory(home, ec)) return fs::path(home).lexically_normal().string();
    return {};
}

} // namespace

// The folder list draws each folder with a closed or open folder glyph,
// indented by its depth in the path.
class TFolderListBox : public TListBox {
    HOST_CLASS(TFolderListBox, TListBox)
public:
    explicit TFolderListBox(TComponent* AOwner) : TListBox(AOwner) { SetStyle(lbOwnerDrawFixed); }
    std::vector<std::string> Paths;
    std::vector<int> Levels;
    int OpenLevels = 0;  // items up to this index (the path) show open folders

protected:
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override
    {
        TCanvas* c = GetCanvas();
        c->FillRect(Rect);
        if (Index < 0 || Index >= int(Levels.size())) return;
        int x = Rect.left + 2 + Levels[size_t(Index)] * 8, h = Rect.bottom - Rect.top;
        int gy = Rect.top + (h - 10) / 2;
        bool open = Index <= OpenLevels;
        TColor text = c->GetFont()->GetColor();
        TColor back = c->GetBrush()->GetColor();
        c->GetPen()->SetColor(clBlack);
        c->GetBrush()->SetColor(open ? TColor(0x80FFFF) : clYellow);
        c->Rectangle(x, gy + 2, x + 14, gy + 11);
        c->Rectangle(x, gy, x + 6, gy + 3);
        if (open) c->Polygon({{x + 2, gy + 5}, {x + 16, gy + 5}, {x + 13, gy + 10}, {x, gy + 10}});
        c->GetBrush()->SetColor(back);
        c->GetFont()->SetColor(text);
        c->TextOut(x + 19, Rect.top + (h - c->TextHeight("Ag")) / 2, GetItems()->GetStrings(Index));
        (void)State;
    }
};

class TFileDialogForm : public TForm {
    HOST_CLASS(TFileDialogForm, TForm)
public:
    TFileDialogForm(TComponent* AOwner, TOpenDialog* ADialog);

private:
    void Build(const TDlgUnits& U);
    void ChangeDir(const std::string& Dir);
    void FillFiles();
    void FillFolders();
    void ShowPath();
    void FileClicked();
    void TypeChanged();
    void DriveChanged();
    void OKClicked();
    // The full name a field entry stands for.
    std::string Resolve(const std::string& Name) const;
    // Runs the checks the options ask for; the name to return (with the
    // default extension), or empty when the user must choose again.
    std::string CheckFile(std::string Path);
    void Accept(const std::vector<std::string>& Paths);

    TOpenDialog* FDialog;
    TOpenOptions FOptions;
    std::vector<TFileType> FTypes;
    std::string FDir;
    std::string FMask = "*";
    TWinControl* FName = nullptr;
    TListBox* FFiles = nullptr;
    TFolderListBox* FFolders = nullptr;
    TLabel* FPath = nullptr;
    TComboBox* FFileTypes = nullptr;
    TComboBox* FDrives = nullptr;
    TCheckBox* FReadOnly = nullptr;
    std::vector<std::string> FDriveRoots;
};

TFileDialogForm::TFileDialogForm(TComponent* AOwner, TOpenDialog* ADialog)
    : TForm(AOwner), FDialog(ADialog), FOptions(ADialog->FOptions), FTypes(ParseFilter(ADialog->FFilter))
{
    SetName(ADialog->IsSaveDialog() ? "SaveDialogForm" : "OpenDialogForm");
    SetBorderStyle(bsDialog);
    SetCaption(ADialog->FTitle.empty() ? ADialog->DefaultTitle() : ADialog->FTitle);
    SetKeyPreview(true);
    SetCtl3D(ADialog->GetCtl3D());
    TDlgUnits u = DialogUnitsOf(this);
    SetClientWidth(u.X(280));
    SetClientHeight(u.Y(134));
    SetPosition(poScreenCenter);
    Build(u);
    int index = ADialog->FFilterIndex;
    if (index < 1 || index > int(FTypes.size())) index = 1;
    if (!FTypes.empty()) {
        FFileTypes->SetItemIndex(index - 1);
        FMask = FTypes[size_t(index - 1)].Masks;
    }
    // Start where FileName points, else in InitialDir, else here.
    std::error_code ec;
    fs::path start = fs::current_path(ec);
    fs::path given(ADialog->FFileName);
    if (given.has_parent_path() && fs::is_directory(given.parent_path(), ec))
        start = given.parent_path();
    else if (!ADialog->FInitialDir.empty() && fs::is_directory(ADialog->FInitialDir, ec))
        start = ADialog->FInitialDir;
    FName->SetText(given.filename().string());
    ChangeDir(NormalDir(start));
}

void TFileDialogForm::Build(const TDlgUnits& U)
{
    TStrings* history = FDialog->FHistoryList.get();
    if (history->GetCount() > 0) {
        auto* combo = Place<TComboBox>(this, this, "FileName", U, 6, 16, 90, 12);
        combo->GetItems()->Assign(history);
        FName = combo;
    } else {
        FName = Place<TEdit>(this, this, "FileName", U, 6, 16, 90, 12);
    }
    PlaceLabel(this, this, "File &name:", U, 6, 6, 76, 9, FName);
    FFiles = Place<TListBox>(this, this, "Files", U, 6, 32, 90, 68);
    FFiles->SetSorted(true);
    FFiles->SetMultiSelect(FOptions.Contains(ofAllowMultiSelect));
    FFiles->OnClick = [this](TObject*) { FileClicked(); };
    FFiles->OnDblClick = [this](TObject*) {
        FileClicked();
        OKClicked();
    };
    FFolders = Place<TFolderListBox>(this, this, "Folders", U, 110, 32, 92, 68);
    FFolders->OnDblClick = [this](TObject*) {
        int i = FFolders->GetItemIndex();
        if (i >= 0) ChangeDir(FFolders->Paths[size_t(i)]);
    };
    PlaceLabel(this, this, "&Folders:", U, 110, 6, 92, 9, FFolders);
    FPath = PlaceLabel(this, this, "", U, 110, 18, 92, 9);
    FPath->SetName("Path");
    FPath->SetShowAccelChar(false);
    FFileTypes = Place<TComboBox>(this, this, "FileTypes", U, 6, 114, 90, 12);
    FFileTypes->SetStyle(csDropDownList);
    for (const TFileType& t : FTypes) FFileTypes->GetItems()->Add(t.Description);
    FFileTypes->FOnChange = [this](TObject*) { TypeChanged(); };
    PlaceLabel(this, this, FDialog->IsSaveDialog() ? "Save file as &type:" : "List files of &type:", U, 6, 104, 90,
               9, FFileTypes);
    FDrives = Place<TComboBox>(this, this, "Drives", U, 110, 114, 92, 12);
    FDrives->SetStyle(csDropDownList);
    FDriveRoots.push_back("/");
    if (std::string home = HomeFolder(); !home.empty() && home != "/") FDriveRoots.push_back(home);
    for (const std::string& d : FDriveRoots) FDrives->GetItems()->Add(d);
    FDrives->FOnChange = [this](TObject*) { DriveChanged(); };
    PlaceLabel(this, this, "Dri&ves:", U, 110, 104, 92, 9, FDrives);
    PlaceOKCancel(this, U, TPoint{208, 6}, TPoint{208, 24}, 50, 14);
    static_cast<TButton*>(FindComponent("OK"))->OnClick = [this](TObject*) { OKClicked(); };
    auto* help = PlaceButton(this, "Help", "&Help", U, 208, 46, 50, 14);
    help->SetVisible(FOptions.Contains(ofShowHelp));
    help->OnClick = [this](TObject*) { FDialog->ShowHelp(); };
    FReadOnly = PlaceCheck(this, this, "ReadOnly", FDialog->IsSaveDialog() ? "&Read only" : "Open &read-only", U, 208,
                           68, 68, 12, FOptions.Contains(ofReadOnly));
    FReadOnly->SetVisible(!FOptions.Contains(ofHideReadOnly));
}

void TFileDialogForm::ChangeDir(const std::string& Dir)
{
    FDir = Dir;
    FillFolders();
    FillFiles();
    ShowPath();
    int drive = 0;
    for (int i = 0; i < int(FDriveRoots.size()); ++i)
        if (FDir.rfind(FDriveRoots[size_t(i)], 0) == 0) drive = i;
    FDrives->SetItemIndex(drive);
}

void TFileDialogForm::FillFiles()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(FDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (MatchesAny(name, FMask)) names.push_back(name);
    }
    TStrings* items = FFiles->GetItems();
    items->BeginUpdate();
    items->Clear();
    for (const std::string& n : names) items->Add(n);
    items->EndUpdate();
}

void TFileDialogForm::FillFolders()
{
    FFolders->Paths.clear();
    FFolders->Levels.clear();
    TStrings* items = FFolders->GetItems();
    items->BeginUpdate();
    items->Clear();
    fs::path acc;
    int level = 0;
    for (const auto& part : fs::path(FDir)) {
        if (part.empty()) continue;
        acc /= part;
        items->Add(part.string());
        FFolders->Paths.push_back(acc.string());
        FFolders->Levels.push_back(level++);
    }
    FFolders->OpenLevels = items->GetCount() - 1;
    std::vector<std::string> subs;
    std::error_code ec;
    for (fs::directory_iterator it(FDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        std::string name = it->path().filename().string();
        if (name[0] != '.' && it->is_directory(typeError)) subs.push_back(name);
    }
    std::sort(subs.begin(), subs.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    for (const std::string& s : subs) {
        items->Add(s);
        FFolders->Paths.push_back((fs::path(FDir) / s).string());
        FFolders->Levels.push_back(level);
    }
    items->EndUpdate();
    FFolders->SetItemIndex(FFolders->OpenLevels);
}

// The path, shortened from the left until it fits its label.
void TFileDialogForm::ShowPath()
{
    TCanvas* c = GetCanvas();
    c->SetFont(FPath->GetFont());
    std::string shown = FDir;
    int cut = 0;
    while (c->TextWidth(shown) > FPath->GetWidth() && cut + 1 < int(FDir.size()))
        shown = "..." + FDir.substr(size_t(++cut));
    FPath->SetCaption(shown);
}

void TFileDialogForm::FileClicked()
{
    std::vector<std::string> chosen;
    for (int i = 0; i < FFiles->GetItems()->GetCount(); ++i)
        if (FFiles->GetSelected(i)) chosen.push_back(FFiles->GetItems()->GetStrings(i));
    if (chosen.empty()) return;
    if (chosen.size() == 1) {
        FName->SetText(chosen[0]);
        return;
    }
    std::string text;
    for (const std::string& n : chosen) text += (text.empty() ? "\"" : " \"") + n + "\"";
    FName->SetText(text);
}

void TFileDialogForm::TypeChanged()
{
    int i = FFileTypes->GetItemIndex();
    if (i < 0 || i >= int(FTypes.size())) return;
    FMask = FTypes[size_t(i)].Masks;
    FillFiles();
}

void TFileDialogForm::DriveChanged()
{
    int i = FDrives->GetItemIndex();
    if (i >= 0 && i < int(FDriveRoots.size()) && FDriveRoots[size_t(i)] != FDir) ChangeDir(FDriveRoots[size_t(i)]);
}

std::string TFileDialogForm::Resolve(const std::string& Name) const
{
    fs::path p(Name);
    if (p.is_relative()) p = fs::path(FDir) / p;
    return p.lexically_normal().string();
}

void TFileDialogForm::OKClicked()
{
    // Return in the folder list opens the selected folder.
    if (GetActiveControl() == FFolders) {
        int i = FFolders->GetItemIndex();
        if (i >= 0 && FFolders->Paths[size_t(i)] != FDir) {
            ChangeDir(FFolders->Paths[size_t(i)]);
            return;
        }
    }
    std::vector<std::string> names = ParseNames(FName->GetText());
    if (names.empty()) return;
    if (names.size() == 1 && HasWildcards(names[0])) {
        FMask = names[0];
        FillFiles();
        return;
    }
    std::error_code ec;
    if (names.size() == 1 && fs::is_directory(Resolve(names[0]), ec)) {
        FName->SetText("");
        ChangeDir(NormalDir(Resolve(names[0])));
        return;
    }
    if (names.size() > 1 && !FOptions.Contains(ofAllowMultiSelect)) names.resize(1);
    std::vector<std::string> paths;
    for (const std::string& n : names) {
        std::string checked = CheckFile(Resolve(n));
        if (checked.empty()) return;
        paths.push_back(checked);
    }
    Accept(paths);
}

std::string TFileDialogForm::CheckFile(std::string Path)
{
    std::error_code ec;
    if (!FOptions.Contains(ofNoValidate) && !IsValidName(Path)) {
        Warn(Path + "\nThe file name is not valid.");
        return {};
    }
    const std::string& ext = FDialog->FDefaultExt;
    if (!ext.empty() && fs::path(Path).extension().empty()) {
        std::string withExt = Path + "." + ext;
        // An open dialog takes an existing name without extension when the
        // extended one does not exist.
        bool keepPlain = !FDialog->IsSaveDialog() && !fs::exists(withExt, ec) && fs::is_regular_file(Path, ec);
        if (!keepPlain) Path = withExt;
    }
    fs::path folder = fs::path(Path).parent_path();
    bool pathMustExist = FOptions.Contains(ofPathMustExist) || FOptions.Contains(ofFileMustExist);
    if (pathMustExist && !fs::is_directory(folder, ec)) {
        Warn(Path + "\nPath does not exist.\nCheck the path and try again.");
        return {};
    }
    if (!fs::exists(Path, ec)) {
        if (FOptions.Contains(ofFileMustExist)) {
            Warn(Path + "\nFile not found.\nCheck the file name and try again.");
            return {};
        }
        if (FOptions.Contains(ofCreatePrompt) && !Confirm(Path + "\nThis file does not exist.\nDo you want to create it?"))
            return {};
        // Checked without making a test file: the folder must exist and
        // take new files.
        if (!FOptions.Contains(ofNoTestFileCreate) && (!fs::is_directory(folder, ec) || access(folder.c_str(), W_OK) != 0)) {
            Warn(Path + "\nThe file cannot be created.\nCheck the folder name and its permissions.");
            return {};
        }
    } else {
        if (FOptions.Contains(ofNoReadOnlyReturn) && IsReadOnlyFile(Path)) {
            Warn(Path + "\nThis file is read-only.\nUse a different file name.");
            return {};
        }
        if (FDialog->IsSaveDialog() && FOptions.Contains(ofOverwritePrompt) &&
            !Confirm(Path + " already exists.\nDo you want to replace it?"))
            return {};
    }
    if (!FOptions.Contains(ofNoDereferenceLinks) && fs::is_symlink(Path, ec)) {
        fs::path target = fs::canonical(Path, ec);
        if (!ec) Path = target.string();
    }
    return Path;
}

void TFileDialogForm::Accept(const std::vector<std::string>& Paths)
{
    FDialog->FFiles->Clear();
    for (const std::string& p : Paths) FDialog->FFiles->Add(p);
    FDialog->FFileName = Paths.front();
    TOpenOptions& o = FDialog->FOptions;
    FReadOnly->GetChecked() ? o.Include(ofReadOnly) : o.Exclude(ofReadOnly);
    std::string ext = fs::path(Paths.front()).extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    bool different = !FDialog->FDefaultExt.empty() && !SameText(ext, FDialog->FDefaultExt);
    different ? o.Include(ofExtensionDifferent) : o.Exclude(ofExtensionDifferent);
    if (FFileTypes->GetItemIndex() >= 0) FDialog->FFilterIndex = FFileTypes->GetItemIndex() + 1;
    if (!FOptions.Contains(ofNoChangeDir)) {
        std::error_code ec;
        fs::current_path(fs::path(Paths.front()).parent_path(), ec);
    }
    SetModalResult(mrOk);
}

TOpenDialog::TOpenDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()), FHistoryList(std::make_unique<TStringList>())
{
}

bool TOpenDialog::Execute()
{
    TFormPtr form(new TFileDialogForm(GetApplication(), this));
    return form->ShowModal() == mrOk;
}

} // namespace host
