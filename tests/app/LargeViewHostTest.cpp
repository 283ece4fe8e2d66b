// SPDX-License-Identifier: MIT
// The main window's side of the large view: the view follows every paint,
// and whether it was open and where is kept in a section of its own.
#include "AppTestSupport.h"
#include "LargeViewWindow.h"
#include "MainWindowUi.h"
#include "ProfileFile.h"

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
