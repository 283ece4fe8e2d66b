// SPDX-License-Identifier: MIT
// The lock that makes one copy of the program the first: an advisory lock
// (flock) on a file in the runtime directory. The kernel lets it go when its
// holder ends, however it ends, so a lock is never stale and nothing has to
// guess from a process id whether its holder still runs. The file is created
// when missing and removed by the holder that lets go.
//
// Nothing is synced to disk: the lock lives no longer than its holder, and
// where the runtime directory is on a disk a sync would cost each start a
// wait for the disk.
#pragma once

#include <string>

class RuntimeLock {
public:
    enum class Result {
        Taken,    // this one holds it now (or already did)
        Held,     // another holds it
        Failed,   // the file cannot be made or locked
    };

    explicit RuntimeLock(std::string path);
    ~RuntimeLock();
    RuntimeLock(const RuntimeLock&) = delete;
    RuntimeLock& operator=(const RuntimeLock&) = delete;

    Result TryLock();
    bool IsLocked() const { return m_fd >= 0; }
    // Removes the file and lets the lock go.
    void Unlock();

private:
    std::string m_path;
    int m_fd = -1;
};
