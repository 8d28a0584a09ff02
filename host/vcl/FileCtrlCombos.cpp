// The drive and filter lists, and what the file-system controls publish.
#include "host/rtl/Drives.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/FileCtrl.h"
#include "host/vcl/FileCtrlInternal.h"
#include "host/vcl/StdPublish.h"

namespace host {

using namespace filectrl;

// ---- TDriveComboBox --------------------------------------------------------------------------

TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TCustomComboBox(AOwner)
{
    SetBounds(0, 0, 145, 22);
    SetStyle(csOwnerDrawFixed);
    SetItemHeight(GlyphSize + 1);
    char current = DriveOfPath(CanonicalDir(GetCurrentDir()));
    if (current) FDrive = current;
    BuildList();
}

std::string TDriveComboBox::DriveText(char Drive) const
{
    char letter = FTextCase == tcLowerCase ? char(std::tolower(Drive)) : Drive;
    return std::string(1, letter) + ": " + GetDriveRoot(Drive);
}

void TDriveComboBox::BuildList()
{
    FLetters = GetDriveLetters();
    TStrings* items = GetItems();
    items->Clear();
    for (char d : FLetters) items->Add(DriveText(d));
    SelectDrive();
}

void TDriveComboBox::SelectDrive() { SetItemIndex(int(FLetters.find(FDrive))); }

void TDriveComboBox::SetDrive(char Value)
{
    Value = char(std::toupper(static_cast<unsigned char>(Value)));
    // A letter that stands for no folder is refused: it would list nothing.
    if (FDrive == Value || FLetters.find(Value) == std::string::npos) return;
    FDrive = Value;
    SelectDrive();
    if (FDirList) FDirList->SetDrive(Value);
    OnChange(this);
}

void TDriveComboBox::SetDirList(TDirectoryListBox* Value)
{
    if (FDirList == Value) return;
    if (FDirList && FDirList->FDriveCombo == this) FDirList->FDriveCombo = nullptr;
    FDirList = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    FreeNotification(Value);
    Value->FDriveCombo = this;
    if (!GetComponentState().Contains(csLoading) && Value->GetDrive()) DirListMoved(Value->GetDrive());
}

void TDriveComboBox::DirListMoved(char Drive)
{
    if (FLetters.find(Drive) == std::string::npos) return;
    FDrive = Drive;
    SelectDrive();
}

void TDriveComboBox::Loaded()
{
    inherited::Loaded();
    if (FDirList && FDirList->GetDrive()) DirListMoved(FDirList->GetDrive());
}

void TDriveComboBox::SetTextCase(TTextCase Value)
{
    if (FTextCase == Value) return;
    FTextCase = Value;
    BuildList();
}

void TDriveComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDirList) FDirList = nullptr;
}

void TDriveComboBox::Change()
{
    int index = GetItemIndex();
    if (index >= 0 && index < int(FLetters.size())) SetDrive(FLetters[index]);
}

void TDriveComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (FOnDrawItem) {
        FOnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* c = GetCanvas();
    std::string text = Index >= 0 && Index < GetItems()->GetCount() ? GetItems()->GetStrings(Index) : std::string();
    DrawItemText(c, GetColor(), Rect, Rect.left + GlyphSize + 6, text, State.Contains(odSelected));
    DrawFileGlyph(c, Rect.left + 2, Rect.top + (Rect.bottom - Rect.top - GlyphSize) / 2, TFileGlyph::Drive);
}

// ---- TFilterComboBox -------------------------------------------------------------------------

TFilterComboBox::TFilterComboBox(TComponent* AOwner) : TCustomComboBox(AOwner)
{
    SetBounds(0, 0, 145, 21);
    SetStyle(csDropDownList);
    BuildList();
}

void TFilterComboBox::SetFilter(const std::string& Value)
{
    if (FFilter == Value) return;
    FFilter = Value;
    BuildList();
    if (FFileList && !GetComponentState().Contains(csLoading)) FFileList->SetMask(GetMask());
}

// "Text|mask|Text|mask": a description without a mask gets "*.*" rather
// than shifting every later pair.
void TFilterComboBox::BuildList()
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= FFilter.size() && !FFilter.empty()) {
        size_t end = FFilter.find('|', start);
        if (end == std::string::npos) end = FFilter.size();
        parts.push_back(FFilter.substr(start, end - start));
        start = end + 1;
    }
    FMasks.clear();
    TStrings* items = GetItems();
    items->Clear();
    for (size_t i = 0; i < parts.size(); i += 2) {
        std::string mask = i + 1 < parts.size() ? Trim(parts[i + 1]) : std::string();
        items->Add(parts[i]);
        FMasks.push_back(mask.empty() ? std::string("*.*") : mask);
    }
    SetItemIndex(FMasks.empty() ? -1 : 0);
}

