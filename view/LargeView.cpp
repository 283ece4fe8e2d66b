// SPDX-License-Identifier: MIT
#include "LargeView.h"

#include "AxisRanges.h"
#include "AxisTicks.h"
#include "ColumnNames.h"
#include "FileNameParts.h"
#include "GraphPainter.h"
#include "ViewLegend.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kTickLength = 5;
constexpr double kGap = 4;
constexpr double kOuterMargin = 8;
constexpr double kLegendMargin = 8;
constexpr double kLegendPadding = 6;
constexpr double kSwatchWidth = 18;
// A monotone X keeps at most four points a column; an envelope with many more
// is drawn once into a mask.
constexpr std::size_t kMaskFromLinesPerColumn = 8;
const QColor kGridColor(226, 226, 226);
const QColor kFrameColor(0, 0, 0);

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// File names are bytes; the system's file name encoding gives their text.
QString FileNameText(const std::string& bytes)
{
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

double RatioOf(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    const double ratio = device ? device->devicePixelRatioF() : 1.0;
    return ratio > 0 ? ratio : 1.0;
}

bool DrawsPixels(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster;
}

// One axis as drawn: its ticks, numbers, title and colour.
struct AxisPlan {
    int Axis = 0;
    ViewAxisLimits Limits;
    std::vector<AxisTick> Ticks;
    QString Title;
    QColor Color;
    double LabelWidth = 0;
};

// Ticks whose numbers keep at least `spacing` pixels apart (plus their own
// width along the axis for X).
std::vector<AxisTick> PickTicks(ViewAxisLimits limits, double length, double spacing, const QFontMetricsF* widths)
{
    const double span = std::fabs(limits.Upper - limits.Lower);
    int intervals = std::max(1, static_cast<int>(length / spacing));
    for (;;) {
        std::vector<AxisTick> ticks = ComputeAxisTicks(limits.Lower, limits.Upper, intervals);
        if (ticks.size() < 2 || intervals == 1)
            return ticks;
        const double step = std::fabs(ticks[1].Value - ticks[0].Value);
        const double pixels = span > 0 ? step / span * length : 0;
        double needed = spacing;
        if (widths) {
            double widest = 0;
            for (const AxisTick& t : ticks)
                widest = std::max(widest, widths->horizontalAdvance(Text(t.Label)));
            needed = widest + spacing;
        }
        if (pixels >= needed)
            return ticks;
        intervals = std::max(1, std::min(intervals - 1, static_cast<int>(intervals * pixels / needed)));
    }
}

double WidestLabel(const std::vector<AxisTick>& ticks, const QFontMetricsF& metrics)
{
    double widest = 0;
    for (const AxisTick& t : ticks)
        widest = std::max(widest, metrics.horizontalAdvance(Text(t.Label)));
    return widest;
}

// Device-pixel drawing: the world transform undoes the pixel ratio, so that
// whole numbers name device pixels.
class DeviceSpace {
public:
    DeviceSpace(QPainter& painter, double ratio) : m_painter(painter)
    {
        m_painter.save();
        m_painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    }
    ~DeviceSpace() { m_painter.restore(); }
    DeviceSpace(const DeviceSpace&) = delete;
    DeviceSpace& operator=(const DeviceSpace&) = delete;

private:
    QPainter& m_painter;
};

struct Layout {
    double Ratio = 1;
    QRect Plot;         // logical
    QRect DevicePlot;   // device pixels
    double Em = 12;
    std::vector<AxisPlan> Axes;   // X first, then the shown Ys
    double YBand[4] = {0, 0, 0, 0};
};

QRect DeviceRectOf(const QRect& logical, double ratio)
{
    const int left = static_cast<int>(std::ceil(logical.left() * ratio - 1e-9));
    const int top = static_cast<int>(std::ceil(logical.top() * ratio - 1e-9));
    const int right = static_cast<int>(std::floor((logical.left() + logical.width()) * ratio + 1e-9));
    const int bottom = static_cast<int>(std::floor((logical.top() + logical.height()) * ratio + 1e-9));
    return QRect(left, top, std::max(1, right - left), std::max(1, bottom - top));
}

Layout PlanLayout(const QPainter& painter, QSize size, const PlotState& state, const ViewLimits& limits,
                  const std::vector<std::string>& names)
{
    Layout layout;
    layout.Ratio = RatioOf(painter);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double em = metrics.height();
    layout.Em = em;
    const int numYs = ShownYs(state);

    const double top = std::ceil(em / 2) + kOuterMargin;
    const double bottom = kTickLength + kGap + em + kGap + em + kOuterMargin;
    const double plotHeight = std::max(1.0, size.height() - top - bottom);

    for (int k = 1; k <= numYs; ++k) {
        AxisPlan plan;
        plan.Axis = k;
        plan.Limits = UsableLimits(limits.Axes[k]);
        plan.Ticks = PickTicks(plan.Limits, plotHeight, 2.5 * em, nullptr);
        plan.LabelWidth = WidestLabel(plan.Ticks, metrics);
        plan.Title = Text(AxisTitle(names, state.ColumnMap[k]));
        plan.Color =
            numYs > 1 ? ReadableOnWhite(ColorOfValue(state.Colors[TraceColorIndex(numYs, 0, k)])) : QColor(Qt::black);
        layout.YBand[k] = kTickLength + kGap + plan.LabelWidth + kGap + em + 3 * kGap;
        layout.Axes.push_back(plan);
    }
    const double left = numYs >= 1 ? layout.YBand[1] + kOuterMargin : 2 * em;
    const double right = layout.YBand[2] + layout.YBand[3] + std::max(2 * em, kOuterMargin);
    const double plotWidth = std::max(1.0, size.width() - left - right);

    AxisPlan x;
    x.Axis = 0;
    x.Limits = UsableLimits(limits.Axes[0]);
    x.Ticks = PickTicks(x.Limits, plotWidth, 1.5 * em, &metrics);
    x.Title = Text(AxisTitle(names, state.ColumnMap[0]));
    x.Color = Qt::black;
    layout.Axes.insert(layout.Axes.begin(), x);

    layout.Plot = QRect(static_cast<int>(std::ceil(left)), static_cast<int>(top), static_cast<int>(plotWidth),
                        static_cast<int>(plotHeight));
    layout.DevicePlot = DeviceRectOf(layout.Plot, layout.Ratio);
    return layout;
}

// Device position of a value along the plot area, as the traces map it.
double DeviceX(const Layout& layout, const AxisPlan& x, double value)
{
    return layout.DevicePlot.left() + PixelMap(x.Limits, layout.DevicePlot.width(), false).PositionOf(value);
}

double DeviceY(const Layout& layout, const AxisPlan& y, double value)
{
    return layout.DevicePlot.top() + PixelMap(y.Limits, layout.DevicePlot.height(), true).PositionOf(value);
}

void DrawGrid(QPainter& painter, const Layout& layout)
{
    DeviceSpace device(painter, layout.Ratio);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(kGridColor, 0));
    const QRect& r = layout.DevicePlot;
    const AxisPlan& x = layout.Axes[0];
    for (const AxisTick& t : x.Ticks) {
        const double px = std::round(DeviceX(layout, x, t.Value));
        painter.drawLine(QLineF(px + kPixelInset, r.top() + kPixelInset, px + kPixelInset, r.bottom() + kPixelInset));
    }
    if (layout.Axes.size() > 1) {
        const AxisPlan& y = layout.Axes[1];
        for (const AxisTick& t : y.Ticks) {
            const double py = std::round(DeviceY(layout, y, t.Value));
            painter.drawLine(
                QLineF(r.left() + kPixelInset, py + kPixelInset, r.right() + kPixelInset, py + kPixelInset));
        }
    }
}

