// SPDX-License-Identifier: MIT
// The screenshot's own PNG writer: what it writes reads back as the very
// pixels it was given.
#include "ScreenshotPng.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace {

// Flat areas, as a window has, with noise in part of it, so that both the
// runs and the literal bytes are exercised.
QImage WindowLikeImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(240, 240, 240));
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x / 7 + y / 5) % 3 == 0)
                image.setPixel(x, y, static_cast<QRgb>(random()) | 0xFF000000u);
            else if (x % 50 == 0)
                image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}

class ScreenshotPngTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString PathOf(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private:
    QTemporaryDir m_dir;
};

}   // namespace

TEST_F(ScreenshotPngTest, ReadsBackAsTheSamePixelsAndResolution)
{
    for (const QSize size : {QSize(383, 431), QSize(1, 1), QSize(766, 3), QSize(1, 90)}) {
        QImage image = WindowLikeImage(size.width(), size.height());
        image.setDotsPerMeterX(7559);
        image.setDotsPerMeterY(3780);
        const QString path = PathOf("shot.png");
        ASSERT_TRUE(WriteScreenshotPng(image, path));
        const QImage back(path, "PNG");
        ASSERT_FALSE(back.isNull()) << size.width() << "x" << size.height();
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image) << size.width() << "x" << size.height();
        EXPECT_EQ(back.dotsPerMeterX(), 7559);
        EXPECT_EQ(back.dotsPerMeterY(), 3780);
    }
}

TEST_F(ScreenshotPngTest, OtherFormatsAndBadPlacesAreLeftToTheToolkit)
{
    QImage translucent(20, 10, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 20, 30, 128));
    ASSERT_TRUE(WriteScreenshotPng(translucent, PathOf("alpha.png")));
    EXPECT_EQ(QImage(PathOf("alpha.png")).convertToFormat(QImage::Format_ARGB32), translucent);

    EXPECT_FALSE(WriteScreenshotPng(WindowLikeImage(10, 10), PathOf("no such folder/shot.png")));
    EXPECT_FALSE(WriteScreenshotPng(QImage(), PathOf("null.png")));
}
