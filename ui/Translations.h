// SPDX-License-Identifier: MIT
// The language the program speaks. Its own texts are written in Japanese
// (the classic window, its tool tips and messages) or in English (the keys,
// the context menu, the large view); one embedded catalogue turns them all
// into English, the other gives the English ones their Japanese.
//
// Stored texts (settings keys and values, the filter in the settings file,
// association entries) never pass through here.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <exception>
#include <string>

// The translation context of the texts that belong to no one window:
// messages, errors, the built-in filter's descriptions.
class AppText {
    Q_DECLARE_TR_FUNCTIONS(AppText)
};

enum class UiLanguage {
    Japanese,
    English
};

// What the user picked in the context menu; Automatic follows the locale.
enum class LanguageChoice {
    Automatic,
    Japanese,
    English
};

struct LanguagePlan {
    UiLanguage Language = UiLanguage::Japanese;
    // Whether Qt's own texts (standard buttons and dialogs) follow. A C or
    // POSIX locale says nothing about the reader, and keeps Qt's defaults.
    bool QtTexts = false;
};

// uiLanguages as QLocale::uiLanguages() gives them, the preferred first.
// Japanese, C, POSIX or nothing at all keep the program's own texts.
LanguagePlan PlanLanguage(LanguageChoice choice, const QStringList& uiLanguages);
LanguagePlan PlanLanguage(LanguageChoice choice);   // for the running locale

// Installs the catalogues of the plan in the application, in place of any
// installed before; widgets made after this speak its language.
void InstallLanguage(const LanguagePlan& plan);
UiLanguage CurrentLanguage();

// The choice as the settings file stores it ("auto", "ja", "en"), and back;
// an unknown text reads as Automatic.
const char* StoredLanguageChoice(LanguageChoice choice);
LanguageChoice LanguageChoiceFromStored(const std::string& text);

// A text made where Qt is not seen (a reader's refusal, a fixed error text),
// in the current language; a text without a translation comes back as it is.
QString TranslatedText(const std::string& text);

// A handler's exception as the user reads it, without the full stop the
// error box adds: typed errors are worded here from their parts.
QString ErrorText(const std::exception& error);
