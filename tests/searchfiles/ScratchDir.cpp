// SPDX-License-Identifier: MIT
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "searchfiles-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch directory");
    m_path = buffer.data();
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void ScratchDir::MakeFile(const std::string& name, int64_t size, time_t written) const
{
    const std::string path = PathOf(name);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(ftruncate(fd, size), 0) << path;
    if (written != 0) {
        const timespec times[2] = {{written, 0}, {written, 0}};
        ASSERT_EQ(futimens(fd, times), 0) << path;
    }
    close(fd);
}

void ScratchDir::MakeDir(const std::string& name) const
{
    ASSERT_EQ(mkdir(PathOf(name).c_str(), 0755), 0) << name;
}

void ScratchDir::MakeLink(const std::string& name, const std::string& target) const
{
    ASSERT_EQ(symlink(target.c_str(), PathOf(name).c_str()), 0) << name;
}

time_t LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm local { };
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return mktime(&local);
}
