// What a reader, a faulty cable or another device on the port may answer: the drivers of every
// family run an operation against replies held in memory. Each operation ends (a reply that
// never ends times out when the bytes run out), with a status and, for a measurement, only
// readings inside the reader's range or no value.
//
// Input: byte 0 the driver, byte 1 the operation (bits 0-1), the reference (bit 2) and the
// wavelength (bits 3-5), byte 2 the reference wavelength (bits 0-2) and the length of the
// reader options text that follows (bits 3-7); the rest are the replies.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "evaluator/NoValue.h"
#include "plate/FilterTable.h"
#include "readers/MemoryLink.h"
#include "readers/QFotoMul.h"
#include "readers/QFotoOstrel.h"
#include "readers/QFotoSlt.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"

namespace {

using namespace vyn;

constexpr int kWavelengths[8] = {340, 405, 450, 492, 620, 690, 999, 0};
constexpr int kTable[6] = {340, 405, 450, 492, 620, 690};

std::vector<std::unique_ptr<QFoto>>& Drivers()
{
    static std::vector<std::unique_ptr<QFoto>> drivers;
    return drivers;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VYN_CONFIG_DIR", fuzz::ScratchFolder().c_str(), 1);
    SetReaderTimeScale(0);
    // The table outlives the drivers, which save it when they end at exit.
    QFilterTable::Instance();
    auto& d = Drivers();
    gReaderSubType = 0;
    d.push_back(std::make_unique<QFotoSlt>());
    for (std::uint8_t sub = 0; sub < 3; ++sub) {
        gReaderSubType = sub;
        d.push_back(std::make_unique<QFotoOstrel>());
    }
    gReaderSubType = 1;
    d.push_back(std::make_unique<QFotoMul>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3) return 0;
    QFoto& driver = *Drivers()[data[0] % Drivers().size()];
    const int op = data[1] & 3;
    const bool useRef = data[1] & 4;
    const int wl = kWavelengths[(data[1] >> 3) & 7];
    const int refWl = kWavelengths[data[2] & 7];
    const std::size_t optLen = std::min<std::size_t>(data[2] >> 3, size - 3);
    const std::string options(reinterpret_cast<const char*>(data + 3), optLen);
    const std::string_view replies(reinterpret_cast<const char*>(data + 3 + optLen), size - 3 - optLen);

    SetFilters(kTable, 6);
    std::vector<double> values(96, -7.0);
    driver.SetRequest(values.data(), 8, 12, wl, refWl, useRef ? 1 : 0, options);
    MemoryLink link(replies, false);
    gComm.Open(link);
    QFotoStatus status;
    switch (op) {
    case 0:
        driver.BeforeMeasure();
        status = driver.Measure();
        if (status == fsDone) driver.AfterMeasure();
        break;
    case 1: status = driver.ReadFilters(); break;
    case 2: status = driver.WriteFilters(); break;
    default: status = driver.MovePlate(data[1] & 0x80); break;
    }
    gComm.Close();
    if (status < fsDone || status > fsError) std::abort();
    if (op == 0 && status == fsDone) {
        // A reading is a number of optical density (a difference of two with a reference), or
        // none; a well the driver did not fill keeps the caller's value.
        for (double v : values)
            if (!IsNoValue(v) && v != -7.0 && !(std::isfinite(v) && std::fabs(v) <= 10.0)) std::abort();
    }
    if (op == 1 || op == 2) {
        const int n = GetFilterCount();
        if (n < 0 || n > 32) std::abort();
    }
    QFoto::ConcludeOperation(status);
    return 0;
}
