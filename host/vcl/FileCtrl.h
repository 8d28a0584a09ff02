#pragma once
// File-system controls: a folder list, a drive list, a file list and a
// file-type filter list that follow each other, the pieces of open, save
// and folder dialogs.
//
// Paths: every Directory and FileName the controls hand out is an absolute
// path with '/' as the file system sees it. What they are given may also be
// a drive path ("D:\DATA"), translated through the drive roots of
// host/rtl/Drives.h; a drive's letter names the folder it is mapped to.
// Hidden entries are those whose names start with '.'; read-only ones are
// those the user may not write.
#include <string>
#include <vector>

#include "host/vcl/StdEdit.h"
#include "host/vcl/StdLabel.h"
#include "host/vcl/StdLists.h"

namespace host {

HOST_ENUM(TFileAttr, ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal)
using TFileType = TSet<TFileAttr>;
HOST_ENUM(TTextCase, tcLowerCase, tcUpperCase)

class TFileListBox;
class TDriveComboBox;

// The folder glyphs the lists draw, 16 by 16 with the top left at (X, Y).
enum class TFileGlyph { ClosedFolder, OpenFolder, File, Drive };
void DrawFileGlyph(TCanvas* Canvas, int X, int Y, TFileGlyph Glyph);

// The path of a folder from the root of its drive: the drive's root first,
// then one open folder per level, then the folder's own subfolders.
class TDirectoryListBox : public TCustomListBox {
    HOST_CLASS(TDirectoryListBox, TCustomListBox)
public:
    explicit TDirectoryListBox(TComponent* AOwner);

    const std::string& GetDirectory() const { return FDirectory; }
    // Raises EInOutError when the folder does not exist.
    void SetDirectory(const std::string& Value);
    // The letter of the drive that holds Directory (0 when none does).
    char GetDrive() const;
    // Goes to the folder last shown on that drive, or to its root.
    void SetDrive(char Value);
    TLabel* GetDirLabel() const { return FDirLabel; }
    void SetDirLabel(TLabel* Value);
    TFileListBox* GetFileList() const { return FFileList; }
    void SetFileList(TFileListBox* Value);
    // The folder item Index stands for.
    std::string GetItemPath(int Index) const;
    int GetItemLevel(int Index) const;
    // Opens the folder of the selected item, as a double click or Return does.
    void OpenCurrent();
    // Reads the folder again (after folders were added or removed elsewhere).
    // Not Update: that name repaints and is called while painting.
    void Rescan();

    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void DblClick() override;
    void KeyPress(char& Key) override;
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    virtual void Change();

private:
    struct TDirItem {
        std::string Path;
        int Level;
        bool Open;
    };
    void ReadDirectoryNames();
    void FollowDirectory();
    friend class TDriveComboBox;

    std::vector<TDirItem> FDirs;
    std::string FDirectory;
    std::string FDriveDirs[26];  // the last folder shown on each drive
    TLabel* FDirLabel = nullptr;
    TFileListBox* FFileList = nullptr;
    TDriveComboBox* FDriveCombo = nullptr;  // the drive list that names this list's drive
};

// The files of one folder that match Mask and FileType, by name.
class TFileListBox : public TCustomListBox {
    HOST_CLASS(TFileListBox, TCustomListBox)
public:
    explicit TFileListBox(TComponent* AOwner);

    const std::string& GetDirectory() const { return FDirectory; }
    // Raises EInOutError when the folder does not exist.
    void SetDirectory(const std::string& Value);
    const std::string& GetMask() const { return FMask; }
    // One mask or several separated by ';' ("*.txt;*.log"); empty means "*.*".
    void SetMask(const std::string& Value);
    TFileType GetFileType() const { return FFileType; }
    void SetFileType(TFileType Value);
    // The full path of the selected item; empty when none is selected.
    std::string GetFileName();
    // Selects the file of that name; a path with a folder changes Directory first.
    void SetFileName(const std::string& Value);
    TEdit* GetFileEdit() const { return FFileEdit; }
    void SetFileEdit(TEdit* Value);
    bool GetShowGlyphs() const { return FShowGlyphs; }
    void SetShowGlyphs(bool Value);
    // Whether item Index is a folder (shown as "[name]").
    bool IsDirectoryItem(int Index) const;
    // Reads the folder again.
    void Rescan();
    // Takes what the user typed in a file name box: a folder moves there, a
    // name with wildcards becomes the mask, a plain name is selected.
    void ApplyFilePath(const std::string& EditText);

    using TCustomListBox::GetMultiSelect;
    using TCustomListBox::SetMultiSelect;
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void Click() override;
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    virtual void Change();

private:
    bool Wanted(const std::string& Name, int Attr) const;
    bool MatchesAnyMask(const std::string& Name) const;
    void ReadFileNames();
    void UpdateFileEdit();

    std::string FDirectory;
    std::string FMask = "*.*";
    std::string FLastSelected;
    TFileType FFileType{ftNormal};
    std::vector<bool> FIsDir;
    TEdit* FFileEdit = nullptr;
    bool FShowGlyphs = false;
};

// The configured drives; choosing one moves DirList to it.
class TDriveComboBox : public TCustomComboBox {
    HOST_CLASS(TDriveComboBox, TCustomComboBox)
public:
    explicit TDriveComboBox(TComponent* AOwner);

    char GetDrive() const { return FDrive; }
    void SetDrive(char Value);
    TDirectoryListBox* GetDirList() const { return FDirList; }
    void SetDirList(TDirectoryListBox* Value);
    TTextCase GetTextCase() const { return FTextCase; }
    void SetTextCase(TTextCase Value);
    // Reads the drive table again.
    void BuildList();

    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void Change() override;
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;

private:
    friend class TDirectoryListBox;
    std::string DriveText(char Drive) const;
    void SelectDrive();
    // The folder list moved to another drive by itself: show that drive.
    void DirListMoved(char Drive);

    char FDrive = 'C';
    std::string FLetters;
    TTextCase FTextCase = tcLowerCase;
    TDirectoryListBox* FDirList = nullptr;
};

// The file types of a Filter "Text files (*.txt)|*.txt|All files|*.*":
// descriptions in the list, the chosen one's Mask given to FileList.
class TFilterComboBox : public TCustomComboBox {
    HOST_CLASS(TFilterComboBox, TCustomComboBox)
public:
    explicit TFilterComboBox(TComponent* AOwner);

    const std::string& GetFilter() const { return FFilter; }
    void SetFilter(const std::string& Value);
    // The mask of the chosen entry ("*.*" when none is).
    std::string GetMask() const;
    TFileListBox* GetFileList() const { return FFileList; }
    void SetFileList(TFileListBox* Value);

    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Change() override;

private:
    void BuildList();

    std::string FFilter = "All files (*.*)|*.*";
    std::vector<std::string> FMasks;
    TFileListBox* FFileList = nullptr;
};

} // namespace host
