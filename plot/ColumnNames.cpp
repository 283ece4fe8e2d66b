// SPDX-License-Identifier: MIT
#include "ColumnNames.h"

#include "DataFileLines.h"
#include "DataFileParts.h"
#include "DataFileReader.h"
#include "LineScanner.h"
#include "UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string CleanField(std::string_view field)
{
    field = TrimBlanks(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = TrimBlanks(field.substr(1, field.size() - 2));
    return std::string(field);
}

std::string FromCp932(std::string_view bytes)
{
    iconv_t cd = ::iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(bytes.size(), '?');
    std::string out;
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // An invalid or cut-off sequence: one byte becomes '?' and the rest
        // goes on.
        out.push_back('?');
        ++in;
        --inLeft;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(cd);
    return out;
}

std::vector<std::string> NamesFromLines(DataFileLines& lines)
{
    std::vector<std::string> before;
    std::string_view line;
    while (lines.Next(line)) {
        if (IsDataLine(line)) {
            const std::size_t values = static_cast<std::size_t>(CountLineValues(line));
            for (auto it = before.rbegin(); it != before.rend(); ++it) {
                std::string_view text = *it;
                while (!text.empty() && text.front() == '#')
                    text.remove_prefix(1);
                std::vector<std::string> fields = SplitHeaderFields(HeaderTextToUtf8(text));
                if (!fields.empty() && fields.size() == values)
                    return fields;
            }
            return {};
        }
        before.emplace_back(line);
    }
    return {};
}

}   // namespace

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(text[i]);
        int extra;
        std::uint32_t min;
        std::uint32_t code;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::string HeaderTextToUtf8(std::string_view bytes)
{
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return FromCp932(bytes);
}

std::vector<std::string> SplitHeaderFields(std::string_view line)
{
    line = TrimBlanks(line);
    std::vector<std::string> fields;
    if (line.empty())
        return fields;
    const char separator = line.find('\t') != std::string_view::npos ? '\t'
        : line.find(',') != std::string_view::npos                   ? ','
                                                                     : '\0';
    if (separator == '\0') {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            const std::size_t start = i;
            while (i < line.size() && !IsBlank(line[i]))
                ++i;
            if (i > start)
                fields.push_back(CleanField(line.substr(start, i - start)));
        }
        return fields;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(CleanField(line.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    while (!fields.empty() && fields.back().empty())
        fields.pop_back();
    return fields;
}

std::vector<std::string> ColumnNamesFromText(std::string_view text)
{
    text = text.substr(0, kHeaderReadLimit);
    std::size_t offset = 0;
    DataFileLines lines([&](char* into, std::size_t size) -> ssize_t {
        const std::size_t n = std::min(size, text.size() - offset);
        std::memcpy(into, text.data() + offset, n);
        offset += n;
        return static_cast<ssize_t>(n);
    });
    return NamesFromLines(lines);
}

std::vector<std::string> ReadColumnNames(const std::string& path)
{
    UniqueFd fd;
    if (OpenDataFile(path, fd) != LoadError::None)
        return {};
    DataFileLines lines(PartReader(fd.Get(), FilePart{0, kHeaderReadLimit}, false), kHeaderReadLimit);
    return NamesFromLines(lines);
}

std::string AxisTitle(const std::vector<std::string>& names, int column)
{
    if (column == 0)
        return "index";
    if (column >= 1 && static_cast<std::size_t>(column) <= names.size() && !names[column - 1].empty())
        return names[column - 1];
    return "column " + std::to_string(column);
}
