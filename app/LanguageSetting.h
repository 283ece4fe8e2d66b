// SPDX-License-Identifier: MIT
// The language choice in the global settings file, and its place in the
// main window's context menu.
#pragma once

#include "Translations.h"

#include <functional>
#include <string>

class QMenu;
class TForm1;

// Automatic when the file, the section or a known value is missing; an
// unreadable file reads as Automatic too, so the program always starts.
LanguageChoice ReadLanguageChoice(const std::string& globalSettingsFile);
// Throws EIniFileException when the file cannot be written.
void WriteLanguageChoice(const std::string& globalSettingsFile, LanguageChoice choice);

// "Language" with its three items, current checked; choose runs for a pick.
void AddLanguageMenu(QMenu& menu, LanguageChoice current, const std::function<void(LanguageChoice)>& choose);
// The same entry in the main window's context menu: a pick is stored in the
// window's global settings file at once (a write error shows as any other).
void AddLanguageEntry(QMenu& menu, TForm1& window);
