// SPDX-License-Identifier: MIT
// printf-style formatting into a new text ("%+.2e", "%+.1e", "%+.4g", "%02d", ...).
#pragma once

#include <string>

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
