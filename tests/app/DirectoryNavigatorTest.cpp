// SPDX-License-Identifier: MIT
// The navigator on its own, without a window: listing by the absolute
// directory, stepping with wrap-around, the shared wheel count.
#include "DirectoryNavigator.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

class Navigator : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Dir = m_dir.path().toStdString() + "/";
        for (const char* name : {"a.gdw", "b.gdw", "c.gdw", "x.dat"})
            std::ofstream(Dir + name) << "1 2\n";
    }

    QTemporaryDir m_dir;
    std::string Dir;
    PlotState State;
    DirectoryNavigator Nav{State};
};

}   // namespace

TEST_F(Navigator, StepsWrapBothWaysThroughTheFilesOfOneExtensionWithoutMovingTheWorkingDirectory)
{
    const QString cwd = QDir::currentPath();
    Nav.Enter(Dir + "b.gdw");
    EXPECT_EQ(State.CurrentDir, Dir);
    EXPECT_EQ(State.ListingCount, 3);
    EXPECT_EQ(State.ListingIndex, 1);

    EXPECT_EQ(Nav.StepNext(), Dir + "c.gdw");
    EXPECT_EQ(Nav.StepNext(), Dir + "a.gdw");
    EXPECT_EQ(Nav.StepPrevious(), Dir + "c.gdw");
    EXPECT_EQ(Nav.ShownName(), "c.gdw");
    EXPECT_EQ(QDir::currentPath(), cwd);
}

TEST_F(Navigator, RelistSeesNewFilesAndKeepsCurrentDir)
{
    Nav.Enter(Dir + "c.gdw");
    std::ofstream(Dir + "d.gdw") << "1 2\n";
    EXPECT_EQ(Nav.StepNext(), Dir + "a.gdw") << "the listing is not made again by a step";
    Nav.Relist(Dir + "c.gdw");
    EXPECT_EQ(State.ListingCount, 4);
    EXPECT_EQ(Nav.StepNext(), Dir + "d.gdw");
    EXPECT_EQ(State.CurrentDir, Dir);
}

TEST_F(Navigator, EmptyListingRaisesTheListErrorOnAStep)
{
    EXPECT_THROW(Nav.StepNext(), std::exception);
    EXPECT_TRUE(Nav.ShownName().empty());
}

struct WheelCase {
    const char* Label;
    int Unit;
    std::vector<bool> Notches;   // true: toward the user
    std::vector<int> Steps;      // after each notch
};

class NavigatorWheel : public ::testing::TestWithParam<WheelCase> { };

TEST_P(NavigatorWheel, StepsWhenTheSharedCountComesBackToZero)
{
    PlotState state;
    state.UnitWheel = GetParam().Unit;
    DirectoryNavigator nav(state);
    std::vector<int> steps;
    for (const bool forward : GetParam().Notches)
        steps.push_back(nav.WheelNotch(forward));
    EXPECT_EQ(steps, GetParam().Steps);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, NavigatorWheel,
    ::testing::Values(WheelCase{"DownDown", 2, {true, true}, {0, 1}}, WheelCase{"UpUp", 2, {false, false}, {0, -1}},
                      WheelCase{"DownUpStepsBack", 2, {true, false}, {0, -1}},
                      WheelCase{"ThreeDown", 2, {true, true, true}, {0, 1, 0}},
                      WheelCase{"UnitThree", 3, {true, true, true, true, true, false}, {0, 0, 1, 0, 0, 0}},
                      WheelCase{"UnitOne", 1, {true, false}, {1, -1}},
                      WheelCase{"UnitZeroStepsEachNotch", 0, {false, true}, {-1, 1}},
                      WheelCase{"HugeUnitNeverOverflows", 2147483647, {false, false}, {0, 0}}),
    [](const auto& testInfo) { return std::string(testInfo.param.Label); });
