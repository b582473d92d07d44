#include "platform/gui/ChooseColorDialog.h"

#include <QColorDialog>

#include "platform/gui/Window.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

namespace {
TChooseColorDialog::TAnswer gAnswer;
}  // namespace

void TChooseColorDialog::SetTestAnswer(TAnswer answer) { gAnswer = std::move(answer); }

TChooseColorDialog::TChooseColorDialog(TWindow* parent, TColor initial, std::array<TColor, 16>& customColours)
    : parent_(parent), colour_(initial), custom_(customColours)
{
}

int TChooseColorDialog::Execute()
{
    if (gAnswer) {
        TColor c = colour_;
        if (!gAnswer(c)) return IDCANCEL;
        colour_ = c;
        return IDOK;
    }
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, QColor(custom_[i].Red(), custom_[i].Green(), custom_[i].Blue()));
    const QColor chosen = QColorDialog::getColor(QColor(colour_.Red(), colour_.Green(), colour_.Blue()),
                                                 parent_ ? parent_->Widget() : nullptr);
    for (int i = 0; i < 16; ++i) {
        const QColor c = QColorDialog::customColor(i);
        custom_[i] = TColor(c.red(), c.green(), c.blue());
    }
    if (!chosen.isValid()) return IDCANCEL;
    colour_ = TColor(chosen.red(), chosen.green(), chosen.blue());
    return IDOK;
}

}  // namespace vyn
