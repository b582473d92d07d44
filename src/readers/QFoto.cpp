#include "readers/QFoto.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "plate/FilterTable.h"
#include "platform/core/Clock.h"
#include "platform/core/StringTable.h"
#include "readers/QFotoMul.h"
#include "readers/QFotoOstrel.h"
#include "readers/QFotoSlt.h"
#include "readers/ReaderJob.h"
#include "readers/ReaderStrings.h"
#include "readers/ReaderTiming.h"
#include "readers/TComm.h"

namespace vyn {

std::uint8_t gReaderType = 0;
std::uint8_t gReaderSubType = 0;
std::string gReaderName;
std::unique_ptr<QFoto> gReader;

namespace {

constexpr std::size_t kErrorTextMax = 255;
std::mutex gErrorLock;
std::string gErrorText;
ReaderOptionsDialogFn gOptionsDialog = nullptr;
bool gFilterSaveFailed = false;
std::vector<std::string> gFilterNotKept;

void CopyToBuffer(const std::string& text, char* buffer, int size)
{
    if (!buffer || size <= 0) return;
    const std::string cut = CutUtf8(text, static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
}

}  // namespace

void SetReaderOptionsDialog(ReaderOptionsDialogFn fn) { gOptionsDialog = fn; }
ReaderOptionsDialogFn GetReaderOptionsDialog() { return gOptionsDialog; }

unsigned char Checksum(const char* bytes, std::size_t n)
{
    if (!bytes) return 0;
    if (n == 0) n = std::strlen(bytes);
    unsigned char x = 0;
    for (std::size_t i = 0; i < n; ++i) x ^= static_cast<unsigned char>(bytes[i]);
    return x;
}

// A worker reads and writes the copy of the table its job holds; the runner takes a changed
// copy over when the worker has ended in time.
int GetFilterCount()
{
    if (ReaderJob* job = ReaderJob::Current()) return static_cast<int>(job->filters.size());
    return QFilterTable::Instance().GetFilterCount();
}

int GetFilter(int i)
{
    if (ReaderJob* job = ReaderJob::Current())
        return i >= 0 && i < static_cast<int>(job->filters.size()) ? job->filters[static_cast<std::size_t>(i)] : 0;
    return QFilterTable::Instance().GetFilter(i);
}

void SetFilters(const int* values, int n)
{
    if (!values || n < 0) n = 0;
    n = std::min(n, QFilterTable::kMaxFilters);
    if (ReaderJob* job = ReaderJob::Current()) {
        job->filters.assign(values, values + n);
        job->filtersChanged = true;
        return;
    }
    QFilterTable::Instance().SetFilters(std::vector<int>(values, values + n));
}

bool ReleaseReaderDriver(int waitMs)
{
    if (!gReader) return true;
    if (ReaderJob::WaitForWorkers(waitMs)) {
        gReader.reset();
        return true;
    }
    (void)gReader.release();
    gFilterSaveFailed = !QFilterTable::Instance().Save();
    return false;
}

QFoto* CreateReaderDriver()
{
    ReleaseReaderDriver(5000);  // the old driver saves the filter table before the new one reads it
    switch (gReaderType) {
    case 1: gReader = std::make_unique<QFotoSlt>(); break;
    case 2: gReader = std::make_unique<QFotoOstrel>(); break;
    case 5: gReader = std::make_unique<QFotoMul>(); break;
    default: gReader = std::make_unique<QFoto>(); break;
    }
    return gReader.get();
}

// ---- construction -------------------------------------------------------------------------

QFoto::QFoto()
{
    gReaderName = GetResStringStd(idsDemoDevice);
    gFilterNotKept = QFilterTable::Instance().Load();
}

bool FilterTableSaveFailed() { return gFilterSaveFailed; }

std::vector<std::string> TakeFilterTableNotKept() { return std::exchange(gFilterNotKept, {}); }

QFoto::~QFoto() { gFilterSaveFailed = !QFilterTable::Instance().Save(); }

void QFoto::SetRequest(double* v, int r, int c, int wl, int refWl, int useRef, const std::string& opts)
{
    values = v;
    rows = r;
    cols = c;
    wavelength = wl;
    refWavelength = refWl;
    useReference = useRef;
    options = opts;
}

// ---- last-error text ----------------------------------------------------------------------

void QFoto::SetErrorText(const std::string& text)
{
    if (ReaderJob* job = ReaderJob::Current()) {
        job->SetError(CutUtf8(text, kErrorTextMax));
        return;
    }
    std::lock_guard<std::mutex> lock(gErrorLock);
    gErrorText = CutUtf8(text, kErrorTextMax);
}

void QFoto::SetErrorId(int id)
{
    const char* text = FindResString(id);
    SetErrorText(text ? text : GetResStringStd(idsError));
}

void QFoto::SetSystemError(int code)
{
    std::string text = SerialPort::SystemErrorText(code);
    SetErrorText(text.empty() ? GetResStringStd(idsError) : text);
}

void QFoto::SetErrorFromPort()
{
    ReaderJob* job = ReaderJob::Current();
    SetErrorFromPort(job ? job->port : gComm);
}

void QFoto::SetErrorFromPort(const TComm& port)
{
    if (port.LastErrorKind() == TComm::kSystemCode)
        SetSystemError(static_cast<int>(port.LastErrorCode()));
    else
        SetErrorId(static_cast<int>(port.LastErrorCode()));
}

char* QFoto::GetErrorText(char* buffer, int size)
{
    CopyToBuffer(GetErrorText(), buffer, size);
    return buffer;
}

std::string QFoto::GetErrorText()
{
    if (ReaderJob* job = ReaderJob::Current()) {
        std::string text;
        job->TakeError(text);
        return text;
    }
    std::lock_guard<std::mutex> lock(gErrorLock);
    return gErrorText;
}

int QFoto::ConcludeOperation(int status)
{
    switch (status) {
    case fsDone: return 0;
    case fsAborted: SetErrorId(idsAborted); return 1;
    case fsNoResponse: SetErrorId(idsNotResponding); return 1;
    default: return 1;
    }
}

// ---- progress -----------------------------------------------------------------------------

bool QFoto::Aborted() const
{
    if (ReaderJob* job = ReaderJob::Current()) return job->stop;
    return abort;
}

TComm& QFoto::Port() const
{
    ReaderJob* job = ReaderJob::Current();
    return job ? job->port : gComm;
}

QFotoProgress* QFoto::Progress() const
{
    ReaderJob* job = ReaderJob::Current();
    return job ? job->progress.get() : progress;
}

void QFoto::PostText(int stringId)
{
    if (QFotoProgress* p = Progress()) p->ShowText(GetResStringStd(stringId));
}

void QFoto::PostCount(int count, int total)
{
    // A count past its total ("2/1") tells the user nothing true: it is shown as a plain count.
    if (total < count) total = 0;
    if (QFotoProgress* p = Progress()) p->ShowCount(count, total);
}

void QFoto::PostString(const std::string& text)
{
    if (QFotoProgress* p = Progress()) p->ShowText(text);
}

// ---- serial helpers for the families --------------------------------------------------------

void QFoto::ThrowIfAborted() const
{
    if (Aborted()) throw ESerExc(ESerExc::kAborted);
}

void QFoto::ReaderWait(long ms)
{
    const long step = ScaledMs(600);
    const long total = ScaledMs(ms);
    long waited = 0;
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(step));
        waited += step;
        ThrowIfAborted();
    } while (waited < total);
}

