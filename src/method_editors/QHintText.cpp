#include "method_editors/QHintText.h"

#include "platform/gui/Dc.h"

namespace vyn {

TColor gHintTextColor(0, 127, 127);

QWidget* QHintText::MakeControl(QWidget* parentWidget) { return TWindow::MakeWidget(parentWidget); }

void QHintText::Paint(TDC& dc, bool, TRect&)
{
    TRect rc = GetClientRect();
    dc.FillRect(rc, TBrush(TColor(240, 240, 240)));
    dc.SelectObject(TFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(*colour_);
    dc.DrawText(text_, rc, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    dc.RestoreObjects();
}

}  // namespace vyn
