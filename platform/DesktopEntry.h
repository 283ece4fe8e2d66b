// SPDX-License-Identifier: MIT
// The freedesktop.org key-file dialect (desktop entries, mimeapps.list) and
// the desktop entry this program writes for itself.
//
// Dialect: '#' starts a comment line, "[Group]" opens a group, "Key=Value"
// with blanks around '=' ignored; group and key names are case-sensitive and
// values are kept raw (no quote stripping, escapes left as written). Lines the
// program does not touch keep their bytes, CRLF included.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class DesktopKeyFile {
public:
    DesktopKeyFile() = default;
    explicit DesktopKeyFile(const QByteArray& bytes);

    QByteArray Bytes() const;

    // The raw value of the first such key in the first such group.
    std::optional<QString> Value(const QString& group, const QString& key) const;

    // Replaces the value in place, or adds the key after the last line of the
    // group that is not blank, or adds the group at the end of the file.
    // Returns false, changing nothing, when a name or the value holds a line
    // end or a name would not read back as itself.
    bool SetValue(const QString& group, const QString& key, const QString& value);

    // Removes the key's line; a group left without keys and comments goes
    // with it, so adding and then removing a key gives back the same bytes.
    bool RemoveKey(const QString& group, const QString& key);

    QStringList Keys(const QString& group) const;

private:
    struct Line {
        QByteArray text;   // without the line end
        QByteArray end;    // "\n", "\r\n" or "" for a last line without one
    };
    enum class Kind {
        Blank,
        Comment,
        Group,
        Key,
        Other
    };
    static Kind Classify(const QByteArray& text, QByteArray* name, QByteArray* value);

    std::optional<std::size_t> FindGroup(const QByteArray& group) const;
    std::size_t GroupEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, const QByteArray& key) const;
    QByteArray NewLineEnd() const;
    void InsertLine(std::size_t at, const QByteArray& text);

    std::vector<Line> m_lines;
};

// Key-file string escapes: "\\" for a backslash, "\n", "\t", "\r", and "\s"
// for a leading blank (which a reader would otherwise trim).
QString EscapeKeyFileString(const QString& text);
QString UnescapeKeyFileString(const QString& text);

// One Exec argument in double quotes: '"', '`', '$' and '\' get a backslash,
// '%' becomes "%%". The result still needs EscapeKeyFileString.
QString QuoteExecArgument(const QString& argument);

// Splits an unescaped Exec value into arguments by the quoting rules above.
// nullopt for an unterminated quote.
std::optional<QStringList> SplitExecLine(const QString& exec);

// The text of the desktop entry that runs exePath (absolute) with one file.
QByteArray LocalDesktopEntryText(const QString& exePath, const QString& mimeType);

// True when the program the entry's Exec runs is exePath: compared by
// canonical path, a bare program name being looked up in PATH first.
bool DesktopEntryRunsProgram(const QByteArray& entryBytes, const QString& exePath);
