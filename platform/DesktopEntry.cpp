// SPDX-License-Identifier: MIT
#include "DesktopEntry.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray TrimBlanks(const QByteArray& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool HoldsLineBreak(const QByteArray& text)
{
    return text.contains('\n') || text.contains('\r') || text.contains('\0');
}

// Where the value of a key line starts: after '=' and the blanks that follow it.
qsizetype ValueStart(const QByteArray& text)
{
    qsizetype at = text.indexOf('=') + 1;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

}   // namespace

DesktopKeyFile::DesktopKeyFile(const QByteArray& bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        Line line;
        if (newline < 0) {
            line.text = bytes.mid(start);
            start = bytes.size();
        } else {
            line.text = bytes.mid(start, newline - start);
            line.end = "\n";
            if (line.text.endsWith('\r')) {
                line.text.chop(1);
                line.end = "\r\n";
            }
            start = newline + 1;
        }
        m_lines.push_back(std::move(line));
    }
}

QByteArray DesktopKeyFile::Bytes() const
{
    QByteArray bytes;
    for (const Line& line : m_lines)
        bytes += line.text + line.end;
    return bytes;
}

DesktopKeyFile::Kind DesktopKeyFile::Classify(const QByteArray& text, QByteArray* name, QByteArray* value)
{
    const QByteArray trimmed = TrimBlanks(text);
    if (trimmed.isEmpty())
        return Kind::Blank;
    if (trimmed.startsWith('#'))
        return Kind::Comment;
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.indexOf(']');
        if (close < 0)
            return Kind::Other;
        if (name)
            *name = trimmed.mid(1, close - 1);
        return Kind::Group;
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return Kind::Other;
    if (name)
        *name = TrimBlanks(text.left(equals));
    if (value)
        *value = TrimBlanks(text.mid(equals + 1));
    return Kind::Key;
}

std::optional<std::size_t> DesktopKeyFile::FindGroup(const QByteArray& group) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        QByteArray name;
        if (Classify(m_lines[i].text, &name, nullptr) == Kind::Group && name == group)
            return i;
    }
    return std::nullopt;
}

std::size_t DesktopKeyFile::GroupEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < m_lines.size() && Classify(m_lines[i].text, nullptr, nullptr) != Kind::Group)
        ++i;
    return i;
}

std::optional<std::size_t> DesktopKeyFile::FindKey(std::size_t header, const QByteArray& key) const
{
    const std::size_t end = GroupEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        QByteArray name;
        if (Classify(m_lines[i].text, &name, nullptr) == Kind::Key && name == key)
            return i;
    }
    return std::nullopt;
}

std::optional<QString> DesktopKeyFile::Value(const QString& group, const QString& key) const
{
    const auto header = FindGroup(group.toUtf8());
    if (!header)
        return std::nullopt;
    const auto at = FindKey(*header, key.toUtf8());
    if (!at)
        return std::nullopt;
    QByteArray value;
    Classify(m_lines[*at].text, nullptr, &value);
    return QString::fromUtf8(value);
}

QStringList DesktopKeyFile::Keys(const QString& group) const
{
    QStringList keys;
    const auto header = FindGroup(group.toUtf8());
    if (!header)
        return keys;
    const std::size_t end = GroupEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        QByteArray name;
        if (Classify(m_lines[i].text, &name, nullptr) == Kind::Key && !keys.contains(QString::fromUtf8(name)))
            keys << QString::fromUtf8(name);
    }
    return keys;
}

QByteArray DesktopKeyFile::NewLineEnd() const
{
    if (!m_lines.empty() && !m_lines.front().end.isEmpty())
        return m_lines.front().end;
    return "\n";
}

void DesktopKeyFile::InsertLine(std::size_t at, const QByteArray& text)
{
    const QByteArray end = NewLineEnd();
    // A last line without a line end gets one before anything follows it.
    if (at == m_lines.size() && !m_lines.empty() && m_lines.back().end.isEmpty())
        m_lines.back().end = end;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line{text, end});
}

