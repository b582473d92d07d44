#pragma once
// The attribute editor's rows. A row knows one attribute: it reads it from the current
// target into its value text, paints itself, and while it is edited owns the shared controls,
// checks what was entered and writes the new value back through the target.
//
// Families: typed texts and expressions, whole numbers, lengths, colours, choices out of a
// fixed list, and the rows whose value comes from a dialog (font, number format, axes,
// evaluation context).
#include <memory>
#include <string>
#include <vector>

#include "report_designer/AttrGlobals.h"
#include "reports/QRSource.h"
#include "reports/RPAxisSpec.h"
#include "reports/RPFont.h"
#include "reports/RPNumFormat.h"

namespace vyn {

class TDC;

class SCtrl : public QRAttrGlobals {
public:
    SCtrl(int code, int captionId);
    virtual ~SCtrl() = default;

    virtual void SetIndex(int i);
    virtual void LoadValue() {}
    virtual void Paint(TDC& dc, const TRect& clip);
    virtual void BeginEdit(int byMouse);
    virtual void EndEdit(int cancel);
    virtual void Command(int /*id*/) {}
    virtual void Reposition() {}

    int code;
    int index = 0;
    std::string caption;
    std::string valueText;
    std::string hint;
    int editing = 0;

protected:
    // The value edit over the row: over the value cell, or its text part beside a button.
    void StartValueEdit(int byMouse, bool besideButton);
    void StartChoiceEdit(bool besideButton);
    void Place(TWindow& w, const TRect& r, bool redraw);
    void PostApply();
};

// Typed texts; the expression rows add the zoom and the vocabulary buttons.
class SCtrlText : public SCtrl {
public:
    SCtrlText(int code, int captionId, bool expression);
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Command(int id) override;
    void Reposition() override;
    std::string GetValue() const;
    void SetValue(const std::string& text);

    int hasDialogButton = 0;
    int hasZoomButton = 0;
};

class SCtrlNumber : public SCtrl {
public:
    SCtrlNumber(int code, int captionId, int minimum, int maximum);
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Reposition() override;

    int hasDialogButton = 0;
    int minimum, maximum;
    int current = 0;
};

class SCtrlHeSizes : public SCtrl {
public:
    using SCtrl::SCtrl;
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Reposition() override;
};

class SCtrlColors : public SCtrl {
public:
    using SCtrl::SCtrl;
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Command(int id) override;
    void Reposition() override;
    void SyncColorSwatch();

    int current = -1;
};

class SCtrlChoice : public SCtrl {
public:
    SCtrlChoice(int code, int captionId, int group);
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Command(int id) override;
    void Reposition() override;

    const std::vector<std::string>* choices;
    int count;
    int current = 0;
};

// Shared by the choice rows and the context row.
void CopyChoiceToEdit();
int SelectChoiceByChar(int c);

class SCtrlFont : public SCtrl {
public:
    SCtrlFont() : SCtrl(11, 7669) {}
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Command(int id) override;
    void Reposition() override;

    const RPLogFont* targetFont = nullptr;
    RPLogFont font;
    int changed = 0;
};

class SCtrlFormat : public SCtrl {
public:
    SCtrlFormat() : SCtrl(17, 7671) {}
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Command(int id) override;
    void Reposition() override;

    RPNumFormat format;
    int changed = 0;
};

class SCtrlAxis : public SCtrl {
public:
    SCtrlAxis(int axisIndex) : SCtrl(axisIndex == 0 ? 19 : 20, axisIndex == 0 ? 7673 : 7675), axisIndex(axisIndex) {}
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Command(int id) override;
    void Reposition() override;
    void GetValue();
    void SetValue();

    RPAxisSpec axis;
    int changed = 0;
    int axisIndex;
};

class SCtrlSource : public SCtrl {
public:
    SCtrlSource() : SCtrl(14, 7667) {}
    void LoadValue() override;
    void BeginEdit(int byMouse) override;
    void EndEdit(int cancel) override;
    void Command(int id) override;
    void Reposition() override;
    // Default and Global always; a cell with its row and column; a sample with its id.
    static bool Complete(const QRSource& s);

    QRSource loaded;
    QRSource edited;

private:
    void TakeListKind();
};

// The 38 rows in the editor's fixed order.
std::vector<std::unique_ptr<SCtrl>> MakeAttrRows();

}  // namespace vyn
