// SPDX-License-Identifier: MIT
#include "SingleInstance.h"

#include "HandoverFrame.h"
#include "RuntimeLock.h"

#include <QByteArray>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QString>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// FNV-1a: the same key in every process, unlike qHash with its per-process seed.
std::uint32_t StableHash(const std::string& text)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

// The socket address of path; false when the path does not fit one.
bool UnixAddressOf(const std::string& path, sockaddr_un& address)
{
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Connects to the first copy's socket; -1 when nobody listens there.
int ConnectTo(const std::string& socketPath)
{
    sockaddr_un address;
    if (!UnixAddressOf(socketPath, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SendAll(int fd, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

enum class Answer {
    Acknowledged,
    TurnedAway,
    TimedOut
};

// Waits for the one-byte answer. A connection that ends without it was turned
// away (a copy that is closing) or lost with its copy.
Answer AwaitAcknowledgement(int fd, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return Answer::TimedOut;
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return Answer::TimedOut;
        if (ready < 0)
            return Answer::TurnedAway;
        char answer = 0;
        const ssize_t n = ::recv(fd, &answer, 1, 0);
        if (n < 0 && errno == EINTR)
            continue;
        return n == 1 && answer == kHandoverAck ? Answer::Acknowledged : Answer::TurnedAway;
    }
}

// A listening socket at path that only this user can reach; -1 when it
// cannot be made. A socket file already there is replaced: callers hold the
// lock, so it was left by a copy that died.
int ListenOn(const std::string& path)
{
    sockaddr_un address;
    if (!UnixAddressOf(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 16) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Whether the other end of a connected socket is still there.
bool PeerConnected(int fd)
{
    pollfd state{fd, POLLIN | POLLRDHUP, 0};
    if (::poll(&state, 1, 0) < 0)
        return false;
    return (state.revents & (POLLRDHUP | POLLHUP | POLLERR)) == 0;
}

// One client connection of the first copy: at most one frame, then the answer.
class FrameConnection : public QObject {
public:
    using Deliver = std::function<bool(const std::vector<std::string>&)>;
    using Held = std::function<bool()>;

    // Reading starts from the event loop, never inside the caller: delivering
    // may run a message box, which must not happen inside the listener's own
    // notification.
    FrameConnection(int fd, Deliver deliver, Held held, int timeoutMs, QObject* parent)
        : QObject(parent),
          m_fd(fd),
          m_deliver(std::move(deliver)),
          m_held(std::move(held)),
          m_timeoutMs(timeoutMs),
          m_notifier(new QSocketNotifier(static_cast<qintptr>(fd), QSocketNotifier::Read, this))
    {
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { ReadFrame(); });
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] { Finish(); });
        m_timer.start(timeoutMs);
    }

    ~FrameConnection() override { Close(); }

    // Goes on after a hold, with the whole time for the frame again.
    void Resume()
    {
        if (m_busy || m_fd < 0 || m_notifier->isEnabled())
            return;
        m_notifier->setEnabled(true);
        m_timer.start(m_timeoutMs);
    }

private:
    void ReadFrame()
    {
        if (m_busy || m_fd < 0)
            return;
        if (m_held()) {
            // Neither read nor timed out until Resume.
            m_notifier->setEnabled(false);
            m_timer.stop();
            return;
        }
        HandoverFrameDecoder::Status status = m_decoder.CurrentStatus();
        char chunk[2048];
        while (status == HandoverFrameDecoder::Status::NeedMore) {
            const ssize_t n = ::recv(m_fd, chunk, sizeof(chunk), MSG_DONTWAIT);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (n <= 0) {   // the client left before a whole frame, or the socket failed
                Finish();
                return;
            }
            status = m_decoder.Feed(std::string_view(chunk, static_cast<std::size_t>(n)));
        }
        if (status == HandoverFrameDecoder::Status::Invalid) {
            Finish();
            return;
        }
        m_timer.stop();
        m_notifier->setEnabled(false);
        // The receiver may open a message box whose event loop runs while it
        // shows; nothing of this connection may be torn down meanwhile.
        m_busy = true;
        const bool handled = m_deliver(m_decoder.Names());
        m_busy = false;
        if (handled && PeerConnected(m_fd) && ::send(m_fd, &kHandoverAck, 1, MSG_NOSIGNAL | MSG_DONTWAIT) == 1)
            AppendTestLog("acknowledged");
        Finish();
    }

    // Ends the connection; a client still waiting then sees it closed without
    // an answer.
    void Finish()
    {
        if (m_busy || m_fd < 0)
            return;
        m_timer.stop();
        Close();
        deleteLater();
    }

    void Close()
    {
        if (m_fd < 0)
            return;
        // The notifier must go before its descriptor does.
        delete m_notifier;
        m_notifier = nullptr;
        ::close(m_fd);
        m_fd = -1;
    }

    int m_fd;
    Deliver m_deliver;
    Held m_held;
    int m_timeoutMs;
    QSocketNotifier* m_notifier;
    HandoverFrameDecoder m_decoder;
    QTimer m_timer;
    bool m_busy = false;
};

}   // namespace

std::string PrivateRuntimeDirectory()
{
    const std::string dir =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).toStdString();
    if (dir.empty())
        return {};
    // Qt already refuses a directory of another owner or with loose modes; a
    // second look costs nothing and keeps that promise here.
    struct stat info { };
    if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 077) != 0)
        return {};
    return dir;
}

