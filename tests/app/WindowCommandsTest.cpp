// SPDX-License-Identifier: MIT
// The main window's keys and context-menu commands, driven as a user drives
// them: key presses on the active window.
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

namespace {

class WindowCommands : public MainWindowTest {
protected:
    // a.dat, b.dat and c.dat of different lengths, so the shown file is
    // known by its point count; the window shows a.dat, active.
    TForm1& OpenFirst()
    {
        WriteLine("a.dat", 11);
        WriteLine("b.dat", 12);
        WriteLine("c.dat", 13);
        TForm1& form = MakeForm(Dir + "a.dat");
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return form;
    }

    std::size_t ShownPoints() const { return Form->State.Traces[0].Points; }

    void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target, key, modifiers);
        QCoreApplication::processEvents();
    }
};

TEST_F(WindowCommands, KeysStepLikeTheButtonsWithWrapAround)
{
    TForm1& form = OpenFirst();
    QWidget* button = Ui(form).NextFile;   // focus on a button, not an edit
    button->setFocus();
    const struct {
        Qt::Key Key;
        std::size_t Points;
    } steps[] = {
        {Qt::Key_PageDown, 12}, {Qt::Key_Right, 13}, {Qt::Key_PageDown, 11},   // wraps to the first
        {Qt::Key_PageUp, 13},   {Qt::Key_Left, 12},  {Qt::Key_Home, 11},     {Qt::Key_End, 13},
    };
    for (const auto& step : steps) {
        Press(button, step.Key);
        EXPECT_EQ(ShownPoints(), step.Points) << QKeySequence(step.Key).toString().toStdString();
    }
    EXPECT_EQ(Form->State.Traces[1].Points, 11u) << "a step shifts the history as a button's does";
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(WindowCommands, FocusedEditKeepsItsOwnKeys)
{
    TForm1& form = OpenFirst();
    QLineEdit* name = Ui(form).MaskEdit1;
    name->setFocus();
    name->setCursorPosition(0);
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_End, Qt::Key_Home})
        Press(name, key);
    EXPECT_EQ(ShownPoints(), 11u);
    Press(name, Qt::Key_End);
    EXPECT_EQ(name->cursorPosition(), name->text().size()) << "End moved the edit's cursor";
    // Page keys are no edit's: they step from anywhere.
    Press(name, Qt::Key_PageDown);
    EXPECT_EQ(ShownPoints(), 12u);
}

TEST_F(WindowCommands, StepKeysDoNothingWithoutData)
{
    TForm1& form = MakeForm();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End, Qt::Key_F5})
        Press(&form, key);
    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join('\n').toStdString();
    EXPECT_FALSE(form.State.Traces[0].Loaded());
}

TEST_F(WindowCommands, F5ReloadsTheShownFile)
{
    TForm1& form = OpenFirst();
    WriteLine("a.dat", 20);
    Press(&form, Qt::Key_F5);
    EXPECT_EQ(ShownPoints(), 20u);
}

TEST_F(WindowCommands, CopyPlotAndReadouts)
{
    TForm1& form = OpenFirst();
    Press(&form, Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(311, 311));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              form.Picture().copy(70, 1, 311, 311).convertToFormat(QImage::Format_RGB32));

    // Cursor off: only the shown file.
    Press(&form, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(Dir + "a.dat\n"));

    Ui(form).Cursor->setChecked(true);
    form.DisplayXY(200, 150);
    const QString text = form.ReadoutsText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("X\t") + Ui(form).CurrentX->text() + QLatin1Char('\n')))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nY1\t") + Ui(form).CurrentY1->text() + QLatin1Char('\n')));
    EXPECT_FALSE(text.contains(QStringLiteral("Y2\t"))) << "a hidden read-out is not copied";
}

TEST_F(WindowCommands, SavePlotAddsPngAndReportsAFileItCannotWrite)
{
    TForm1& form = OpenFirst();
    Script.SaveAnswer = QString::fromStdString(Dir + "shot");
    Press(&form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Script.SaveSuggested, QString::fromStdString(Dir + "a.png"));
    const QImage saved(QString::fromStdString(Dir + "shot.png"));
    EXPECT_EQ(saved.size(), QSize(311, 311));

    Script.SaveAnswer.clear();   // cancelled: nothing written, nothing said
    Press(&form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(Script.Errors.isEmpty());

    Script.SaveAnswer = QString::fromStdString(Dir + "no-such-dir/shot.png");
    Press(&form, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_TRUE(Script.Errors[0].contains(QStringLiteral("no-such-dir/shot.png")));
    EXPECT_EQ(ShownPoints(), 11u);
}

}   // namespace
