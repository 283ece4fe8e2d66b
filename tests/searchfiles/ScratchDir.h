// SPDX-License-Identifier: MIT
// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes away.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "/" + name; }

    // Creates (or replaces) a file of size bytes written at the given time.
    void MakeFile(const std::string& name, int64_t size = 0, time_t written = 0) const;
    void MakeDir(const std::string& name) const;
    void MakeLink(const std::string& name, const std::string& target) const;

private:
    std::string m_path;
};

// Seconds since the epoch of a local date and time.
time_t LocalTime(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);
