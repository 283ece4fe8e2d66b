// SPDX-License-Identifier: MIT
// An icon drawn from image files of several sizes that reads a file only
// once a size asks for it. The toolkit's own file icon reads every file as
// the icon is made: for the window's buttons at their 16 pixels, the 128-
// pixel images cost fifteen times more than the ones shown.
//
// It picks a file as the toolkit's does, the smallest image at least as
// large as asked for, else the largest, and draws it through a toolkit icon
// holding the files read so far. That icon holds the one it would pick among
// all of them, so it draws exactly what an icon of every file draws.
#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QString>

#include <vector>

class FileSizesIconEngine : public QIconEngine {
public:
    struct File {
        QString Path;
        int Edge = 0;   // square images, this many pixels a side
    };

    // The files in order of size, smallest first.
    explicit FileSizesIconEngine(std::vector<File> files);

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override;
    QIconEngine* clone() const override;
    QString key() const override;

    // How many files have been read so far.
    int FilesRead() const;

private:
    // The file that `pixels` (device pixels) shows.
    std::size_t PickFor(const QSize& pixels) const;
    // The toolkit icon, with that file read.
    QIcon& ReadFor(const QSize& pixels);

    std::vector<File> m_files;
    std::vector<bool> m_read;
    QIcon m_icon;
};