bool DesktopKeyFile::SetValue(const QString& group, const QString& key, const QString& value)
{
    const QByteArray groupBytes = group.toUtf8();
    const QByteArray keyBytes = key.toUtf8();
    const QByteArray valueBytes = value.toUtf8();
    if (groupBytes.isEmpty() || HoldsLineBreak(groupBytes) || groupBytes.contains('[') || groupBytes.contains(']'))
        return false;
    if (keyBytes.isEmpty() || HoldsLineBreak(keyBytes) || keyBytes.contains('=') || TrimBlanks(keyBytes) != keyBytes ||
        keyBytes.startsWith('#') || keyBytes.startsWith('['))
        return false;
    if (HoldsLineBreak(valueBytes))
        return false;

    const auto header = FindGroup(groupBytes);
    if (!header) {
        InsertLine(m_lines.size(), '[' + groupBytes + ']');
        InsertLine(m_lines.size(), keyBytes + '=' + valueBytes);
        return true;
    }
    if (const auto at = FindKey(*header, keyBytes)) {
        QByteArray& text = m_lines[*at].text;
        text = text.left(ValueStart(text)) + valueBytes;
        return true;
    }
    std::size_t last = *header;
    const std::size_t end = GroupEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (Classify(m_lines[i].text, nullptr, nullptr) != Kind::Blank)
            last = i;
    }
    InsertLine(last + 1, keyBytes + '=' + valueBytes);
    return true;
}

bool DesktopKeyFile::RemoveKey(const QString& group, const QString& key)
{
    const auto header = FindGroup(group.toUtf8());
    if (!header)
        return false;
    const auto at = FindKey(*header, key.toUtf8());
    if (!at)
        return false;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*at));

    const std::size_t end = GroupEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (Classify(m_lines[i].text, nullptr, nullptr) != Kind::Blank)
            return true;
    }
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*header),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(end));
    return true;
}

QString EscapeKeyFileString(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\')
            out += u"\\\\";
        else if (c == u'\n')
            out += u"\\n";
        else if (c == u'\t')
            out += u"\\t";
        else if (c == u'\r')
            out += u"\\r";
        else if (c == u' ' && i == 0)
            out += u"\\s";
        else
            out += c;
    }
    return out;
}

QString UnescapeKeyFileString(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        if (next == u's')
            out += u' ';
        else if (next == u'n')
            out += u'\n';
        else if (next == u't')
            out += u'\t';
        else if (next == u'r')
            out += u'\r';
        else if (next == u'\\')
            out += u'\\';
        else
            out += QString(u'\\') + next;   // unknown escapes stay as written
    }
    return out;
}

QString QuoteExecArgument(const QString& argument)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        if (c == u'%')
            out += u'%';
        out += c;
    }
    out += u'"';
    return out;
}

std::optional<QStringList> SplitExecLine(const QString& exec)
{
    QStringList args;
    QString current;
    bool inArgument = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == u'"') {
            inArgument = true;
            for (++i;; ++i) {
                if (i >= exec.size())
                    return std::nullopt;
                const QChar q = exec[i];
                if (q == u'"')
                    break;
                if (q == u'\\' && i + 1 < exec.size()) {
                    const QChar n = exec[i + 1];
                    if (n == u'"' || n == u'`' || n == u'$' || n == u'\\') {
                        current += n;
                        ++i;
                        continue;
                    }
                }
                current += q;
            }
        } else if (c == u' ' || c == u'\t') {
            if (inArgument)
                args << current;
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        args << current;
    for (QString& arg : args)
        arg.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return args;
}

QByteArray LocalDesktopEntryText(const QString& exePath, const QString& mimeType)
{
    const QString dir = QFileInfo(exePath).absolutePath();
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=Tracely (%1)\n").arg(EscapeKeyFileString(dir));
    text += QStringLiteral("Comment=Numeric column data viewer\n");
    text += QStringLiteral("Comment[ja]=数値データファイルのビューア\n");
    text += QStringLiteral("Exec=%1 %f\n").arg(EscapeKeyFileString(QuoteExecArgument(exePath)));
    text += QStringLiteral("TryExec=%1\n").arg(EscapeKeyFileString(exePath));
    text += QStringLiteral("Icon=%1\n").arg(QStringLiteral(TRACELY_APP_ID));
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("MimeType=%1;\n").arg(mimeType);
    text += QStringLiteral("Categories=Science;DataVisualization;Qt;\n");
    return text.toUtf8();
}

bool DesktopEntryRunsProgram(const QByteArray& entryBytes, const QString& exePath)
{
    const DesktopKeyFile entry(entryBytes);
    const auto exec = entry.Value(QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
    if (!exec)
        return false;
    const auto args = SplitExecLine(UnescapeKeyFileString(*exec));
    if (!args || args->isEmpty())
        return false;
    QString program = args->front();
    if (!program.contains(u'/'))
        program = QStandardPaths::findExecutable(program);
    if (program.isEmpty())
        return false;
    const QString wanted = QFileInfo(exePath).canonicalFilePath();
    return !wanted.isEmpty() && QFileInfo(program).canonicalFilePath() == wanted;
}
