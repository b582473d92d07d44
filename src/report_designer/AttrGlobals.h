#pragma once
// QRAttrGlobals: the state the attribute editor shares with every row: its windows and
// controls, the font and pixel metrics, the attached view and the current attribute target.
// Everything is made once, with the editor's windows, and lives to the end of the program.
#include "platform/core/Geometry.h"
#include "platform/gui/Gdi.h"

namespace vyn {

class TWindow;
class QRAttrDlg;
class QRAttrFrame;
class QRAttrHd;
class QRattrStat;
class QRAttrEdit;
class QRAttrList;
class QRAttrButt;
class QRAttrClr;
class QRepView;
class RPReport;
class RPObjAttr;

// Ids of the shared controls and the commands they and the rows send the editor.
enum AttrControlId : unsigned {
    idAttrEdit = 11101,
    idAttrList = 11102,
    idAttrDrop = 11103,
    idAttrMore = 11104,
    cmAttrEditChar = 11110,
    cmAttrEditFocus = 11111,
    cmAttrEditChange = 11112,
    cmAttrListSel = 11120,
    cmAttrListChar = 11121,
    cmAttrListLeave = 11122,
    cmAttrListPick = 11123,
    cmAttrApply = 11501,
    cmAttrEsc = 11502,
    cmAttrTab = 11503,
    cmAttrBackTab = 11504,
    cmAttrNext = 11505,
    cmAttrPrev = 11506,
};

// Pixel metrics of the editor's windows, all from the size of "M" in the editor's font.
struct AttrMetrics {
    int cx = 8, cy = 13;
    int rowPad = 2, rowHeight = 15, stripHeight = 17;
    int minNameWidth = 90, minValueWidth = 70;
    int swatchWidth = 10, buttonWidth = 16, halfGap = 4;
    int minFrameWidth = 220, minFrameHeight = 120;
};

class QRAttrGlobals {
public:
    static inline QRAttrFrame* gAttrFrame = nullptr;
    static inline QRAttrDlg* gAttrDlg = nullptr;
    static inline QRAttrHd* gAttrHeader = nullptr;
    static inline QRattrStat* gAttrStatus = nullptr;
    static inline TFont* gAttrFont = nullptr;
    static inline QRAttrEdit* gAttrEdit = nullptr;
    static inline QRAttrList* gAttrList = nullptr;
    static inline QRAttrButt* gAttrDropButton = nullptr;
    static inline QRAttrClr* gAttrColor = nullptr;
    static inline QRAttrButt* gAttrMoreButton = nullptr;
    static inline QRepView* gAttrView = nullptr;
    static inline RPReport* gAttrReport = nullptr;
    static inline RPObjAttr* gAttrTarget = nullptr;
    static inline AttrMetrics gAttrMetrics;
    static inline const TColor gAttrFaceColor{192, 192, 192};
    static inline const TColor gAttrActiveTextColor{255, 255, 255};
};

}  // namespace vyn
