// The sample dialogs, page setup and the print dialog reached from the menus as a user reaches
// them: no label, button or frame shows a marked letter as a literal '&'.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QDlgDesc.h"
#include "app/QSmpDlg.h"
#include "app/vynwApp.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/PrinterDialogs.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/AStpPgDlg.h"
#include "views/QLView.h"
#include "views/ViewCommands.h"

using namespace vyn;

namespace {

// A text as the widget shows it: buttons, frames and labels with a buddy draw '&x' as an
// underlined x and '&&' as '&'; other labels show their text as it stands.
std::string Seen(const QString& text, bool mnemonics)
{
    if (!mnemonics) return text.toStdString();
    std::string s;
    const std::string t = text.toStdString();
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '&' && i + 1 < t.size()) ++i;
        s += t[i];
    }
    return s;
}

// The shown texts with an '&' straight before a letter or digit: a marked letter shown as it
// was written.
std::vector<std::string> LiteralMarks(TDialog& d)
{
    std::vector<std::string> found;
    auto check = [&found](const std::string& seen) {
        for (std::size_t i = 0; i + 1 < seen.size(); ++i)
            if (seen[i] == '&' && std::isalnum(static_cast<unsigned char>(seen[i + 1]))) {
                found.push_back(seen);
                return;
            }
    };
    for (QWidget* w : d.Widget()->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(d.Widget())) continue;
        if (auto* l = qobject_cast<QLabel*>(w)) check(Seen(l->text(), l->buddy() != nullptr));
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) check(Seen(b->text(), true));
        else if (auto* g = qobject_cast<QGroupBox*>(w)) check(Seen(g->title(), true));
    }
    return found;
}

struct DialogCase {
    const char* name;
    int resId;
    unsigned command;
    bool fromList;  // given in the sample list with its first sample selected
};

const DialogCase kCases[] = {
    {"sample names", QDlgDesc::kResId, CM_NAMES, false},
    {"sample definition", 0, cmSampleDefinition, true},
    {"page setup", AStpPgDlg::kResId, CM_PAGESETUP, false},
    {"print", TPrintDialog::kResId, CM_PRINT, false},
};

}  // namespace

TEST(Mnemonics, NoDialogShowsAMarkedLetterAsALiteralAmpersand)
{
    for (const DialogCase& c : kCases) {
        TTestHook hook;
        ShellFixture s;
        RwMainWindow& main = *s.app->GetMainFrame();
        main.ShowWindow(SW_SHOW);
        ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr) << c.name;
        if (c.fromList) {
            auto* list = dynamic_cast<QLView*>(s.app->ShowView("Samples"));
            ASSERT_NE(list, nullptr) << c.name;
            list->SetSelIndex(0);
        }
        std::vector<int> ids = c.resId ? std::vector<int>{c.resId}
                                       : std::vector<int>{QSmpDlg::kQualitativeId, QSmpDlg::kQuantitativeId};
        int shown = 0;
        for (int id : ids)
            hook.AnswerDialog(id, IDCANCEL, [&](TDialog& d) {
                ++shown;
                EXPECT_EQ(LiteralMarks(d), std::vector<std::string>{}) << c.name;
            });
        EXPECT_TRUE(ChooseMenuItem(main, c.command)) << c.name;
        TTestHook::ProcessEvents();
        EXPECT_EQ(shown, 1) << c.name << ": the dialog was not shown";
    }
}
