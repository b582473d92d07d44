#pragma once
// TControl: the base of the standard controls. A control is either bound to the control of its
// id in the parent dialog's template (kind, text, style and rectangle come from there) or made
// with its own text and rectangle in pixels. TStatic and TGroupBox are the plain text controls.
#include <string>

#include "platform/gui/DialogTemplate.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/Window.h"

class QLabel;

namespace vyn {

class TControl : public TWindow {
public:
    // Bound to the template control with this id when the parent dialog is created.
    TControl(TWindow* parent, int resourceId);
    TControl(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, unsigned style = 0);

    unsigned GetStyle() const { return style_; }
    // A made control's tab-stop style decides at once whether Tab stops on it.
    void ModifyStyle(unsigned remove, unsigned add);
    bool IsBoundToTemplate() const { return bound_; }

    std::string GetWindowText() const override;
    void SetWindowText(const std::string& text) override;

    // The dialog hands over the template line and its rectangle in pixels before creation.
    void ApplyTemplate(const TControlTemplate& t, const TRect& pixels);

    // The colours of the control's text and of its face (an edit's field, a label's background),
    // as a dialog answers a control's colour request; kept until the control is made.
    // ClearColors returns to the dialog's own.
    void SetColors(TColor text, TColor back);
    void ClearColors();
    bool HasColors() const { return colored_; }
    TColor TextColor() const { return textColor_; }
    TColor BackColor() const { return backColor_; }

protected:
    QWidget* MakeWidget(QWidget* parentWidget) override;
    // Makes the Qt control; geometry, visibility and enabling are done by the base.
    virtual QWidget* MakeControl(QWidget* parentWidget) = 0;
    virtual std::string WidgetText() const = 0;
    virtual void SetWidgetText(const std::string& text) = 0;

    unsigned style_ = 0;
    TRect rect_;
    std::string text_;  // until the control exists

private:
    void ApplyColors();

    bool bound_;
    bool colored_ = false;
    TColor textColor_, backColor_{255, 255, 255};
};

class TStatic : public TControl {
public:
    TStatic(TWindow* parent, int resourceId, int textLimit = 0) : TControl(parent, resourceId), textLimit_(textLimit) {}
    TStatic(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, unsigned style = 0)
        : TControl(parent, id, text, x, y, w, h, style)
    {
    }
    void SetText(const std::string& text) { SetWindowText(text); }
    std::string GetText() const { return GetWindowText(); }
    // The control after the label in the dialog's tab order: with one, an Alt+letter marked
    // with '&' in the text moves the focus to the first control from there on that can take it
    // then (shown and enabled); "&&" shows one '&'. Without one, or with the NOPREFIX style, no
    // letter is marked; NOPREFIX shows every '&' as it stands.
    void SetMnemonicTarget(TWindow* target);
    // The marked letter pressed: the focus moves on as above.
    void MnemonicPressed();
    // A picture shown in the middle of the label in place of its text (a picture static); a
    // null bitmap shows the text again.
    void SetPicture(const TBitmap& picture);

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override;
    void SetWidgetText(const std::string& text) override;
    unsigned EvGetDlgCode(const TMsg*) override;

private:
    int textLimit_ = 0;
    TBitmap picture_;
    void ShowText(QLabel* label);
    TWindow* mnemonicTarget_ = nullptr;
};

class TGroupBox : public TControl {
public:
    using TControl::TControl;

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override;
    void SetWidgetText(const std::string& text) override;
};

// Makes the control object for a template line that the dialog's class did not bind itself.
TControl* MakeTemplateControl(TWindow* parent, const TControlTemplate& t);

}  // namespace vyn
