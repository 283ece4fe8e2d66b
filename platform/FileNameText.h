// SPDX-License-Identifier: MIT
// File names are bytes; what shows them, and what Qt's file classes take, is
// text decoded by the locale. A name that is not valid in the locale's
// encoding keeps its bytes through QFile's own escape.
#pragma once

#include <QString>

#include <string>

QString FileNameToText(const std::string& name);
std::string TextToFileName(const QString& text);
