// What the help says, held against what the program shows: every menu a topic names stands on
// the menu bar of the window the topic belongs to, with the item the topic names, and a
// dialog's topic names the buttons the dialog shows and no button it does not have. The topics
// are read from the help window.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/QAppDlg.h"
#include "app/QDlgDesc.h"
#include "app/QSelMet.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "controls/QCalErrDlg.h"
#include "method_editors/CtxWzDlg.h"
#include "platform/core/ResFiles.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/HelpWindow.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "reader_dialogs/QFltDlg.h"
#include "reader_dialogs/QMeaDlg.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "report_designer/RPPrintDialogs.h"
#include "reports/CRepList.h"
#include "reports/QRepDoc.h"
#include "views/QLView.h"
#include "views/QPView.h"

using namespace vyn;

namespace {

// A menu text as the user reads it: without the mnemonic mark, the key shown beside it and
// trailing dots ("&Reports ..." reads "Reports").
std::string Plain(std::string s)
{
    if (const auto tab = s.find('\t'); tab != std::string::npos) s.erase(tab);
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
    return out;
}

// Runs of blanks read as one ("New  >" on a button, "New >" in a sentence).
std::string OneBlank(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    return out;
}

// The menu bar a window shows: each popup's title and its items, and the commands on it.
struct Bar {
    std::map<std::string, std::set<std::string>> popups;
    std::set<unsigned> commands;
};

Bar ShownBar(TWindow& frame)
{
    Bar bar;
    for (const TMenuBarItem& item : MenuBarItems(frame)) {
        const std::size_t slash = item.path.find('/');
        const std::string popup = Plain(item.path.substr(0, slash));
        const std::string text = slash == std::string::npos ? std::string() : Plain(item.path.substr(item.path.rfind('/') + 1));
        bar.popups[popup].insert(text);
        bar.commands.insert(item.id);
    }
    return bar;
}

// The topic as the help window shows it.
std::string TopicText(int id)
{
    ShowHelpTopic(GetHelpFilePath(), id);
    TTestHook::ProcessEvents();
    const std::string text = ShownHelpTopicText();
    CloseHelpWindow();
    TTestHook::ProcessEvents();
    return text;
}

std::vector<int> TopicIds()
{
    std::vector<int> ids;
    std::string html;
    EXPECT_TRUE(ReadResFile(GetHelpFilePath(), html));
    const std::regex anchor("id=\"ctx([0-9]+)\"");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), anchor); it != std::sregex_iterator(); ++it)
        ids.push_back(std::stoi((*it)[1].str()));
    return ids;
}

// The quoted names of a text, in order, each with whether the word "menu" follows it and
// the quoted name that follows it after a comma, if any.
struct Quoted {
    std::string name;
    bool menu;
    std::string next;
};

std::vector<Quoted> QuotedNames(const std::string& text)
{
    std::vector<Quoted> out;
    const std::regex quoted("\"([^\"]+)\"(\\s+menu)?(,\\s*\"([^\"]+)\")?");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), quoted); it != std::sregex_iterator(); ++it)
        out.push_back({(*it)[1].str(), (*it)[2].matched, (*it)[4].matched ? (*it)[4].str() : std::string()});
    return out;
}

struct HelpTextShell : ShellFixture {
    HelpTextShell()
    {
        app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        app->ShowMainWindow();
        TTestHook::ProcessEvents();
        BringToFront(*app->GetMainFrame());
    }
    RwMainWindow& Main() { return *app->GetMainFrame(); }
};

}  // namespace

