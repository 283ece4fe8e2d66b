// SPDX-License-Identifier: MIT
// Reads the system's font configuration on a thread of its own while the
// application object is made. The first text the window lays out needs it,
// and reading it (the configuration files and the font cache) is some 3 ms
// that would otherwise hold up the first picture.
#pragma once

#include <thread>

class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Waits until the configuration is read. Call before the first widget
    // is made, so the toolkit's own reading finds it done.
    void Wait();

private:
    std::thread m_reader;
};
