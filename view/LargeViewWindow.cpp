// SPDX-License-Identifier: MIT
#include "LargeViewWindow.h"

#include "AxisRanges.h"
#include "GraphPainter.h"
#include "TraceSampling.h"
#include "ViewLegend.h"
#include "ViewZoom.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyleHints>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace {

std::optional<ImageExportChoice> AskImageSize(QWidget* parent, const ImageExportChoice& suggested)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(LargeViewWindow::tr("PNG size"));
    auto* form = new QFormLayout(&dialog);
    auto* width = new QSpinBox(&dialog);
    auto* height = new QSpinBox(&dialog);
    auto* dpi = new QDoubleSpinBox(&dialog);
    width->setRange(16, 20000);
    height->setRange(16, 20000);
    dpi->setRange(24, 1536);
    dpi->setDecimals(0);
    width->setValue(suggested.PixelSize.width());
    height->setValue(suggested.PixelSize.height());
    dpi->setValue(suggested.DotsPerInch);
    form->addRow(LargeViewWindow::tr("Width (pixels)"), width);
    form->addRow(LargeViewWindow::tr("Height (pixels)"), height);
    form->addRow(LargeViewWindow::tr("Resolution (DPI)"), dpi);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ImageExportChoice{QSize(width->value(), height->value()), dpi->value()};
}

// A press and release closer than this is a click, not a drag.
constexpr double kClickSlop = 3;
// A press this close to a cursor line takes the cursor.
constexpr double kCursorGrab = 4;
constexpr int kStatisticsHeight = 170;
// One notch of Ctrl + wheel.
constexpr double kWheelZoomFactor = 0.8;
const QColor kCursorColors[2] = {QColor(200, 0, 0), QColor(0, 90, 200)};
const char* const kCursorNames[2] = {"A", "B"};

QString Number(double value)
{
    if (std::isnan(value))
        return QStringLiteral("\u2014");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return QString::number(value, 'g', 7);
}

QString WithEnding(QString name, const QString& ending)
{
    if (!name.isEmpty() && !name.endsWith(ending, Qt::CaseInsensitive))
        name += ending;
    return name;
}

}   // namespace

