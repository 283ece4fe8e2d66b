// SPDX-License-Identifier: MIT
// One running copy per user and display. The first copy holds a lock file and
// listens on a local socket, both in the user's private runtime directory; a
// later copy started with NoMulExec on sends its file name there and waits
// until the first copy has loaded and drawn it.
//
// Nothing is ever put in a shared directory such as /tmp: without a runtime
// directory that belongs to the user alone, every copy runs on its own.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class RuntimeLock;
class QSocketNotifier;

// The user's runtime directory when it is a directory owned by this user and
// closed to everyone else; empty otherwise.
std::string PrivateRuntimeDirectory();

// A short, stable key for the graphical session (WAYLAND_DISPLAY, else
// DISPLAY with its screen number dropped), so that two sessions of one user
// keep apart. Eight hex digits.
std::string DisplayKey(const std::string& waylandDisplay, const std::string& x11Display);
std::string CurrentDisplayKey();

struct SingleInstancePaths {
    std::string Lock;
    std::string Socket;
};
// Empty paths when runtimeDir is empty or the socket path would not fit a
// Unix socket address.
SingleInstancePaths SingleInstancePathsFor(const std::string& runtimeDir, const std::string& displayKey);

// Appends one line to the event log given on the command line (--event-log),
// when there is one. The process tests read it to see what a copy did and in
// which order.
void SetEventLog(const std::string& path);
void AppendTestLog(const std::string& event);

class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role {
        Alone,   // no private runtime directory: no lock, no channel
        First,   // holds the lock
        Other,   // another live copy holds the lock
    };
    enum class HandOverResult {
        Acknowledged,   // the first copy has shown the file
        BecameFirst,    // the other copy went away meanwhile; this one holds the lock now
        NotReached,     // no copy answered within the connect deadline
        NoAnswer,       // connected, but the connection ended without an acknowledgement
        NameRefused,    // more than a hand-over carries (a name too long, too many names)
    };
    // The names of one hand-over: one name, or several to be opened together.
    using Receiver = std::function<void(const std::vector<std::string>& names)>;

    // Default paths: the private runtime directory and the current display.
    SingleInstance();
    explicit SingleInstance(SingleInstancePaths paths);
    ~SingleInstance() override;

    const SingleInstancePaths& Paths() const { return m_paths; }

    // Takes the lock when it is free or left behind by a copy that died.
    // Needs no application object.
    Role Claim();

    // Second copy: sends name and waits for the acknowledgement. Connecting is
    // retried until connectDeadlineMs, since the first copy may hold the lock
    // but not listen yet, or be closing and turn the name away; should the
    // lock come free meanwhile, this copy takes it instead. Needs no
    // application object.
    HandOverResult HandOver(const std::string& name, int connectDeadlineMs = 3000, int answerTimeoutMs = 60000);
    // Several names in one frame, to be opened together; one name goes as above.
    HandOverResult HandOver(const std::vector<std::string>& names, int connectDeadlineMs = 3000,
                            int answerTimeoutMs = 60000);

    // First copy, once an application object exists: replaces a socket left
    // by a copy that died and listens. Connections wait unread until Serve.
    bool Listen();
    // Handles every complete frame with receiver, then acknowledges it. A null
    // receiver stops serving (connections then wait again).
    void Serve(Receiver receiver);
    // Closes the channel for good: nothing new connects (a later copy then
    // finds no one listening), and a frame still arriving is turned away
    // unacknowledged. The lock stays held until Release.
    void StopServing();
    // While held (a load under way in the window), connections wait unread;
    // let go, they are served again. A frame being handled is not affected.
    void Hold(bool held);
    // A client that has not sent a whole frame by then is dropped.
    void SetFrameTimeout(int ms) { m_frameTimeoutMs = ms; }

    // Stops listening and releases the lock.
    void Release();

private:
    // Serving and not held.
    bool TakesConnections() const { return m_receiver && !m_held; }
    void TakePendingConnections();
    void CloseListener();
    HandOverResult Send(const std::optional<std::string>& frame, int connectDeadlineMs, int answerTimeoutMs);

    SingleInstancePaths m_paths;
    std::unique_ptr<RuntimeLock> m_lock;
    int m_listenFd = -1;
    QSocketNotifier* m_listener = nullptr;
    Receiver m_receiver;
    bool m_held = false;
    int m_frameTimeoutMs = 5000;
};
