// SPDX-License-Identifier: MIT
// main() for the platform tests: one QCoreApplication for the whole run, so
// that the channel tests have an event loop. No display is ever needed.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