LargeViewWindow::LargeViewWindow(const PlotState& state, QWidget* parent) : QWidget(parent, Qt::Window), m_state(state)
{
    setObjectName(QStringLiteral("LargeView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 180);
    resize(960, 640);
    setWindowTitle(Title());
    if (const QScreen* shown = screen(); shown && shown->refreshRate() >= 1)
        m_pacer.SetFrameInterval(static_cast<qint64>(1e9 / shown->refreshRate()));

    ChooseSaveFile = [](QWidget* p, const QString& caption, const QString& filter, const QString& suggested) {
        return QFileDialog::getSaveFileName(p, caption, suggested, filter);
    };
    ChooseImageSize = AskImageSize;
    ShowError = [](QWidget* p, const QString& message) { QMessageBox::warning(p, QStringLiteral("Tracely"), message); };

    // Keys go to the window, never to the panel's table or button: the
    // arrows move the cursors wherever the focus was last put.
    setFocusPolicy(Qt::StrongFocus);
    m_clickTimer.setSingleShot(true);
    connect(&m_clickTimer, &QTimer::timeout, this, &LargeViewWindow::PlaceClickedCursor);

    m_statsPanel = new QWidget(this);
    m_statsPanel->setObjectName(QStringLiteral("statistics"));
    m_statsPanel->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(m_statsPanel);
    column->setContentsMargins(6, 4, 6, 4);
    auto* top = new QHBoxLayout;
    m_statsRange = new QLabel(m_statsPanel);
    auto* copy = new QPushButton(tr("Copy"), m_statsPanel);
    copy->setObjectName(QStringLiteral("copyStatistics"));
    copy->setFocusPolicy(Qt::NoFocus);
    connect(copy, &QPushButton::clicked, this, &LargeViewWindow::CopyStatistics);
    top->addWidget(m_statsRange, 1);
    top->addWidget(copy);
    column->addLayout(top);
    m_statsTable = new QTableWidget(m_statsPanel);
    m_statsTable->setFocusPolicy(Qt::NoFocus);
    m_statsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_statsTable->setColumnCount(10);
    m_statsTable->setHorizontalHeaderLabels({tr("trace"), tr("points"), tr("min"), tr("max"), tr("mean"), tr("RMS"),
                                             tr("std"), tr("peak-to-peak"), tr("X of min"), tr("X of max")});
    m_statsTable->verticalHeader()->hide();
    column->addWidget(m_statsTable, 1);
    m_statsPanel->hide();
}

void LargeViewWindow::SetOptions(const ViewOptions& options)
{
    m_options = options;
    Refresh();
}

void LargeViewWindow::Refresh()
{
    // Only marks the picture (and the title) stale; the pacer folds any
    // number of calls into one paint, so the main window is never held up.
    m_dirty = true;
    m_pacer.Request();
}

QSize LargeViewWindow::PictureSize() const
{
    const int panel = m_statsPanel && !m_statsPanel->isHidden() ? m_statsPanel->height() : 0;
    return QSize(width(), std::max(1, height() - panel));
}

void LargeViewWindow::SetFollowing(bool on)
{
    m_following = on;
    setWindowTitle(Title());
}

QString LargeViewWindow::Title() const
{
    QString title = LargeViewTitle(m_state);
    if (m_following)
        title = tr("%1 \u2014 following").arg(title);
    return title;
}

void LargeViewWindow::MakePicture()
{
    const double ratio = devicePixelRatioF();
    const QSize logical = PictureSize();
    const QSize pixels(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
    if (m_picture.size() != pixels || m_picture.devicePixelRatioF() != ratio) {
        m_picture = QImage(pixels, QImage::Format_RGB32);
        m_picture.setDevicePixelRatio(ratio);
    }
    // The title goes with the picture: setting it costs about as much as a
    // step of the main window, so it is paced with the repaints.
    if (QString title = Title(); title != windowTitle())
        setWindowTitle(title);
    QPainter painter(&m_picture);
    painter.setFont(font());
    m_geometry = RenderLargeView(painter, logical, m_state, m_options, m_cache);
    painter.end();
    m_dirty = false;
    ++m_renders;
    // The data or the limits may have changed with the picture.
    UpdateStatistics();
}

QImage LargeViewWindow::CurrentImage()
{
    const QSize logical = PictureSize();
    if (m_dirty || m_picture.isNull() || m_picture.devicePixelRatioF() != devicePixelRatioF() ||
        m_picture.size() !=
            QSize(qRound(logical.width() * devicePixelRatioF()), qRound(logical.height() * devicePixelRatioF())))
        MakePicture();
    return m_picture;
}

const ViewGeometry& LargeViewWindow::Geometry()
{
    CurrentImage();
    return m_geometry;
}

void LargeViewWindow::paintEvent(QPaintEvent*)
{
    const QImage& picture = CurrentImage();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture);
    DrawOverlay(painter);
}

void LargeViewWindow::resizeEvent(QResizeEvent* event)
{
    m_dirty = true;
    if (m_statsPanel)
        m_statsPanel->setGeometry(0, height() - kStatisticsHeight, width(), kStatisticsHeight);
    QWidget::resizeEvent(event);
}

QMenu* LargeViewWindow::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    menu->addAction(tr("Save as PNG..."), this, &LargeViewWindow::SaveWindowPng)->setObjectName("savePng");
    menu->addAction(tr("Save as PNG at a size..."), this, &LargeViewWindow::SavePngAtSize)
        ->setObjectName("savePngAtSize");
    menu->addAction(tr("Save as SVG..."), this, &LargeViewWindow::SaveSvg)->setObjectName("saveSvg");
    menu->addSeparator();
    menu->addAction(tr("Copy picture"), this, &LargeViewWindow::CopyImage)->setObjectName("copyImage");
    menu->addAction(tr("Copy data"), this, &LargeViewWindow::CopyData)->setObjectName("copyData");
    menu->addSeparator();
    QAction* legend = menu->addAction(tr("Show legend"));
    legend->setObjectName("showLegend");
    legend->setCheckable(true);
    legend->setChecked(m_options.ShowLegend);
    connect(legend, &QAction::toggled, this, &LargeViewWindow::SetShowLegend);
    QAction* smooth = menu->addAction(tr("Antialiasing"));
    smooth->setObjectName("antialiasing");
    smooth->setCheckable(true);
    smooth->setChecked(m_options.Antialiasing);
    connect(smooth, &QAction::toggled, this, &LargeViewWindow::SetAntialiasing);
    menu->addSeparator();
    QAction* stats = menu->addAction(tr("Statistics"));
    stats->setObjectName("showStatistics");
    stats->setCheckable(true);
    stats->setChecked(StatisticsShown());
    connect(stats, &QAction::toggled, this, &LargeViewWindow::SetStatisticsShown);
    QAction* back = menu->addAction(tr("Zoom back"), this, [this] { ZoomBack(); });
    back->setObjectName("zoomBack");
    back->setShortcut(QKeySequence(Qt::Key_Backspace));
    back->setEnabled(!m_history.empty());
    QAction* reset = menu->addAction(tr("Main window's limits"), this, &LargeViewWindow::ResetZoom);
    reset->setObjectName("resetZoom");
    reset->setShortcut(QKeySequence(Qt::Key_Home));
    reset->setEnabled(Zoomed());
    QAction* apply =
        menu->addAction(tr("Apply these limits to the main window"), this, &LargeViewWindow::ApplyLimitsToMain);
    apply->setObjectName("applyLimits");
    apply->setEnabled(static_cast<bool>(ApplyLimits));
    QAction* clear = menu->addAction(tr("Remove cursors"), this, &LargeViewWindow::ClearCursors);
    clear->setObjectName("clearCursors");
    clear->setEnabled(m_cursors[0] || m_cursors[1]);
    return menu;
}

void LargeViewWindow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QString LargeViewWindow::SuggestedName(const QString& ending) const
{
    const TraceSlot& newest = m_state.Traces[0];
    if (!newest.Loaded())
        return QStringLiteral("tracely") + ending;
    QString name = QFile::decodeName(QByteArray::fromStdString(newest.Name));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > name.lastIndexOf(QLatin1Char('/')))
        name.truncate(dot);
    return name + ending;
}

