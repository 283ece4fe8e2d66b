// SPDX-License-Identifier: MIT
// The catalogues and the choice of language: every text has its translation,
// the locale picks the language, and errors are worded in it.
#include "Translations.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "ListError.h"
#include "ProfileFile.h"

#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct CatalogueEntry {
    QString Source, Translation, Type;
};

std::vector<CatalogueEntry> ReadCatalogue(const char* name)
{
    QFile file(QStringLiteral(TRACELY_TRANSLATIONS_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    std::vector<CatalogueEntry> entries;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            entries.push_back({xml.readElementText(), {}, {}});
        } else if (xml.name() == QLatin1String("translation")) {
            entries.back().Type = xml.attributes().value(QLatin1String("type")).toString();
            entries.back().Translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << name << ": " << xml.errorString().toStdString();
    return entries;
}

QStringList Placeholders(const QString& text)
{
    QStringList found;
    for (const auto& match : QRegularExpression(QStringLiteral("%\\d")).globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

bool HasJapanese(const QString& text)
{
    static const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return japanese.match(text).hasMatch();
}

}   // namespace

// No unfinished entry, no placeholder lost; English has no Japanese left,
// and the texts written in Japanese read as written under Japanese.
TEST(Catalogues, EveryTextHasAFinishedTranslationInItsLanguage)
{
    for (const char* name : {"tracely_en.ts", "tracely_ja.ts"}) {
        const bool english = name == std::string("tracely_en.ts");
        const auto entries = ReadCatalogue(name);
        EXPECT_GT(entries.size(), 100u) << name;
        for (const CatalogueEntry& e : entries) {
            const std::string where = std::string(name) + ": " + e.Source.toStdString();
            EXPECT_TRUE(e.Type.isEmpty()) << where << " is " << e.Type.toStdString();
            EXPECT_FALSE(e.Translation.isEmpty()) << where;
            EXPECT_EQ(Placeholders(e.Translation), Placeholders(e.Source)) << where;
            if (english) {
                EXPECT_FALSE(HasJapanese(e.Translation)) << where;
            } else if (HasJapanese(e.Source)) {
                EXPECT_EQ(e.Translation, e.Source) << where;
            }
        }
    }
}

TEST(LanguagePlanning, LocaleDecidesWhenAutomaticAndAChoiceOverridesIt)
{
    struct Case {
        LanguageChoice Choice;
        QStringList Ui;
        UiLanguage Language;
        bool QtTexts;
    };
    const Case cases[] = {
        {LanguageChoice::Automatic, {QStringLiteral("C")}, UiLanguage::Japanese, false},
        {LanguageChoice::Automatic, {}, UiLanguage::Japanese, false},
        {LanguageChoice::Automatic, {QStringLiteral("ja-JP"), QStringLiteral("ja")}, UiLanguage::Japanese, true},
        {LanguageChoice::Automatic, {QStringLiteral("en-US"), QStringLiteral("ja-JP")}, UiLanguage::English, true},
        {LanguageChoice::Automatic, {QStringLiteral("de-DE")}, UiLanguage::English, true},
        {LanguageChoice::English, {QStringLiteral("ja-JP")}, UiLanguage::English, true},
        {LanguageChoice::Japanese, {QStringLiteral("C")}, UiLanguage::Japanese, true},
    };
    for (const Case& c : cases) {
        const LanguagePlan plan = PlanLanguage(c.Choice, c.Ui);
        EXPECT_EQ(plan.Language, c.Language) << c.Ui.join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(plan.QtTexts, c.QtTexts) << c.Ui.join(QLatin1Char(',')).toStdString();
    }
    EXPECT_EQ(LanguageChoiceFromStored("English"), LanguageChoice::Automatic);
}

TEST(LanguageInstalled, TypedErrorsAreWordedInTheInstalledLanguage)
{
    const EConvertError integer(EConvertError::Expected::Integer, "x1");
    const EConvertError number(EConvertError::Expected::Float, "abc");
    const EListError list(0);
    const EIniFileException ini = EIniFileException::CannotWrite("/tmp/t/Tracely.ini");

    InstallLanguage(PlanLanguage(LanguageChoice::Automatic, {QStringLiteral("C")}));
    for (const std::exception* error : std::initializer_list<const std::exception*>{&integer, &number, &list, &ini})
        EXPECT_EQ(ErrorText(*error), QString::fromUtf8(error->what()));

    InstallLanguage({UiLanguage::English, false});
    const QStringList english{ErrorText(integer),
                              ErrorText(number),
                              ErrorText(list),
                              ErrorText(ini),
                              TranslatedText("データファイル(*.dat)"),
                              TranslatedText("測定(*.csv)")};
    // Qt's own texts follow when asked to (the catalogues are installed).
    InstallLanguage({UiLanguage::Japanese, true});
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    InstallLanguage({UiLanguage::Japanese, false});
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(english,
              QStringList({"'x1' is not a valid integer value", "'abc' is not a valid floating point value",
                           "List index out of bounds (0)", "Cannot write /tmp/t/Tracely.ini",
                           // A text no catalogue knows, such as a filter the user wrote, stays.
                           "Data files(*.dat)", "測定(*.csv)"}));
}
