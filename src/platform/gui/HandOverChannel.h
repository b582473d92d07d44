#pragma once
// The channel between instances: a local socket on which a second start hands its file names
// to the running instance as a sequence of records (a 32-bit data word and an optional text),
// the way one window sends another a data copy. The receiver handles every record on the
// main thread, in order.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vyn {

struct THandOverRecord {
    std::uint32_t data = 0;
    bool hasPayload = false;
    std::string payload;  // the text without its terminating zero
    bool operator==(const THandOverRecord&) const = default;
};

class THandOverServerImpl;

class THandOverServer {
public:
    THandOverServer(std::string name, std::function<void(const THandOverRecord&)> onRecord);
    ~THandOverServer();
    THandOverServer(const THandOverServer&) = delete;
    THandOverServer& operator=(const THandOverServer&) = delete;

    // Starts taking connections (a stale socket of a dead instance is removed first).
    bool Listen();
    bool IsListening() const;
    void Close();

private:
    std::unique_ptr<THandOverServerImpl> impl_;
};

// Sends the records to the instance listening on the name, trying to connect until the
// time-out has passed (the running instance may still be setting up its main window). False
// when nobody took them in time.
bool SendHandOver(const std::string& name, const std::vector<THandOverRecord>& records, int timeoutMs);

// The socket path that belongs to a lock file, so that each configuration has its own. It lies
// in a folder only the user can enter; empty when there is none.
std::string HandOverNameFor(const std::string& lockPath);

// The wire form of records and its reading; a record whose text would exceed the limit ends
// the connection's reading (a sender talking nonsense gets nothing handled).
std::string EncodeHandOver(const std::vector<THandOverRecord>& records);
// Takes the complete records from the front of buffer and leaves an incomplete tail. False
// when the buffer holds something that is not a record.
bool DecodeHandOver(std::string& buffer, std::vector<THandOverRecord>& records);
inline constexpr std::size_t kHandOverMaxPayload = 64 * 1024;

}  // namespace vyn