std::string DisplayKey(const std::string& waylandDisplay, const std::string& x11Display)
{
    std::string session;
    if (!waylandDisplay.empty()) {
        session = "wayland:" + waylandDisplay;
    } else if (!x11Display.empty()) {
        // ":0" and ":0.0" are one session.
        session = "x11:" + x11Display;
        const std::size_t colon = session.rfind(':');
        const std::size_t dot = session.find('.', colon);
        if (dot != std::string::npos)
            session.erase(dot);
    }
    char text[9];
    std::snprintf(text, sizeof(text), "%08x", static_cast<unsigned>(StableHash(session)));
    return text;
}

std::string CurrentDisplayKey()
{
    return DisplayKey(EnvironmentValue("WAYLAND_DISPLAY"), EnvironmentValue("DISPLAY"));
}

SingleInstancePaths SingleInstancePathsFor(const std::string& runtimeDir, const std::string& displayKey)
{
    if (runtimeDir.empty())
        return {};
    const std::string stem = runtimeDir + (runtimeDir.back() == '/' ? "" : "/") + TRACELY_APP_ID + "-" + displayKey;
    SingleInstancePaths paths{stem + ".lock", stem + ".sock"};
    if (paths.Socket.size() >= sizeof(sockaddr_un::sun_path))
        return {};
    return paths;
}

namespace {
std::string& EventLogPath()
{
    static std::string path;
    return path;
}
}   // namespace

void SetEventLog(const std::string& path)
{
    EventLogPath() = path;
}

void AppendTestLog(const std::string& event)
{
    const std::string& path = EventLogPath();
    if (path.empty() || path.find('\0') != std::string::npos)
        return;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    // One write per line, so lines of several processes never interleave.
    const std::string line = std::to_string(::getpid()) + " " + event + "\n";
    [[maybe_unused]] const ssize_t ignored = ::write(fd, line.data(), line.size());
    ::close(fd);
}

SingleInstance::SingleInstance()
    : SingleInstance(SingleInstancePathsFor(PrivateRuntimeDirectory(), CurrentDisplayKey()))
{
}

SingleInstance::SingleInstance(SingleInstancePaths paths) : m_paths(std::move(paths))
{
}

SingleInstance::~SingleInstance()
{
    Release();
}

SingleInstance::Role SingleInstance::Claim()
{
    if (m_paths.Lock.empty())
        return Role::Alone;
    if (!m_lock)
        m_lock = std::make_unique<RuntimeLock>(m_paths.Lock);
    switch (m_lock->TryLock()) {
    case RuntimeLock::Result::Taken: return Role::First;
    case RuntimeLock::Result::Held: return Role::Other;
    default: return Role::Alone;
    }
}

SingleInstance::HandOverResult SingleInstance::HandOver(const std::vector<std::string>& names, int connectDeadlineMs,
                                                        int answerTimeoutMs)
{
    if (names.size() <= 1)
        return HandOver(names.empty() ? std::string() : names.front(), connectDeadlineMs, answerTimeoutMs);
    return Send(EncodeHandoverList(names), connectDeadlineMs, answerTimeoutMs);
}

