// SPDX-License-Identifier: MIT
#include "FileSizesIconEngine.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <utility>

FileSizesIconEngine::FileSizesIconEngine(std::vector<File> files)
    : m_files(std::move(files)), m_read(m_files.size(), false)
{
}

std::size_t FileSizesIconEngine::PickFor(const QSize& pixels) const
{
    // By area, as the toolkit compares its images.
    const qint64 wanted = qint64(pixels.width()) * pixels.height();
    for (std::size_t k = 0; k < m_files.size(); ++k)
        if (qint64(m_files[k].Edge) * m_files[k].Edge >= wanted)
            return k;
    return m_files.size() - 1;
}

QIcon& FileSizesIconEngine::ReadFor(const QSize& pixels)
{
    if (m_files.empty())
        return m_icon;
    const std::size_t pick = PickFor(pixels);
    if (!m_read[pick]) {
        m_icon.addFile(m_files[pick].Path, QSize(m_files[pick].Edge, m_files[pick].Edge));
        m_read[pick] = true;
    }
    return m_icon;
}

QPixmap FileSizesIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return ReadFor(size).pixmap(size, 1.0, mode, state);
}

void FileSizesIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : qApp->devicePixelRatio();
    const QSize pixels = rect.size() * ratio;
    painter->drawPixmap(rect, pixmap(pixels, mode, state));
}

QSize FileSizesIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    if (m_files.empty())
        return QSize();
    // The picked image, scaled down to fit when larger; nothing is read.
    const int edge = m_files[PickFor(size)].Edge;
    QSize actual(edge, edge);
    if (actual.width() > size.width() || actual.height() > size.height())
        actual.scale(size, Qt::KeepAspectRatio);
    return actual;
}

QList<QSize> FileSizesIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    QList<QSize> sizes;
    for (const File& file : m_files)
        sizes.push_back(QSize(file.Edge, file.Edge));
    return sizes;
}

bool FileSizesIconEngine::isNull()
{
    return m_files.empty();
}

QIconEngine* FileSizesIconEngine::clone() const
{
    return new FileSizesIconEngine(*this);
}

QString FileSizesIconEngine::key() const
{
    return QStringLiteral("FileSizesIconEngine");
}

int FileSizesIconEngine::FilesRead() const
{
    return static_cast<int>(std::count(m_read.begin(), m_read.end(), true));
}
