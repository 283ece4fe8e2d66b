// SPDX-License-Identifier: MIT
#include "Translations.h"

#include "Conversions.h"
#include "DataFileReader.h"
#include "ListError.h"
#include "ProfileFile.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <string_view>

namespace {

constexpr const char* kContext = "AppText";

// The texts of the Qt-free libraries and fixed exception texts, listed so that
// lupdate puts them in the catalogues; they are looked up by their text.
[[maybe_unused]] constexpr const char* kQtFreeTexts[] = {
    QT_TRANSLATE_NOOP("AppText", "File name too long"),
    QT_TRANSLATE_NOOP("AppText", "File not found"),
    QT_TRANSLATE_NOOP("AppText", "Not a regular file"),
    QT_TRANSLATE_NOOP("AppText", "Cannot read the file"),
    QT_TRANSLATE_NOOP("AppText", "The file changed while it was read"),
    QT_TRANSLATE_NOOP("AppText", "Allocation Failure!"),
    QT_TRANSLATE_NOOP("AppText", "Not a local file"),
    QT_TRANSLATE_NOOP("AppText", "Cannot write the file"),
    QT_TRANSLATE_NOOP("AppText", "範囲チェックエラー"),
    // The built-in filter's descriptions, translated in the open dialog only.
    QT_TRANSLATE_NOOP("AppText", "GDWファイル(*.gdw)"),
    QT_TRANSLATE_NOOP("AppText", "データファイル(*.dat)"),
    QT_TRANSLATE_NOOP("AppText", "テキストファイル(*.txt)"),
    QT_TRANSLATE_NOOP("AppText", "全てのファイル(*.*)"),
    QT_TRANSLATE_NOOP("AppText", "'' の設定に失敗しました"),
};

// The catalogue finds the reader's refusals by their text: a changed text
// there must be changed here too.
static_assert(std::string_view(kMessageNameTooLong) == "File name too long");
static_assert(std::string_view(kMessageNotFound) == "File not found");
static_assert(std::string_view(kMessageNotRegularFile) == "Not a regular file");
static_assert(std::string_view(kMessageCannotRead) == "Cannot read the file");
static_assert(std::string_view(kMessageFileChanged) == "The file changed while it was read");
static_assert(std::string_view(kMessageAllocationFailure) == "Allocation Failure!");

struct Installed {
    std::unique_ptr<QTranslator> Own;
    std::unique_ptr<QTranslator> Qt;
    UiLanguage Language = UiLanguage::Japanese;
};

Installed& Current()
{
    static Installed installed;
    return installed;
}

std::unique_ptr<QTranslator> Loaded(const QString& file, const QString& directory)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, directory))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

bool SpeaksJapanese(const QString& uiLanguage)
{
    return uiLanguage == QLatin1String("ja") || uiLanguage.startsWith(QLatin1String("ja-")) ||
        uiLanguage.startsWith(QLatin1String("ja_"));
}

bool SaysNothing(const QString& uiLanguage)
{
    return uiLanguage.isEmpty() || uiLanguage == QLatin1String("C") || uiLanguage == QLatin1String("POSIX") ||
        uiLanguage.startsWith(QLatin1String("C.")) || uiLanguage.startsWith(QLatin1String("C-"));
}

}   // namespace

LanguagePlan PlanLanguage(LanguageChoice choice, const QStringList& uiLanguages)
{
    const QString first = uiLanguages.value(0);
    switch (choice) {
    case LanguageChoice::Japanese: return {UiLanguage::Japanese, true};
    case LanguageChoice::English: return {UiLanguage::English, true};
    default: break;
    }
    if (SaysNothing(first))
        return {UiLanguage::Japanese, false};
    return {SpeaksJapanese(first) ? UiLanguage::Japanese : UiLanguage::English, true};
}

LanguagePlan PlanLanguage(LanguageChoice choice)
{
    return PlanLanguage(choice, QLocale::system().uiLanguages());
}

void InstallLanguage(const LanguagePlan& plan)
{
    Installed& installed = Current();
    for (const std::unique_ptr<QTranslator>& t : {std::cref(installed.Own), std::cref(installed.Qt)}) {
        if (t)
            QCoreApplication::removeTranslator(t.get());
    }
    const bool english = plan.Language == UiLanguage::English;
    installed.Own =
        Loaded(english ? QStringLiteral("tracely_en") : QStringLiteral("tracely_ja"), QStringLiteral(":/i18n"));
    installed.Qt = plan.QtTexts ? Loaded(english ? QStringLiteral("qtbase_en") : QStringLiteral("qtbase_ja"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                                : nullptr;
    installed.Language = plan.Language;
}

UiLanguage CurrentLanguage()
{
    return Current().Language;
}

const char* StoredLanguageChoice(LanguageChoice choice)
{
    switch (choice) {
    case LanguageChoice::Japanese: return "ja";
    case LanguageChoice::English: return "en";
    default: return "auto";
    }
}

LanguageChoice LanguageChoiceFromStored(const std::string& text)
{
    if (text == "ja")
        return LanguageChoice::Japanese;
    if (text == "en")
        return LanguageChoice::English;
    return LanguageChoice::Automatic;
}

QString TranslatedText(const std::string& text)
{
    return QCoreApplication::translate(kContext, text.c_str());
}

QString ErrorText(const std::exception& error)
{
    if (const auto* convert = dynamic_cast<const EConvertError*>(&error)) {
        const QString text = QString::fromStdString(convert->Text());
        switch (convert->What()) {
        case EConvertError::Expected::Integer: return AppText::tr("'%1' は整数ではありません").arg(text);
        case EConvertError::Expected::Float: return AppText::tr("'%1' は浮動小数点数ではありません").arg(text);
        default: break;
        }
    }
    if (const auto* list = dynamic_cast<const EListError*>(&error))
        return AppText::tr("リストのインデックスが範囲を超えています (%1)").arg(list->Index());
    if (const auto* ini = dynamic_cast<const EIniFileException*>(&error); ini && !ini->Path().empty())
        return AppText::tr("%1 に書き込めません").arg(QString::fromStdString(ini->Path()));
    return TranslatedText(error.what());
}