// The frame lies just outside the plot area, so it never hides a trace pixel
// on the edge.
void DrawFrameAndTicks(QPainter& painter, const Layout& layout)
{
    const double ratio = layout.Ratio;
    const QRect& r = layout.DevicePlot;
    const double tick = std::round(kTickLength * ratio);
    const double lineWidth = std::max(1.0, std::round(ratio));
    DeviceSpace device(painter, ratio);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    auto bar = [&](double left, double top, double width, double height, const QColor& color) {
        painter.fillRect(QRectF(left, top, width, height), color);
    };
    const double l = r.left() - lineWidth, t = r.top() - lineWidth;
    const double right = r.left() + r.width(), bottomEdge = r.top() + r.height();
    bar(l, t, r.width() + 2 * lineWidth, lineWidth, kFrameColor);
    bar(l, bottomEdge, r.width() + 2 * lineWidth, lineWidth, kFrameColor);
    bar(l, t, lineWidth, r.height() + 2 * lineWidth, kFrameColor);
    bar(right, t, lineWidth, r.height() + 2 * lineWidth, kFrameColor);

    const AxisPlan& x = layout.Axes[0];
    for (const AxisTick& tk : x.Ticks) {
        const double px = std::round(DeviceX(layout, x, tk.Value));
        bar(px, bottomEdge + lineWidth, lineWidth, tick, kFrameColor);
    }
    for (std::size_t i = 1; i < layout.Axes.size(); ++i) {
        const AxisPlan& y = layout.Axes[i];
        double axisX = 0;
        double direction = 1;
        if (y.Axis == 1) {
            axisX = l;
            direction = -1;
        } else {
            axisX = right + (y.Axis == 3 ? std::round(layout.YBand[2] * ratio) : 0);
            if (y.Axis == 3)
                bar(axisX, t, lineWidth, r.height() + 2 * lineWidth, y.Color);
        }
        for (const AxisTick& tk : y.Ticks) {
            const double py = std::round(DeviceY(layout, y, tk.Value));
            if (direction < 0)
                bar(axisX - tick, py, tick, lineWidth, y.Color);
            else
                bar(axisX + lineWidth, py, tick, lineWidth, y.Color);
        }
    }
}

