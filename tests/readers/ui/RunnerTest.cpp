#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "RunnerFixture.h"

namespace vyn::test {
namespace {

class Runner : public RunnerFixture {};

TEST_F(Runner, SimulatedMeasurementFillsTheCallersBufferThroughTheWorker)
{
    QFoto* driver = SimulatedReader();  // the simulated reader needs only a port that opens
    std::vector<double> values(96, -7.0);
    AnswerProgress();
    EXPECT_EQ(RunMeasure(*driver, nullptr, values.data(), 8, 12, 405, 0, 0, ""), 0) << QFoto::GetErrorText();
    for (double v : values) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(driver->wavelength, 405);
    // The counts of the simulation reach the dialog through the worker's sends. A send that
    // times out on a busy machine is dropped by design, so not every count has to arrive, but
    // those that do are counts of this plate, in order.
    int last = 0, counts = 0;
    for (const std::string& text : shown) {
        int k = 0, n = 0;
        if (std::sscanf(text.c_str(), " %d/%d ", &k, &n) != 2) continue;
        EXPECT_EQ(n, 12) << text;
        EXPECT_GT(k, last) << text;
        last = k;
        ++counts;
    }
    EXPECT_GT(counts, 0) << "no count reached the dialog";
    EXPECT_FALSE(gComm.IsOpen()) << "the port is closed after the dialog";
}

TEST_F(Runner, EmulatedReaderMeasuresOverAPseudoTerminal)
{
    emu::Script script;
    script.family = emu::Family::Slt;
    script.plate = Ramp(100);
    QFoto* driver = StartEmulator(script, 1);
    std::vector<double> values(96, -7.0);
    AnswerProgress();
    ASSERT_EQ(RunMeasure(*driver, nullptr, values.data(), 8, 12, 405, 0, 0, ""), 0) << QFoto::GetErrorText();
    for (int i = 0; i < 96; ++i) EXPECT_DOUBLE_EQ(values[static_cast<std::size_t>(i)], script.plate[static_cast<std::size_t>(i)] * 0.001) << "well " << i;
}

TEST_F(Runner, AbortWhileMeasuringEndsAtOnceWithAborted)
{
    SetReaderTimeScale(100);  // the whole simulation would take ten seconds
    QFoto* driver = SimulatedReader();
    std::vector<double> values(96, -7.0);
    AnswerProgress([](QRunnerDlg& dlg) {
        // Once the worker reports, the user presses "Abort".
        ASSERT_TRUE(WaitFor([&] { const std::string t = dlg.ProgressText();
            return !t.empty() && t != "progress" && t[0] != ' ';
        }, 3000));
        TTestHook::Click(*dlg.GetDlgItem(IDCANCEL));
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunMeasure(*driver, nullptr, values.data(), 8, 12, 405, 0, 0, ""), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(QFoto::GetErrorText(), "Aborted.");
    EXPECT_TRUE(driver->abort) << "the worker was told to stop";
    EXPECT_EQ(values[0], -7.0);
}

TEST_F(Runner, MissingPortEndsWithItsMessageAfterFiveAttempts)
{
    PointPortAt("/nonexistent/ttyVYN");
    QFoto* driver = MakeDriver(0);
    AnswerProgress();
    EXPECT_EQ(RunReadFilters(*driver, nullptr), 1);
    EXPECT_EQ(QFoto::GetErrorText(), "Serial port not found.");
    EXPECT_FALSE(driver->abort) << "no worker was started";
    const std::vector<std::string> attempts{"progress", " 5 ", " 4 ", " 3 ", " 2 ", " 1 "};
    EXPECT_EQ(shown, attempts);
}

TEST_F(Runner, ReaderThatNeverAnswersEndsAsNotResponding)
{
    emu::Script script;
    script.family = emu::Family::Slt;
    script.fault = emu::Fault::NoAnswer;
    QFoto* driver = StartEmulator(script, 1);
    std::vector<double> values(96, -7.0);
    AnswerProgress();
    EXPECT_EQ(RunMeasure(*driver, nullptr, values.data(), 8, 12, 405, 0, 0, ""), 1);
    EXPECT_EQ(QFoto::GetErrorText(), "Device not responding.");
}

TEST_F(Runner, AbortBeforeThePortOpenedStillSaysAborted)
{
    PointPortAt("/nonexistent/ttyVYN");
    QFoto* driver = MakeDriver(0);
    AnswerProgress([](QRunnerDlg& dlg) { TTestHook::Click(*dlg.GetDlgItem(IDCANCEL)); });
    EXPECT_EQ(RunReadFilters(*driver, nullptr), 1);
    EXPECT_EQ(QFoto::GetErrorText(), "Aborted.");
}

TEST_F(Runner, KeepOpenShowsTheFailureInTheDialogBeforeClosing)
{
    PointPortAt("/nonexistent/ttyVYN");
    QFoto* driver = MakeDriver(0);
    bool sawError = false;
    hook.AnswerDialog(4, 0, [&](TDialog& d) {
        auto& dlg = dynamic_cast<QRunnerDlg&>(d);
        WaitFor([&] {
            if (dlg.ErrorShown() && dlg.ProgressText() == "Serial port not found.") sawError = true;
            return dlg.HasEnded();
        }, 9000);
    });
    EXPECT_EQ(RunMovePlate(*driver, nullptr, true, true), 1);
    EXPECT_TRUE(sawError);
}

}  // namespace
}  // namespace vyn::test
