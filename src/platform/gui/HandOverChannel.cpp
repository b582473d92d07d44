#include "platform/gui/HandOverChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

namespace vyn {

namespace {

void PutU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(const std::string& in, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return v;
}

}  // namespace

// Wire form: data word, size (0: no text; else text length + 1), the text and its zero.
std::string EncodeHandOver(const std::vector<THandOverRecord>& records)
{
    std::string out;
    for (const auto& r : records) {
        PutU32(out, r.data);
        PutU32(out, r.hasPayload ? static_cast<std::uint32_t>(r.payload.size() + 1) : 0);
        if (r.hasPayload) {
            out += r.payload;
            out += '\0';
        }
    }
    return out;
}

bool DecodeHandOver(std::string& buffer, std::vector<THandOverRecord>& records)
{
    std::size_t at = 0;
    while (buffer.size() - at >= 8) {
        const std::uint32_t data = GetU32(buffer, at);
        const std::uint32_t size = GetU32(buffer, at + 4);
        if (size > kHandOverMaxPayload + 1) return false;
        if (buffer.size() - at - 8 < size) break;
        THandOverRecord r;
        r.data = data;
        if (size > 0) {
            if (buffer[at + 8 + size - 1] != '\0') return false;
            r.hasPayload = true;
            r.payload = buffer.substr(at + 8, size - 1);
            // A text ends at its first zero, as the receiver reads it.
            r.payload.resize(std::strlen(r.payload.c_str()));
        }
        records.push_back(std::move(r));
        at += 8 + size;
    }
    buffer.erase(0, at);
    return true;
}

class THandOverServerImpl : public QObject {
public:
    THandOverServerImpl(std::string name, std::function<void(const THandOverRecord&)> onRecord)
        : name_(std::move(name)), onRecord_(std::move(onRecord))
    {
        QObject::connect(&server_, &QLocalServer::newConnection, this, [this] { Accept(); });
    }

    bool Listen()
    {
        if (server_.isListening()) return true;
        QLocalServer::removeServer(QString::fromStdString(name_));
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        return server_.listen(QString::fromStdString(name_));
    }

    QLocalServer server_;

private:
    void Accept()
    {
        while (QLocalSocket* s = server_.nextPendingConnection()) {
            auto buffer = std::make_shared<std::string>();
            QObject::connect(s, &QLocalSocket::readyRead, this, [this, s, buffer] {
                QByteArray bytes = s->readAll();
                buffer->append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
                std::vector<THandOverRecord> records;
                if (!DecodeHandOver(*buffer, records)) {
                    buffer->clear();
                    s->abort();
                }
                for (const auto& r : records)
                    if (onRecord_) onRecord_(r);
            });
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    }

    std::string name_;
    std::function<void(const THandOverRecord&)> onRecord_;
};

THandOverServer::THandOverServer(std::string name, std::function<void(const THandOverRecord&)> onRecord)
    : impl_(std::make_unique<THandOverServerImpl>(std::move(name), std::move(onRecord)))
{
}

THandOverServer::~THandOverServer() = default;

bool THandOverServer::Listen() { return impl_->Listen(); }
bool THandOverServer::IsListening() const { return impl_->server_.isListening(); }
void THandOverServer::Close() { impl_->server_.close(); }

bool SendHandOver(const std::string& name, const std::vector<THandOverRecord>& records, int timeoutMs)
{
    // A second start hands over before it builds any window; the socket needs an application.
    std::unique_ptr<QCoreApplication> core;
    static int argc = 1;
    static char arg0[] = "vyn";
    static char* argv[] = {arg0, nullptr};
    if (!QCoreApplication::instance()) core = std::make_unique<QCoreApplication>(argc, argv);
    QElapsedTimer clock;
    clock.start();
    const std::string bytes = EncodeHandOver(records);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(name));
        const int left = std::max(1, timeoutMs - static_cast<int>(clock.elapsed()));
        if (socket.waitForConnected(left)) {
            socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
            bool ok = bytes.empty() || socket.waitForBytesWritten(std::max(1, timeoutMs - static_cast<int>(clock.elapsed())));
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
            return ok;
        }
        if (clock.elapsed() >= timeoutMs) return false;
        QThread::msleep(50);  // the running instance is not listening yet
    }
}

namespace {

// A folder that only this user can enter, so nobody else can put a socket of the expected name
// in place before the program listens.
bool PrivateFolder(const std::string& dir)
{
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

}  // namespace

std::string HandOverNameFor(const std::string& lockPath)
{
    // A hash of the lock path keeps configurations apart.
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : lockPath) h = (h ^ c) * 1099511628211ull;
    char name[40];
    std::snprintf(name, sizeof name, "/vyn-%016llx", static_cast<unsigned long long>(h));
    // The user's runtime folder; without one, a folder of the user's own in the temporary one.
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime && PrivateFolder(runtime))
        return runtime + std::string(name);
    const std::string own = "/tmp/vyn-" + std::to_string(::getuid());
    ::mkdir(own.c_str(), 0700);
    return PrivateFolder(own) ? own + name : std::string();
}

}  // namespace vyn
