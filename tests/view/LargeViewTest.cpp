// SPDX-License-Identifier: MIT
// The large view's picture, its exports, its legend and its window.
#include "LargeView.h"
#include "GraphPainter.h"
#include "LargeViewWindow.h"
#include "PlainControls.h"
#include "SlotFill.h"
#include "ViewLegend.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>

namespace {

// Slots as the reader leaves them and limits as the main window's paint
// settles them; three files with header lines.
class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_state.Controls = &m_controls;
        m_state.TracesShown = kHistorySlots;
        m_controls.YsItem = 1;
        for (int s = 0; s < 3; ++s) {
            std::vector<float> x, y1, y2;
            for (int i = 0; i <= 1000; ++i) {
                x.push_back(float(i) / 10);
                y1.push_back(std::sin(float(i) / (40.0f + 10.0f * float(s))) * 25.4f);
                y2.push_back(s == 1 ? 0 : float((i + 30 * s) % 100) / 1000);
            }
            const std::string name = Path("run0" + std::to_string(7 - s) + ".dat");
            std::ofstream(name) << "# time\tU_out[mV]\tI[mA]\n0\t0\t0\n";
            FillSlot(m_state.Traces[s], name, x, y1, s == 1 ? std::vector<float>{} : y2);
        }
        m_state.DisplayedTraces = 3;
        m_state.ColumnMap = {1, 2, 3, 4};
        m_state.Axes[0] = {100, 0};
        m_state.Axes[1] = {25.4f, -25.4f};
        m_state.Axes[2] = {0.1f, 0};
    }

    std::string Path(const std::string& file) const
    {
        return m_dir.filePath(QString::fromStdString(file)).toStdString();
    }

    QTemporaryDir m_dir;
    PlainControls m_controls;
    PlotState m_state;
};

using LargeView = ViewFixture;

TEST_F(LargeView, LegendHasARowPerDisplayedSlotWithTheMainPaintersColours)
{
    m_state.Colors[TraceColorIndex(2, 2, 1)] = 0x00123456;
    const std::vector<LegendRow> rows = LegendRows(m_state);
    ASSERT_EQ(rows.size(), 3u);
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(rows[s].Slot, s);
        EXPECT_EQ(rows[s].Name, "run0" + std::to_string(7 - s) + ".dat");
        ASSERT_EQ(rows[s].Swatches.size(), 2u);
        for (int k = 1; k <= 2; ++k) {
            EXPECT_EQ(rows[s].Swatches[k - 1].Axis, k);
            EXPECT_EQ(rows[s].Swatches[k - 1].Color, m_state.Colors[TraceColorIndex(2, s, k)]);
        }
    }
    EXPECT_EQ(rows[2].Swatches[0].Color, 0x00123456u);
    EXPECT_FALSE(rows[1].Swatches[1].Present);   // that file has no Y2 column
    EXPECT_TRUE(rows[0].Swatches[1].Present);

    m_state.DisplayedTraces = 1;
    m_controls.YsItem = -1;
    ASSERT_EQ(LegendRows(m_state).size(), 1u);
    EXPECT_TRUE(LegendRows(m_state)[0].Swatches.empty());
}

TEST(LegendCorner, GoesWhereTheTracesAreNot)
{
    const int w = 400, h = 300, lw = 100, lh = 60;
    CoverageGrid empty(w, h);
    EXPECT_EQ(ChooseLegendCorner(empty, w, h, lw, lh, 8), LegendCorner::TopRight);

    struct Case {
        std::vector<EnvelopePoint> Line;
        LegendCorner Expected;
    };
    const std::vector<Case> cases{
        {{{0, 20}, {380, 20}, {380, 299}}, LegendCorner::BottomLeft},   // along the top and the right
        {{{0, 299}, {399, 0}}, LegendCorner::TopLeft},                  // rising diagonal
        {{{0, 0}, {399, 299}, {0, 299}}, LegendCorner::TopRight},       // falling diagonal and the bottom
        {{{0, 20}, {399, 20}, {0, 60}, {399, 60}}, LegendCorner::BottomRight},
    };
    for (const Case& c : cases) {
        CoverageGrid grid(w, h);
        grid.AddPolyline(c.Line);
        EXPECT_EQ(ChooseLegendCorner(grid, w, h, lw, lh, 8), c.Expected);
    }
}

