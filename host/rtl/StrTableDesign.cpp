// Texts of the design-time package (ids 15000 to 15244): the navigation panel
// wizard's default captions, hints, page hints, list names and the component
// editors' verbs and messages. A hint is a short hint, '|' and a long hint.
#include <iterator>

#include "host/rtl/Resources.h"

namespace host {
namespace {

const TStringTableEntry DesignTexts[] = {
    // default button captions
    {15000, "{no Caption}"},
    {15001, "First"},
    {15002, "Back"},
    {15003, "Prev"},
    {15004, "Next"},
    {15005, "Forward"},
    {15006, "Last"},
    {15007, "Insert"},
    {15008, "Append"},
    {15009, "Duplicate"},
    {15010, "Edit"},
    {15011, "Edit..."},
    {15012, "Edit Memo/Graphic"},
    {15013, "Find/Replace"},
    {15014, "Delete"},
    {15015, "Cancel"},
    {15016, "Post"},
    {15017, "Refresh"},
    {15018, "Empty"},
    {15019, "Bookmark"},
    {15020, "Bookmarks"},
    {15021, "Find Key"},
    {15022, "Range"},
    {15023, "Filter Active"},
    {15024, "Filter Expression"},
    {15025, "Start Trans"},
    {15026, "Commit"},
    {15027, "Rollback"},
    {15028, "Query Params"},
    {15029, "DB Info"},
    {15030, "Custom"},
    {15031, "Up/Down"},
    // default hints
    {15050, "{no Hint}"},
    {15051, "{no Hint Up}"},
    {15052, "First|Move to the first record"},
    {15053, "Jump Back|Move back 10 records (hold down to repeat)"},
    {15054, "Prior|Move to the prior record (hold down to repeat)"},
    {15055, "Next|Move to the next record (hold down to repeat)"},
    {15056, "Jump Forward|Move forward 10 records (hold down to repeat)"},
    {15057, "Last|Move to the last record"},
    {15058, "Insert|Insert a new record"},
    {15059, "Append|Append a new record after the last record"},
    {15060, "Duplicate Record|Append a copy of the current record"},
    {15061, "Edit|Edit the current record"},
    {15062, "Edit %datasource%|Display a form to view or edit %datasource% records"},
    {15063, "Edit Memo/Graphic|Edit the active memo or graphic field in a window of its own"},
    {15064, "Find/Replace|Find or replace text in the records"},
    {15065, "Delete|Delete the current record"},
    {15066, "Cancel|Cancel the changes to the current record"},
    {15067, "Post|Post the changes to the current record"},
    {15068, "Refresh|Refresh the records from the database"},
    {15069, "Empty Table|Delete all records of the table"},
    {15070, "Set Bookmark|Mark the current record"},
    {15071, "Go To Bookmark|Return to the last bookmarked record"},
    {15072, "Bookmarks|Mark records and return to them from a menu"},
    {15073, "Find Key|Find a record by its key values"},
    {15074, "Index|Choose the index that orders the records"},
    {15075, "Range|Limit the records to a range of key values"},
    {15076, "Range|Limit the records to the key values typed here"},
    {15077, "Filter Active|Show only records matching the active field value"},
    {15078, "Remove Filter|Remove the filter on the active field value"},
    {15079, "Filter|Show only records matching this filter"},
    {15080, "Remove Filter|Turn off this filter"},
    {15081, "Start Transaction|Start a transaction on the database"},
    {15082, "Commit|Commit all changes in this transaction"},
    {15083, "Rollback|Undo all changes in this transaction"},
    {15084, "Query Params|Edit the query parameters and run the query again"},
    {15085, "DB Info|Show information about the data set"},
    {15086, "Custom Button|Click to run this button's action"},
    {15087, "{no Hint Down}"},
    {15088, "Activate Button|Click to activate button"},
    {15089, "Deactivate Button|Click to deactivate button"},
    // wizard page hints
    {15100, "Choose the buttons for the navigation panel and put them in order."},
    {15101, "Choose the glyph style, the button style and the orientation of the buttons."},
    {15102, "Edit the hint of each button; HINT DOWN is shown while an up/down button is down."},
    {15103, "Edit the caption of each button."},
    {15104, "Choose the caption's text style, the glyph alignment, the font and the margin."},
    {15105, "Choose the button size, the panel margins and the rows and columns of buttons."},
    {15106, "Choose the glyph style, the button style and the orientation of the button."},
    {15107, "Choose the caption's text style, the glyph alignment, the font and the margin."},
    {15108, "Choose the size of the button."},
    {15109, "Edit the hint and the caption of the button."},
    // component editor verbs and messages
    {15150, "Edit Filter..."},
    {15151, "Load Items From DataSet"},
    {15152, "Add Navigator Buttons..."},
    {15153, "Delete All Buttons"},
    {15154, "All controls on the panel will be permanently deleted.%sAre you sure you want to continue?"},
    {15155, "Edit Button Style..."},
    {15156, "Edit Line Style..."},
    {15157, "%d indexes added"},
    {15158, "Table has no indexes"},
    // wizard outline groups
    {15200, "Navigate"},
    {15201, "Edit Records"},
    {15202, "Mark & Locate Records"},
    {15203, "Sort & Filter Records"},
    {15204, "SQL Server Transactions"},
    {15205, "Other"},
    // wizard list names, one per button kind
    {15210, "First"},
    {15211, "Jump Back"},
    {15212, "Previous"},
    {15213, "Next"},
    {15214, "Jump Forward"},
    {15215, "Last"},
    {15216, "Insert"},
    {15217, "Append"},
    {15218, "Duplicate Record"},
    {15219, "Edit"},
    {15220, "Edit/View DataSource"},
    {15221, "Edit Memo/Picture"},
    {15222, "Find/Replace Text"},
    {15223, "Delete"},
    {15224, "Cancel"},
    {15225, "Post"},
    {15226, "Refresh"},
    {15227, "Empty Table"},
    {15228, "Single Bookmark"},
    {15229, "Multiple Bookmark"},
    {15230, "Find Key"},
    {15231, "Index ComboBox"},
    {15232, "Range Filter"},
    {15233, "Range Edit Box"},
    {15234, "Filter Active Control"},
    {15235, "Filter Expression"},
    {15236, "Start Transaction"},
    {15237, "Commit"},
    {15238, "Rollback"},
    {15239, "Edit Query Params"},
    {15240, "Show DB Info"},
    {15241, "DB State Label"},
    {15242, "DB RecordCount Label"},
    {15243, "Custom Button"},
    {15244, "Custom Up/Down Button"},
};

constexpr int DesignFirst = 15000;
constexpr int DesignLast = 15244;

// Unused ids answer in the table's own placeholder style, so a slot that a
// wizard reads by mistake shows as clearly empty.
const char* UnusedDesignText(int Id)
{
    if (Id < 15050) return "{no Caption}";
    if (Id < 15100) return "{no Hint}";
    return "{no Text}";
}

struct TDesignTableRegistrar {
    TDesignTableRegistrar()
    {
        RegisterStringTable(DesignTexts, std::size(DesignTexts));
        for (int id = DesignFirst; id <= DesignLast; ++id) {
            if (HasStr(id)) continue;
            TStringTableEntry e{id, UnusedDesignText(id)};
            RegisterStringTable(&e, 1);
        }
    }
} DesignTableRegistrar;

} // namespace
} // namespace host