void QFoto::Pause(long ms) { WaitMs(ScaledMs(ms)); }

void QFoto::CheckLine()
{
    if (Port().CheckLineError()) {
        SetErrorFromPort();
        throw ESerExc(ESerExc::kComm);
    }
}

void QFoto::SendBytes(const std::string& bytes)
{
    if (Port().Write(bytes)) {
        SetErrorFromPort();
        throw ESerExc(ESerExc::kComm);
    }
}

unsigned char QFoto::ReadByte(const QStopwatch* reply)
{
    if (reply && reply->Passed(ScaledMs(500))) ThrowIfAborted();
    unsigned char b = 0;
    std::size_t got = 0;
    if (Port().Read(&b, 1, got)) {
        SetErrorFromPort();
        throw ESerExc(ESerExc::kComm);
    }
    if (got == 0) throw ESerExc(ESerExc::kTimeout);
    return b;
}

void QFoto::StoreValue(int r, int c, double v)
{
    if (values && r >= 0 && r < rows && c >= 0 && c < cols) values[r * cols + c] = v;
}

QFotoStatus QFoto::StatusOf(const ESerExc& e)
{
    switch (e.Code()) {
    case ESerExc::kTimeout: return fsNoResponse;
    case ESerExc::kAborted: return fsAborted;
    case ESerExc::kBadData: SetErrorId(idsDataGarbled); return fsError;
    default: return fsError;
    }
}

// ---- the simulated reader -----------------------------------------------------------------

bool QFoto::SimWait(long ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ScaledMs(ms));
    while (std::chrono::steady_clock::now() < end) {
        if (Aborted()) return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            end - std::chrono::steady_clock::now(), std::chrono::milliseconds(20)));
    }
    return !Aborted();
}

QFotoStatus QFoto::SimAborted()
{
    SetErrorId(idsAborted);
    return fsAborted;
}

int QFoto::OptionsDialog(TWindow* parent, std::string& opts)
{
    if (gOptionsDialog) gOptionsDialog(ReaderOptionsKind::Demo, parent, opts);
    return 0;
}

char* QFoto::GetOptionsText(char* buffer, int size, const std::string&)
{
    CopyToBuffer("Reader\r\nSpecific\r\nOptions", buffer, size);
    return buffer;
}

QFotoStatus QFoto::Measure()
{
    for (int i = 0; i < 5; ++i) {
        PostText(idsSimMeasureIntro1 + i);
        if (!SimWait(1600)) return SimAborted();
    }
    for (int i = 1; i <= 12; ++i) {
        if (!SimWait(200)) return SimAborted();
        PostCount(i, 12);
    }
    PostText(idsSuccess);
    if (!SimWait(400)) return SimAborted();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) StoreValue(r, c, 0.0);
    SetErrorId(idsSuccess);
    return fsDone;
}

QFotoStatus QFoto::ReadFilters()
{
    PostText(idsSimReadFilters);
    if (!SimWait(1200)) return SimAborted();
    PostText(idsSimEnd);
    if (!SimWait(600)) return SimAborted();
    SetErrorId(idsSimEnd);
    return fsDone;
}

QFotoStatus QFoto::WriteFilters()
{
    PostText(idsSimWriteFilters);
    if (!SimWait(800)) return SimAborted();
    const int n = GetFilterCount();
    for (int i = 1; i <= n; ++i) {
        PostCount(i, n);
        if (!SimWait(700)) return SimAborted();
    }
    if (QFotoProgress* p = Progress()) p->Message(GetResStringStd(idsSimJustTesting), GetResStringStd(idsSimTestCaption));
    SetErrorId(idsSimEnd);
    return fsNoResponse;
}

QFotoStatus QFoto::MovePlate(bool)
{
    PostText(idsSimMoveIntro);
    if (!SimWait(1200)) return SimAborted();
    PostText(idsSimEnd);
    if (!SimWait(600)) return SimAborted();
    return fsDone;
}

}  // namespace vyn
