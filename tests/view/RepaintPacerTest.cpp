// SPDX-License-Identifier: MIT
#include "RepaintPacer.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>

TEST(RepaintPacer, RequestsBetweenPaintsFoldIntoOneRepaint)
{
    int repaints = 0;
    RepaintPacer pacer([&] { ++repaints; }, nullptr);
    for (int i = 0; i < 50; ++i)
        pacer.Request();
    EXPECT_TRUE(QTest::qWaitFor([&] { return repaints > 0; }, 1000));
    QTest::qWait(50);
    EXPECT_EQ(repaints, 1);
}

TEST(RepaintPacer, SlowPictureWaitsEightTimesItsCostButTheLastRequestIsServed)
{
    int repaints = 0;
    RepaintPacer pacer([&] { ++repaints; }, nullptr);
    pacer.SetFrameInterval(1'000'000);
    pacer.Painted(40'000'000);   // a 40 ms picture: the next one no sooner than 320 ms on
    pacer.Request();
    QTest::qWait(150);
    EXPECT_EQ(repaints, 0) << "repainted while the window it follows still needs the time";
    pacer.Request();
    EXPECT_TRUE(QTest::qWaitFor([&] { return repaints == 1; }, 2000)) << "the stale picture was never repainted";
    QTest::qWait(50);
    EXPECT_EQ(repaints, 1);
}

TEST(RepaintPacer, NoMoreThanOneRepaintPerFrame)
{
    int repaints = 0;
    RepaintPacer* paced = nullptr;
    RepaintPacer pacer(
        [&] {
            ++repaints;
            paced->Painted(0);   // an instant picture: only the frame limits
        },
        nullptr);
    paced = &pacer;
    pacer.SetFrameInterval(100'000'000);   // 10 frames a second
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(450)) {
        pacer.Request();
        QCoreApplication::processEvents();
    }
    // Requests all the time for 450 ms: at most one repaint per 100 ms frame.
    EXPECT_GE(repaints, 1);
    EXPECT_LE(repaints, 5);
}
