// Message texts of the general run-time package (ids 16000 to 16238). They live
// in the runtime layer because host classes (the filter expression parser)
// raise some of them too. Translators replace entries by registering their own
// table after this one.
#include <iterator>

#include "host/rtl/Resources.h"

namespace host {
namespace {

const TStringTableEntry GeneralTexts[] = {
    // navigation buttons, index combo, picture editor filters
    {16000, "Commit all changes in this transaction?"},
    {16001, "Undo all changes in this transaction?"},
    {16002, "Invalid number of strings for menu items - 4 strings expected"},
    {16003, "<Primary Key>"},
    {16004, "';' not found in item '%s'.  Expected format 'ItemText;IndexNumber'"},
    {16005, "ItemText not found in item '%s'.  Expected format 'ItemText;IndexNumber'"},
    {16006, "Index number not found in item '%s'.  Expected format 'ItemText;IndexNumber'"},
    {16007, "DataSet of class TTable required"},
    {16008, "Index number '%d' not found in DataSet.IndexDefs"},
    {16009, "Bitmaps (*.BMP)|*.bmp|All Files (*.*)|*.*"},
    {16010, "Icons (*.ICO)|*.ico|All Files (*.*)|*.*"},
    {16011, "Metafiles (*.WMF)|*.wmf|All Files (*.*)|*.*"},
    {16012, "Enhanced Metafiles (*.EMF)|*.emf|All Files (*.*)|*.*"},
    {16013, "All Files (*.*)|*.*"},
    // find-key, range and query-parameter dialogs
    {16014, "Required table parameter is nil"},
    {16015, "Table has no index fields"},
    {16016, "Table must be active"},
    {16017, "Required query parameter is nil"},
    {16018, "Query has no parameters"},
    {16019, "Cannot replace records in read only DataSet"},
    {16020, "Current field cannot be modified"},
    {16021, "Four KeyState strings expected"},
    {16022, "KeyState strings cannot exceed 255 characters total length"},
    // record filter and filter expressions
    {16023, "DataSource required"},
    {16024, "DataSet required"},
    {16025, "DataSet is not active"},
    {16026, "Invalid filter handle.  Filter must be prepared before use"},
    {16027, "Filter expression is empty"},
    {16028, "Filter expression incorrectly terminated"},
    {16029, "Unterminated field name"},
    {16030, "Unterminated string constant"},
    {16031, "Invalid filter expression character: '%s'"},
    {16032, "')' expected but %s found"},
    {16033, "Expression expected but %s found"},
    {16034, "Relational operators require a field and a constant"},
    {16035, "Field '%s' cannot be used in a filter expression"},
    {16036, "NULL only allowed with '=' and '<>'"},
    {16037, "Constant out of range"},
    {16038, "Field '%s' is not of type Boolean"},
    {16039, "Incorrectly formed filter expression"},
    {16040, "Filter expression too complex"},
    // wave sounds, resources, multimedia
    {16041, "Error reading wave data"},
    {16042, "Wave image is not a valid wave file format"},
    {16043, "Error %d loading DLL '%s'"},
    {16044, "Resource '%s' of type RCDATA not found"},
    {16045, "Unable to load resource '%s'"},
    {16046, "Unable to lock resource '%s'"},
    {16047, "FormName expected"},
    {16048, "No MCIData to Open"},
    // directory dialog: path, line break, line break
    {16049, "%s%sThis path does not exist.%sPlease enter a different path."},
    {16050, "%s%sThis path already exists.%sPlease enter a different path."},
    {16051, "%s%sThis path does not exist.%sAre you sure you want to create this path?"},
    {16052, "%s%sThis path already exists.%sAre you sure you want to use this path?"},
    {16053, "%s%sDrive does not exist.%sPlease choose a different drive."},
    {16054, "%s%sInvalid Filename.%sPlease enter a different path."},
    {16055, "%d is an invalid PaneIndex value.  PaneIndex must be between 0 and %d"},
    // find and replace
    {16100, "First record reached.  Continue searching from last record?"},
    {16101, "Last record reached.  Continue searching from first record?"},
    {16102, "'%s' not found."},
    {16103, "'%s' not found in current field."},
    {16104, "%d values replaced."},
    // number words
    {16190, "'%s' is not an amount that can be written in words"},
    {16191, "'%s' is too large to be written in words"},
    {16200, "zero"},
    {16201, "one"},
    {16202, "two"},
    {16203, "three"},
    {16204, "four"},
    {16205, "five"},
    {16206, "six"},
    {16207, "seven"},
    {16208, "eight"},
    {16209, "nine"},
    {16210, "ten"},
    {16211, "eleven"},
    {16212, "twelve"},
    {16213, "thirteen"},
    {16214, "forteen"},
    {16215, "fifteen"},
    {16216, "sixteen"},
    {16217, "seventeen"},
    {16218, "eighteen"},
    {16219, "nineteen"},
    {16220, "zero"}, // tens word of a zero digit; never written
    {16221, "ten"},
    {16222, "twenty"},
    {16223, "thirty"},
    {16224, "forty"},
    {16225, "fifty"},
    {16226, "sixty"},
    {16227, "seventy"},
    {16228, "eighty"},
    {16229, "ninety"},
    {16230, "units"}, // scale word of the lowest group; never written
    {16231, "thousand"},
    {16232, "million"},
    {16233, "billion"},
    {16234, "trillion"},
    {16235, "and"},
    {16236, "hundred"},
    {16237, "#ERROR#"},
    {16238, "#NULL#"},
};

constexpr int GeneralFirst = 16000;
constexpr int GeneralLast = 16238;
// Ids of the range that no unit uses yet still answer with a text, so that a
// message box never comes up blank.
constexpr const char* GeneralUnusedText = "Invalid operation";

struct TGeneralTableRegistrar {
    TGeneralTableRegistrar()
    {
        RegisterStringTable(GeneralTexts, std::size(GeneralTexts));
        for (int id = GeneralFirst; id <= GeneralLast; ++id) {
            if (HasStr(id)) continue;
            TStringTableEntry e{id, GeneralUnusedText};
            RegisterStringTable(&e, 1);
        }
    }
} GeneralTableRegistrar;

} // namespace
} // namespace host
