// SPDX-License-Identifier: MIT
// The windows in each language: English captions fit the fixed layouts, the
// settings file does not depend on the language that wrote it, the pick in
// the context menu is stored, and help opens where its reader can read it.
#include "AppTestSupport.h"
#include "CaptionFit.h"
#include "Conversions.h"
#include "HelpViewer.h"
#include "LanguageSetting.h"
#include "MainWindowUi.h"
#include "Translations.h"
#include "Unit2.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Captions cut off by their control or by the window's edge, one
// "name: text" a line.
std::string CutOffCaptions(const QWidget& window)
{
    std::string cut;
    auto check = [&cut](const QWidget& w, const QString& text, int room) {
        if (!text.isEmpty() && CaptionInk(w, text) > room)
            cut += w.objectName().toStdString() + ": " + text.toStdString() + "\n";
    };
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        check(*button, button->text(), CaptionRoom(*button));
    // A group box's title sits inside its frame, a few pixels from each side.
    for (const QGroupBox* box : window.findChildren<QGroupBox*>())
        check(*box, box->title(), box->width() - 8);
    for (const QLabel* label : window.findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        check(*label, label->text(), std::min(label->width(), window.width() - label->x()));
    return cut;
}

// Labels that size themselves and run into a control beside them.
std::string LabelsRunningIntoControls(const QWidget& window)
{
    std::string overlaps;
    for (const QLabel* label : window.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QRect ink(label->pos(), QSize(CaptionInk(*label, label->text()), label->height()));
        for (const QWidget* other : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!qobject_cast<const QLabel*>(other) && ink.intersects(other->geometry()))
                overlaps += label->text().toStdString() + " / " + other->objectName().toStdString() + "\n";
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

    TForm1& MakeFormSpeaking(UiLanguage language, const std::string& file = {})
    {
        InstallLanguage({language, false});
        return MakeForm(file);
    }
};

}   // namespace

TEST_F(LanguageSwitch, EnglishCaptionsFitTheFixedLayoutsWithTheInstalledFonts)
{
    TForm1& form = MakeFormSpeaking(UiLanguage::English, WriteLine("a.dat"));
    ASSERT_EQ(Ui(form).MaskEdit1->toolTip(), QStringLiteral("File name (Enter opens it)"));
    EXPECT_EQ(CutOffCaptions(form), "");
    const TForm2 options(form.State, Script.Make(), form.GlobalSettingsFile());
    ASSERT_EQ(options.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(CutOffCaptions(options), "");
    EXPECT_EQ(LabelsRunningIntoControls(options), "");
}

TEST_F(LanguageSwitch, SettingsFileWrittenUnderOneLanguageReadsBackIdenticallyUnderTheOther)
{
    const std::string data = WriteLine("a.dat");
    std::string written;
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::Japanese, UiLanguage::English}) {
        TForm1& form = MakeFormSpeaking(language, data);
        if (written.empty())   // what the first session changed must survive the others
            Ui(form).TopMostToggle->setChecked(true);
        form.close();
        const std::string bytes = Bytes(form.GlobalSettingsFile());
        if (!written.empty()) {
            EXPECT_EQ(bytes, written);
        }
        written = bytes;
        Form.reset();
    }
    EXPECT_NE(written.find("TopMost=1"), std::string::npos) << written;
    // The built-in filter is a stored text: it keeps its Japanese.
    EXPECT_NE(written.find(TForm1::kBuiltInFileDialogFilter), std::string::npos) << written;
}

TEST_F(LanguageSwitch, ContextMenuStoresThePickInASectionAfterTheOthers)
{
    TForm1& form = MakeForm(WriteLine("a.dat"));
    form.close();
    const std::string file = form.GlobalSettingsFile();
    const std::string before = Bytes(file);

    QMenu menu;
    AddLanguageEntry(menu, form);
    const auto* languages = menu.findChild<QMenu*>(QStringLiteral("languageMenu"));
    ASSERT_NE(languages, nullptr);
    EXPECT_TRUE(languages->findChild<QAction*>(QStringLiteral("auto"))->isChecked());
    languages->findChild<QAction*>(QStringLiteral("en"))->trigger();

    EXPECT_EQ(Bytes(file), before + "[Language]\nChoice=en\n");
    EXPECT_EQ(PlanLanguage(ReadLanguageChoice(file), {QStringLiteral("ja-JP")}).Language, UiLanguage::English);
}

// Also leaves pictures of the windows in both languages for a person to look
// at, in language-screenshots/ beside the test program.
TEST_F(LanguageSwitch, PlotStaysWhileDialogsAndHelpFollowTheLanguage)
{
    const std::string data = WriteLine("a.dat");
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/language-screenshots/");
    std::filesystem::create_directories(dir.toStdString());
    QImage plots[2], dialogs[2];
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        const bool english = language == UiLanguage::English;
        const QString name =
            dir + QStringLiteral("%1-") + (english ? QStringLiteral("en.png") : QStringLiteral("ja.png"));
        TForm1& form = MakeFormSpeaking(language, data);
        form.show();
        plots[english] = form.PlotImage();
        EXPECT_TRUE(form.grab().save(name.arg(QStringLiteral("main"))));

        TForm2 options(form.State, Script.Make(), form.GlobalSettingsFile());
        options.show();
        dialogs[english] = options.grab().toImage();
        EXPECT_TRUE(dialogs[english].save(name.arg(QStringLiteral("options"))));

        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tracely"),
                        ErrorText(EConvertError(EConvertError::Expected::Integer, "x1")) + QStringLiteral("."));
        box.show();
        EXPECT_TRUE(box.grab().save(name.arg(QStringLiteral("message"))));

        form.ShowHelp();
        EXPECT_EQ(form.Help()->source().fragment(), english ? "english" : "contents");
        Form.reset();
    }
    EXPECT_EQ(plots[0], plots[1]);
    EXPECT_NE(dialogs[0], dialogs[1]);
}
