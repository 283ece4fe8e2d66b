// SPDX-License-Identifier: MIT
// The main window and the options dialog in each language: English captions
// fit the fixed layout, the settings file does not depend on the language it
// was written in, and the language picked in the context menu is stored.
#include "AppTestSupport.h"
#include "CaptionFit.h"
#include "Conversions.h"
#include "HelpViewer.h"
#include "LanguageSetting.h"
#include "MainWindowUi.h"
#include "ProfileFile.h"
#include "Translations.h"
#include "Unit2.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every caption of the window's controls that does not fit, as "name: text".
QStringList CutOffCaptions(const QWidget& window)
{
    QStringList cut;
    auto report = [&cut](const QWidget* w, const QString& text, int room) {
        if (!text.isEmpty() && CaptionInk(*w, text) > room)
            cut << QStringLiteral("%1: %2 (%3 > %4)").arg(w->objectName(), text).arg(CaptionInk(*w, text)).arg(room);
    };
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        report(button, button->text(), CaptionRoom(*button));
    for (const QLabel* label : window.findChildren<QLabel*>())
        report(label, label->text(), label->width());
    // A group box's title sits inside its frame, a few pixels from each side.
    for (const QGroupBox* box : window.findChildren<QGroupBox*>())
        report(box, box->title(), box->width() - 8);
    return cut;
}

// Labels that size themselves must not run into a control beside them.
QStringList OverlappingLabels(const QWidget& window)
{
    QStringList overlaps;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->parentWidget() != &window || label->text().isEmpty())
            continue;
        const QRect text(label->pos(), QSize(CaptionInk(*label, label->text()), label->height()));
        if (!window.rect().contains(text))
            overlaps << label->text() + QStringLiteral(" / the window's edge");
        for (const QWidget* other : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != label && !qobject_cast<const QLabel*>(other) && text.intersects(other->geometry()))
                overlaps << label->text() + QStringLiteral(" / ") + other->objectName();
        }
    }
    return overlaps;
}

class LanguageSwitch : public MainWindowTest {
protected:
    void TearDown() override
    {
        MainWindowTest::TearDown();
        InstallLanguage({UiLanguage::Japanese, false});
    }

    static void Speak(UiLanguage language) { InstallLanguage({language, false}); }

    // One session under language: the window opens data, changes what the
    // settings file keeps, and closes; the file's bytes after it.
    std::string SessionUnder(UiLanguage language, const std::string& data)
    {
        Speak(language);
        TForm1& form = MakeForm(data);
        form.State.UnitWheel = language == UiLanguage::English ? 3 : 4;
        Ui(form).TopMostToggle->setChecked(!Ui(form).TopMostToggle->isChecked());
        form.close();
        const std::string file = form.GlobalSettingsFile();
        Form.reset();
        return Bytes(file);
    }
};

}   // namespace

