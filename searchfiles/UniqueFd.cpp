// SPDX-License-Identifier: MIT
#include "UniqueFd.h"

#include <cerrno>

#include <unistd.h>

namespace {

// Closing must not hide the error that made the caller give up on the file.
void CloseKeepingErrno(int fd)
{
    if (fd < 0)
        return;
    const int saved = errno;
    ::close(fd);
    errno = saved;
}

}   // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other) {
        CloseKeepingErrno(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

UniqueFd::~UniqueFd()
{
    CloseKeepingErrno(m_fd);
}
