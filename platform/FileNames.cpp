// SPDX-License-Identifier: MIT
#include "FileNames.h"

#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool IsAbsoluteFileName(const std::string& name)
{
    return !name.empty() && name.front() == '/';
}

std::string WorkingDirectory()
{
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return {};
    std::string dir(buffer);
    if (dir.empty() || dir.front() != '/')
        return {};   // "(unreachable)/..." from a directory outside our root
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

std::string CompletedFileName(const std::string& name, const std::string& dir)
{
    if (name.empty())
        return {};
    if (IsAbsoluteFileName(name))
        return name.size() <= kMaxPathName ? name : std::string();
    if (dir.empty() || dir.size() + name.size() > kMaxPathName)
        return {};
    return dir + name;
}

FileKind KindOfFile(const std::string& path)
{
    if (path.empty() || path.size() > kMaxPathName || path.find('\0') != std::string::npos)
        return FileKind::Unusable;
    // A first look keeps devices from being opened at all (a tape rewinds on
    // open); the verdict is then taken on what the open gave, since the name
    // can be swapped for something else in between.
    struct stat named { };
    if (::stat(path.c_str(), &named) != 0)
        return FileKind::Missing;
    if (!S_ISREG(named.st_mode))
        return FileKind::NotRegular;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return FileKind::Missing;
    struct stat opened { };
    const bool regular = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    ::close(fd);
    return regular ? FileKind::Regular : FileKind::NotRegular;
}