void DrawRotated(QPainter& painter, QPointF centre, double angle, const QString& text, const QColor& color, double room)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QString shown = metrics.elidedText(text, Qt::ElideMiddle, std::max(room, metrics.height()));
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    painter.setPen(color);
    const double width = metrics.horizontalAdvance(shown);
    painter.drawText(QPointF(-width / 2, metrics.ascent() - metrics.height() / 2), shown);
    painter.restore();
}

void DrawAxisText(QPainter& painter, const Layout& layout)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double ratio = layout.Ratio;
    const QRect& plot = layout.Plot;
    const double em = layout.Em;
    const double plotBottom = layout.DevicePlot.bottom() / ratio + 1 / ratio;
    const double plotLeft = layout.DevicePlot.left() / ratio;
    const double plotRight = (layout.DevicePlot.left() + layout.DevicePlot.width()) / ratio;
    const double lineWidth = std::max(1.0, std::round(ratio)) / ratio;

    const AxisPlan& x = layout.Axes[0];
    painter.setPen(x.Color);
    double previousRight = -1e9;
    for (const AxisTick& t : x.Ticks) {
        const QString label = Text(t.Label);
        const double width = metrics.horizontalAdvance(label);
        const double cx = DeviceX(layout, x, t.Value) / ratio;
        const double left = cx - width / 2;
        if (left < previousRight + em / 2)
            continue;   // never two numbers over each other
        painter.drawText(QPointF(left, plotBottom + lineWidth + kTickLength + kGap + metrics.ascent()), label);
        previousRight = left + width;
    }
    DrawRotated(painter, QPointF(plot.center().x(), plotBottom + kTickLength + kGap + em + kGap + em / 2), 0, x.Title,
                x.Color, plot.width());

    for (std::size_t i = 1; i < layout.Axes.size(); ++i) {
        const AxisPlan& y = layout.Axes[i];
        painter.setPen(y.Color);
        const bool leftSide = y.Axis == 1;
        const double axisX = leftSide
            ? plotLeft - lineWidth
            : plotRight + lineWidth + (y.Axis == 3 ? std::round(layout.YBand[2] * ratio) / ratio : 0);
        for (const AxisTick& t : y.Ticks) {
            const QString label = Text(t.Label);
            const double width = metrics.horizontalAdvance(label);
            const double cy = DeviceY(layout, y, t.Value) / ratio;
            const double baseline = cy + metrics.ascent() - metrics.height() / 2;
            const double lx = leftSide ? axisX - kTickLength - kGap - width : axisX + kTickLength + kGap;
            painter.drawText(QPointF(lx, baseline), label);
        }
        const double titleX = leftSide ? axisX - kTickLength - kGap - y.LabelWidth - kGap - em / 2
                                       : axisX + kTickLength + kGap + y.LabelWidth + kGap + em / 2;
        DrawRotated(painter, QPointF(titleX, plot.center().y()), leftSide ? -90 : 90, y.Title, y.Color, plot.height());
    }
}

