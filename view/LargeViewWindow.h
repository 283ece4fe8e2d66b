// SPDX-License-Identifier: MIT
// The large view: a second top-level window that shows the main window's
// PlotState at any size. The main window stays the one controller; it calls
// Refresh() after each of its paints, and this window repaints once per
// displayed frame at most.
#pragma once

#include "LargeView.h"
#include "RepaintPacer.h"
#include "TraceStatistics.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QMenu;
class QTableWidget;

struct ImageExportChoice {
    QSize PixelSize;
    double DotsPerInch = 96;
};

class LargeViewWindow : public QWidget {
    Q_OBJECT

public:
    explicit LargeViewWindow(const PlotState& state, QWidget* parent = nullptr);

    const ViewOptions& Options() const { return m_options; }
    void SetOptions(const ViewOptions& options);

    // The picture as the window shows it, at the window's pixel ratio.
    QImage CurrentImage();

    // The main window follows its files: the title says so.
    void SetFollowing(bool on);
    QString Title() const;

    // The view's own context menu; the caller owns it.
    QMenu* CreateContextMenu();

    // Pictures made since the window was created (a picture is made in a
    // paint after Refresh, a resize or an option change, never in Refresh).
    int Renders() const { return m_renders; }
    const LargeViewCache& Cache() const { return m_cache; }
    QRect LegendRect() const { return m_geometry.Legend; }

    // --- Zoom: the view's own limits, apart from the main window's ---
    // The limits shown now: the zoom's, or the main window's when unzoomed.
    ViewLimits ShownLimits() const;
    bool Zoomed() const { return m_options.Limits.has_value(); }
    // Shows these limits (each axis kept to a usable width); the limits shown
    // before go onto the zoom history.
    void ZoomTo(const ViewLimits& limits);
    // Zooms every axis by `factor` (below 1: in) about a point of the window.
    void ZoomAbout(QPointF at, double factor);
    // Back to the limits before the last zoom; false when there were none.
    bool ZoomBack();
    // Follows the main window's limits again.
    void ResetZoom();
    std::size_t ZoomHistoryDepth() const { return m_history.size(); }

    // Where a value lies in the window (logical pixels) and back, as the
    // last picture mapped it; axis 0 is X.
    double PixelOfValue(int axis, double value) const;
    double ValueOfPixel(int axis, double pixel) const;

    // --- Data cursors A (0) and B (1) ---
    // Puts a cursor on the newest file's sample nearest to x; nothing happens
    // (false) when the newest file has no sample.
    bool PlaceCursor(int which, double x);
    std::optional<double> CursorX(int which) const { return m_cursors.at(std::size_t(which)); }
    int ActiveCursor() const { return m_activeCursor; }
    void ClearCursors();
    // The active cursor by `samples` samples of the newest file, or by a
    // fraction of the view's width (then snapped again).
    void StepCursor(int samples);
    void StepCursorByView(double fraction);
    // The read-out's lines as shown: the cursors' X, ΔX and 1/ΔX, then one
    // line per shown trace ("≈" before a value between two samples).
    QStringList CursorReadout() const;

    // --- Statistics of the shown traces ---
    // Over the visible X range, or between A and B when both are placed.
    std::vector<TraceStatisticsRow> Statistics() const;
    std::pair<double, double> StatisticsRange() const;
    bool StatisticsShown() const;
    QTableWidget* StatisticsTable() const { return m_statsTable; }

    // Sets the main window's limits to the view's (the main window decides
    // how); null leaves the menu entry disabled.
    std::function<void(const ViewLimits&)> ApplyLimits;
    // A turn of the plain wheel (eighths of a degree), which steps files in
    // the main window.
    std::function<void(int)> WheelSteps;

    // Dialogs, replaceable by tests. An empty name or no choice means cancelled.
    std::function<QString(QWidget*, const QString& caption, const QString& filter, const QString& suggested)>
        ChooseSaveFile;
    std::function<std::optional<ImageExportChoice>(QWidget*, const ImageExportChoice& suggested)> ChooseImageSize;
    std::function<void(QWidget*, const QString& message)> ShowError;

    // Copy data refuses more value cells than this (about 100 MB of text).
    static constexpr std::size_t kDefaultCopyLimitCells = 8'000'000;
    void SetCopyLimit(std::size_t cells) { m_copyLimitCells = cells; }

public slots:
    void Refresh();

    void SaveWindowPng();
    void SavePngAtSize();
    void SaveSvg();
    void CopyImage();
    void CopyData();
    void SetShowLegend(bool show);
    void SetAntialiasing(bool on);
    void ApplyLimitsToMain();
    void SetStatisticsShown(bool shown);
    void CopyStatistics();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag {
        None,
        Box,
        Pan,
        CursorA,
        CursorB
    };

    void MakePicture();
    QString SuggestedName(const QString& ending) const;
    QSize PictureSize() const;
    // The picture's geometry for the window as it is now.
    const ViewGeometry& Geometry();
    bool InPlot(QPointF at) const;
    void ShowLimits(const std::optional<ViewLimits>& limits);
    void PushHistory();
    void ZoomToBox(QPointF from, QPointF to);
    void PlaceClickedCursor();
    void CursorsChanged();
    void UpdateStatistics();
    bool NewestHasSamples() const;
    std::optional<std::size_t> SnappedSample(double x) const;
    void DrawOverlay(QPainter& painter);

    std::vector<std::optional<ViewLimits>> m_history;
    std::array<std::optional<double>, 2> m_cursors;
    int m_activeCursor = 0;
    Drag m_drag = Drag::None;
    QPointF m_pressAt;
    QPointF m_dragTo;
    bool m_dragMoved = false;
    ViewLimits m_panFrom;
    bool m_panPushed = false;
    bool m_wheelZooming = false;   // the history has the limits before this run of wheel turns
    QTimer m_clickTimer;           // a click waits to see whether it becomes a double click
    QPointF m_clickAt;
    int m_clickCursor = 0;
    QWidget* m_statsPanel = nullptr;
    QLabel* m_statsRange = nullptr;
    QTableWidget* m_statsTable = nullptr;

    const PlotState& m_state;
    ViewOptions m_options;
    LargeViewCache m_cache;
    QImage m_picture;
    ViewGeometry m_geometry;
    bool m_dirty = true;
    bool m_following = false;
    int m_renders = 0;
    RepaintPacer m_pacer{[this] { repaint(); }, this};
    std::size_t m_copyLimitCells = kDefaultCopyLimitCells;
    std::optional<QPointF> m_dragGrab;   // where in the legend it was taken
};