// A topic names a menu ("Windows" menu) or a menu path ("Definition", "Application") only as the
// menu bar of its window shows it: a command's topic as the bars that carry the command show
// them, a window's topic as that window's bar does.
TEST(HelpTexts, MenusNamedInTopicsAreOnTheMenuBarOfTheirWindow)
{
    TTestHook hook;
    HelpTextShell s;
    std::map<std::string, Bar> bars;
    bars["no plate"] = ShownBar(s.Main());
    s.app->OpenPlate(s.env.data + "/Demo.plt");
    TTestHook::ProcessEvents();
    ASSERT_NE(dynamic_cast<QPView*>(gActiveView), nullptr);
    bars["plate matrix"] = ShownBar(s.Main());
    ASSERT_TRUE(ChooseMenuItem(s.Main(), 2226));
    TTestHook::ProcessEvents();
    bars["calibration curve"] = ShownBar(s.Main());
    ASSERT_TRUE(ChooseMenuItem(s.Main(), 2225));
    TTestHook::ProcessEvents();
    ASSERT_NE(dynamic_cast<QLView*>(gActiveView), nullptr);
    bars["sample list"] = ShownBar(s.Main());
    hook.AnswerDialog(kDlgRepManager, 104);
    hook.AnswerDialog(idRPSecDlg, IDOK);
    ASSERT_TRUE(ChooseMenuItem(s.Main(), 7302));
    TTestHook::ProcessEvents();
    bars["report designer"] = ShownBar(s.Main());
    ASSERT_TRUE(bars["report designer"].commands.count(7301)) << "the designer's bar";

    std::set<std::string> titles;
    for (const auto& [window, bar] : bars)
        for (const auto& [title, items] : bar.popups) titles.insert(title);
    // The topics of windows (not of commands) and the windows they belong to.
    const std::map<int, std::set<std::string>> windowTopics = {
        {3000, {"no plate", "plate matrix"}}, {3240, {"plate matrix"}}, {3241, {"plate matrix"}},
        {3242, {"plate matrix"}},             {3250, {"sample list"}},  {3251, {"sample list"}},
        {3252, {"sample list"}},              {3260, {"calibration curve"}}, {3290, {"report designer"}},
    };

    std::ostringstream wrong;
    for (int id : TopicIds()) {
        const std::string text = TopicText(id);
        std::set<std::string> windows;
        if (auto it = windowTopics.find(id); it != windowTopics.end()) windows = it->second;
        for (const auto& [window, bar] : bars)
            if (bar.commands.count(static_cast<unsigned>(id))) windows.insert(window);
        for (const Quoted& q : QuotedNames(text)) {
            if (!titles.count(q.name) || (!q.menu && q.next.empty())) continue;
            bool shown = false;
            for (const std::string& w : windows) {
                const auto& popups = bars[w].popups;
                const auto popup = popups.find(q.name);
                shown = shown || (popup != popups.end() && (q.next.empty() || popup->second.count(q.next)));
            }
            if (!shown)
                wrong << "topic " << id << " names \"" << q.name << "\"" << (q.next.empty() ? " menu" : ", \"" + q.next + "\"")
                      << (windows.empty() ? " but belongs to no window here" : " which its window's menu bar does not show")
                      << "\n";
        }
    }
    EXPECT_EQ(wrong.str(), "");
    for (QRepView* v = dynamic_cast<QRepView*>(gActiveView); v; v = nullptr) v->Doc().SetDirty(false);
}

