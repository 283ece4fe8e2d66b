// SPDX-License-Identifier: MIT
#include "LanguageSetting.h"

#include "ProfileFile.h"
#include "SettingsKeys.h"
#include "Unit1.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <exception>

namespace {

// The context menu's commands are a table of plain texts (WindowCommands.cpp)
// translated where the menu is made; listed here so lupdate finds them.
[[maybe_unused]] constexpr const char* kCommandTexts[] = {
    QT_TRANSLATE_NOOP("TForm1", "Next file"),
    QT_TRANSLATE_NOOP("TForm1", "Previous file"),
    QT_TRANSLATE_NOOP("TForm1", "First file"),
    QT_TRANSLATE_NOOP("TForm1", "Last file"),
    QT_TRANSLATE_NOOP("TForm1", "ReDraw"),
    QT_TRANSLATE_NOOP("TForm1", "Open..."),
    QT_TRANSLATE_NOOP("TForm1", "Copy plot"),
    QT_TRANSLATE_NOOP("TForm1", "Copy read-outs and file names"),
    QT_TRANSLATE_NOOP("TForm1", "Save plot as PNG..."),
    QT_TRANSLATE_NOOP("TForm1", "Large view"),
    QT_TRANSLATE_NOOP("TForm1", "Follow mode"),
    QT_TRANSLATE_NOOP("TForm1", "Help"),
};

}   // namespace

LanguageChoice ReadLanguageChoice(const std::string& globalSettingsFile)
{
    try {
        return LanguageChoiceFromStored(
            ProfileFile(globalSettingsFile, ProfileFile::Links::Follow)
                .ReadString(kLanguageSection, kLanguageChoiceKey, StoredLanguageChoice(LanguageChoice::Automatic)));
    } catch (const std::exception&) {
        return LanguageChoice::Automatic;
    }
}

void WriteLanguageChoice(const std::string& globalSettingsFile, LanguageChoice choice)
{
    ProfileFile(globalSettingsFile, ProfileFile::Links::Follow)
        .WriteString(kLanguageSection, kLanguageChoiceKey, StoredLanguageChoice(choice));
}

void AddLanguageMenu(QMenu& menu, LanguageChoice current, const std::function<void(LanguageChoice)>& choose)
{
    QMenu* languages = menu.addMenu(AppText::tr("Language"));
    languages->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(languages);
    // Each language is named in itself, so a reader finds their own whatever
    // the window speaks now; the pick takes effect at the next start.
    const std::pair<LanguageChoice, QString> items[] = {
        {LanguageChoice::Automatic, AppText::tr("Automatic")},
        {LanguageChoice::Japanese, QStringLiteral("日本語")},
        {LanguageChoice::English, QStringLiteral("English")},
    };
    for (const auto& [choice, text] : items) {
        QAction* action = languages->addAction(text, [choose, value = choice] { choose(value); });
        action->setObjectName(QString::fromLatin1(StoredLanguageChoice(choice)));
        action->setCheckable(true);
        action->setChecked(choice == current);
        group->addAction(action);
    }
}

void AddLanguageEntry(QMenu& menu, TForm1& window)
{
    menu.addSeparator();
    AddLanguageMenu(menu, ReadLanguageChoice(window.GlobalSettingsFile()), [&window](LanguageChoice choice) {
        window.Guarded([&window, choice] { WriteLanguageChoice(window.GlobalSettingsFile(), choice); });
    });
}