bool ShowsTrace(const TraceSlot& slot, int axis)
{
    return slot.Loaded() && slot.Present[axis] && slot.Table->Rows() > axis && DrawablePoints(slot) > 0;
}

// Sparse traces: every point, antialiased, at its exact position.
void DrawSmoothTrace(QPainter& painter, const TraceSlot& slot, int axis, const Layout& layout, const ViewLimits& limits,
                     SampleRange drawn, const QColor& color)
{
    const QRect& r = layout.DevicePlot;
    const PixelMap mapX(limits.Axes[0], r.width(), false);
    const PixelMap mapY(limits.Axes[axis], r.height(), true);
    const float* xs = (*slot.Table)[0];
    const float* ys = (*slot.Table)[axis];
    QPolygonF line;
    for (std::size_t i = drawn.Begin, n = std::min(drawn.End, DrawablePoints(slot)); i < n; ++i)
        if (!std::isnan(xs[i]) && !std::isnan(ys[i]))
            line << QPointF(r.left() + mapX.Position(xs[i]) + 0.5, r.top() + mapY.Position(ys[i]) + 0.5);
    if (line.size() < 2)
        return;
    DeviceSpace device(painter, layout.Ratio);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(color, 0);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawPolyline(line);
}

// Vector output: one path per trace, in logical units, held to the plot area
// (a vector file keeps no clip that every reader honours).
void DrawTracePath(QPainter& painter, const TraceSlot& slot, int axis, const Layout& layout, const ViewLimits& limits,
                   SampleRange drawn, bool smooth, const QColor& color)
{
    const QRect& r = layout.DevicePlot;
    const double ratio = layout.Ratio;
    auto at = [&](double dx, double dy) {
        dx = std::clamp(dx, 0.0, double(r.width() - 1));
        dy = std::clamp(dy, 0.0, double(r.height() - 1));
        return QPointF((r.left() + dx + 0.5) / ratio, (r.top() + dy + 0.5) / ratio);
    };
    QPainterPath path;
    bool started = false;
    auto add = [&](QPointF p) {
        if (started) {
            path.lineTo(p);
        } else {
            path.moveTo(p);
            started = true;
        }
    };
    drawn.End = std::min(drawn.End, DrawablePoints(slot));
    drawn.Begin = std::min(drawn.Begin, drawn.End);
    if (smooth) {
        const PixelMap mapX(limits.Axes[0], r.width(), false);
        const PixelMap mapY(limits.Axes[axis], r.height(), true);
        const float* xs = (*slot.Table)[0];
        const float* ys = (*slot.Table)[axis];
        for (std::size_t i = drawn.Begin; i < drawn.End; ++i)
            if (!std::isnan(xs[i]) && !std::isnan(ys[i]))
                add(at(mapX.Position(xs[i]), mapY.Position(ys[i])));
    } else {
        // A vector picture is looked at closer than its size: the reduction
        // is made on a grid finer than the pixels, so that a zoom shows lines
        // rather than pixel steps.
        constexpr int kFiner = 4;
        const PixelMap mapX(limits.Axes[0], r.width() * kFiner, false);
        const PixelMap mapY(limits.Axes[axis], r.height() * kFiner, true);
        const std::vector<EnvelopePoint> fine =
            ReduceTrace((*slot.Table)[0] + drawn.Begin, (*slot.Table)[axis] + drawn.Begin, drawn.Size(), mapX, mapY);
        for (const EnvelopePoint& p : fine)
            add(at(double(p.X) / kFiner, double(p.Y) / kFiner));
    }
    if (path.elementCount() < 2)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color, 1 / ratio));
    painter.drawPath(path);
    painter.restore();
}

