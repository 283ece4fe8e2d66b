// SPDX-License-Identifier: MIT
// Follow mode in the real window, with real change notifications: a file
// that grows, a new file of the listing, a folder that goes away.
#include "AppTestSupport.h"
#include "LargeViewWindow.h"
#include "MainWindowUi.h"
#include "ProfileFile.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace {

class FollowMode : public MainWindowTest {
protected:
    // a.dat and b.dat in a folder of their own; the window shows a.dat.
    TForm1& OpenFollowing()
    {
        std::filesystem::create_directory(Run());
        WriteLine("run/a.dat", 11);
        WriteLine("run/b.dat", 12);
        TForm1& form = MakeForm(Run() + "a.dat");
        form.show();
        form.SetFollowing(true);
        return form;
    }

    void Append(const std::string& relative, const std::string& text) const
    {
        std::ofstream(Dir + relative, std::ios::binary | std::ios::app) << text;
    }

    // How the context menu outside the plot shows the entry.
    static std::string FollowEntryInContextMenu(TForm1& form)
    {
        std::string seen = "missing";
        QTimer::singleShot(0, [&seen] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (const QAction* action : menu->actions())
                if (action->text() == QStringLiteral("Follow mode"))
                    seen = std::string(action->isChecked() ? "checked, " : "unchecked, ") +
                        action->shortcut().toString().toStdString();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 420), form.mapToGlobal(QPoint(5, 420)));
        QApplication::sendEvent(&form, &event);
        return seen;
    }

    std::size_t ShownPoints() const { return Form->State.Traces[0].Points; }
    bool WaitForPoints(std::size_t points, int ms = 5000) const
    {
        return QTest::qWaitFor([&] { return ShownPoints() == points; }, ms);
    }

    QRgb MarkerPixel() const { return Form->Picture().pixel(PlotRect.Left + PlotRect.Width - 6, PlotRect.Top + 6); }

    std::string Run() const { return Dir + "run/"; }
};

TEST_F(FollowMode, AppendedLinesExtendTheShownTraceButAHalfLineWaits)
{
    TForm1& form = OpenFollowing();
    Append("run/a.dat", "11 11\n12 12\n13 13\n14 1");
    ASSERT_TRUE(WaitForPoints(14)) << ShownPoints();
    EXPECT_EQ(form.State.Traces[1].Name, "") << "the history does not shift";
    EXPECT_GT(form.State.Traces[0].Table->Capacity(), 14u) << "grown in place from the load, not read again";
    QTest::qWait(400);
    EXPECT_EQ(ShownPoints(), 14u) << "a line without its feed is not read";
    Append("run/a.dat", "00\n");
    ASSERT_TRUE(WaitForPoints(15));
    EXPECT_EQ((*form.State.Traces[0].Table)[1][14], 100.0f);
    EXPECT_EQ(form.State.Axes[1].Upper, 100.0f) << "Auto limits take in the new values";
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(FollowMode, ANewFileIsLoadedAsAStepOnceItStopsGrowing)
{
    TForm1& form = OpenFollowing();
    WriteLine("run/c.dat", 5);
    WriteLine("run/c.txt", 7);   // not of the listing
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.State.Traces[0].Name == Run() + "c.dat"; }, 6000));
    EXPECT_EQ(form.State.Traces[1].Name, Run() + "a.dat");
    EXPECT_EQ(form.State.ListingCount, 3);
    EXPECT_EQ(form.State.ListingIndex, 2);
    EXPECT_EQ(Ui(form).MaskEdit1->text(), QStringLiteral("c.dat"));

    // Now c.dat is the one followed.
    Append("run/c.dat", "5 5\n");
    EXPECT_TRUE(WaitForPoints(6));
}

TEST_F(FollowMode, ANewFileIsFoundWhileTheShownOneKeepsGrowing)
{
    TForm1& form = OpenFollowing();
    WriteLine("run/c.dat", 5);
    // The shown file grows at every look until the new one has settled.
    for (int k = 0; k < 30 && form.State.Traces[0].Name != Run() + "c.dat"; ++k) {
        if (form.State.Traces[0].Name == Run() + "a.dat")
            Append("run/a.dat", "1 1\n");
        QTest::qWait(100);
    }
    EXPECT_EQ(form.State.Traces[0].Name, Run() + "c.dat");
}

TEST_F(FollowMode, ABurstOfNewFilesShowsOnlyTheLastWritten)
{
    TForm1& form = OpenFollowing();
    for (int k = 0; k < 500; ++k)
        WriteLine("run/n" + std::to_string(1000 + k) + ".dat", 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.State.Traces[0].Name != Run() + "a.dat"; }, 8000));
    QTest::qWait(1500);
    EXPECT_EQ(form.State.Traces[1].Name, Run() + "a.dat") << "one load, not five hundred";
    EXPECT_EQ(form.State.ListingCount, 502);
    EXPECT_TRUE(Script.Errors.isEmpty());
}

TEST_F(FollowMode, AFolderThatGoesAwayEndsFollowModeWithOneMessage)
{
    TForm1& form = OpenFollowing();
    std::filesystem::remove_all(Run());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Following(); }, 5000));
    QTest::qWait(300);
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_TRUE(Script.Errors[0].contains(QString::fromStdString(Run()))) << Script.Errors[0].toStdString();
    EXPECT_EQ(ShownPoints(), 11u) << "the history is kept";
}

TEST_F(FollowMode, TheMarkerShowsOnlyWhileOnAndTheKeySwitchesIt)
{
    std::filesystem::create_directory(Run());
    WriteLine("run/a.dat", 11);
    TForm1& form = MakeForm(Run() + "a.dat");
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const QImage off = form.Picture().copy();
    Ui(form).NextFile->setFocus();

    QTest::keyClick(Ui(form).NextFile, Qt::Key_F);
    ASSERT_TRUE(form.Following());
    EXPECT_EQ(MarkerPixel(), 0xFF00A000u);
    EXPECT_EQ(FollowEntryInContextMenu(form), "checked, F");
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    Ui(form).NextFile->setFocus();
    QTest::keyClick(Ui(form).NextFile, Qt::Key_F);
    EXPECT_FALSE(form.Following());
    EXPECT_EQ(form.Picture(), off) << "off, every pixel is as before";

    // In a text edit F is a letter.
    Ui(form).MaskEdit1->setFocus();
    QTest::keyClick(Ui(form).MaskEdit1, Qt::Key_F);
    EXPECT_FALSE(form.Following());
}

TEST_F(FollowMode, TheLargeViewsTitleSaysSo)
{
    TForm1& form = OpenFollowing();
    form.ShowLargeView();
    EXPECT_TRUE(form.LargeView()->windowTitle().endsWith(QStringLiteral(" \u2014 following")));
    form.SetFollowing(false);
    EXPECT_TRUE(form.LargeView()->windowTitle().startsWith(QStringLiteral("a.dat \u2014 ")));
    EXPECT_FALSE(form.LargeView()->windowTitle().contains(QStringLiteral("following")));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tracely"));
}

TEST_F(FollowMode, IsRememberedInASectionOfItsOwnOnlyOnceUsed)
{
    {
        MakeForm().close();
        EXPECT_TRUE(ProfileFile(Form->GlobalSettingsFile()).ReadSectionKeys("Follow").empty());
    }
    Form.reset();
    {
        TForm1& form = MakeForm();
        form.SetFollowing(true);
        form.close();
        EXPECT_TRUE(ProfileFile(form.GlobalSettingsFile()).ReadBool("Follow", "On", false));
    }
    Form.reset();
    EXPECT_TRUE(MakeForm().FollowWasOn());
}

}   // namespace
