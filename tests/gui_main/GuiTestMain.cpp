// SPDX-License-Identifier: MIT
// main() for the widget tests: one QApplication for the whole run, offscreen
// unless the caller chose a platform (gtest_discover_tests runs the binary at
// build time, where no display exists).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