struct LegendLayout {
    QRectF Box;
    double RowHeight = 0;
    double NameWidth = 0;
};

QSizeF LegendSize(const QFontMetricsF& metrics, const std::vector<LegendRow>& rows, double maxWidth)
{
    double widest = 0;
    for (const LegendRow& row : rows)
        widest = std::max(widest, metrics.horizontalAdvance(FileNameText(row.Name)));
    const std::size_t swatches = rows.empty() ? 0 : rows.front().Swatches.size();
    const double swatchRoom = double(swatches) * (kSwatchWidth + 4);
    const double width = std::min(maxWidth, kLegendPadding * 2 + swatchRoom + widest);
    const double height = kLegendPadding * 2 + double(rows.size()) * (metrics.height() + 2);
    return {width, height};
}

QRectF PlaceLegend(const Layout& layout, QSizeF size, const ViewOptions& options, const CoverageGrid& coverage)
{
    const QRectF plot(layout.DevicePlot.left() / layout.Ratio, layout.DevicePlot.top() / layout.Ratio,
                      layout.DevicePlot.width() / layout.Ratio, layout.DevicePlot.height() / layout.Ratio);
    const double roomX = std::max(0.0, plot.width() - size.width());
    const double roomY = std::max(0.0, plot.height() - size.height());
    if (options.LegendPlace) {
        const double fx = std::clamp(options.LegendPlace->x(), 0.0, 1.0);
        const double fy = std::clamp(options.LegendPlace->y(), 0.0, 1.0);
        return QRectF(plot.left() + fx * roomX, plot.top() + fy * roomY, size.width(), size.height());
    }
    const double ratio = layout.Ratio;
    const LegendCorner corner =
        ChooseLegendCorner(coverage, layout.DevicePlot.width(), layout.DevicePlot.height(),
                           static_cast<int>(std::ceil(size.width() * ratio)),
                           static_cast<int>(std::ceil(size.height() * ratio)), static_cast<int>(kLegendMargin * ratio));
    const double margin = std::min(kLegendMargin, std::min(roomX, roomY) / 2);
    const bool right = corner == LegendCorner::TopRight || corner == LegendCorner::BottomRight;
    const bool bottom = corner == LegendCorner::BottomLeft || corner == LegendCorner::BottomRight;
    const double x = right ? plot.right() - margin - size.width() : plot.left() + margin;
    const double y = bottom ? plot.bottom() - margin - size.height() : plot.top() + margin;
    return QRectF(std::max(plot.left(), x), std::max(plot.top(), y), size.width(), size.height());
}

QRect DrawLegend(QPainter& painter, const Layout& layout, const PlotState& state, const ViewOptions& options,
                 const CoverageGrid& coverage)
{
    const std::vector<LegendRow> rows = LegendRows(state);
    if (!options.ShowLegend || rows.empty())
        return {};
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QSizeF size = LegendSize(metrics, rows, layout.Plot.width() * 0.8);
    if (size.height() > layout.Plot.height() || size.width() < kLegendPadding * 2 + 8)
        return {};
    const QRectF box = PlaceLegend(layout, size, options, coverage);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(150, 150, 150), 0));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    const double rowHeight = metrics.height() + 2;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LegendRow& row = rows[i];
        const double top = box.top() + kLegendPadding + double(i) * rowHeight;
        double x = box.left() + kLegendPadding;
        for (const LegendSwatch& swatch : row.Swatches) {
            if (swatch.Present)
                painter.fillRect(QRectF(x, top + rowHeight / 2 - 2, kSwatchWidth, 4), ColorOfValue(swatch.Color));
            x += kSwatchWidth + 4;
        }
        const double room = box.right() - kLegendPadding - x;
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x, top + 1 + metrics.ascent()),
                         metrics.elidedText(FileNameText(row.Name), Qt::ElideMiddle, std::max(room, 0.0)));
    }
    painter.restore();
    return box.toAlignedRect();
}

