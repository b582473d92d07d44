// The user-input layer of tests: input enters at a point of the screen and reaches the widget
// Qt finds there, keys pass Qt's focus chain and shortcut map, and the readers report what is
// painted and shown rather than what a window stores.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolTip>
#include <QWidget>

#include "platform/gui/Application.h"
#include "platform/gui/Dc.h"
#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/MDI.h"
#include "platform/gui/Menu.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {
namespace user_input_test {
namespace {

constexpr unsigned kCalculate = 2211;  // "&Calculate\tF9" on the Plate popup of menu 110
constexpr unsigned kNewPlate = 24331;  // "&New plate\tCtrl+N" on the File popup

// A top-level Qt window placed where no other test window lies.
struct Top {
    QWidget w;
    explicit Top(QRect at)
    {
        w.setGeometry(at);
        w.show();
        w.activateWindow();
        WaitUntil([this] { return w.isActiveWindow(); }, 1000);
    }
};

// A window of ours that paints a text through its DC.
class Painted : public TWindow {
public:
    using TWindow::TWindow;
    void Paint(TDC& dc, bool, TRect&) override { dc.TextOut(4, 4, "Drawn by the window"); }
};

struct Frame {
    TApplication app;
    TTestHook hook;
    std::vector<unsigned> ran;
    bool calculable = true;
    TMDIClient* client = new TMDIClient;
    TMDIFrame frame{"Main frame", 110, *client};