TEST_F(LargeView, DataAsTabSeparatedTextNamesFileAndColumn)
{
    m_state.Traces[1].Points = 2;   // a shorter file leaves its cells empty
    (*m_state.Traces[0].Table)[1][1] = std::nanf("");
    const std::string text = ShownDataAsTsv(m_state, [](const TraceSlot& slot) {
        return slot.Name.find("run07") != std::string::npos ? std::vector<std::string>{"time", "U_out[mV]", "I[mA]"}
                                                            : std::vector<std::string>{};
    });
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    ASSERT_EQ(lines.size(), 1u + 1001u);
    EXPECT_EQ(lines[0],
              "run07.dat:time\trun07.dat:U_out[mV]\trun07.dat:I[mA]\trun06.dat:column 1\t"
              "run06.dat:column 2\trun05.dat:column 1\trun05.dat:column 2\trun05.dat:column 3");
    EXPECT_EQ(lines[1], "0\t0\t0\t0\t0\t0\t0\t0.06");
    EXPECT_EQ(lines[2].rfind("0.1\t\t0.001\t", 0), 0u) << lines[2];                  // NaN: an empty cell
    EXPECT_NE(lines[3].find("\t0.002\t\t\t0.2\t"), std::string::npos) << lines[3];   // run06 has ended
}

TEST_F(LargeView, CopyDataRefusesMoreCellsThanTheLimitAndSaysSo)
{
    ASSERT_EQ(ShownDataCells(m_state), 8u * 1001u);
    LargeViewWindow window(m_state);
    QStringList errors;
    window.ShowError = [&](QWidget*, const QString& message) { errors << message; };
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    window.SetCopyLimit(8u * 1001u - 1);
    window.CopyData();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("8008"))) << errors[0].toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

    window.SetCopyLimit(8u * 1001u);
    window.CopyData();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("run07.dat:")));
}

TEST(LargeViewTitleText, NameDirectoryAndPlaceInTheListing)
{
    PlotState state;
    EXPECT_EQ(LargeViewTitle(state), "Tracely");
    FillSlot(state.Traces[0], "/data/sweep/run07.dat", {0}, {0});
    state.ListingIndex = 6;
    state.ListingCount = 120;
    EXPECT_EQ(LargeViewTitle(state), QString::fromUtf8("run07.dat — /data/sweep (7 / 120)"));
    state.ListingCount = 0;
    EXPECT_EQ(LargeViewTitle(state), QString::fromUtf8("run07.dat — /data/sweep"));
    state.Traces[0].Name = "/run.dat";
    EXPECT_EQ(LargeViewTitle(state), QString::fromUtf8("run.dat — /"));
    state.Traces[0].Name = "データ.dat";
    state.CurrentDir = "/home/me/";
    EXPECT_EQ(LargeViewTitle(state), QString::fromUtf8("データ.dat — /home/me"));
}

TEST_F(LargeView, PngExportHasTheAskedSizeAndShowsTheTraces)
{
    const QString png = QString::fromStdString(Path("out.png"));
    std::string error;
    ViewOptions noLegend;
    noLegend.ShowLegend = false;   // its swatches would show the colours too
    ASSERT_TRUE(ExportView(m_state, noLegend, png, QSize(640, 400), error)) << error;
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(640, 400));
    // Slot 0's Y1 colour is black, its Y2 blue, slot 1's Y1 green (the
    // default table): each shows somewhere.
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) & 0xFFFFFF);
    for (TColor c : {m_state.Colors[TraceColorIndex(2, 0, 2)], m_state.Colors[TraceColorIndex(2, 1, 1)],
                     m_state.Colors[TraceColorIndex(2, 2, 2)]})
        EXPECT_TRUE(colours.count(ColorOfValue(c).rgb() & 0xFFFFFF)) << std::hex << c;

    EXPECT_FALSE(ExportView(m_state, QString::fromStdString(Path("out.jpg")), QSize(640, 400), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ExportView(m_state, png, QSize(0, 400), error));
    EXPECT_FALSE(ExportView(m_state, QString::fromStdString(Path("missing/out.png")), QSize(64, 40), error));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("missing"))));
}