void DrawNoData(QPainter& painter, const Layout& layout)
{
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() * 1.6 : 14);
    painter.setFont(font);
    painter.setPen(QColor(200, 0, 0));
    painter.drawText(QRectF(layout.Plot), Qt::AlignCenter, QCoreApplication::translate("LargeView", "No data"));
    painter.restore();
}

}   // namespace

const std::vector<std::string>& LargeViewCache::NamesOf(const TraceSlot& slot)
{
    static const std::vector<std::string> kNone;
    if (!slot.Loaded())
        return kNone;
    // Old files' entries go once the map grows past what a few steps leave.
    if (m_names.size() > 4 * kHistorySlots)
        m_names.clear();
    NamesEntry& entry = m_names[{slot.Name, slot.Table.get()}];
    const std::uint64_t fingerprint = SlotFingerprint(slot);
    if (entry.Fingerprint != fingerprint) {
        entry.Names = ReadColumnNames(slot.Name);
        entry.Fingerprint = fingerprint;
    }
    return entry.Names;
}

QColor ReadableOnWhite(QColor color)
{
    auto luminance = [](const QColor& c) { return 0.299 * c.redF() + 0.587 * c.greenF() + 0.114 * c.blueF(); };
    for (int i = 0; i < 8 && luminance(color) > 0.5; ++i)
        color = color.darker(125);
    return color;
}

QColor ColorOfValue(TColor value)
{
    if (IsSystemColor(value))
        return QGuiApplication::palette().color(QPalette::Window);
    return QColor(RedOf(value), GreenOf(value), BlueOf(value));
}

void DrawEnvelopeLines(QPainter& painter, const std::vector<EnvelopePoint>& points, QPoint deviceOrigin,
                       const QColor& color)
{
    if (points.size() < 2)
        return;
    const double ox = deviceOrigin.x() + kPixelInset;
    const double oy = deviceOrigin.y() + kPixelInset;
    // The lines inside one column together cover the rows from the column's
    // lowest to its highest point, which one line covers as well: a column
    // costs one line and the step to the next column another.
    std::vector<QLineF> lines;
    lines.reserve(points.size());
    std::size_t i = 0;
    while (i < points.size()) {
        const std::int32_t column = points[i].X;
        std::int32_t low = points[i].Y;
        std::int32_t high = low;
        std::size_t end = i + 1;
        for (; end < points.size() && points[end].X == column; ++end) {
            low = std::min(low, points[end].Y);
            high = std::max(high, points[end].Y);
        }
        if (end - i > 1)
            lines.emplace_back(ox + column, oy + low, ox + column, oy + high);
        if (end < points.size())
            lines.emplace_back(ox + column, oy + points[end - 1].Y, ox + points[end].X, oy + points[end].Y);
        i = end;
    }
    DeviceSpace device(painter, RatioOf(painter));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(color, 0));
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

QBitmap EnvelopeMask(const std::vector<EnvelopePoint>& points, QSize deviceSize, double ratio, const QRect& devicePlot)
{
    const QRect area = devicePlot & QRect(QPoint(0, 0), deviceSize);
    if (area.isEmpty())
        return {};
    QImage alpha(deviceSize, QImage::Format_Alpha8);
    alpha.setDevicePixelRatio(ratio);
    alpha.fill(0);
    {
        QPainter painter(&alpha);
        painter.setClipRect(QRectF(devicePlot.left() / ratio, devicePlot.top() / ratio, devicePlot.width() / ratio,
                                   devicePlot.height() / ratio));
        DrawEnvelopeLines(painter, points, devicePlot.topLeft(), Qt::black);
    }
    QImage mono(devicePlot.size(), QImage::Format_MonoLSB);
    mono.setColorTable({qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 255)});
    mono.fill(0);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* from = alpha.constScanLine(y);
        uchar* to = mono.scanLine(y - devicePlot.top());
        for (int x = area.left(); x <= area.right(); ++x) {
            if (from[x]) {
                const int bit = x - devicePlot.left();
                to[bit >> 3] |= static_cast<uchar>(1u << (bit & 7));
            }
        }
    }
    return QBitmap::fromImage(mono);
}

