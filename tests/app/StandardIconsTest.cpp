// SPDX-License-Identifier: MIT
#include "StandardIcons.h"

#include "FileSizesIconEngine.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>

#include <gtest/gtest.h>

namespace {

QImage Picture(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

// A style of its own icons, all red.
class RedIconStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap, const QStyleOption* = nullptr, const QWidget* = nullptr) const override
    {
        QPixmap red(16, 16);
        red.fill(Qt::red);
        return QIcon(red);
    }
};

}   // namespace

TEST(StandardIcons, MadeAheadAreTheStylesOwnAndStandOnlyForThatStyle)
{
    QStyle* style = QApplication::style();
    const QStyle::StandardPixmap icons[] = {
        QStyle::SP_DialogOpenButton,   QStyle::SP_DialogSaveButton, QStyle::SP_FileDialogDetailedView,
        QStyle::SP_MessageBoxQuestion, QStyle::SP_ArrowLeft,        QStyle::SP_ArrowRight,
        QStyle::SP_TrashIcon};   // the last one no button shows
    {
        const StandardIconsAhead ahead;
        for (const QStyle::StandardPixmap which : icons)
            EXPECT_EQ(Picture(StandardIcon(style, which)), Picture(style->standardIcon(which))) << which;
        RedIconStyle red;
        EXPECT_EQ(Picture(StandardIcon(&red, QStyle::SP_ArrowLeft)), Picture(red.standardIcon(QStyle::SP_ArrowLeft)));
    }
    // Once they are gone, each is made when asked for.
    EXPECT_EQ(Picture(StandardIcon(style, QStyle::SP_ArrowRight)), Picture(style->standardIcon(QStyle::SP_ArrowRight)));
}

// The buttons' icons are read a size at a time; whatever size, density, mode
// or state asks for them, they draw what the style's own icons draw.
TEST(StandardIcons, ReadASizeAtATimeTheyDrawAsTheStylesOwn)
{
    QStyle* style = QApplication::style();
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DialogOpenButton, QStyle::SP_DialogSaveButton,
                                            QStyle::SP_FileDialogDetailedView, QStyle::SP_ArrowLeft,
                                            QStyle::SP_ArrowRight};
    const StandardIconsAhead ahead;
    for (const QStyle::StandardPixmap which : icons) {
        const QIcon ours = StandardIcon(style, which);
        const QIcon theirs = style->standardIcon(which);
        ASSERT_FALSE(ours.isNull());
        EXPECT_EQ(ours.availableSizes(), theirs.availableSizes()) << which;
        for (const int edge : {8, 16, 20, 24, 32, 33, 48, 64, 100, 128, 200})
            for (const qreal ratio : {1.0, 1.5, 2.0, 3.0})
                for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
                    const QSize size(edge, edge);
                    const QPixmap a = ours.pixmap(size, ratio, mode, QIcon::On);
                    const QPixmap b = theirs.pixmap(size, ratio, mode, QIcon::On);
                    EXPECT_EQ(a.toImage(), b.toImage()) << which << " " << edge << " " << ratio << " " << mode;
                    EXPECT_EQ(a.devicePixelRatio(), b.devicePixelRatio()) << which << " " << edge << " " << ratio;
                    EXPECT_EQ(ours.actualSize(size, mode), theirs.actualSize(size, mode)) << which << " " << edge;
                }
        for (const qreal ratio : {1.0, 2.0}) {
            QImage a(50, 50, QImage::Format_ARGB32_Premultiplied);
            a.setDevicePixelRatio(ratio);
            a.fill(Qt::transparent);
            QImage b = a;
            {
                QPainter painter(&a);
                ours.paint(&painter, QRect(2, 3, 20, 20));
            }
            {
                QPainter painter(&b);
                theirs.paint(&painter, QRect(2, 3, 20, 20));
            }
            EXPECT_EQ(a, b) << which << " painted at " << ratio;
        }
    }

    // Shown at the window's size, only the smallest file is read.
    std::vector<FileSizesIconEngine::File> files;
    for (const int edge : {16, 32, 128})
        files.push_back({QStringLiteral(":/qt-project.org/styles/commonstyle/images/left-%1.png").arg(edge), edge});
    auto* engine = new FileSizesIconEngine(files);
    const QIcon left(engine);
    left.pixmap(QSize(16, 16), 1.0);
    left.actualSize(QSize(64, 64));
    EXPECT_EQ(engine->FilesRead(), 1);
    left.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(engine->FilesRead(), 2);
}
