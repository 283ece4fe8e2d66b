// SPDX-License-Identifier: MIT
#include "IniDocument.h"

#include <cstdint>
#include <set>
#include <tuple>
#include <utility>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A stray CR (a lone "\r" before the real line end) counts as a blank, so a
// hand-edited file with mixed line ends still reads its values cleanly.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool HasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Trims [begin, end) of text; returns the trimmed start and length.
std::pair<std::size_t, std::size_t> TrimRange(std::string_view text, std::size_t begin, std::size_t end)
{
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return {begin, end - begin};
}

std::optional<int> ParseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

std::optional<int> ParseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{1} << 31)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

}   // namespace

std::string_view TrimProfileBlanks(std::string_view text)
{
    const auto [begin, length] = TrimRange(text, 0, text.size());
    return text.substr(begin, length);
}

std::optional<int> ParseProfileInteger(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.substr(2));
    if (text[0] == '$')
        return ParseHex(text.substr(1));
    return ParseDecimal(text);
}

IniDocument::IniDocument(std::string_view bytes)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t newline = bytes.find('\n', start);
        Line line;
        if (newline == std::string_view::npos) {
            line.text = bytes.substr(start);
            start = bytes.size();
        } else {
            std::size_t textEnd = newline;
            if (textEnd > start && bytes[textEnd - 1] == '\r') {
                --textEnd;
                line.end = "\r\n";
            } else {
                line.end = "\n";
            }
            line.text = bytes.substr(start, textEnd - start);
            start = newline + 1;
        }
        Classify(line, m_lines.empty());
        m_lines.push_back(std::move(line));
    }
}

void IniDocument::Classify(Line& line, bool firstLine)
{
    const std::string_view text = line.text;
    line.kind = Kind::Other;
    std::size_t pos = 0;
    if (firstLine && text.starts_with(kUtf8Bom))
        pos = kUtf8Bom.size();
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    if (pos == text.size() || text[pos] == ';')
        return;

    if (text[pos] == '[') {
        // The name ends at the first ']'; a header without one takes the rest of the line.
        std::size_t close = text.find(']', pos + 1);
        if (close == std::string_view::npos)
            close = text.size();
        std::tie(line.nameBegin, line.nameLength) = TrimRange(text, pos + 1, close);
        line.kind = Kind::Section;
        return;
    }

    const std::size_t equals = text.find('=', pos);
    if (equals == std::string_view::npos)
        return;
    std::tie(line.nameBegin, line.nameLength) = TrimRange(text, pos, equals);
    std::tie(line.valueBegin, line.valueLength) = TrimRange(text, equals + 1, text.size());
    line.equalsAt = equals;
    line.kind = Kind::Key;
}

std::string IniDocument::Bytes() const
{
    std::string out;
    std::size_t size = 0;
    for (const Line& line : m_lines)
        size += line.text.size() + line.end.size();
    out.reserve(size);
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::string_view IniDocument::Name(const Line& line) const
{
    return std::string_view(line.text).substr(line.nameBegin, line.nameLength);
}

std::optional<std::size_t> IniDocument::FindSection(std::string_view section) const
{
    if (section.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Section && EqualsIgnoringAsciiCase(Name(m_lines[i]), section))
            return i;
    }
    return std::nullopt;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != Kind::Section)
        ++i;
    return i;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t header, std::string_view key) const
{
    if (key.empty())
        return std::nullopt;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Key && EqualsIgnoringAsciiCase(Name(m_lines[i]), key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section, std::string_view key) const
{
    const auto header = FindSection(TrimProfileBlanks(section));
    if (!header)
        return std::nullopt;
    const auto at = FindKey(*header, TrimProfileBlanks(key));
    if (!at)
        return std::nullopt;
    const Line& line = m_lines[*at];
    return std::string_view(line.text).substr(line.valueBegin, line.valueLength);
}

std::vector<std::string> IniDocument::SectionKeys(std::string_view section) const
{
    std::vector<std::string> keys;
    const auto header = FindSection(TrimProfileBlanks(section));
    if (!header)
        return keys;
    std::set<std::string> seen;
    const std::size_t end = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (m_lines[i].kind != Kind::Key || m_lines[i].nameLength == 0)
            continue;
        const std::string_view name = Name(m_lines[i]);
        std::string folded(name);
        for (char& c : folded)
            c = AsciiLower(c);
        if (seen.insert(std::move(folded)).second)
            keys.emplace_back(name);
    }
    return keys;
}

std::string IniDocument::NewLineEnd() const
{
    for (const Line& line : m_lines) {
        if (!line.end.empty())
            return line.end;
    }
    return "\n";
}

void IniDocument::InsertLine(std::size_t at, std::string text)
{
    const std::string end = NewLineEnd();
    // A last line without a line end gets one, or the new line would run into it.
    if (at == m_lines.size() && at > 0 && m_lines[at - 1].end.empty())
        m_lines[at - 1].end = end;
    Line line;
    line.text = std::move(text);
    line.end = end;
    Classify(line, at == 0);
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    if (!IsValidSectionName(section) || !IsValidKeyName(key) || !IsValidValue(value))
        return false;
    section = TrimProfileBlanks(section);
    key = TrimProfileBlanks(key);

    const auto header = FindSection(section);
    if (!header) {
        InsertLine(m_lines.size(), "[" + std::string(section) + "]");
        InsertLine(m_lines.size(), std::string(key) + "=" + std::string(value));
        return true;
    }
    if (const auto at = FindKey(*header, key)) {
        Line& line = m_lines[*at];
        line.text.resize(line.equalsAt + 1);
        line.text += value;
        Classify(line, *at == 0);
        return true;
    }
    // After the last key line, so blank lines and comments that close the
    // section stay between it and the next header.
    std::size_t insertAt = *header + 1;
    const std::size_t end = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Key)
            insertAt = i + 1;
    }
    InsertLine(insertAt, std::string(key) + "=" + std::string(value));
    return true;
}

bool IniDocument::Remove(std::string_view section, std::string_view key)
{
    const auto header = FindSection(TrimProfileBlanks(section));
    key = TrimProfileBlanks(key);
    if (!header || key.empty())
        return false;
    bool removed = false;
    for (std::size_t i = SectionEnd(*header); i > *header + 1; --i) {
        const Line& line = m_lines[i - 1];
        if (line.kind == Kind::Key && EqualsIgnoringAsciiCase(Name(line), key)) {
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i - 1));
            removed = true;
        }
    }
    return removed;
}

bool IniDocument::IsValidSectionName(std::string_view section)
{
    if (HasLineBreakOrNul(section) || section.find(']') != std::string_view::npos)
        return false;
    return !TrimProfileBlanks(section).empty();
}

bool IniDocument::IsValidKeyName(std::string_view key)
{
    if (HasLineBreakOrNul(key) || key.find('=') != std::string_view::npos)
        return false;
    const std::string_view trimmed = TrimProfileBlanks(key);
    return !trimmed.empty() && trimmed.front() != '[' && trimmed.front() != ';';
}

bool IniDocument::IsValidValue(std::string_view value)
{
    return !HasLineBreakOrNul(value);
}
