// SPDX-License-Identifier: MIT
#include "LargeViewWindow.h"

#include "GraphPainter.h"
#include "ViewLegend.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSpinBox>

namespace {

std::optional<ImageExportChoice> AskImageSize(QWidget* parent, const ImageExportChoice& suggested)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QObject::tr("PNGのサイズ"));
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
    form->addRow(QObject::tr("幅 (ピクセル)"), width);
    form->addRow(QObject::tr("高さ (ピクセル)"), height);
    form->addRow(QObject::tr("解像度 (DPI)"), dpi);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ImageExportChoice{QSize(width->value(), height->value()), dpi->value()};
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
    setWindowTitle(LargeViewTitle(m_state));
    if (const QScreen* shown = screen(); shown && shown->refreshRate() >= 1)
        m_pacer.SetFrameInterval(static_cast<qint64>(1e9 / shown->refreshRate()));

    ChooseSaveFile = [](QWidget* p, const QString& caption, const QString& filter, const QString& suggested) {
        return QFileDialog::getSaveFileName(p, caption, suggested, filter);
    };
    ChooseImageSize = AskImageSize;
    ShowError = [](QWidget* p, const QString& message) { QMessageBox::warning(p, QStringLiteral("Tracely"), message); };
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

void LargeViewWindow::MakePicture()
{
    const double ratio = devicePixelRatioF();
    const QSize pixels(qRound(width() * ratio), qRound(height() * ratio));
    if (m_picture.size() != pixels || m_picture.devicePixelRatioF() != ratio) {
        m_picture = QImage(pixels, QImage::Format_RGB32);
        m_picture.setDevicePixelRatio(ratio);
    }
    // The title goes with the picture: setting it costs about as much as a
    // step of the main window, so it is paced with the repaints.
    if (QString title = LargeViewTitle(m_state); title != windowTitle())
        setWindowTitle(title);
    QPainter painter(&m_picture);
    painter.setFont(font());
    m_geometry = RenderLargeView(painter, size(), m_state, m_options, m_cache);
    painter.end();
    m_dirty = false;
    ++m_renders;
}

QImage LargeViewWindow::CurrentImage()
{
    if (m_dirty || m_picture.isNull() || m_picture.devicePixelRatioF() != devicePixelRatioF() ||
        m_picture.size() != QSize(qRound(width() * devicePixelRatioF()), qRound(height() * devicePixelRatioF())))
        MakePicture();
    return m_picture;
}

void LargeViewWindow::paintEvent(QPaintEvent*)
{
    const QImage& picture = CurrentImage();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture);
}

void LargeViewWindow::resizeEvent(QResizeEvent* event)
{
    m_dirty = true;
    QWidget::resizeEvent(event);
}

QMenu* LargeViewWindow::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    menu->addAction(tr("PNGで保存..."), this, &LargeViewWindow::SaveWindowPng)->setObjectName("savePng");
    menu->addAction(tr("サイズを指定してPNGで保存..."), this, &LargeViewWindow::SavePngAtSize)
        ->setObjectName("savePngAtSize");
    menu->addAction(tr("SVGで保存..."), this, &LargeViewWindow::SaveSvg)->setObjectName("saveSvg");
    menu->addSeparator();
    menu->addAction(tr("画像をコピー"), this, &LargeViewWindow::CopyImage)->setObjectName("copyImage");
    menu->addAction(tr("データをコピー"), this, &LargeViewWindow::CopyData)->setObjectName("copyData");
    menu->addSeparator();
    QAction* legend = menu->addAction(tr("凡例を表示"));
    legend->setObjectName("showLegend");
    legend->setCheckable(true);
    legend->setChecked(m_options.ShowLegend);
    connect(legend, &QAction::toggled, this, &LargeViewWindow::SetShowLegend);
    QAction* smooth = menu->addAction(tr("アンチエイリアス"));
    smooth->setObjectName("antialiasing");
    smooth->setCheckable(true);
    smooth->setChecked(m_options.Antialiasing);
    connect(smooth, &QAction::toggled, this, &LargeViewWindow::SetAntialiasing);
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
    const QString name =
        WithEnding(ChooseSaveFile(this, tr("PNGで保存"), tr("PNG画像 (*.png)"), SuggestedName(QStringLiteral(".png"))),
                   QStringLiteral(".png"));
    if (name.isEmpty())
        return;
    if (!picture.save(name, "PNG"))
        ShowError(this, tr("保存できません: %1").arg(name));
}

void LargeViewWindow::SavePngAtSize()
{
    const double ratio = devicePixelRatioF();
    const ImageExportChoice suggested{QSize(qRound(width() * ratio), qRound(height() * ratio)), 96 * ratio};
    const std::optional<ImageExportChoice> choice = ChooseImageSize(this, suggested);
    if (!choice || choice->PixelSize.isEmpty())
        return;
    const QString name =
        WithEnding(ChooseSaveFile(this, tr("PNGで保存"), tr("PNG画像 (*.png)"), SuggestedName(QStringLiteral(".png"))),
                   QStringLiteral(".png"));
    if (name.isEmpty())
        return;
    const QImage image = RenderViewImage(m_state, m_options, choice->PixelSize, choice->DotsPerInch);
    if (image.isNull() || !image.save(name, "PNG"))
        ShowError(this, tr("保存できません: %1").arg(name));
}

void LargeViewWindow::SaveSvg()
{
    const QString name =
        WithEnding(ChooseSaveFile(this, tr("SVGで保存"), tr("SVG画像 (*.svg)"), SuggestedName(QStringLiteral(".svg"))),
                   QStringLiteral(".svg"));
    if (name.isEmpty())
        return;
    std::string error;
    if (!ExportView(m_state, m_options, name, size(), error))
        ShowError(this, tr("保存できません: %1").arg(QString::fromStdString(error)));
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
                  tr("表示中のデータは %1 個の値があり、クリップボードには多すぎます (%2 個まで)。"
                     "表示するファイルを減らしてください。")
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

void LargeViewWindow::mousePressEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    if (event->button() == Qt::LeftButton && m_geometry.Legend.contains(at.toPoint())) {
        m_dragGrab = at - QPointF(m_geometry.Legend.topLeft());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void LargeViewWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragGrab) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QRect& plot = m_geometry.Plot;
    const QRect& legend = m_geometry.Legend;
    const QPointF topLeft = event->position() - *m_dragGrab;
    const double roomX = plot.width() - legend.width();
    const double roomY = plot.height() - legend.height();
    const double fx = roomX > 0 ? (topLeft.x() - plot.left()) / roomX : 0;
    const double fy = roomY > 0 ? (topLeft.y() - plot.top()) / roomY : 0;
    m_options.LegendPlace = QPointF(std::clamp(fx, 0.0, 1.0), std::clamp(fy, 0.0, 1.0));
    Refresh();
    event->accept();
}

void LargeViewWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragGrab && event->button() == Qt::LeftButton) {
        m_dragGrab.reset();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
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
    QWidget::mouseDoubleClickEvent(event);
}
