// SPDX-License-Identifier: MIT
// The main window on a high-density screen. ctest runs this suite at the
// screen ratios 1, 1.5 and 2 (QT_SCALE_FACTOR); the expected device pixels
// are listed for each.
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include "GraphPainter.h"
#include "PlotView.h"
#include "QtTextRenderer.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

namespace {

struct RatioCase {
    double Ratio;
    QSize Picture;
    QPoint Frame;      // the frame's top left device pixel
    int PlotWidth;     // of the plot with its frame, in device pixels
    int LineWidth;     // of every one-pixel line
    int Graticule;     // first device column of the graticule line at logical x 101
    QPoint Vertex;     // the trace's vertex (5, 1) of the file below
    int CrossPixels;   // pixels the cross inverts
    QPoint Last;       // the last device pixel over logical pixel (100, 280)
};

const RatioCase kCases[] = {
    {1.0, {383, 431}, {70, 1}, 311, 1, 101, {225, 156}, 618, {100, 280}},
    {1.5, {575, 647}, {105, 2}, 467, 2, 152, {337, 235}, 1852, {151, 421}},
    {2.0, {766, 862}, {140, 2}, 622, 2, 202, {450, 312}, 2472, {201, 561}},
};

int Changed(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

}   // namespace

class HighDensityWindow : public MainWindowTest {
protected:
    // X 0..10, Y 0..2, a vertex at (5, 1) in the middle of the plot.
    TForm1& OpenVertex()
    {
        TForm1& form = MakeForm(WriteFile("vertex.dat", "0 0\n4 2\n5 1\n10 2\n"));
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        View = form.findChild<PlotView*>();
        return form;
    }

    const RatioCase& Case(const TForm1& form) const
    {
        for (const RatioCase& c : kCases)
            if (c.Ratio == form.devicePixelRatioF())
                return c;
        ADD_FAILURE() << "no expectations for ratio " << form.devicePixelRatioF();
        return kCases[0];
    }