void LargeViewWindow::SaveWindowPng()
{
    const QImage picture = CurrentImage();
    const QString name = WithEnding(
        ChooseSaveFile(this, tr("Save as PNG"), tr("PNG pictures (*.png)"), SuggestedName(QStringLiteral(".png"))),
        QStringLiteral(".png"));
    if (name.isEmpty())
        return;
    if (!picture.save(name, "PNG"))
        ShowError(this, tr("Cannot save: %1").arg(name));
}

void LargeViewWindow::SavePngAtSize()
{
    const double ratio = devicePixelRatioF();
    const ImageExportChoice suggested{QSize(qRound(width() * ratio), qRound(height() * ratio)), 96 * ratio};
    const std::optional<ImageExportChoice> choice = ChooseImageSize(this, suggested);
    if (!choice || choice->PixelSize.isEmpty())
        return;
    const QString name = WithEnding(
        ChooseSaveFile(this, tr("Save as PNG"), tr("PNG pictures (*.png)"), SuggestedName(QStringLiteral(".png"))),
        QStringLiteral(".png"));
    if (name.isEmpty())
        return;
    const QImage image = RenderViewImage(m_state, m_options, choice->PixelSize, choice->DotsPerInch);
    if (image.isNull() || !image.save(name, "PNG"))
        ShowError(this, tr("Cannot save: %1").arg(name));
}

void LargeViewWindow::SaveSvg()
{
    const QString name = WithEnding(
        ChooseSaveFile(this, tr("Save as SVG"), tr("SVG pictures (*.svg)"), SuggestedName(QStringLiteral(".svg"))),
        QStringLiteral(".svg"));
    if (name.isEmpty())
        return;
    std::string error;
    if (!ExportView(m_state, m_options, name, size(), error))
        ShowError(this, tr("Cannot save: %1").arg(QString::fromStdString(error)));
}

void LargeViewWindow::CopyImage()
{
    QGuiApplication::clipboard()->setImage(CurrentImage());
}