std::string TFilterComboBox::GetMask() const
{
    int index = const_cast<TFilterComboBox*>(this)->GetItemIndex();
    return index >= 0 && index < int(FMasks.size()) ? FMasks[index] : std::string("*.*");
}

void TFilterComboBox::SetFileList(TFileListBox* Value)
{
    if (FFileList == Value) return;
    FFileList = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    if (!GetComponentState().Contains(csLoading)) Value->SetMask(GetMask());
}

void TFilterComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFileList) FFileList = nullptr;
}

void TFilterComboBox::Change()
{
    if (FFileList) FFileList->SetMask(GetMask());
    OnChange(this);
}

// ---- Published properties --------------------------------------------------------------------

HOST_PUBLISHED(TDirectoryListBox)
{
    HOST_PUBLISH_CONTROL_LOOK(TDirectoryListBox);
    HOST_PUBLISH_MOUSE_EVENTS(TDirectoryListBox);
    HOST_PUBLISH_FOCUS(TDirectoryListBox);
    P.Property("DirLabel", &TDirectoryListBox::GetDirLabel, &TDirectoryListBox::SetDirLabel);
    P.Property("FileList", &TDirectoryListBox::GetFileList, &TDirectoryListBox::SetFileList);
    P.Property("IntegralHeight", &TDirectoryListBox::GetIntegralHeight, &TDirectoryListBox::SetIntegralHeight)
        .Default(false);
    P.Property("ItemHeight", &TDirectoryListBox::GetItemHeight, &TDirectoryListBox::SetItemHeight).Default(17);
    P.Property("OnChange", &TDirectoryListBox::OnChange);
}

HOST_PUBLISHED(TFileListBox)
{
    HOST_PUBLISH_CONTROL_LOOK(TFileListBox);
    HOST_PUBLISH_MOUSE_EVENTS(TFileListBox);
    HOST_PUBLISH_FOCUS(TFileListBox);
    P.Property("FileEdit", &TFileListBox::GetFileEdit, &TFileListBox::SetFileEdit);
    P.Property("FileType", &TFileListBox::GetFileType, &TFileListBox::SetFileType).Default(TFileType{ftNormal});
    P.Property("IntegralHeight", &TFileListBox::GetIntegralHeight, &TFileListBox::SetIntegralHeight).Default(false);
    P.Property("ItemHeight", &TFileListBox::GetItemHeight, &TFileListBox::SetItemHeight).Default(17);
    P.Property("Mask", &TFileListBox::GetMask, &TFileListBox::SetMask);
    P.Property("MultiSelect", &TFileListBox::GetMultiSelect, &TFileListBox::SetMultiSelect).Default(false);
    P.Property("ShowGlyphs", &TFileListBox::GetShowGlyphs, &TFileListBox::SetShowGlyphs).Default(false);
    P.Property("OnChange", &TFileListBox::OnChange);
}

HOST_PUBLISHED(TDriveComboBox)
{
    HOST_PUBLISH_CONTROL_LOOK(TDriveComboBox);
    HOST_PUBLISH_MOUSE_EVENTS(TDriveComboBox);
    HOST_PUBLISH_FOCUS(TDriveComboBox);
    P.Property("DirList", &TDriveComboBox::GetDirList, &TDriveComboBox::SetDirList);
    P.Property("TextCase", &TDriveComboBox::GetTextCase, &TDriveComboBox::SetTextCase).Default(tcLowerCase);
    P.Property("OnChange", &TDriveComboBox::OnChange);
}

HOST_PUBLISHED(TFilterComboBox)
{
    HOST_PUBLISH_CONTROL_LOOK(TFilterComboBox);
    HOST_PUBLISH_MOUSE_EVENTS(TFilterComboBox);
    HOST_PUBLISH_FOCUS(TFilterComboBox);
    P.Property("FileList", &TFilterComboBox::GetFileList, &TFilterComboBox::SetFileList);
    P.Property("Filter", &TFilterComboBox::GetFilter, &TFilterComboBox::SetFilter);
    P.Property("OnChange", &TFilterComboBox::OnChange);
}

HOST_REGISTER_CLASSES(TDirectoryListBox, TFileListBox, TDriveComboBox, TFilterComboBox);

} // namespace host