    // A move to client position p in logical pixels, which the platform
    // gives fractional between whole ones above ratio 1.
    void Move(const QPointF& client)
    {
        const QPointF local = client - QPointF(View->pos());
        QMouseEvent event(QEvent::MouseMove, local, View->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(View, &event);
    }

    PlotView* View = nullptr;
};

TEST_F(HighDensityWindow, PictureIsHeldAtTheScreenRatioAndShownPixelForPixel)
{
    TForm1& form = OpenVertex();
    const RatioCase& c = Case(form);
    const QImage& picture = form.Picture();
    EXPECT_EQ(picture.devicePixelRatio(), c.Ratio);
    EXPECT_EQ(picture.size(), c.Picture);

    // The grab shows the plot exactly as drawn: no pixel resampled or
    // shifted, though the plot's origin lies between device pixels at 1.5.
    const QImage shot = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect plot(c.Frame, QSize(c.PlotWidth, c.PlotWidth));
    EXPECT_EQ(form.PlotImage().size(), plot.size());
    EXPECT_EQ(shot.copy(plot), picture.copy(plot));
}

TEST_F(HighDensityWindow, FrameGraticuleAndTraceStandAtTheirDevicePixels)
{
    TForm1& form = OpenVertex();
    const RatioCase& c = Case(form);
    const QImage& picture = form.Picture();
    const int row = qRound(100 * c.Ratio);
    auto rgb = [&](int x, int y) { return picture.pixel(x, y) & 0xFFFFFF; };
    const QRgb background = form.palette().color(QPalette::Window).rgb() & 0xFFFFFF;

    EXPECT_EQ(rgb(c.Frame.x() - 1, row), background);
    for (int i = 0; i < c.LineWidth; ++i) {
        EXPECT_EQ(rgb(c.Frame.x() + i, row), 0x000000u) << i;
        EXPECT_EQ(rgb(c.Graticule + i, row), background) << i;
    }
    EXPECT_EQ(rgb(c.Frame.x() + c.LineWidth, row), 0xFFFFFFu);
    EXPECT_EQ(rgb(c.Graticule - 1, row), 0xFFFFFFu);
    EXPECT_EQ(rgb(c.Graticule + c.LineWidth, row), 0xFFFFFFu);

    const QRgb trace = form.Canvas().PixelOf(form.State.Colors[TraceColorIndex(ShownYs(form.State), 0, 1)]);
    EXPECT_EQ(picture.pixel(c.Vertex), trace);
    EXPECT_EQ(picture.pixel(c.Vertex + QPoint(0, c.LineWidth - 1)), trace);
}

TEST_F(HighDensityWindow, CrossInvertsItsBandsAndMovesRestoreWhatItCovered)
{
    TForm1& form = OpenVertex();
    const RatioCase& c = Case(form);
    const QImage plain = form.Picture().copy();

    Ui(form).Cursor->setChecked(true);
    EXPECT_EQ(Changed(plain, form.Picture()), c.CrossPixels);
    const QPoint centre(c.Vertex.x() + (c.Ratio == 1.5 ? 1 : 0), 300);   // column 225
    EXPECT_EQ(form.Picture().pixel(centre) & 0xFFFFFF, ~plain.pixel(centre) & 0xFFFFFF);

    for (const QPoint p : {QPoint(100, 200), QPoint(101, 201), QPoint(380, 311), QPoint(70, 1)})
        Move(p);
    EXPECT_EQ(form.State.CursorX, 70);
    EXPECT_EQ(Changed(plain, form.Picture()), c.CrossPixels);
    Ui(form).Cursor->setChecked(false);
    EXPECT_EQ(form.Picture(), plain);
}

TEST_F(HighDensityWindow, ReadoutsAgreeWithRatioOneAtTheSameLogicalPixels)
{
    TForm1& form = OpenVertex();
    const RatioCase& c = Case(form);
    Ui(form).Cursor->setChecked(true);
    Move(QPoint(225, 156));
    EXPECT_EQ(Ui(form).CurrentX->text(), "+5");
    EXPECT_EQ(Ui(form).CurrentY1->text(), "+1");
    Move(QPoint(101, 280));
    EXPECT_EQ(Ui(form).CurrentX->text(), "+1");
    EXPECT_EQ(Ui(form).CurrentY1->text(), "+0.2");

    // The last device pixel over logical pixel (100, 280) still reads it,
    // though its logical position rounds to the next pixel.
    Move(QPointF(c.Last) / c.Ratio);
    EXPECT_EQ(form.State.CursorX, 100);
    EXPECT_EQ(form.State.CursorY, 280);
    EXPECT_EQ(Ui(form).CurrentX->text(), "+0.9677");
}

TEST(HighDensityText, NoDataIsDrawnAtDeviceResolutionWhereItStandsAtRatioOne)
{
    // Red pixels of "No data" at ratio 1 and 2: the box doubles, and the
    // glyphs are drawn anew, not ratio-1 pixels doubled.
    QRect box[2];
    QImage images[2];
    for (int i = 0; i < 2; ++i) {
        const double ratio = i + 1.0;
        images[i] = QImage(int(383 * ratio), int(431 * ratio), QImage::Format_RGB32);
        images[i].fill(Qt::gray);
        QtTextRenderer text;
        RasterCanvas canvas(PixelBuffer{reinterpret_cast<std::uint32_t*>(images[i].bits()), images[i].width(),
                                        images[i].height(), images[i].width(), ratio},
                            &text);
        PlotState state;   // no controls: every axis automatic
        DrawGraph(state, canvas);
        for (int y = 0; y < images[i].height(); ++y)
            for (int x = 0; x < images[i].width(); ++x)
                if (qRed(images[i].pixel(x, y)) > 200 && qGreen(images[i].pixel(x, y)) < 90)
                    box[i] |= QRect(x, y, 1, 1);
    }
    ASSERT_FALSE(box[0].isEmpty());
    EXPECT_NEAR(box[1].left(), 2 * box[0].left(), 2);
    EXPECT_NEAR(box[1].top(), 2 * box[0].top(), 2);
    EXPECT_NEAR(box[1].width(), 2 * box[0].width(), 3);
    EXPECT_NEAR(box[1].height(), 2 * box[0].height(), 3);
    bool doubled = true;
    for (int y = box[1].top(); y <= box[1].bottom() && doubled; y += 2)
        for (int x = box[1].left() & ~1; x <= box[1].right() && doubled; x += 2)
            doubled = images[1].pixel(x, y) == images[1].pixel(x + 1, y) &&
                images[1].pixel(x, y) == images[1].pixel(x, y + 1);
    EXPECT_FALSE(doubled);
}
