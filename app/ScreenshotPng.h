// SPDX-License-Identifier: MIT
// Writes the screenshot of the window as PNG, several times quicker than the
// toolkit's writer, which tries five filters on every row to pick the best
// and then looks for repeats at every distance. A screenshot is mostly flat
// areas: each row taken as its difference from the row above (the PNG "Up"
// filter) is mostly zeros, and runs of a byte, which zlib's run-length mode
// finds at a fraction of the cost, shrink it about as well.
//
// An opaque image is written as 8-bit RGB with its resolution, as the
// toolkit writes it; any other is left to the toolkit's writer.
#pragma once

#include <QImage>
#include <QString>

bool WriteScreenshotPng(const QImage& image, const QString& path);