void LargeViewWindow::CopyData()
{
    // Ten files of a million points would make gigabytes of clipboard text
    // and hold the program for long: beyond the limit the user is told why
    // nothing was copied.
    if (const std::size_t cells = ShownDataCells(m_state); cells > m_copyLimitCells) {
        ShowError(this,
                  tr("The data shown has %1 values, too many for the clipboard (at most %2). "
                     "Show fewer files.")
                      .arg(cells)
                      .arg(m_copyLimitCells));
        return;
    }
    const std::string text = ShownDataAsTsv(m_state, [this](const TraceSlot& slot) { return m_cache.NamesOf(slot); });
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void LargeViewWindow::SetShowLegend(bool show)
{
    m_options.ShowLegend = show;
    Refresh();
}

void LargeViewWindow::SetAntialiasing(bool on)
{
    m_options.Antialiasing = on;
    Refresh();
}

// --- Zoom ---

ViewLimits LargeViewWindow::ShownLimits() const
{
    return m_options.Limits.value_or(ViewLimits::FromState(m_state));
}

void LargeViewWindow::ShowLimits(const std::optional<ViewLimits>& limits)
{
    m_options.Limits = limits;
    // The panel follows with the next picture: a drag or a run of wheel
    // turns works the statistics out once per frame, not once per event.
    Refresh();
}

void LargeViewWindow::PushHistory()
{
    // A long session of zooming keeps only its recent steps.
    constexpr std::size_t kHistoryLimit = 100;
    if (m_history.size() >= kHistoryLimit)
        m_history.erase(m_history.begin());
    m_history.push_back(m_options.Limits);
    m_wheelZooming = false;
}

void LargeViewWindow::ZoomTo(const ViewLimits& limits)
{
    ViewLimits sane = limits;
    for (ViewAxisLimits& axis : sane.Axes)
        axis = SaneLimits(axis);
    PushHistory();
    ShowLimits(sane);
}

void LargeViewWindow::ZoomAbout(QPointF at, double factor)
{
    const ViewGeometry& geometry = Geometry();
    const QPointF anchor = InPlot(at) ? at : QPointF(geometry.Plot.center());
    ViewLimits limits = ShownLimits();
    limits.Axes[0] = ZoomedAbout(limits.Axes[0], ValueOfPixel(0, anchor.x()), factor);
    for (int k = 1; k < kAxisCount; ++k)
        limits.Axes[k] = ZoomedAbout(limits.Axes[k], ValueOfPixel(k, anchor.y()), factor);
    // A run of wheel turns is one step of the history.
    if (!m_wheelZooming)
        PushHistory();
    m_wheelZooming = true;
    ShowLimits(limits);
}

bool LargeViewWindow::ZoomBack()
{
    if (m_history.empty())
        return false;
    const std::optional<ViewLimits> previous = m_history.back();
    m_history.pop_back();
    m_wheelZooming = false;
    ShowLimits(previous);
    return true;
}

void LargeViewWindow::ResetZoom()
{
    if (!Zoomed())
        return;
    PushHistory();
    ShowLimits(std::nullopt);
}

void LargeViewWindow::ZoomToBox(QPointF from, QPointF to)
{
    const BoxZoom kind = BoxZoomOf(qRound(to.x() - from.x()), qRound(to.y() - from.y()));
    ViewLimits limits = ShownLimits();
    // The lower limit is where the axis starts on the screen (left, bottom),
    // whichever way the rectangle was dragged and the axis runs.
    const QRectF box = QRectF(from, to).normalized();
    if (kind != BoxZoom::YOnly)
        limits.Axes[0] = {ValueOfPixel(0, box.left()), ValueOfPixel(0, box.right())};
    if (kind != BoxZoom::XOnly)
        for (int k = 1; k < kAxisCount; ++k)
            limits.Axes[k] = {ValueOfPixel(k, box.bottom()), ValueOfPixel(k, box.top())};
    ZoomTo(limits);
}

void LargeViewWindow::ApplyLimitsToMain()
{
    if (!ApplyLimits)
        return;
    ViewLimits limits = ShownLimits();
    for (ViewAxisLimits& axis : limits.Axes)
        axis = SaneLimits(axis);
    ApplyLimits(limits);
    // The main window now has these limits: the view follows it again.
    if (Zoomed()) {
        PushHistory();
        ShowLimits(std::nullopt);
    }
}

double LargeViewWindow::PixelOfValue(int axis, double value) const
{
    const QRect& r = m_geometry.DevicePlot;
    const double ratio = m_geometry.Ratio;
    if (axis == 0)
        return (r.left() + PixelMap(m_geometry.Limits.Axes[0], r.width(), false).PositionOf(value) + 0.5) / ratio;
    return (r.top() + PixelMap(m_geometry.Limits.Axes[axis], r.height(), true).PositionOf(value) + 0.5) / ratio;
}

double LargeViewWindow::ValueOfPixel(int axis, double pixel) const
{
    const QRect& r = m_geometry.DevicePlot;
    const double device = pixel * m_geometry.Ratio - 0.5;
    if (axis == 0) {
        const PixelMap map(m_geometry.Limits.Axes[0], r.width(), false);
        return map.Scale != 0 ? map.Lower + (device - r.left()) / map.Scale : map.Lower;
    }
    const PixelMap map(m_geometry.Limits.Axes[axis], r.height(), true);
    return map.Scale != 0 ? map.Lower + (map.Last - (device - r.top())) / map.Scale : map.Lower;
}

bool LargeViewWindow::InPlot(QPointF at) const
{
    const QRect& plot = m_geometry.Plot;
    return at.x() >= plot.left() && at.x() < plot.left() + plot.width() && at.y() >= plot.top() &&
        at.y() < plot.top() + plot.height();
}

// --- Cursors ---

bool LargeViewWindow::NewestHasSamples() const
{
    const TraceSlot& newest = m_state.Traces[0];
    return m_state.DisplayedTraces > 0 && newest.Loaded() && DrawablePoints(newest) > 0;
}

std::optional<std::size_t> LargeViewWindow::SnappedSample(double x) const
{
    if (!NewestHasSamples())
        return std::nullopt;
    const TraceSlot& newest = m_state.Traces[0];
    auto& cache = const_cast<LargeViewCache&>(m_cache);
    return NearestSample((*newest.Table)[0], DrawablePoints(newest), x, cache.Envelopes.SortedX(newest));
}

bool LargeViewWindow::PlaceCursor(int which, double x)
{
    if (which < 0 || which > 1)
        return false;
    const std::optional<std::size_t> sample = SnappedSample(x);
    if (!sample)
        return false;
    m_cursors[std::size_t(which)] = double((*m_state.Traces[0].Table)[0][*sample]);
    m_activeCursor = which;
    CursorsChanged();
    return true;
}

void LargeViewWindow::ClearCursors()
{
    m_cursors = {};
    m_activeCursor = 0;
    CursorsChanged();
}

void LargeViewWindow::StepCursor(int samples)
{
    const std::optional<double> x = m_cursors[std::size_t(m_activeCursor)];
    if (!x)
        return;
    const std::optional<std::size_t> sample = SnappedSample(*x);
    if (!sample)
        return;
    const std::size_t count = DrawablePoints(m_state.Traces[0]);
    const float* xs = (*m_state.Traces[0].Table)[0];
    // Steps over samples without an X, which have no place on the plot.
    std::size_t at = *sample;
    for (int left = std::abs(samples); left > 0;) {
        if (samples < 0 ? at == 0 : at + 1 >= count)
            break;
        at = samples < 0 ? at - 1 : at + 1;
        if (!std::isnan(xs[at]))
            --left;
    }
    if (std::isnan(xs[at]))
        return;
    m_cursors[std::size_t(m_activeCursor)] = double(xs[at]);
    CursorsChanged();
}

void LargeViewWindow::StepCursorByView(double fraction)
{
    const std::optional<double> x = m_cursors[std::size_t(m_activeCursor)];
    if (!x)
        return;
    const ViewAxisLimits shown = SaneLimits(ShownLimits().Axes[0]);
    PlaceCursor(m_activeCursor, *x + fraction * (shown.Upper - shown.Lower));
}

void LargeViewWindow::CursorsChanged()
{
    UpdateStatistics();
    update();
}

void LargeViewWindow::PlaceClickedCursor()
{
    if (!InPlot(m_clickAt))
        return;
    PlaceCursor(m_clickCursor, ValueOfPixel(0, m_clickAt.x()));
}

QStringList LargeViewWindow::CursorReadout() const
{
    QStringList lines;
    if (!m_cursors[0] && !m_cursors[1])
        return lines;
    if (!NewestHasSamples())
        return lines;
    auto& cache = const_cast<LargeViewCache&>(m_cache);
    const TraceSlot& newest = m_state.Traces[0];
    std::array<std::optional<std::size_t>, 2> samples;
    for (std::size_t c = 0; c < 2; ++c) {
        if (!m_cursors[c])
            continue;
        samples[c] = SnappedSample(*m_cursors[c]);
        if (samples[c])
            lines << QStringLiteral("%1: X = %2")
                         .arg(QLatin1String(kCursorNames[c]), Number((*newest.Table)[0][*samples[c]]));
    }
    const bool both = samples[0] && samples[1];
    if (both) {
        const double dx = double((*newest.Table)[0][*samples[1]]) - double((*newest.Table)[0][*samples[0]]);
        lines
            << QStringLiteral("\u0394X = %1   1/\u0394X = %2").arg(Number(dx), dx != 0 ? Number(1 / dx) : Number(NAN));
    }
    const std::vector<ShownTrace> traces =
        ShownTraces(m_state, [&cache](const TraceSlot& slot) { return cache.NamesOf(slot); });
    for (const ShownTrace& trace : traces) {
        const TraceSlot& slot = m_state.Traces[trace.Slot];
        const float* xs = (*slot.Table)[0];
        const float* ys = (*slot.Table)[trace.Axis];
        const std::size_t count = DrawablePoints(slot);
        std::array<std::optional<SampledValue>, 2> values;
        QString line = QString::fromStdString(trace.Label);
        for (std::size_t c = 0; c < 2; ++c) {
            if (!samples[c])
                continue;
            if (trace.Slot == 0) {
                const float y = ys[*samples[c]];
                if (!std::isnan(y))
                    values[c] = SampledValue{y, false};
            } else {
                values[c] =
                    ValueAt(xs, ys, count, double((*newest.Table)[0][*samples[c]]), cache.Envelopes.SortedX(slot));
            }
            const QString text = values[c]
                ? (values[c]->Interpolated ? QStringLiteral("\u2248") : QString()) + Number(values[c]->Value)
                : Number(NAN);
            line += QStringLiteral("   %1: %2").arg(QLatin1String(kCursorNames[c]), text);
        }
        if (both)
            line += QStringLiteral("   \u0394Y: %1")
                        .arg(values[0] && values[1] ? Number(values[1]->Value - values[0]->Value) : Number(NAN));
        lines << line;
    }
    return lines;
}

void LargeViewWindow::DrawOverlay(QPainter& painter)
{
    const QRect& plot = m_geometry.Plot;
    painter.save();
    painter.setClipRect(plot.adjusted(0, 0, 1, 1));
    if (m_drag == Drag::Box && m_dragMoved) {
        QPen pen(QColor(60, 60, 60), 0, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(QColor(0, 120, 215, 40));
        const BoxZoom kind = BoxZoomOf(qRound(m_dragTo.x() - m_pressAt.x()), qRound(m_dragTo.y() - m_pressAt.y()));
        QRectF box = QRectF(m_pressAt, m_dragTo).normalized();
        if (kind == BoxZoom::XOnly)
            box = QRectF(box.left(), plot.top(), box.width(), plot.height());
        else if (kind == BoxZoom::YOnly)
            box = QRectF(plot.left(), box.top(), plot.width(), box.height());
        painter.drawRect(box);
    }
    const QFontMetricsF metrics(font(), this);
    for (std::size_t c = 0; c < 2; ++c) {
        if (!m_cursors[c])
            continue;
        const double x = std::round(PixelOfValue(0, *m_cursors[c])) + 0.5;
        QPen pen(kCursorColors[c], 1, c == 0 ? Qt::SolidLine : Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.top() + plot.height()));
        painter.drawText(QPointF(x + 3, plot.top() + metrics.ascent() + 2), QLatin1String(kCursorNames[c]));
    }
    const QStringList lines = CursorReadout();
    if (!lines.isEmpty()) {
        // Colours of the trace lines, in the order the read-out lists them.
        std::vector<QColor> colors(std::size_t(lines.size()), QColor(Qt::black));
        const int numYs = ShownYs(m_state);
        const std::vector<ShownTrace> traces = ShownTraces(m_state, {});
        const std::size_t first = std::size_t(lines.size()) - traces.size();
        for (std::size_t i = 0; i < traces.size(); ++i)
            colors[first + i] =
                ReadableOnWhite(ColorOfValue(m_state.Colors[TraceColorIndex(numYs, traces[i].Slot, traces[i].Axis)]));
        double widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        const double rowHeight = metrics.height();
        const QSizeF size(widest + 12, rowHeight * double(lines.size()) + 8);
        // In the first corner the legend leaves free (below the cursors'
        // letters at the top), so neither hides the other.
        const QRectF area = QRectF(plot).adjusted(8, 8 + rowHeight, -8, -8);
        const QPointF corners[] = {area.topLeft(), QPointF(area.right() - size.width(), area.top()),
                                   QPointF(area.left(), area.bottom() - size.height()),
                                   QPointF(area.right() - size.width(), area.bottom() - size.height())};
        QRectF box(corners[0], size);
        for (const QPointF& corner : corners) {
            if (!QRectF(corner, size).intersects(QRectF(m_geometry.Legend))) {
                box = QRectF(corner, size);
                break;
            }
        }
        painter.setPen(QColor(150, 150, 150));
        painter.setBrush(QColor(255, 255, 255, 230));
        painter.drawRect(box);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            painter.setPen(colors[std::size_t(i)]);
            painter.drawText(QPointF(box.left() + 6, box.top() + 4 + double(i) * rowHeight + metrics.ascent()),
                             lines[i]);
        }
    }
    painter.restore();
}

