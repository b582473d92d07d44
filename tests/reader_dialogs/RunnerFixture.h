#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../platform/core/TempConfigDir.h"
#include "ReaderEmulator.h"
#include "ScreenChecks.h"
#include "platform/core/ProfileFile.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "readers/QFoto.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"
#include "reader_dialogs/ReaderRunner.h"

namespace vyn::test {

// A reader operation as the user sees it: the real progress dialog and worker thread, with
// the dialog answered by waiting for its own end. The texts it showed are collected.
class RunnerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetReaderTimeScale(2);
        gComm.SetReadTimeout(400);
        gCommSettings = QCommSettings();
        gReaderType = gReaderSubType = 0;
    }
    void TearDown() override
    {
        gComm.Close();
        gReader.reset();
        emu.reset();
        SetReaderTimeScale(100);
        gComm.SetReadTimeout(800);
        gCommSettings = QCommSettings();
        gReaderType = gReaderSubType = 0;
    }

    // The port COM1 leads to the path.
    static void PointPortAt(const std::string& path) { ProfileFile("VYN.INI").Write("ports", "COM1", path); }

    QFoto* MakeDriver(int type, int subType = 0)
    {
        gReaderType = static_cast<std::uint8_t>(type);
        gReaderSubType = static_cast<std::uint8_t>(subType);
        return CreateReaderDriver();
    }

    QFoto* StartEmulator(const emu::Script& script, int type, int subType = 0)
    {
        emu = std::make_unique<emu::ReaderEmulator>(script);
        EXPECT_TRUE(emu->Ok());
        emu->Start();
        PointPortAt(emu->SlavePath());
        return MakeDriver(type, subType);
    }

    // The next progress dialog waits for its end; act runs once while it is open.
    void AnswerProgress(std::function<void(QRunnerDlg&)> act = {}, int timeoutMs = 8000)
    {
        hook.AnswerDialog(4, 0, [this, act, timeoutMs](TDialog& d) {
            auto& dlg = dynamic_cast<QRunnerDlg&>(d);
            if (act) act(dlg);
            const bool ended = WaitFor(
                [&] {
                    const std::string t = dlg.ProgressText();
                    if (!t.empty() && (shown.empty() || shown.back() != t)) shown.push_back(t);
                    return dlg.HasEnded();
                },
                timeoutMs);
            EXPECT_TRUE(ended) << "the progress dialog did not end";
            if (!ended) dlg.CloseWindow(IDCANCEL);
        });
    }

    // The simulated reader over a port that opens (an emulated reader that is never asked).
    QFoto* SimulatedReader() { return StartEmulator(emu::Script{}, 0); }

    static std::array<int, 96> Ramp(int base)
    {
        std::array<int, 96> p{};
        for (int i = 0; i < 96; ++i) p[static_cast<std::size_t>(i)] = base + (i / 12) * 100 + (i % 12) * 7;
        return p;
    }

    TempConfigDir dir;
    TTestHook hook;
    std::unique_ptr<emu::ReaderEmulator> emu;
    std::vector<std::string> shown;
};

}  // namespace vyn::test