// A dialog's topic names the buttons as their faces read, and none of the usual buttons the
// dialog does not show.
TEST(HelpTexts, DialogTopicsNameTheButtonsTheDialogsShow)
{
    TTestHook hook;
    HelpTextShell s;
    TWindow* main = &s.Main();
    CRepList reports(s.env.data + "/none.mrw");
    struct Row {
        const char* name;
        int topic;
        int resId;
        std::function<std::unique_ptr<TDialog>()> make;
        std::vector<int> buttons;
        // What else the dialog shows that its topic speaks of; empty when all is well.
        std::function<std::string(TDialog&, const std::string& topic)> more;
        // Faces a button takes later, as the user works in the dialog.
        std::vector<std::string> later = {};
    };
    const std::vector<Row> rows = {
        {"expression wizard", 3320, 9001, [&] { return std::make_unique<CtxWzDlg>(main, true); }, {1, 2, 104}, {}},
        {"report a plate, printing", 3343, kDlgRepPlate,
         [&] { return std::make_unique<RPPrnPlate>(main, 0, s.app->GetDocManager()); }, {1, 105}, {}},
        {"report a plate, preview", 3343, kDlgRepPlate,
         [&] { return std::make_unique<RPPrnPlate>(main, 1, s.app->GetDocManager()); }, {1, 105}, {}},
        {"report list manipulation", 3339, kDlgRepManager, [&] { return std::make_unique<RPManDlg>(main); },
         {103, 104, 105, 106, 107, 108}, {}},
        {"report description", 3340, kDlgRepName, [&] { return std::make_unique<RPNameDlg>(main, "a", "b", false); },
         {103, 1}, {}},
        {"save to report list", 3341, kDlgRepAdd, [&] { return std::make_unique<RPAddDlg>(main); }, {103, 104}, {}},
        {"report list details", 3342, kDlgRepDetails, [&] { return std::make_unique<RPManMoreDlg>(main, reports); },
         {101, 102}, {}},
        {"report printout mode", 3344, kDlgRepPrintMode,
         [&] { return std::make_unique<RPDefPrnDlg>(main, s.app->GetDocManager()); }, {}, {}},
        {"report sections", 3335, idRPSecDlg, [&] { return std::make_unique<RPSecDlg>(main); }, {1}, {}},
        {"method list updates", 3170, QSelMet::kUpdateId, [&] { return std::make_unique<QSelMet>(main, QSelMet::kUpdateId); },
         {1, 2, 105, 106, 120}, {}, {"OK", "Restore"}},
        {"select a method", 3171, QSelMet::kSelectId, [&] { return std::make_unique<QSelMet>(main, QSelMet::kSelectId); },
         {108, 109, 2}, {}},
        {"add to methods", 3172, QSelMet::kAddId, [&] { return std::make_unique<QSelMet>(main, QSelMet::kAddId); },
         {114, 115, 111}, {}},
        {"measure", 3310, 1, [&] { return std::make_unique<QMeaDlg>(main); }, {108, 109, 1}, {}},
        {"photometer setup", 3311, 2, [&] { return std::make_unique<QFltDlg>(main); }, {102, 103, 1}, {}, {"OK"}},
        {"status", 3220, QCalErrDlg::kResId, [&] { return std::make_unique<QCalErrDlg>(main, false); }, {102, 103, 104},
         {}},
        {"application options", 3161, QAppDlg::kResId, [&] { return std::make_unique<QAppDlg>(main); }, {1, 2},
         [](TDialog& d, const std::string& topic) -> std::string {
             // The page buttons stand one below the other at the left of the page.
             if (topic.find("down the left side") == std::string::npos) return "the page buttons are not placed";
             const TRect page = d.GetDlgItem(200)->GetWindowRect();
             int lastTop = -1;
             for (int id = 101; id <= 106; ++id) {
                 const TRect r = d.GetDlgItem(id)->GetWindowRect();
                 if (r.right > page.left || r.top <= lastTop) return "page button " + std::to_string(id) + " is elsewhere";
                 lastTop = r.top;
             }
             return {};
         }},
    };
    const std::vector<std::string> usual = {"OK", "Cancel", "Finish", "Close", "Insert", "Save", "Print...", "Preview..."};
    // A button's name stands as a word of its own, quoted or not ("OK keeps ...").
    auto names = [](const std::string& text, const std::string& button) {
        std::size_t at = 0;
        auto letter = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
        while ((at = text.find(button, at)) != std::string::npos) {
            const bool before = at > 0 && letter(text[at - 1]);
            const bool after = at + button.size() < text.size() && letter(text[at + button.size()]);
            if (!before && !after) return true;
            at += button.size();
        }
        return false;
    };
    std::map<int, std::set<std::string>> facesOf;
    std::map<int, std::string> topics;
    std::ostringstream wrong;
    for (const Row& row : rows) {
        const std::string topic =
            topics.count(row.topic) ? topics[row.topic] : topics[row.topic] = OneBlank(TopicText(row.topic));
        ASSERT_FALSE(topic.empty()) << row.name;
        hook.AnswerDialog(row.resId, IDCANCEL, [&](TDialog& d) {
            for (TWindow* c : d.Children())
                if (auto* b = dynamic_cast<TButton*>(c); b && !dynamic_cast<TCheckBox*>(c) && b->IsWindowVisible())
                    facesOf[row.topic].insert(OneBlank(ButtonFaceText(*b)));
            for (int id : row.buttons) {
                const std::string face = OneBlank(ButtonFaceText(*d.GetDlgItem(id)));
                if (!names(topic, face))
                    wrong << row.name << ": the topic does not name \"" << face << "\"\n";
            }
            if (row.more)
                if (const std::string m = row.more(d, topic); !m.empty()) wrong << row.name << ": " << m << "\n";
        });
        row.make()->Execute();
        facesOf[row.topic].insert(row.later.begin(), row.later.end());
    }
    for (const auto& [topic, faces] : facesOf)
        for (const std::string& button : usual)
            if (!faces.count(button) && names(topics[topic], button))
                wrong << "topic " << topic << " names a \"" << button << "\" button the dialog does not have\n";
    EXPECT_EQ(wrong.str(), "");
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

// A view's topic names its commands as the view's own menu bar shows them: the calibration
// curve's topic called its fitting command "Calibrate", the plate matrix's name for it, while
// the curve's "Action" menu reads "Calibration".
TEST(HelpTexts, ViewTopicsNameCommandsAsTheViewsMenusShowThem)
{
    TTestHook hook;
    HelpTextShell s;
    s.app->OpenPlate(s.env.data + "/Demo.plt");
    TTestHook::ProcessEvents();
    std::map<int, Bar> bars;
    bars[3240] = ShownBar(s.Main());
    for (const auto& [topic, command] : {std::pair{3250, 2225u}, std::pair{3260, 2226u}}) {
        ASSERT_TRUE(ChooseMenuItem(s.Main(), command));
        TTestHook::ProcessEvents();
        bars[topic] = ShownBar(s.Main());
    }
    std::set<std::string> items;
    for (const auto& [topic, bar] : bars)
        for (const auto& [title, texts] : bar.popups) items.insert(texts.begin(), texts.end());
    std::ostringstream wrong;
    for (const auto& [topic, bar] : bars) {
        std::set<std::string> own;
        for (const auto& [title, texts] : bar.popups) own.insert(texts.begin(), texts.end());
        for (const Quoted& q : QuotedNames(TopicText(topic)))
            if (items.count(q.name) && !own.count(q.name))
                wrong << "topic " << topic << " names \"" << q.name << "\", which its view's menus do not show\n";
    }
    EXPECT_EQ(wrong.str(), "");
}

// "Sample Names": "+/-" switches the reference mark of a name, as the list shows after a click
// on it, and a name is added by typing into the empty last row; the topic said "+/-" adds one.
// "Print Page Setup": the calculations chosen there show in the information block of every
// printout, not only the method's.
TEST(HelpTexts, SampleNamesAndPageSetupTopicsSayWhatTheirControlsDo)
{
    TTestHook hook;
    HelpTextShell s;
    s.app->OpenPlate(s.env.data + "/Demo.plt");
    TTestHook::ProcessEvents();
    std::vector<std::string> first, typed, switched;
    hook.AnswerDialog(QDlgDesc::kResId, IDCANCEL, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(103)));  // the standards' page
        TWindow& list = *d.GetDlgItem(203);
        EXPECT_TRUE(ClickReaches(list, 30, 4));  // its first name
        first = ListRows(list);
        // The empty last row, and a name typed there.
        PressKeys(VK_END);
        TypeText("S2");
        TTestHook::ProcessEvents();
        typed = ListRows(list);
        EXPECT_EQ(ButtonFaceText(*d.GetDlgItem(501)), "+/-");
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(501)));
        TTestHook::ProcessEvents();
        switched = ListRows(list);
    });
    ASSERT_TRUE(ClickMenuItem(s.Main(), "Definition", "Names..."));
    auto rowOf = [](const std::vector<std::string>& rows, const std::string& name) {
        for (const std::string& r : rows)
            if (r.size() >= name.size() && r.compare(r.size() - name.size(), name.size(), name) == 0) return r;
        return std::string();
    };
    ASSERT_EQ(typed.size(), first.size() + 1) << "typed into the empty last row, a name is added";
    ASSERT_EQ(switched.size(), typed.size()) << "\"+/-\" adds no name";
    EXPECT_EQ(rowOf(typed, "S2"), "+\tS2");
    EXPECT_EQ(rowOf(switched, "S2"), "-\tS2") << "\"+/-\" switches the name's reference mark";

    // The sentence of each topic that speaks of the control, and what it must and must not say.
    auto sentence = [](const std::string& text, const std::string& about) {
        const std::size_t at = text.find(about);
        if (at == std::string::npos) return std::string();
        const std::size_t from = text.rfind(". ", at), to = text.find(". ", at);
        return text.substr(from == std::string::npos ? 0 : from + 2, to == std::string::npos ? std::string::npos : to - from);
    };
    const std::string names = OneBlank(TopicText(3140));
    const std::string sign = sentence(names, "\"+/-\"");
    EXPECT_NE(sign.find("reference mark"), std::string::npos) << sign;
    EXPECT_EQ(sign.find("adds"), std::string::npos) << sign;
    EXPECT_NE(names.find("type it into the empty last row"), std::string::npos) << names;
    const std::string setup = OneBlank(TopicText(3300));
    const std::string calculations = sentence(setup, "calculations");
    EXPECT_NE(calculations.find("every printout"), std::string::npos) << calculations;
    EXPECT_EQ(calculations.find("method printout"), std::string::npos) << calculations;
}