// --- Statistics ---

std::pair<double, double> LargeViewWindow::StatisticsRange() const
{
    if (m_cursors[0] && m_cursors[1])
        return {std::min(*m_cursors[0], *m_cursors[1]), std::max(*m_cursors[0], *m_cursors[1])};
    const ViewAxisLimits shown = SaneLimits(ShownLimits().Axes[0]);
    return {std::min(shown.Lower, shown.Upper), std::max(shown.Lower, shown.Upper)};
}

std::vector<TraceStatisticsRow> LargeViewWindow::Statistics() const
{
    auto& cache = const_cast<LargeViewCache&>(m_cache);
    const auto [lo, hi] = StatisticsRange();
    return ShownTraceStatistics(
        m_state, lo, hi, [&cache](const TraceSlot& slot) { return cache.NamesOf(slot); },
        [&cache](const TraceSlot& slot) { return cache.Envelopes.SortedX(slot); });
}

bool LargeViewWindow::StatisticsShown() const
{
    return !m_statsPanel->isHidden();
}

void LargeViewWindow::SetStatisticsShown(bool shown)
{
    m_statsPanel->setGeometry(0, height() - kStatisticsHeight, width(), kStatisticsHeight);
    m_statsPanel->setVisible(shown);
    m_dirty = true;
    update();
    UpdateStatistics();
}

