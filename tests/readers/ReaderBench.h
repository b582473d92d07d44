#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../platform/core/TempConfigDir.h"
#include "ReaderEmulator.h"
#include "evaluator/NoValue.h"
#include "platform/core/ProfileFile.h"
#include "readers/QFoto.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"

namespace vyn::test {

// Records what a driver reports, as the progress dialog would show it.
class RecordingProgress : public QFotoProgress {
public:
    void ShowText(const std::string& text) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        texts.push_back(text);
    }
    void ShowCount(int count, int total) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        texts.push_back(" " + std::to_string(count) + (total ? "/" + std::to_string(total) : "") + " ");
    }
    bool ConfirmPlate() override
    {
        ++confirmations;
        return confirmAnswer;
    }
    void Message(const std::string& text, const std::string& caption) override { messages.push_back(caption + ": " + text); }

    std::mutex mutex;
    std::vector<std::string> texts;
    std::vector<std::string> messages;
    int confirmations = 0;
    bool confirmAnswer = true;
};

// A driver of the configured family, its port pointed at an emulated reader, with the
// instrument's waits shortened so that a whole plate takes a fraction of a second.
class ReaderBench : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetReaderTimeScale(2);
        gComm.SetReadTimeout(400);
        gCommSettings = QCommSettings();
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

    // Starts the emulator and makes the driver of type/subType; the port is opened.
    QFoto* Start(const emu::Script& script, int type, int subType)
    {
        emu = std::make_unique<emu::ReaderEmulator>(script);
        EXPECT_TRUE(emu->Ok());
        emu->Start();
        ProfileFile("VYN.INI").Write("ports", "COM1", emu->SlavePath());
        gReaderType = static_cast<std::uint8_t>(type);
        gReaderSubType = static_cast<std::uint8_t>(subType);
        QFoto* driver = CreateReaderDriver();
        driver->progress = &progress;
        gCommSettings.portIndex = 0;
        EXPECT_EQ(gComm.Open(), 0) << gComm.LastErrorText();
        return driver;
    }

    // A measurement as the runner makes it, without the dialog: answers the status and
    // leaves the runner's result text in the last-error text.
    int Measure(QFoto* driver, int wl, int ref, bool useRef, const std::string& options = "")
    {
        values.assign(96, -7.0);
        driver->abort = false;
        QFoto::SetErrorText("");
        driver->SetRequest(values.data(), 8, 12, wl, ref, useRef ? 1 : 0, options);
        driver->BeforeMeasure();
        const int status = driver->Measure();
        if (status == fsDone) driver->AfterMeasure();
        gComm.Close();
        QFoto::ConcludeOperation(status);
        return status;
    }

    static std::string ErrorText() { return QFoto::GetErrorText(); }

    // Compares the measured plate with the expected readings (thousandths; kNoReading
    // for a well that must come back without a value).
    void ExpectPlate(const std::array<int, 96>& expected, const char* what)
    {
        ASSERT_EQ(values.size(), 96u);
        for (int i = 0; i < 96; ++i) {
            const int e = expected[static_cast<std::size_t>(i)];
            if (e == emu::kNoReading) {
                EXPECT_EQ(values[static_cast<std::size_t>(i)], NoValue) << what << ": well " << i;
            } else {
                EXPECT_DOUBLE_EQ(values[static_cast<std::size_t>(i)], e * 0.001) << what << ": well " << i;
            }
        }
    }

    static std::array<int, 96> Ramp(int base)
    {
        std::array<int, 96> p{};
        for (int i = 0; i < 96; ++i) p[static_cast<std::size_t>(i)] = base + (i / 12) * 100 + (i % 12) * 7;
        return p;
    }

    TempConfigDir dir;
    std::unique_ptr<emu::ReaderEmulator> emu;
    RecordingProgress progress;
    std::vector<double> values;
};

}  // namespace vyn::test
