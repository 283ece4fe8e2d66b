// SPDX-License-Identifier: MIT
#include "ScreenshotPng.h"

#include <QFile>

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr Bytef kUpFilter = 2;

void PutBigEndian(std::string& out, std::uint32_t value)
{
    for (const int shift : {24, 16, 8, 0})
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out += data;
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(out.size() - start));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// The rows, each its filter byte and its bytes less those of the row above,
// as one zlib stream; empty when zlib fails.
std::string CompressedRows(const QImage& image)
{
    const int width = image.width();
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    std::vector<Bytef> above(rowBytes, 0);
    std::vector<Bytef> row(rowBytes);
    std::vector<Bytef> filtered(1 + rowBytes);
    filtered[0] = kUpFilter;

    z_stream stream{};
    if (deflateInit2(&stream, 1, Z_DEFLATED, MAX_WBITS, 8, Z_RLE) != Z_OK)
        return {};
    std::string out(deflateBound(&stream, static_cast<uLong>(filtered.size()) * static_cast<uLong>(image.height())),
                    '\0');
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    bool ok = true;
    for (int y = 0; y < image.height() && ok; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        Bytef* bytes = row.data();
        for (int x = 0; x < width; ++x) {
            *bytes++ = static_cast<Bytef>(qRed(pixels[x]));
            *bytes++ = static_cast<Bytef>(qGreen(pixels[x]));
            *bytes++ = static_cast<Bytef>(qBlue(pixels[x]));
        }
        for (std::size_t i = 0; i < rowBytes; ++i)
            filtered[1 + i] = static_cast<Bytef>(row[i] - above[i]);
        row.swap(above);
        stream.next_in = filtered.data();
        stream.avail_in = static_cast<uInt>(filtered.size());
        const bool last = y + 1 == image.height();
        const int result = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
        ok = stream.avail_in == 0 && (last ? result == Z_STREAM_END : result == Z_OK);
    }
    out.resize(out.size() - stream.avail_out);
    deflateEnd(&stream);
    return ok ? out : std::string();
}

// Quality 80 is zlib's fastest level in the toolkit's PNG writer: a few per
// cent larger than its default and about a third quicker to write.
bool SaveWithToolkit(const QImage& image, const QString& path)
{
    return image.save(path, "PNG", 80);
}

bool WriteFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.flush();
}

}   // namespace

bool WriteScreenshotPng(const QImage& image, const QString& path)
{
    if (image.isNull() || image.format() != QImage::Format_RGB32)
        return SaveWithToolkit(image, path);
    const std::string rows = CompressedRows(image);
    if (rows.empty())
        return SaveWithToolkit(image, path);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(image.width()));
    PutBigEndian(header, static_cast<std::uint32_t>(image.height()));
    header += std::string("\x08\x02\x00\x00\x00", 5);   // 8-bit RGB, no interlace
    PutChunk(png, "IHDR", header);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        std::string resolution;
        PutBigEndian(resolution, static_cast<std::uint32_t>(image.dotsPerMeterX()));
        PutBigEndian(resolution, static_cast<std::uint32_t>(image.dotsPerMeterY()));
        resolution.push_back('\x01');   // per metre
        PutChunk(png, "pHYs", resolution);
    }
    PutChunk(png, "IDAT", rows);
    PutChunk(png, "IEND", std::string());
    return WriteFile(path, png);
}