void LargeViewWindow::UpdateStatistics()
{
    // Only what is shown is worked out: a hidden panel costs nothing.
    if (!m_statsPanel || m_statsPanel->isHidden())
        return;
    const auto [lo, hi] = StatisticsRange();
    m_statsRange->setText(
        (m_cursors[0] && m_cursors[1] ? tr("Between A and B: X %1 to %2") : tr("Visible range: X %1 to %2"))
            .arg(Number(lo), Number(hi)));
    const std::vector<TraceStatisticsRow> rows = Statistics();
    m_statsTable->setRowCount(int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const TraceStatistics& s = rows[r].Stats;
        const QStringList cells{QString::fromStdString(rows[r].Trace.Label),
                                QString::number(s.Points),
                                Number(s.Min),
                                Number(s.Max),
                                Number(s.Mean),
                                Number(s.Rms),
                                Number(s.StdDev),
                                Number(s.PeakToPeak),
                                Number(s.XOfMin),
                                Number(s.XOfMax)};
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem* item = m_statsTable->item(int(r), c);
            if (!item) {
                item = new QTableWidgetItem;
                m_statsTable->setItem(int(r), c, item);
            }
            item->setText(cells[c]);
        }
    }
}

void LargeViewWindow::CopyStatistics()
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(StatisticsAsTsv(Statistics())));
}

