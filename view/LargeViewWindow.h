// SPDX-License-Identifier: MIT
// The large view: a second top-level window that shows the main window's
// PlotState at any size. The main window stays the one controller; it calls
// Refresh() after each of its paints, and this window repaints once per
// displayed frame at most.
#pragma once

#include "LargeView.h"
#include "RepaintPacer.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

class QMenu;

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

    // The view's own context menu; the caller owns it.
    QMenu* CreateContextMenu();

    // Pictures made since the window was created (a picture is made in a
    // paint after Refresh, a resize or an option change, never in Refresh).
    int Renders() const { return m_renders; }
    const LargeViewCache& Cache() const { return m_cache; }
    QRect LegendRect() const { return m_geometry.Legend; }

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void MakePicture();
    QString SuggestedName(const QString& ending) const;

    const PlotState& m_state;
    ViewOptions m_options;
    LargeViewCache m_cache;
    QImage m_picture;
    ViewGeometry m_geometry;
    bool m_dirty = true;
    int m_renders = 0;
    RepaintPacer m_pacer{[this] { repaint(); }, this};
    std::size_t m_copyLimitCells = kDefaultCopyLimitCells;
    std::optional<QPointF> m_dragGrab;   // where in the legend it was taken
};
