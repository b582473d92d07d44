// A plate whose file name is as long as the folder allows (250 bytes and more) is opened,
// saved and exported under such names like any other: the temporary file a save goes through
// takes a shorter name in the same folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QChView.h"
#include "app/RwMainWindow.h"
#include "document/QDoc.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace {

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A menu command that asks for a file name, given file in its dialog.
bool ChooseWithFile(RwMainWindow& main, unsigned id, const std::string& file)
{
    SetFileDialogAnswer([file](bool, const std::string&) { return file; });
    const bool chosen = ChooseMenuItem(main, id);
    SetFileDialogAnswer(nullptr);
    TTestHook::ProcessEvents();
    return chosen;
}

constexpr unsigned kExportData = 2206;

}  // namespace

TEST(LongFileNames, APlateNamedAsLongAsTheFolderAllowsIsSavedAndExported)
{
    TTestHook hook;
    ShellFixture shell;
    RwMainWindow& main = *shell.app->GetMainFrame();
    main.ShowWindow(SW_SHOW);
    TTestHook::ProcessEvents();
    const std::string dir = shell.env.data + "/";
    auto named = [&](char c, const char* ending) { return dir + std::string(250 - 4, c) + ending; };
    const std::string opened = named('a', ".plt"), saved = named('b', ".plt"), exported = named('c', ".txt");
    std::filesystem::copy_file(dir + "Demo.plt", opened);

    ASSERT_TRUE(ChooseWithFile(main, CM_FILEOPEN, opened));
    ASSERT_NE(gCurrentDoc, nullptr);
    EXPECT_EQ(gCurrentDoc->GetDocPath(), opened);
    // Saved under a name of the same length, and again under the name it was opened from.
    ASSERT_TRUE(ChooseWithFile(main, CM_FILESAVEAS, saved));
    EXPECT_EQ(gCurrentDoc->GetDocPath(), saved);
    const std::string plate = Bytes(saved);
    EXPECT_EQ(plate.rfind("MNAM", 0), 0u) << "a whole plate file";
    hook.AnswerMessageBox(IDYES);  // "... already exists. Do you want to replace it?"
    ASSERT_TRUE(ChooseWithFile(main, CM_FILESAVEAS, opened));
    EXPECT_EQ(Bytes(opened), plate);
    ASSERT_EQ(hook.MessageTexts().size(), 1u);
    EXPECT_NE(hook.MessageTexts().back().find("already exists"), std::string::npos);

    // Measured values exported under a long name.
    hook.AnswerDialog(QChView::kResId, IDOK, [](TDialog& d) {
        if (TWindow* measured = d.GetDlgItem(QChView::IDC_MEASURED)) ClickReaches(*measured);
    });
    ASSERT_TRUE(ChooseWithFile(main, kExportData, exported));
    EXPECT_GT(Bytes(exported).size(), 100u);

    std::string left;
    for (const auto& e : std::filesystem::directory_iterator(shell.env.data))
        if (e.path().filename().string().find(".tmp-") != std::string::npos) left += e.path().filename().string();
    EXPECT_EQ(left, "") << "no temporary file left behind";
}