SingleInstance::HandOverResult SingleInstance::HandOver(const std::string& name, int connectDeadlineMs,
                                                        int answerTimeoutMs)
{
    return Send(EncodeHandoverFrame(name), connectDeadlineMs, answerTimeoutMs);
}

SingleInstance::HandOverResult SingleInstance::Send(const std::optional<std::string>& frame, int connectDeadlineMs,
                                                    int answerTimeoutMs)
{
    if (!frame)
        return HandOverResult::NameRefused;
    if (m_paths.Socket.empty())
        return HandOverResult::NotReached;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(connectDeadlineMs);
    for (;;) {
        const int fd = ConnectTo(m_paths.Socket);
        if (fd >= 0) {
            const Answer answer = SendAll(fd, *frame) ? AwaitAcknowledgement(fd, answerTimeoutMs) : Answer::TurnedAway;
            ::close(fd);
            if (answer == Answer::Acknowledged)
                return HandOverResult::Acknowledged;
            // A copy that took the name and never answered may still show
            // it: sending again could open it twice.
            if (answer == Answer::TimedOut)
                return HandOverResult::NoAnswer;
        }
        if (Claim() == Role::First)
            return HandOverResult::BecameFirst;
        if (std::chrono::steady_clock::now() >= deadline)
            return HandOverResult::NotReached;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool SingleInstance::Listen()
{
    if (!m_lock || !m_lock->IsLocked())
        return false;
    if (m_listenFd >= 0)
        return true;
    m_listenFd = ListenOn(m_paths.Socket);
    if (m_listenFd < 0) {
        std::fprintf(stderr, "tracely: cannot listen on %s: %s\n", m_paths.Socket.c_str(), std::strerror(errno));
        return false;
    }
    // Until Serve, connections wait in the socket's queue unread.
    m_listener = new QSocketNotifier(static_cast<qintptr>(m_listenFd), QSocketNotifier::Read, this);
    m_listener->setEnabled(TakesConnections());
    connect(m_listener, &QSocketNotifier::activated, this, [this] { TakePendingConnections(); });
    AppendTestLog("listening");
    return true;
}

void SingleInstance::Serve(Receiver receiver)
{
    m_receiver = std::move(receiver);
    if (m_listener)
        m_listener->setEnabled(TakesConnections());
    TakePendingConnections();
}

void SingleInstance::Hold(bool held)
{
    m_held = held;
    if (m_listener)
        m_listener->setEnabled(TakesConnections());
    if (m_held)
        return;
    for (QObject* child : children())
        if (auto* connection = dynamic_cast<FrameConnection*>(child))
            connection->Resume();
    TakePendingConnections();
}

void SingleInstance::StopServing()
{
    m_receiver = nullptr;
    if (m_listenFd >= 0) {
        // Without the socket's name a later copy no longer connects.
        CloseListener();
        AppendTestLog("stopped serving");
    }
}

void SingleInstance::CloseListener()
{
    if (m_listenFd < 0)
        return;
    // This may run inside the listener's own notification (a message box
    // shown for a handed-over file): it goes once that has returned.
    m_listener->setEnabled(false);
    m_listener->deleteLater();
    m_listener = nullptr;
    ::unlink(m_paths.Socket.c_str());
    ::close(m_listenFd);
    m_listenFd = -1;
}

void SingleInstance::TakePendingConnections()
{
    if (m_listenFd < 0 || !TakesConnections())
        return;
    // A weak reference: a connection may finish after this object is gone
    // from the event loop's point of view (Release during a message box).
    QPointer<SingleInstance> self(this);
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return;   // EAGAIN: none left
        }
        new FrameConnection(
            fd,
            [self](const std::vector<std::string>& names) {
                if (!self || !self->m_receiver)
                    return false;
                // A copy: a message box inside may end the serving and reset m_receiver.
                const Receiver receiver = self->m_receiver;
                receiver(names);
                // A window that began to close meanwhile will not keep the
                // file on the screen: the sender must not be told it did.
                return self && self->m_receiver;
            },
            [self] { return self && self->m_held; }, m_frameTimeoutMs, this);
    }
}

void SingleInstance::Release()
{
    m_receiver = nullptr;
    CloseListener();
    if (m_lock)
        m_lock->Unlock();
}