TEST_F(LargeView, SvgExportIsWellFormedWithOnePathPerTraceAndRealText)
{
    const QString svg = QString::fromStdString(Path("out.svg"));
    std::string error;
    ASSERT_TRUE(ExportView(m_state, svg, QSize(800, 500), error)) << error;
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int paths = 0;
    std::set<QString> texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("path"))
            ++paths;
        else if (xml.name() == QLatin1String("text"))
            texts.insert(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(paths, 5);   // three files with Y1, two of them with Y2
    for (const char* text : {"0", "20", "100", "-20", "0.10", "time", "U_out[mV]", "I[mA]", "run07.dat"})
        EXPECT_TRUE(texts.count(QString::fromUtf8(text))) << text;
}

TEST_F(LargeView, WindowRepaintsOncePerFrameAndReducesOncePerSize)
{
    LargeViewWindow window(m_state);
    window.resize(500, 350);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.Renders(), 1);
    const std::size_t reduced = window.Cache().Envelopes.Computations();
    EXPECT_EQ(reduced, 5u);

    for (int i = 0; i < 20; ++i)
        window.Refresh();
    EXPECT_EQ(window.Renders(), 1);   // never paints inside Refresh
    QTRY_COMPARE(window.Renders(), 2);
    QTest::qWait(50);
    EXPECT_EQ(window.Renders(), 2);
    EXPECT_EQ(window.Cache().Envelopes.Computations(), reduced);   // repaints reuse the envelopes

    window.resize(600, 350);
    QTRY_COMPARE(window.Renders(), 3);
    EXPECT_EQ(window.Cache().Envelopes.Computations(), 2 * reduced);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("run07.dat — ") + QDir(m_dir.path()).absolutePath());
}

TEST_F(LargeView, WindowMenuTogglesLegendAndCopiesData)
{
    LargeViewWindow window(m_state);
    window.resize(500, 350);
    const QImage shown = window.CurrentImage();
    const QRect legend = window.LegendRect();
    ASSERT_FALSE(legend.isEmpty());

    QMenu* menu = window.CreateContextMenu();
    QAction* toggle = menu->findChild<QAction*>("showLegend");
    ASSERT_TRUE(toggle && toggle->isChecked());
    toggle->trigger();
    EXPECT_FALSE(window.Options().ShowLegend);
    EXPECT_NE(window.CurrentImage(), shown);
    EXPECT_TRUE(window.LegendRect().isEmpty());

    QString saved;
    window.ChooseSaveFile = [&](QWidget*, const QString&, const QString&, const QString& suggested) {
        saved = suggested;
        return QString();   // cancelled
    };
    menu->findChild<QAction*>("saveSvg")->trigger();
    EXPECT_TRUE(saved.endsWith("run07.svg")) << saved.toStdString();
    delete menu;
}

TEST_F(LargeView, LegendFollowsADragAndADoubleClickHandsItBack)
{
    LargeViewWindow window(m_state);
    window.resize(600, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.CurrentImage();
    const QRect before = window.LegendRect();
    ASSERT_FALSE(before.isEmpty());
    const QPoint grab = before.center();
    const QPoint drop = grab + QPoint(-150, 120);
    QTest::mousePress(&window, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&window, drop);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, drop);
    ASSERT_TRUE(window.Options().LegendPlace.has_value());
    window.CurrentImage();
    EXPECT_NEAR(window.LegendRect().left(), before.left() - 150, 2);
    EXPECT_NEAR(window.LegendRect().top(), before.top() + 120, 2);

    QTest::mouseDClick(&window, Qt::LeftButton, {}, window.LegendRect().center());
    EXPECT_FALSE(window.Options().LegendPlace.has_value());
    window.CurrentImage();
    EXPECT_EQ(window.LegendRect(), before);
}

}   // namespace
