#pragma once
// STAND-IN: a minimal plate view until the plate matrix view exists. It draws the plate's
// method name and its wells' data values as a plain grid; the plate matrix view replaces it
// under the "Plates" template.
#include "document/QDoc.h"
#include "platform/core/Document.h"
#include "platform/gui/MDI.h"
#include "platform/gui/Window.h"

namespace vyn {

class PlatePlaceholderView : public TWindow, public TView, public TCloseQuery {
public:
    explicit PlatePlaceholderView(QDoc& doc);

    const char* GetViewName() override { return "QPView"; }
    bool VnNotify(int event, long item) override;
    bool CanCloseWindow() override { return TView::CanClose(); }
    QDoc& GetQDoc() const { return static_cast<QDoc&>(GetDocument()); }

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;
};

}  // namespace vyn