void DrawEnvelopeMask(QPainter& painter, const QBitmap& mask, QPoint deviceOrigin, const QColor& color)
{
    if (mask.isNull())
        return;
    DeviceSpace device(painter, RatioOf(painter));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(color);
    painter.drawPixmap(deviceOrigin, mask);
}

const QBitmap& LargeViewCache::MaskOf(const std::shared_ptr<const TraceEnvelope>& envelope, QSize deviceSize,
                                      double ratio, const QRect& devicePlot)
{
    MaskEntry& entry = m_masks[envelope.get()];
    if (entry.Envelope != envelope || entry.DeviceSize != deviceSize || entry.DevicePlot != devicePlot) {
        entry.Envelope = envelope;
        entry.DeviceSize = deviceSize;
        entry.DevicePlot = devicePlot;
        entry.Mask = EnvelopeMask(envelope->Points, deviceSize, ratio, devicePlot);
    }
    entry.Used = true;
    return entry.Mask;
}

void LargeViewCache::BeginRender()
{
    Envelopes.BeginRender();
    for (auto it = m_masks.begin(); it != m_masks.end();) {
        if (!it->second.Used) {
            it = m_masks.erase(it);
        } else {
            it->second.Used = false;
            ++it;
        }
    }
}

ViewGeometry RenderLargeView(QPainter& painter, QSize logicalSize, const PlotState& state, const ViewOptions& options,
                             LargeViewCache& cache)
{
    cache.BeginRender();
    const ViewLimits limits = options.Limits.value_or(ViewLimits::FromState(state));
    const std::vector<std::string>& names = cache.NamesOf(state.Traces[0]);
    const Layout layout = PlanLayout(painter, logicalSize, state, limits, names);
    const int numYs = ShownYs(state);
    const int displayed = std::clamp(state.DisplayedTraces, 0, kHistorySlots);
    const bool pixels = DrawsPixels(painter);
    // Masks need the device's whole size, which an image tells.
    const QImage* image = painter.device() && painter.device()->devType() == QInternal::Image
        ? static_cast<const QImage*>(painter.device())
        : nullptr;

    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), logicalSize), Qt::white);
    DrawGrid(painter, layout);

    const QRect& device = layout.DevicePlot;
    CoverageGrid coverage(device.width(), device.height());
    {
        painter.save();
        painter.setClipRect(QRectF(device.left() / layout.Ratio, device.top() / layout.Ratio,
                                   device.width() / layout.Ratio, device.height() / layout.Ratio));
        // Y1 traces under Y2 under Y3; within an axis the newest file on top.
        for (int k = 1; k <= numYs; ++k) {
            for (int s = displayed - 1; s >= 0; --s) {
                const TraceSlot& slot = state.Traces[s];
                if (!ShowsTrace(slot, k))
                    continue;
                const auto envelope =
                    cache.Envelopes.Get(slot, k, limits, device.width(), device.height(), layout.Ratio);
                coverage.Add(envelope->Coverage);
                const QColor color = ColorOfValue(state.Colors[TraceColorIndex(numYs, s, k)]);
                const bool smooth = options.Antialiasing && envelope->InputPoints < std::size_t(device.width());
                if (!pixels)
                    DrawTracePath(painter, slot, k, layout, limits, envelope->Drawn, smooth, color);
                else if (smooth)
                    DrawSmoothTrace(painter, slot, k, layout, limits, envelope->Drawn, color);
                else if (image && envelope->Points.size() > kMaskFromLinesPerColumn * std::size_t(device.width()))
                    DrawEnvelopeMask(painter, cache.MaskOf(envelope, image->size(), layout.Ratio, device),
                                     device.topLeft(), color);
                else
                    DrawEnvelopeLines(painter, envelope->Points, device.topLeft(), color);
            }
        }
        painter.restore();
    }
    DrawFrameAndTicks(painter, layout);
    DrawAxisText(painter, layout);
    if (displayed == 0)
        DrawNoData(painter, layout);
    ViewGeometry geometry;
    geometry.Plot = layout.Plot;
    geometry.DevicePlot = layout.DevicePlot;
    geometry.Ratio = layout.Ratio;
    geometry.Limits = limits;
    geometry.Legend = DrawLegend(painter, layout, state, options, coverage);
    painter.restore();
    return geometry;
}

