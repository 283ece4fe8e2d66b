// SPDX-License-Identifier: MIT
#include "RuntimeLock.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A holder letting go removes the file after locking it, so the file locked
// here may have been removed (and another made) since it was opened.
bool StillNamed(int fd, const std::string& path)
{
    struct stat opened = {};
    struct stat named = {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
        opened.st_ino == named.st_ino;
}

}   // namespace

RuntimeLock::RuntimeLock(std::string path) : m_path(std::move(path))
{
}

RuntimeLock::~RuntimeLock()
{
    Unlock();
}

RuntimeLock::Result RuntimeLock::TryLock()
{
    if (m_fd >= 0)
        return Result::Taken;
    // Each retry follows a holder that let go in between; a few are plenty.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return Result::Failed;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            return held ? Result::Held : Result::Failed;
        }
        if (StillNamed(fd, m_path)) {
            // An older copy that reads the file for a process id finds none,
            // and so does not take a lock held here for a stale one.
            if (::ftruncate(fd, 0) != 0) {
                ::close(fd);
                return Result::Failed;
            }
            m_fd = fd;
            return Result::Taken;
        }
        ::close(fd);
    }
    return Result::Failed;
}

void RuntimeLock::Unlock()
{
    if (m_fd < 0)
        return;
    // Removed while still locked, so no copy locks the name after this one
    // and then finds it gone.
    ::unlink(m_path.c_str());
    ::close(m_fd);
    m_fd = -1;
}