// --- Mouse and keys ---

void LargeViewWindow::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    const ViewGeometry& geometry = Geometry();
    if (event->button() == Qt::LeftButton && geometry.Legend.contains(at.toPoint())) {
        m_dragGrab = at - QPointF(geometry.Legend.topLeft());
        event->accept();
        return;
    }
    if (!InPlot(at)) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressAt = m_dragTo = at;
    m_dragMoved = false;
    if (event->button() == Qt::LeftButton) {
        m_drag = Drag::Box;
        for (std::size_t c = 0; c < 2; ++c)
            if (m_cursors[c] && std::fabs(PixelOfValue(0, *m_cursors[c]) - at.x()) <= kCursorGrab)
                m_drag = c == 0 ? Drag::CursorA : Drag::CursorB;
        if (m_drag != Drag::Box)
            m_activeCursor = m_drag == Drag::CursorA ? 0 : 1;
    } else if (event->button() == Qt::MiddleButton) {
        m_drag = Drag::Pan;
        m_panFrom = ShownLimits();
    } else {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
}

void LargeViewWindow::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    if (m_dragGrab) {
        const QRect& plot = m_geometry.Plot;
        const QRect& legend = m_geometry.Legend;
        const QPointF topLeft = at - *m_dragGrab;
        const double roomX = plot.width() - legend.width();
        const double roomY = plot.height() - legend.height();
        const double fx = roomX > 0 ? (topLeft.x() - plot.left()) / roomX : 0;
        const double fy = roomY > 0 ? (topLeft.y() - plot.top()) / roomY : 0;
        m_options.LegendPlace = QPointF(std::clamp(fx, 0.0, 1.0), std::clamp(fy, 0.0, 1.0));
        Refresh();
        event->accept();
        return;
    }
    if (m_drag == Drag::None) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_dragTo = at;
    if (std::fabs(at.x() - m_pressAt.x()) > kClickSlop || std::fabs(at.y() - m_pressAt.y()) > kClickSlop)
        m_dragMoved = true;
    switch (m_drag) {
    case Drag::Box: update(); break;
    case Drag::Pan: {
        if (!m_dragMoved)
            break;
        const QRect& plot = m_geometry.Plot;
        ViewLimits limits = m_panFrom;
        limits.Axes[0] = PannedBy(m_panFrom.Axes[0], -(at.x() - m_pressAt.x()) / std::max(1, plot.width() - 1));
        for (int k = 1; k < kAxisCount; ++k)
            limits.Axes[k] = PannedBy(m_panFrom.Axes[k], (at.y() - m_pressAt.y()) / std::max(1, plot.height() - 1));
        // One step of the history for the whole drag.
        if (!m_panPushed) {
            PushHistory();
            m_panPushed = true;
        }
        ShowLimits(limits);
        break;
    }
    case Drag::CursorA:
    case Drag::CursorB: PlaceCursor(m_drag == Drag::CursorA ? 0 : 1, ValueOfPixel(0, at.x())); break;
    case Drag::None: break;
    }
    event->accept();
}

void LargeViewWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragGrab && event->button() == Qt::LeftButton) {
        m_dragGrab.reset();
        event->accept();
        return;
    }
    const Drag drag = m_drag;
    const bool ours = (event->button() == Qt::LeftButton && drag != Drag::Pan && drag != Drag::None) ||
        (event->button() == Qt::MiddleButton && drag == Drag::Pan);
    if (!ours) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_drag = Drag::None;
    m_panPushed = false;
    const QPointF at = event->position();
    if (drag == Drag::Box) {
        if (m_dragMoved) {
            ZoomToBox(m_pressAt, at);
        } else {
            // Placed once it is clear that no second click follows.
            m_clickAt = at;
            m_clickCursor = event->modifiers().testFlag(Qt::ShiftModifier) ? 1 : 0;
            m_clickTimer.start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        }
        update();
    } else if ((drag == Drag::CursorA || drag == Drag::CursorB) && !m_dragMoved) {
        // A click on a cursor line is a click like any other.
        m_clickAt = at;
        m_clickCursor = event->modifiers().testFlag(Qt::ShiftModifier) ? 1 : 0;
        m_clickTimer.start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    }
    event->accept();
}

void LargeViewWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click on the legend hands it back to automatic placement.
    if (event->button() == Qt::LeftButton && m_geometry.Legend.contains(event->position().toPoint())) {
        m_options.LegendPlace.reset();
        Refresh();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && InPlot(event->position())) {
        // The second press of the pair came as a press too: neither it nor
        // its release is a click or the start of a box.
        m_clickTimer.stop();
        m_drag = Drag::None;
        ResetZoom();
        event->accept();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void LargeViewWindow::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        if (delta != 0)
            ZoomAbout(event->position(), std::pow(kWheelZoomFactor, delta / 120.0));
        event->accept();
        return;
    }
    if (WheelSteps) {
        WheelSteps(delta);
        event->accept();
        return;
    }
    QWidget::wheelEvent(event);
}

void LargeViewWindow::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    switch (event->key()) {
    case Qt::Key_Backspace: ZoomBack(); break;
    case Qt::Key_Home: ResetZoom(); break;
    case Qt::Key_Left:
        if (shift)
            StepCursorByView(-0.1);
        else
            StepCursor(-1);
        break;
    case Qt::Key_Right:
        if (shift)
            StepCursorByView(0.1);
        else
            StepCursor(1);
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}
