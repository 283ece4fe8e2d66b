// SPDX-License-Identifier: MIT
// The bytes of one profile (ini) file as a list of lines, read the way the
// Windows profile functions read them and edited without disturbing any line
// that is not touched.
//
// Reading rules: a line whose first non-blank character is '[' opens a
// section named by the text up to the first ']'; ';' starts a comment only as
// the first non-blank character of a line; a key line is "name=value" with
// blanks around name and value ignored; any other line is kept but means
// nothing. Names match without regard to ASCII letter case, and the first of
// duplicate sections (and of duplicate keys within it) is the one used. Keys
// before the first section belong to no section. A UTF-8 byte order mark at
// the start is skipped.
//
// Plain C++ on bytes, so it can be fuzzed without Qt.
#pragma once

#include "AsciiText.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string_view bytes);

    // The file's bytes: untouched lines come back exactly as they were read.
    std::string Bytes() const;
    bool Empty() const { return m_lines.empty(); }

    // The value text with surrounding blanks removed, quotes left in place;
    // nullopt when the section or key is missing. The view lives until the next edit.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Key names of the first matching section in file order, each name once
    // (in its first spelling).
    std::vector<std::string> SectionKeys(std::string_view section) const;

    // Replaces the value of an existing key in place (the line keeps everything
    // up to and including its '='), or adds "key=value" after the last key line
    // of the section, or adds the section with the key at the end. New lines
    // take the line end of the file's first line (CRLF files stay CRLF), "\n"
    // in a file that has none. Returns false, leaving the document unchanged,
    // when a name or the value would break the line structure.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // Removes every line of the key in the first matching section, so the key
    // reads as missing afterwards. Returns false when there was none.
    bool Remove(std::string_view section, std::string_view key);

    // A name must be non-empty after trimming and must not break the line
    // structure (line ends, NUL; ']' in a section name; '=' in a key name, or a
    // key starting with '[' or ';' which would read back as a section or comment).
    static bool IsValidSectionName(std::string_view section);
    static bool IsValidKeyName(std::string_view key);
    // A value may hold any bytes except line ends and NUL.
    static bool IsValidValue(std::string_view value);

private:
    enum class Kind {
        Other,
        Section,
        Key
    };
    struct Line {
        std::string text;   // without the line end
        std::string end;    // "\r\n", "\n" or "" for a last line without one
        Kind kind = Kind::Other;
        std::size_t nameBegin = 0;   // section or key name within text
        std::size_t nameLength = 0;
        std::size_t valueBegin = 0;   // key lines: the value within text
        std::size_t valueLength = 0;
        std::size_t equalsAt = 0;   // key lines: position of '='
    };

    static void Classify(Line& line, bool firstLine);
    std::string_view Name(const Line& line) const;
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
    std::string NewLineEnd() const;
    void InsertLine(std::size_t at, std::string text);

    std::vector<Line> m_lines;
};

// The integer rule of the profile reader: optional sign and decimal digits;
// "0x"/"0X" followed by hex digits (more than two characters in all); "$"
// followed by hex digits. Hex takes up to 32 bits and is read as a signed
// 32-bit value (so "$FFFFFFFF" is -1). Anything else, an empty text and a
// decimal value outside the int range give nullopt.
std::optional<int> ParseProfileInteger(std::string_view text);

// Blanks that surround names and values in a profile file.
std::string_view TrimProfileBlanks(std::string_view text);
