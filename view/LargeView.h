// SPDX-License-Identifier: MIT
// The large view's picture: axes with round ticks and column titles, the
// displayed slots' traces at device resolution, and the legend. One painter
// serves the window, the image and SVG exports and the clipboard.
#pragma once

#include "ColumnEnvelope.h"
#include "PlotState.h"

#include <QBitmap>
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <map>
#include <optional>
#include <string>
#include <vector>

class QPainter;

struct ViewOptions {
    bool ShowLegend = true;
    // Antialiased lines for traces with fewer points than the plot has device
    // columns; denser traces are always drawn through their exact envelope.
    bool Antialiasing = true;
    // The legend's top-left corner as a fraction of the room the plot area
    // leaves around it (0..1 each way); unset, it goes to the emptiest corner.
    std::optional<QPointF> LegendPlace;
    // The view's own limits; unset, the main window's settled limits.
    std::optional<ViewLimits> Limits;
};

// What a window keeps between paints: trace envelopes and header names, each
// computed once per load and size.
class LargeViewCache {
public:
    EnvelopeCache Envelopes;

    // Column names of a slot's file, read once per file and load.
    const std::vector<std::string>& NamesOf(const TraceSlot& slot);

    // The pixels of a dense envelope over the plot area, drawn once per
    // envelope and device: a trace whose X runs back and forth keeps more
    // lines than a repaint can draw in time.
    const QBitmap& MaskOf(const std::shared_ptr<const TraceEnvelope>& envelope, QSize deviceSize, double ratio,
                          const QRect& devicePlot);
    // Starts a render: forgets the masks the previous render did not use.
    void BeginRender();

private:
    struct MaskEntry {
        std::shared_ptr<const TraceEnvelope> Envelope;
        QSize DeviceSize;
        QRect DevicePlot;
        QBitmap Mask;
        bool Used = false;
    };
    std::map<const TraceEnvelope*, MaskEntry> m_masks;
    struct NamesEntry {
        std::uint64_t Fingerprint = 0;
        std::vector<std::string> Names;
    };
    std::map<std::pair<std::string, const DataTable*>, NamesEntry> m_names;
};

// Where things went in the last render, in logical pixels of the paint device.
struct ViewGeometry {
    QRect Plot;          // the plot area inside the frame
    QRect Legend;        // empty when no legend was drawn
    QRect DevicePlot;    // the plot area in device pixels, where traces are mapped
    double Ratio = 1;    // device pixels per logical pixel
    ViewLimits Limits;   // the limits the traces were mapped with
};

// Draws the whole view into a logical area of the given size from (0, 0).
// Traces are drawn at the paint device's pixel ratio.
ViewGeometry RenderLargeView(QPainter& painter, QSize logicalSize, const PlotState& state, const ViewOptions& options,
                             LargeViewCache& cache);
void RenderLargeView(QPainter& painter, QSize logicalSize, const PlotState& state, const ViewOptions& options);

// The view as an image of `pixelSize` pixels at `dotsPerInch` (96 is one
// device pixel per logical pixel; more gives larger text and lines, as on a
// screen of that density). The DPI is stored in the image.
QImage RenderViewImage(const PlotState& state, const ViewOptions& options, QSize pixelSize, double dotsPerInch = 96,
                       LargeViewCache* cache = nullptr);

// Writes what the window would show at `size` (pixel ratio 1) to a .png or
// .svg file, chosen by the name's ending. False with a message in `error` when
// the size is empty, the ending unknown or the file cannot be written.
bool ExportView(const PlotState& state, const QString& outPath, QSize size, std::string& error);
bool ExportView(const PlotState& state, const ViewOptions& options, const QString& outPath, QSize size,
                std::string& error);

// "run07.dat — /data/sweep (7 / 120)" for the newest file, "Tracely" without one.
QString LargeViewTitle(const PlotState& state);

// A colour value of the program (0x00BBGGRR, flag byte on top) as Qt's colour;
// system colours become the palette's window colour.
QColor ColorOfValue(TColor value);

// A trace's colour for text on white: a light colour (yellow, pure green) is
// darkened until it reads, keeping its hue.
QColor ReadableOnWhite(QColor color);

// Where in its device pixel a trace point is put: a quarter pixel in from the
// corner, where the aliased line rasteriser rounds alike for a transform that
// is the identity only up to rounding.
inline constexpr double kPixelInset = 0.25;

// Draws reduced trace points as one aliased line per consecutive pair, in
// device pixels of the painter's device, offset by `deviceOrigin`.
void DrawEnvelopeLines(QPainter& painter, const std::vector<EnvelopePoint>& points, QPoint deviceOrigin,
                       const QColor& color);

// The same pixels as a mask of the device plot area: drawn with
// DrawEnvelopeLines on a device of `deviceSize` pixels clipped to
// `devicePlot`, so that drawing the mask gives exactly what the lines give.
QBitmap EnvelopeMask(const std::vector<EnvelopePoint>& points, QSize deviceSize, double ratio, const QRect& devicePlot);
void DrawEnvelopeMask(QPainter& painter, const QBitmap& mask, QPoint deviceOrigin, const QColor& color);
