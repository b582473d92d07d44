#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "RunnerFixture.h"
#include "plate/FilterTable.h"
#include "readers/ReaderJob.h"

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

TEST_F(Runner, EveryFamilyMeasuresAgainAndAgainWithItsPortSettings)
{
    struct Case {
        const char* name;
        emu::Family family;
        int type;
    };
    const Case cases[] = {
        {"type 1 on the start-up text 7E2", emu::Family::Slt, 1},
        {"Multiscan locked to 8N1", emu::Family::Mul, 5},
        {"OSTREL locked to 7E2", emu::Family::Ostrel, 2},
    };
    for (const Case& c : cases) {
        gCommSettings = QCommSettings();
        gCommSettings.SetSettingsText("COM1:9600,E,7,2");
        emu::Script script;
        script.family = c.family;
        script.plate = Ramp(100);
        QFoto* driver = StartEmulator(script, c.type);
        const int table[] = {405, 450, 492, 620};
        SetFilters(table, 4);
        for (int run = 1; run <= 3; ++run) {
            std::vector<double> values(96, -7.0);
            AnswerProgress();
            ASSERT_EQ(RunMeasure(*driver, nullptr, values.data(), 8, 12, 405, 0, 0, ""), 0)
                << c.name << ", run " << run << ": " << QFoto::GetErrorText();
            EXPECT_DOUBLE_EQ(values[95], script.plate[95] * 0.001) << c.name << ", run " << run;
        }
        emu.reset();
    }
}

// A reader that stays busy for a while: the dialog counts its status queries without a
// total, and no count it shows ever passes its total ("2/1").
TEST_F(Runner, AReaderThatWorksLongerIsCountedWithoutATotal)
{
    struct Case {
        const char* name;
        emu::Family family;
        int type;
        bool framed;
    };
    const Case cases[] = {
        {"type 1, short dialect", emu::Family::Slt, 1, false},
        {"type 1, framed dialect", emu::Family::Slt, 1, true},
        {"type 2", emu::Family::Ostrel, 2, false},
    };
    for (const Case& c : cases) {
        emu::Script script;
        script.family = c.family;
        script.framed = c.framed;
        script.plate = Ramp(100);
        script.busyPolls = 3;  // counted 1 to 4; the port's first open attempt shows " 5 "
        QFoto* driver = StartEmulator(script, c.type);
        std::vector<double> values(96, -7.0);
        shown.clear();
        AnswerProgress();
        ASSERT_EQ(RunMeasure(*driver, nullptr, values.data(), 8, 12, 405, 0, 0, ""), 0)
            << c.name << ": " << QFoto::GetErrorText();
        int plain = 0;
        for (const std::string& text : shown) {
            int k = 0, n = 0;
            char end = 0;
            if (std::sscanf(text.c_str(), " %d/%d ", &k, &n) == 2) {
                EXPECT_LE(k, n) << c.name << " showed \"" << text << "\"";
                EXPECT_GT(k, 0) << c.name << " showed \"" << text << "\"";
            } else if (std::sscanf(text.c_str(), " %d%c", &k, &end) == 2 && end == ' ' && k >= 2 && k <= 4) {
                ++plain;
            }
        }
        EXPECT_GT(plain, 0) << c.name << ": the waiting reader was not counted";
        emu.reset();
    }
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
    bool sawError = false, seen = false;
    hook.AnswerDialog(4, 0, [&](TDialog& d) {
        auto& dlg = dynamic_cast<QRunnerDlg&>(d);
        WaitFor([&] {
            if (!sawError && dlg.ErrorShown() && dlg.ProgressText() == "Serial port not found.") {
                sawError = true;
                seen = ShowsRedText(*dlg.GetDlgItem(101));
            }
            return dlg.HasEnded();
        }, 9000);
    });
    EXPECT_EQ(RunMovePlate(*driver, nullptr, true, true), 1);
    EXPECT_TRUE(sawError);
    EXPECT_TRUE(seen) << "the failure is on show in red, not only set as the text";
}

// A reader whose first measurement ignores every stop request for longer than the runner
// waits, then writes a whole plate, an error text and a filter table; later measurements
// answer at once.
class StubbornReader : public QFoto {
public:
    QFotoStatus Measure() override
    {
        if (++runs == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5000));
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c) StoreValue(r, c, 5.0);
            SetErrorText("late");
            const int late[] = {999};
            SetFilters(late, 1);
            lateDone = true;
            return fsDone;
        }
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) StoreValue(r, c, 1.0);
        return fsDone;
    }
    std::atomic<int> runs{0};
    std::atomic<bool> lateDone{false};
};

TEST_F(Runner, WorkerGivenUpOnNeverReachesTheNextOperation)
{
    StartEmulator(emu::Script{}, 0);  // a port that opens
    auto driver = std::make_unique<StubbornReader>();
    const int table[] = {405, 450};
    SetFilters(table, 2);

    // The user aborts; the worker does not stop within the wait and is given up on.
    auto first = std::make_unique<std::vector<double>>(96, -7.0);
    AnswerProgress([&](QRunnerDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return driver->runs == 1; }, 3000));
        TTestHook::Click(*dlg.GetDlgItem(IDCANCEL));
    });
    EXPECT_EQ(RunMeasure(*driver, nullptr, first->data(), 8, 12, 405, 0, 0, ""), 1);
    EXPECT_EQ(QFoto::GetErrorText(), "System synchronization problem");
    EXPECT_EQ(first->front(), -7.0);
    first.reset();  // the caller frees its buffer at once, as the measure command does

    // The next operation waits for the reader to be free and then runs alone.
    std::vector<double> second(96, -7.0);
    AnswerProgress({}, 9000);
    EXPECT_EQ(RunMeasure(*driver, nullptr, second.data(), 8, 12, 405, 0, 0, ""), 0) << QFoto::GetErrorText();
    EXPECT_TRUE(driver->lateDone) << "the second worker started only after the first had ended";

    ASSERT_TRUE(ReaderJob::WaitForWorkers(8000));
    for (double v : second) EXPECT_EQ(v, 1.0) << "the late plate went nowhere";
    EXPECT_NE(QFoto::GetErrorText(), "late");
    EXPECT_EQ(QFilterTable::Instance().GetFilterCount(), 2) << "the late table was dropped";
    EXPECT_EQ(GetFilter(0), 405);
}

}  // namespace
}  // namespace vyn::test