    Frame()
    {
        for (unsigned id : {kCalculate, kNewPlate}) {
            app.OnCommand(id, [this, id] { ran.push_back(id); });
            app.OnCommandEnable(id, [this, id](TCommandEnabler& ce) { ce.Enable(id != kCalculate || calculable); });
        }
        frame.Create();
        frame.MoveWindow(0, 0, 700, 500);
        frame.ShowWindow(SW_SHOW);
        frame.Widget()->activateWindow();
        WaitUntil([this] { return frame.Widget()->isActiveWindow(); }, 1000);
    }
};

TEST(UserInput, AClickGoesToTheWidgetOnTopAtThePoint)
{
    Top t(QRect(900, 50, 300, 300));
    auto* check = new QCheckBox("Covered", &t.w);
    check->setGeometry(20, 20, 120, 24);
    check->show();
    // Declared after the check box, the group box lies over it, as a dialog builder may leave it.
    auto* group = new QGroupBox("Group", &t.w);
    group->setGeometry(10, 5, 200, 60);
    group->show();
    auto* list = new QListWidget(&t.w);
    list->setGeometry(10, 80, 200, 150);
    list->addItems({"first", "second", "third"});
    list->show();
    TTestHook::ProcessEvents();

    EXPECT_EQ(ClickAt(ScreenPoint(check)), group) << "the group box on top takes the click";
    EXPECT_FALSE(check->isChecked());
    group->lower();
    EXPECT_EQ(ClickAt(ScreenPoint(check)), check);
    EXPECT_TRUE(check->isChecked());

    const QRect second = list->visualItemRect(list->item(1));
    EXPECT_EQ(ClickAt(ScreenPoint(list->viewport(), second.center())), list->viewport()) << "a list's viewport takes it";
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(DoubleClickAt(ScreenPoint(list->viewport(), list->visualItemRect(list->item(2)).center())), list->viewport());
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(WidgetAt(QPoint(5000, 5000)), nullptr);
}

TEST(UserInput, KeysPassTheFocusChainAndTheShortcutMap)
{
    Top t(QRect(900, 400, 300, 200));
    auto* first = new QLineEdit(&t.w);
    auto* second = new QLineEdit(&t.w);
    auto* go = new QPushButton("&Go", &t.w);
    first->setGeometry(10, 10, 100, 24);
    second->setGeometry(10, 40, 100, 24);
    go->setGeometry(10, 80, 80, 28);
    for (QWidget* w : {static_cast<QWidget*>(first), static_cast<QWidget*>(second), static_cast<QWidget*>(go)}) w->show();
    int pressed = 0;
    QObject::connect(go, &QPushButton::clicked, [&pressed] { ++pressed; });

    ClickAt(ScreenPoint(first));
    ASSERT_TRUE(first->hasFocus());
    TypeText("Ab1");
    EXPECT_EQ(first->text().toStdString(), "Ab1");
    PressKeys(VK_TAB);
    EXPECT_TRUE(second->hasFocus()) << "Tab went through Qt's focus chain";
    PressKeys(VK_TAB, MK_SHIFT);
    EXPECT_TRUE(first->hasFocus());
    // The button's mnemonic: Qt shows the button pressed for a moment, then it is clicked.
    PressKeys('G', TTestHook::kAlt);
    EXPECT_TRUE(WaitUntil([&pressed] { return pressed == 1; }));
    PressShortcut("Alt+G");
    EXPECT_TRUE(WaitUntil([&pressed] { return pressed == 2; }));
}

TEST(UserInput, MenusByMouseAndAcceleratorsByKeyRunCommandsOnlyWhenEnabled)
{
    Frame f;
    EXPECT_TRUE(ClickMenuItem(f.frame, "Plate", "Calculate"));
    EXPECT_TRUE(ClickMenuItem(f.frame, kNewPlate));
    EXPECT_EQ(f.ran, (std::vector<unsigned>{kCalculate, kNewPlate}));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the popups closed";

    f.ran.clear();
    PressShortcut("F9");
    PressShortcut("Ctrl+N");
    EXPECT_EQ(f.ran, (std::vector<unsigned>{kCalculate, kNewPlate}));

    // Greyed: the popup shows it so, a click and its key do nothing.
    f.ran.clear();
    f.calculable = false;
    EXPECT_TRUE(MenuItemShownGrey(f.frame, kCalculate));
    EXPECT_FALSE(MenuItemShownGrey(f.frame, kNewPlate));
    EXPECT_FALSE(ClickMenuItem(f.frame, kCalculate));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    PressShortcut("F9");
    EXPECT_TRUE(f.ran.empty());
    EXPECT_FALSE(ClickMenuItem(f.frame, "Plate", "No such item"));
}

TEST(UserInput, HoverShowsQtsToolTip)
{
    Top t(QRect(1300, 50, 200, 100));
    auto* button = new QPushButton("Tip", &t.w);
    button->setGeometry(10, 10, 80, 28);
    button->setToolTip("What the button does");
    button->show();
    EXPECT_EQ(HoverAt(ScreenPoint(button)), "What the button does");
    EXPECT_EQ(ShownToolTip(), "What the button does");
    EXPECT_EQ(HoverAt(ScreenPoint(&t.w, QPoint(150, 80)), 300), "") << "no tip over the bare window";
}

TEST(UserInput, ReadersReportWhatIsPaintedAndShown)
{
    Frame f;
    EXPECT_EQ(ShownCaption(f.frame), "Main frame");
    auto* child = new TMDIChild(*f.client, "Plate one", new Painted(nullptr));
    child->Create();
    child->MoveWindow(10, 10, 300, 200);
    TTestHook::ProcessEvents();
    EXPECT_EQ(ShownCaption(*child), "Plate one") << "painted in the child's title bar";
    EXPECT_TRUE(ShowsText(child->Widget(), "Drawn by the window")) << "our own drawing is read as well";
    EXPECT_TRUE(ShownOnScreen(*child));

    auto* status = new TStatusBar(&f.frame, TGadget::Recessed, 0, TFont());
    status->Create();
    f.frame.Insert(*status, TDecoratedFrame::Bottom);
    status->SetText("Ready for input");
    TTestHook::ProcessEvents();
    EXPECT_EQ(StatusLineText(*status), "Ready for input");

    Top t(QRect(1300, 300, 200, 200));
    auto* list = new QListWidget(&t.w);
    list->setGeometry(0, 0, 200, 60);
    for (int i = 0; i < 20; ++i) list->addItem(QString("row %1").arg(i));
    list->show();
    TTestHook::ProcessEvents();
    const std::vector<std::string> rows = ShownLines(list->viewport());
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), "row 0");
    EXPECT_LT(rows.size(), 20u) << "only the rows in view are painted";

    auto* button = new QPushButton("&Apply", &t.w);
    button->setGeometry(0, 100, 80, 28);
    EXPECT_FALSE(ShownOnScreen(button));
    button->show();
    EXPECT_TRUE(ShownOnScreen(button));
    const std::vector<TShownText> face = ShownTexts(button);
    ASSERT_EQ(face.size(), 1u);
    EXPECT_EQ(face[0].text, "Apply") << "the mnemonic mark is not painted";
    EXPECT_EQ(GrabPicture(button).size(), QSize(80, 28));
}

}  // namespace
}  // namespace user_input_test
}  // namespace vyn