TEST_F(LanguageSwitch, EnglishCaptionsFitTheFixedLayoutsWithTheInstalledFonts)
{
    Speak(UiLanguage::English);
    TForm1& form = MakeForm(WriteLine("a.dat"));
    ASSERT_EQ(Ui(form).MaskEdit1->toolTip(), QStringLiteral("File name (Enter opens it)"));
    EXPECT_EQ(CutOffCaptions(form).join(QLatin1Char('\n')).toStdString(), "");

    TForm2 options(form.State, Script.Make(), form.GlobalSettingsFile());
    ASSERT_EQ(options.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(CutOffCaptions(options).join(QLatin1Char('\n')).toStdString(), "");
    EXPECT_EQ(OverlappingLabels(options).join(QLatin1Char('\n')).toStdString(), "");
}

TEST_F(LanguageSwitch, SettingsFileReadsTheSameWhicheverLanguageWroteIt)
{
    const std::string data = WriteLine("a.dat");
    const std::string english = SessionUnder(UiLanguage::English, data);
    // Stored texts stay as written: the built-in filter keeps its Japanese.
    EXPECT_NE(english.find(TForm1::kBuiltInFileDialogFilter), std::string::npos) << english;

    // Each session flips TopMost and sets its own wheel value; with those
    // put back, a file written under one language is the other's byte for byte.
    auto undoSession = [](std::string bytes, const char* wheel, const char* wheelBefore) {
        const auto at = bytes.find(wheel);
        if (at != std::string::npos)
            bytes.replace(at, std::strlen(wheel), wheelBefore);
        return bytes;
    };
    const std::string japanese = SessionUnder(UiLanguage::Japanese, data);
    const std::string englishAgain = SessionUnder(UiLanguage::English, data);
    EXPECT_EQ(undoSession(japanese, "Wheel=4", "Wheel=3"), undoSession(english, "TopMost=1", "TopMost=0"))
        << japanese << "\n---\n"
        << english;
    EXPECT_EQ(undoSession(englishAgain, "Wheel=3", "Wheel=4"), undoSession(japanese, "TopMost=0", "TopMost=1"));
}

TEST_F(LanguageSwitch, ContextMenuStoresThePickInASectionAfterTheOthers)
{
    TForm1& form = MakeForm(WriteLine("a.dat"));
    form.close();
    const std::string file = form.GlobalSettingsFile();
    const std::string before = Bytes(file);
    EXPECT_EQ(ReadLanguageChoice(file), LanguageChoice::Automatic);

    QMenu menu;
    AddLanguageEntry(menu, form);
    QMenu* languages = menu.findChild<QMenu*>(QStringLiteral("languageMenu"));
    ASSERT_NE(languages, nullptr);
    QAction* automatic = languages->findChild<QAction*>(QStringLiteral("auto"));
    ASSERT_NE(automatic, nullptr);
    EXPECT_TRUE(automatic->isChecked());
    languages->findChild<QAction*>(QStringLiteral("en"))->trigger();

    EXPECT_EQ(ReadLanguageChoice(file), LanguageChoice::English);
    EXPECT_EQ(Bytes(file), before + "[Language]\nChoice=en\n");
    EXPECT_EQ(PlanLanguage(ReadLanguageChoice(file), {QStringLiteral("ja-JP")}).Language, UiLanguage::English);
}

// Pictures of the windows in both languages for a person to look at, in
// language-screenshots/ beside the test program. The plot is the same in
// both; the options dialog speaks each language.
TEST_F(LanguageSwitch, PlotStaysAndTheOptionsDialogChangesWithTheLanguage)
{
    const std::string data = WriteLine("a.dat");
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/language-screenshots/");
    std::filesystem::create_directories(dir.toStdString());
    QImage plots[2], dialogs[2];
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        const QString tag = language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("ja");
        Speak(language);
        TForm1& form = MakeForm(data);
        form.show();
        plots[language == UiLanguage::English] = form.PlotImage();
        EXPECT_TRUE(form.grab().save(dir + QStringLiteral("main-%1.png").arg(tag)));

        TForm2 options(form.State, Script.Make(), form.GlobalSettingsFile());
        options.show();
        dialogs[language == UiLanguage::English] = options.grab().toImage();
        EXPECT_TRUE(dialogs[language == UiLanguage::English].save(dir + QStringLiteral("options-%1.png").arg(tag)));

        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tracely"),
                        ErrorText(EConvertError(EConvertError::Expected::Integer, "x1")) + QStringLiteral("."),
                        QMessageBox::Ok);
        box.show();
        EXPECT_TRUE(box.grab().save(dir + QStringLiteral("message-%1.png").arg(tag)));
        box.hide();
        Form.reset();
    }
    EXPECT_EQ(plots[0], plots[1]);
    EXPECT_NE(dialogs[0], dialogs[1]);
}

TEST_F(LanguageSwitch, HelpOpensTheManualWhereItsReaderCanReadIt)
{
    for (const auto& [language, anchor] :
         {std::pair{UiLanguage::Japanese, "contents"}, std::pair{UiLanguage::English, "english"}}) {
        Speak(language);
        TForm1& form = MakeForm();
        form.ShowHelp();
        ASSERT_NE(form.Help(), nullptr);
        EXPECT_EQ(form.Help()->source().fragment(), QLatin1String(anchor));
        EXPECT_EQ(form.Help()->windowTitle(),
                  language == UiLanguage::English ? QStringLiteral("Tracely Help") : QStringLiteral("Tracely ヘルプ"));
        Form.reset();
    }
}
