#pragma once
// The MDI child that holds one report designer. Its client is a pane that places the report
// view, the horizontal ruler along its top, the vertical ruler along its left side and a grey
// corner box where the rulers meet; the rulers keep their thickness when the frame is sized.
#include <string>

#include "platform/gui/MDI.h"
#include "platform/gui/Window.h"

namespace vyn {

class QRepView;
class TView;
class QHRuler;
class QVRuler;

// The corner box where the two rulers meet.
class QRPCornerBox : public TWindow {
public:
    explicit QRPCornerBox(TWindow* parent) : TWindow(parent) {}

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;
};

// The frame's client area: view, rulers and corner laid out by the ruler thicknesses.
class QRPDesignerPane : public TWindow, public TCloseQuery {
public:
    // The pane takes the view as its child; the view is deleted with the pane.
    explicit QRPDesignerPane(QRepView& view);

    QRepView& View() const { return view_; }
    QHRuler& HRuler() const { return *hRuler_; }
    QVRuler& VRuler() const { return *vRuler_; }
    TWindow& Corner() const { return *corner_; }
    void LayoutChildren();
    bool CanCloseWindow() override;
    // The view as the document manager names it when the view goes, taken while it lives.
    const TView* ViewKey() const { return viewKey_; }
    // The MDI frame around the pane (none outside a frame).
    TWindow* Frame() const { return frame_; }
    void SetFrame(TWindow* frame) { frame_ = frame; }

protected:
    void SetupWindow() override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void EvCommandEnable(TCommandEnabler& ce) override;

private:
    QRepView& view_;
    QRPCornerBox* corner_;
    QHRuler* hRuler_;
    QVRuler* vRuler_;
    TWindow* frame_ = nullptr;
    const TView* viewKey_;
};

class QRPMDIChild : public TMDIChild {
public:
    // What the shell makes for every report document's view.
    QRPMDIChild(TMDIClient& parent, const std::string& title, QRepView& view);

    QRPDesignerPane& Pane() const { return *pane_; }
    // The designer view inside the pane.
    TView* GetView() const override;
    void EvMDIActivate(bool active) override;
    // The program's main window was activated or lost the activation with this frame active.
    void EvFrameActivate(unsigned active, bool minimized, TWindow* other) override;
    // The caption names the report's file, or its title while it has none.
    void ShowDocTitle();

private:
    QRPDesignerPane* pane_;
};

}  // namespace vyn
