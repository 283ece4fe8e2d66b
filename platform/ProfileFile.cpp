// SPDX-License-Identifier: MIT
#include "ProfileFile.h"

#include "IniDocument.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxStringCharacters = 2047;

std::function<void()>& BeforeReplaceHook() {
    static std::function<void()> hook;
    return hook;
}

bool UsablePath(const std::string& path) {
    return !path.empty() && path.size() <= kMaxProfilePathLength && path.find('\0') == std::string::npos;
}

enum class LoadState { Loaded, Missing, Unreadable };

// Reads the whole file. Only regular files are read, and the open never
// blocks, so a FIFO or device under a settings name cannot hang the program.
LoadState ReadWholeFile(const std::string& path, std::string& bytes) {
    if (!UsablePath(path)) return LoadState::Unreadable;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return (errno == ENOENT || errno == ENOTDIR) ? LoadState::Missing : LoadState::Unreadable;
    struct stat info {};
    LoadState state = LoadState::Loaded;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        state = LoadState::Unreadable;
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                bytes.append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0) {
                break;
            } else if (errno != EINTR) {
                state = LoadState::Unreadable;
                break;
            }
        }
    }
    ::close(fd);
    return state;
}

std::string_view StripEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string DecodeValue(std::string_view raw) {
    const QByteArrayView bytes(raw.data(), static_cast<qsizetype>(raw.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8(bytes);
    if (!utf8.hasError()) return std::string(raw);
    QStringDecoder cp932("CP932", QStringDecoder::Flag::Stateless);
    if (!cp932.isValid()) return std::string(raw);
    const QString decoded = cp932(bytes);
    return decoded.toStdString();
}

std::string TruncateCharacters(std::string text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80 && ++characters > maxCharacters) {
            text.resize(i);
            break;
        }
    }
    return text;
}

}  // namespace

struct ProfileFile::Document {
    IniDocument ini;
    LoadState state = LoadState::Missing;
    bool dirty = false;
};

ProfileFile::ProfileFile(std::string path) : m_path(std::move(path)) {}

ProfileFile::~ProfileFile() = default;

void ProfileFile::SetBeforeReplaceHook(std::function<void()> hook) { BeforeReplaceHook() = std::move(hook); }

ProfileFile::Document ProfileFile::Load() const {
    Document document;
    std::string bytes;
    document.state = ReadWholeFile(m_path, bytes);
    if (document.state == LoadState::Loaded) document.ini = IniDocument(bytes);
    return document;
}

// A file that exists but cannot be read is never written: replacing it with
// only the one new key would throw away everything else in it.
ProfileFile::Document ProfileFile::LoadForWrite() const {
    Document document = Load();
    if (document.state == LoadState::Unreadable) ThrowCannotWrite();
    return document;
}

void ProfileFile::ThrowCannotWrite() const { throw EIniFileException(m_path + " に書き込めません"); }

// QSaveFile writes an unnamed temporary file in the target's directory, syncs
// it and renames it over the target, so the file is either the old or the
// new one, never a mix.
void ProfileFile::Replace(const std::string& bytes) const {
    if (!UsablePath(m_path)) ThrowCannotWrite();
    const QByteArray encodedPath = QByteArray::fromStdString(m_path);
    const QString name = QFile::decodeName(encodedPath);
    // A name that is not valid in the locale's encoding would come back as a
    // different path; refuse rather than write some other file.
    if (QFile::encodeName(name) != encodedPath) ThrowCannotWrite();

    QSaveFile file(name);
    // A writable file in a directory that takes no new files (a shared data
    // directory, or a prepared Tracely.ini beside an installed executable) is
    // written in place, without the rename; that is the only case the fallback
    // covers, and a read-only file is still refused.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) ThrowCannotWrite();
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.flush()) {
        file.cancelWriting();
        ThrowCannotWrite();
    }
    if (const auto& hook = BeforeReplaceHook()) hook();
    if (!file.commit()) ThrowCannotWrite();
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    const Document loaded = m_batch ? Document{} : Load();
    const IniDocument& ini = m_batch ? m_batch->ini : loaded.ini;
    const auto value = ini.Find(section, key);
    if (!value) return def;
    return TruncateCharacters(DecodeValue(StripEnclosingQuotes(*value)), kMaxStringCharacters);
}

int ProfileFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    const Document loaded = m_batch ? Document{} : Load();
    const IniDocument& ini = m_batch ? m_batch->ini : loaded.ini;
    const auto value = ini.Find(section, key);
    if (!value) return def;
    return ParseProfileInteger(StripEnclosingQuotes(*value)).value_or(def);
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (!IniDocument::IsValidSectionName(section) || !IniDocument::IsValidKeyName(key) ||
        !IniDocument::IsValidValue(value)) {
        ThrowCannotWrite();
    }
    if (m_batch) {
        m_batch->ini.Set(section, key, value);
        m_batch->dirty = true;
        return;
    }
    Document document = LoadForWrite();
    document.ini.Set(section, key, value);
    Replace(document.ini.Bytes());
}

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> ProfileFile::ReadSectionKeys(const std::string& section) const {
    if (m_batch) return m_batch->ini.SectionKeys(section);
    return Load().ini.SectionKeys(section);
}

bool ProfileFile::DeleteKey(const std::string& section, const std::string& key) {
    if (m_batch) {
        const bool removed = m_batch->ini.Remove(section, key);
        m_batch->dirty = m_batch->dirty || removed;
        return removed;
    }
    Document document = Load();
    if (document.state != LoadState::Loaded || !document.ini.Remove(section, key)) return false;
    try {
        Replace(document.ini.Bytes());
    } catch (const EIniFileException&) {
        return false;
    }
    return true;
}

ProfileFile::Batch::Batch(ProfileFile& file) : m_file(file) {
    if (file.m_batch) throw std::logic_error("a batch is already open on " + file.m_path);
    file.m_batch = std::make_unique<Document>(file.Load());
}

ProfileFile::Batch::~Batch() { m_file.m_batch.reset(); }

void ProfileFile::Batch::Commit() {
    Document& document = *m_file.m_batch;
    if (!document.dirty) return;
    if (document.state == LoadState::Unreadable) m_file.ThrowCannotWrite();
    m_file.Replace(document.ini.Bytes());
    document.dirty = false;
    document.state = LoadState::Loaded;
}
