#include "platform/gui/ChooseFontDialog.h"

#include <QFontDialog>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gui/Dc.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/Window.h"

namespace vyn {

namespace {
TChooseFontDialog::TAnswer gAnswer;

int TenthsOfPoint(int height, int dpi) { return dpi > 0 ? static_cast<int>(std::lround(std::abs(height) * 720.0 / dpi)) : 0; }
int HeightOf(int tenths, int dpi) { return -static_cast<int>(std::lround(tenths * dpi / 720.0)); }
}  // namespace

void TChooseFontDialog::SetTestAnswer(TAnswer answer) { gAnswer = std::move(answer); }

TChooseFontDialog::TChooseFontDialog(TWindow* parent, const TLogFont& initial, const TDC* device)
    : parent_(parent), lf_(initial), dpiY_(device ? device->GetDeviceCaps(LOGPIXELSY) : 96)
{
    pointSize_ = TenthsOfPoint(lf_.lfHeight, dpiY_);
}

int TChooseFontDialog::Execute()
{
    if (gAnswer) {
        TLogFont lf = lf_;
        int size = pointSize_;
        if (!gAnswer(lf, size)) return IDCANCEL;
        lf_ = lf;
        pointSize_ = size;
        return IDOK;
    }
    LoadShippedFonts();
    QFont initial(QString::fromStdString(MapFontFace(lf_.lfFaceName, lf_.lfPitchAndFamily)));
    if (pointSize_ > 0) initial.setPointSizeF(pointSize_ / 10.0);
    initial.setWeight(static_cast<QFont::Weight>(std::clamp(lf_.lfWeight, 100, 900)));
    initial.setItalic(lf_.lfItalic != 0);
    initial.setUnderline(lf_.lfUnderline != 0);
    initial.setStrikeOut(lf_.lfStrikeOut != 0);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent_ ? parent_->Widget() : nullptr);
    if (!ok) return IDCANCEL;
    pointSize_ = static_cast<int>(std::lround(chosen.pointSizeF() * 10.0));
    // The dialog offers the shipped family that stands in for the record's face; a user who
    // changed only the size or the style keeps the face the record names.
    if (chosen.family() != initial.family()) lf_.lfFaceName = chosen.family().toStdString().substr(0, 31);
    lf_.lfHeight = HeightOf(pointSize_, dpiY_);
    lf_.lfWidth = 0;
    lf_.lfWeight = static_cast<int>(chosen.weight());
    lf_.lfItalic = chosen.italic() ? 1 : 0;
    lf_.lfUnderline = chosen.underline() ? 1 : 0;
    lf_.lfStrikeOut = chosen.strikeOut() ? 1 : 0;
    return IDOK;
}

}  // namespace vyn
