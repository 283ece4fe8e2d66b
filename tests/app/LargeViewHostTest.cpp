// SPDX-License-Identifier: MIT
// The main window's side of the large view: the view follows every paint,
// and whether it was open and where is kept in a section of its own.
#include "AppTestSupport.h"
#include "LargeViewWindow.h"
#include "MainWindowUi.h"
#include "ProfileFile.h"

#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using LargeViewHost = MainWindowTest;

TEST_F(LargeViewHost, FollowsTheMainWindowsStepsAndTitle)
{
    const std::string a = WriteLine("a.dat");
    WriteLine("b.dat", 11, 3.0);
    TForm1& form = MakeForm(a);
    form.ShowLargeView();
    LargeViewWindow* view = form.LargeView();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    EXPECT_TRUE(view->windowTitle().startsWith("a.dat")) << view->windowTitle().toStdString();
    const int before = view->Renders();

    Ui(form).NextFile->click();
    Ui(form).NextFile->click();

    EXPECT_TRUE(QTest::qWaitFor([&] { return view->Renders() > before; }, 3000));
    EXPECT_TRUE(view->windowTitle().startsWith("a.dat")) << "two steps wrap back to a.dat";
    view->close();
    EXPECT_EQ(form.State.Traces[0].Name, a) << "closing the view changes nothing in the main window";
}

TEST_F(LargeViewHost, OpenStateAndPlaceSurviveARestartInASectionOfTheirOwn)
{
    {
        TForm1& form = MakeForm();
        form.ShowLargeView();
        form.LargeView()->setGeometry(50, 60, 700, 400);
        form.close();
    }
    const std::string global = Form->GlobalSettingsFile();
    ProfileFile ini(global);
    EXPECT_TRUE(ini.ReadBool("LargeView", "Open", false));
    EXPECT_EQ(ini.ReadInteger("LargeView", "Width", 0), 700);
    EXPECT_EQ(ini.ReadSectionKeys("LargeView").size(), 5u);

    Form.reset();
    TForm1& again = MakeForm();
    EXPECT_TRUE(again.LargeViewWasOpen());
    again.ShowLargeView();
    EXPECT_EQ(again.LargeView()->size(), QSize(700, 400));
}

TEST_F(LargeViewHost, ApplyingTheViewsLimitsSetsThemWholeAndClearsTheAutoBoxes)
{
    const std::string a = WriteLine("a.dat", 101);
    TForm1& form = MakeForm(a);
    form.SetYsItemIndex(1);
    auto box = [&form](const char* name) { return form.findChild<QCheckBox*>(name); };
    ViewLimits limits;
    limits.Axes[0] = {12.345678, 12.345699};   // closer than the limit edits' two decimals
    limits.Axes[1] = {-3, 7};
    limits.Axes[2] = {100, 200};
    form.ApplyViewLimits(limits);
    EXPECT_EQ(form.State.Axes[0].Lower, 12.345678f);
    EXPECT_EQ(form.State.Axes[0].Upper, 12.345699f);
    EXPECT_EQ(form.State.Axes[2].Lower, 100);
    EXPECT_FALSE(box("X0_auto")->isChecked());
    EXPECT_FALSE(box("Y1_auto")->isChecked());
    EXPECT_FALSE(box("Y2_auto")->isChecked());
    EXPECT_TRUE(box("Y3_auto")->isChecked()) << "Y3 is not shown";

    // Linked, every Y takes Y1's range, as Link would.
    box("LinkageYs")->setChecked(true);
    form.ApplyViewLimits(limits);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(form.State.Axes[k].Lower, -3) << k;
        EXPECT_EQ(form.State.Axes[k].Upper, 7) << k;
    }
    EXPECT_FALSE(box("Y3_auto")->isChecked());

    // From the view's menu, the view then follows the main window again.
    form.ShowLargeView();
    LargeViewWindow* view = form.LargeView();
    limits.Axes[0] = {20, 30};
    view->ZoomTo(limits);
    QMenu* menu = view->CreateContextMenu();
    menu->findChild<QAction*>("applyLimits")->trigger();
    delete menu;
    EXPECT_EQ(form.State.Axes[0].Lower, 20);
    EXPECT_EQ(form.State.Axes[0].Upper, 30);
    EXPECT_FALSE(view->Zoomed());
}