void RenderLargeView(QPainter& painter, QSize logicalSize, const PlotState& state, const ViewOptions& options)
{
    LargeViewCache cache;
    RenderLargeView(painter, logicalSize, state, options, cache);
}

QImage RenderViewImage(const PlotState& state, const ViewOptions& options, QSize pixelSize, double dotsPerInch,
                       LargeViewCache* cache)
{
    if (pixelSize.isEmpty())
        return {};
    const double ratio = std::clamp(dotsPerInch / 96.0, 0.25, 16.0);
    QImage image(pixelSize, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QSize logical(static_cast<int>(std::ceil(pixelSize.width() / ratio)),
                        static_cast<int>(std::ceil(pixelSize.height() / ratio)));
    LargeViewCache local;
    RenderLargeView(painter, logical, state, options, cache ? *cache : local);
    painter.end();
    // Only a note in the file: set before painting, it would scale the text
    // a second time, on top of the pixel ratio.
    const int dotsPerMeter = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

bool ExportView(const PlotState& state, const QString& outPath, QSize size, std::string& error)
{
    return ExportView(state, ViewOptions{}, outPath, size, error);
}

bool ExportView(const PlotState& state, const ViewOptions& options, const QString& outPath, QSize size,
                std::string& error)
{
    error.clear();
    if (size.isEmpty()) {
        error = "The picture size is empty";
        return false;
    }
    const QString suffix = QFileInfo(outPath).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")) {
        error = "The file name must end in .png or .svg";
        return false;
    }
    // Written beside the target and renamed over it: a failed export never
    // leaves half a file under the name.
    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly)) {
        error = "Cannot write " + file.fileName().toStdString() + ": " + file.errorString().toStdString();
        return false;
    }
    if (suffix == QLatin1String("png")) {
        const QImage image = RenderViewImage(state, options, size, 96);
        if (image.isNull() || !image.save(&file, "PNG")) {
            error = "Cannot make the PNG picture";
            file.cancelWriting();
            return false;
        }
    } else {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(96);
        generator.setTitle(LargeViewTitle(state));
        QPainter painter;
        if (!painter.begin(&generator)) {
            error = "Cannot start the SVG picture";
            file.cancelWriting();
            return false;
        }
        RenderLargeView(painter, size, state, options);
        painter.end();
    }
    if (!file.commit()) {
        error = "Cannot write " + outPath.toStdString() + ": " + file.errorString().toStdString();
        return false;
    }
    return true;
}

QString LargeViewTitle(const PlotState& state)
{
    const TraceSlot& newest = state.Traces[0];
    if (!newest.Loaded())
        return QStringLiteral("Tracely");
    const std::string& name = newest.Name;
    const std::size_t slash = name.rfind('/');
    std::string directory;
    if (slash == std::string::npos) {
        directory = state.CurrentDir;
        if (directory.size() > 1 && directory.back() == '/')
            directory.pop_back();
    } else {
        directory = slash == 0 ? std::string("/") : name.substr(0, slash);
    }
    QString title = FileNameText(ExtractFileName(name));
    if (!directory.empty())
        title += QStringLiteral(" \u2014 ") + FileNameText(directory);
    if (state.ListingCount > 0)
        title += QStringLiteral(" (%1 / %2)").arg(state.ListingIndex + 1).arg(state.ListingCount);
    return title;
}
