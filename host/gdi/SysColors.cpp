// The classic grey 3-D colour scheme; SetSysColors changes it (tests pin it).
#include "host/gdi/Objects.h"
#include "host/gdi/WinGdi.h"

namespace host {

using namespace gdi;

namespace {

struct SysColorTable {
    COLORREF Colors[COLOR_COUNT];
    HBRUSH Brushes[COLOR_COUNT] = {};
};

SysColorTable& Colors()
{
    static SysColorTable t = {{
        RGB(192, 192, 192),  // COLOR_SCROLLBAR
        RGB(0, 128, 128),    // COLOR_BACKGROUND
        RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
        RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
        RGB(192, 192, 192),  // COLOR_MENU
        RGB(255, 255, 255),  // COLOR_WINDOW
        RGB(0, 0, 0),        // COLOR_WINDOWFRAME
        RGB(0, 0, 0),        // COLOR_MENUTEXT
        RGB(0, 0, 0),        // COLOR_WINDOWTEXT
        RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
        RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
        RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
        RGB(128, 128, 128),  // COLOR_APPWORKSPACE
        RGB(0, 0, 128),      // COLOR_HIGHLIGHT
        RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
        RGB(192, 192, 192),  // COLOR_BTNFACE
        RGB(128, 128, 128),  // COLOR_BTNSHADOW
        RGB(128, 128, 128),  // COLOR_GRAYTEXT
        RGB(0, 0, 0),        // COLOR_BTNTEXT
        RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
        RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
        RGB(0, 0, 0),        // COLOR_3DDKSHADOW
        RGB(223, 223, 223),  // COLOR_3DLIGHT
        RGB(0, 0, 0),        // COLOR_INFOTEXT
        RGB(255, 255, 225),  // COLOR_INFOBK
        RGB(192, 192, 192),  // 25: unused
        RGB(0, 0, 255),      // COLOR_HOTLIGHT
        RGB(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
        RGB(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
        RGB(0, 0, 128),      // COLOR_MENUHILIGHT
        RGB(192, 192, 192),  // COLOR_MENUBAR
    }};
    return t;
}

}  // namespace

DWORD GetSysColor(int index)
{
    if (index < 0 || index >= COLOR_COUNT)
        return 0;
    return Colors().Colors[index];
}

// The brushes are stock objects: DeleteObject leaves them alone.
HBRUSH GetSysColorBrush(int index)
{
    if (index < 0 || index >= COLOR_COUNT)
        return nullptr;
    SysColorTable& t = Colors();
    if (!t.Brushes[index]) {
        t.Brushes[index] = CreateSolidBrush(t.Colors[index]);
        FindObject(t.Brushes[index])->Stock = true;
    }
    return t.Brushes[index];
}

// Brushes already handed out follow the new colours, as in Win32; DCs that
// have one selected see the change at their next selection.
BOOL SetSysColors(int count, const int* indexes, const COLORREF* colours)
{
    if (count < 0 || (count > 0 && (!indexes || !colours)))
        return FALSE;
    SysColorTable& t = Colors();
    for (int i = 0; i < count; ++i) {
        int k = indexes[i];
        if (k < 0 || k >= COLOR_COUNT)
            continue;
        t.Colors[k] = colours[i] & 0xFFFFFF;
        if (BrushObject* b = FindObjectAs<BrushObject>(t.Brushes[k], OBJ_BRUSH))
            b->Log.lbColor = t.Colors[k];
    }
    return TRUE;
}

}  // namespace host
