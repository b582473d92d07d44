#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "readers/ESerExc.h"

namespace vyn {

class TWindow;
class QStopwatch;
class TComm;

// Outcome of a reader operation.
enum QFotoStatus : int { fsDone = 1, fsAborted = 2, fsNoResponse = 3, fsError = 4 };

// The progress window as a driver sees it while an operation runs on the worker thread.
// The runner's dialog implements it; each call may block the worker only briefly.
class QFotoProgress {
public:
    virtual ~QFotoProgress() = default;
    virtual void ShowText(const std::string& text) = 0;
    // count of total; total 0: a count without a total.
    virtual void ShowCount(int count, int total) = 0;
    // Asks the user to insert a plate; false when the user chose "Abort".
    virtual bool ConfirmPlate() = 0;
    virtual void Message(const std::string& text, const std::string& caption) = 0;
};

// Which reader's options dialog to show.
enum class ReaderOptionsKind { Demo, Slt, Mul, Ostrel };
// The options dialogs live in the GUI library, which installs this at start-up. It answers
// 1 when the user changed the text with "OK"; without it no dialog is shown.
using ReaderOptionsDialogFn = int (*)(ReaderOptionsKind kind, TWindow* parent, std::string& options);
void SetReaderOptionsDialog(ReaderOptionsDialogFn fn);
ReaderOptionsDialogFn GetReaderOptionsDialog();

// The reader driver. Its own bodies are the simulated reader used when no reader family is
// configured. Measure, ReadFilters, WriteFilters and MovePlate run on the worker thread and
// report through the progress window; they never throw.
class QFoto {
public:
    QFoto();
    virtual ~QFoto();
    QFoto(const QFoto&) = delete;
    QFoto& operator=(const QFoto&) = delete;

    virtual bool CanReadFilters() { return true; }
    virtual bool CanWriteFilters() { return true; }
    virtual bool CanMovePlate() { return true; }
    // The simulated reader offers a stand-in options button, so that a method can be set up
    // for a reader family on a machine without the instrument.
    virtual bool HasOptions() { return true; }
    virtual int OptionsDialog(TWindow* parent, std::string& options);
    // At most size - 1 bytes, always terminated; returns buffer.
    virtual char* GetOptionsText(char* buffer, int size, const std::string& options);
    virtual QFotoStatus Measure();
    virtual void BeforeMeasure() {}
    virtual void AfterMeasure() {}
    virtual QFotoStatus WriteFilters();
    virtual QFotoStatus ReadFilters();
    // out: eject the plate carrier; else insert it.
    virtual QFotoStatus MovePlate(bool out);

    // The request of a measurement, set by the runner before the worker starts.
    void SetRequest(double* values, int rows, int cols, int wavelength, int refWavelength, int useReference,
                    const std::string& options);

    // Progress reports of the worker thread; nothing happens without a progress window.
    void PostText(int stringId);
    // count of total; total 0 counts without a total (the polls of a reader while it works).
    void PostCount(int count, int total);
    void PostString(const std::string& text);

    // The last-error text shared with the dialogs, at most 255 bytes, under one lock.
    static void SetErrorText(const std::string& text);
    static void SetErrorId(int id);
    static void SetSystemError(int code);
    // From the port the calling worker uses (the global port without a worker).
    static void SetErrorFromPort();
    static void SetErrorFromPort(const TComm& port);
    static char* GetErrorText(char* buffer, int size);
    static std::string GetErrorText();

    // The last step of every operation run: 0 for done, else 1 with the reason in the
    // last-error text ("Aborted.", "Device not responding." or the driver's own).
    static int ConcludeOperation(int status);

    double* values = nullptr;
    int rows = 8;
    int cols = 12;
    int wavelength = 0;
    int refWavelength = 0;
    int useReference = 0;
    std::string options;
    // The progress window of a driver used without the runner; the runner's worker reports
    // through its own job instead.
    QFotoProgress* progress = nullptr;
    // Set by the main thread to stop the worker; polled by the driver. A worker of the runner
    // polls the stop flag of its own job, which no later operation clears.
    std::atomic<bool> abort{false};

protected:
    // The stop request, the port and the progress window of the calling thread's operation.
    bool Aborted() const;
    TComm& Port() const;
    QFotoProgress* Progress() const;
    // A reader wait: sleeps 600 ms at a time until ms have passed, checking the abort flag
    // after each sleep (throws ESerExc kAborted).
    void ReaderWait(long ms);
    // A short pause between commands: busy, no abort check.
    static void Pause(long ms);
    // Throws ESerExc kComm with the port's message when the line reported an error.
    void CheckLine();
    // Writes the bytes; a port failure throws ESerExc kComm with the port's message.
    void SendBytes(const std::string& bytes);
    // One byte within the port's read time-out; throws kTimeout when none came, kComm on a
    // port failure. With a reply stop-watch, the abort flag is honoured once 500 ms of the
    // reply have passed.
    unsigned char ReadByte(const QStopwatch* reply = nullptr);
    void ThrowIfAborted() const;
    // Stores a measured value at row r, column c of the caller's buffer, if it is there.
    void StoreValue(int r, int c, double v);
    // ESerExc to status; bad data sets "Data garbled.".
    static QFotoStatus StatusOf(const ESerExc& e);

private:
    // A simulated wait in steps, ending early (false) when the abort flag is set.
    bool SimWait(long ms);
    QFotoStatus SimAborted();
};

// The exclusive-or of n bytes (n 0: up to the terminating zero byte).
unsigned char Checksum(const char* bytes, std::size_t n);

// Reader configuration, set by the application before the driver is made.
extern std::uint8_t gReaderType;
extern std::uint8_t gReaderSubType;
// The configured reader's display name.
extern std::string gReaderName;
extern std::unique_ptr<QFoto> gReader;

// Builds the driver of gReaderType (1 QFotoSlt, 2 QFotoOstrel, 5 QFotoMul, else the
// simulated reader) into gReader, replacing any earlier one.
QFoto* CreateReaderDriver();
// Deletes gReader (which saves the filter table) once no worker of an operation runs on it any
// more, waiting up to waitMs. A worker that would not stop keeps the driver, which is then
// never deleted; the table is saved all the same. False in that case.
bool ReleaseReaderDriver(int waitMs);
// Whether the last saving of the filter table (at a driver's end) failed.
bool FilterTableSaveFailed();
// The entries of the settings' filter table that the last driver made could not take as
// wavelengths and holds as empty places ("[filters] key=value"); taken once, then empty.
std::vector<std::string> TakeFilterTableNotKept();

// Filter table accessors shared by all drivers.
int GetFilterCount();
int GetFilter(int i);
void SetFilters(const int* values, int n);

}  // namespace vyn
