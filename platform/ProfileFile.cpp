// SPDX-License-Identifier: MIT
#include "ProfileFile.h"

#include "IniDocument.h"
#include "UniqueFd.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t kMaxStringCharacters = 2047;
// The system gives up on a chain of links after 40 as well.
constexpr int kMaxLinkHops = 40;
// Another copy replacing the file between the look at its name and the open
// is worth a second try; a name that keeps changing is not worth a loop.
constexpr int kMaxAttempts = 3;

std::function<void()>& BeforeReplaceHook()
{
    static std::function<void()> hook;
    return hook;
}

void RunBeforeReplaceHook()
{
    if (const auto& hook = BeforeReplaceHook())
        hook();
}

bool UsablePath(const std::string& path)
{
    return !path.empty() && path.size() <= kMaxProfilePathLength && path.find('\0') == std::string::npos;
}

// Where a name leads after the links its rule follows: the directory of the
// last component, held open so that every later step works in that same
// directory, and the component's name there.
struct Location {
    UniqueFd directory;   // O_PATH; invalid when the directory is missing
    std::string name;
    bool exists = false;
    struct stat info { };   // of what the name holds, when it exists
};

enum class Resolution {
    Found,
    Missing,
    Refused
};

// Each link is looked at and read through one descriptor of the link itself,
// so the link that was judged is the link that is followed: swapping the name
// for another link in between changes nothing. The directories on the way are
// taken as the system resolves them; the rule is about the file's own name.
Resolution Resolve(const std::string& path, ProfileFile::Links links, Location& at)
{
    if (!UsablePath(path))
        return Resolution::Refused;
    UniqueFd base;   // where a relative link target starts
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        const std::size_t slash = current.rfind('/');
        const std::string directory = slash == std::string::npos ? std::string(".")
            : slash == 0                                         ? std::string("/")
                                                                 : current.substr(0, slash);
        std::string name = slash == std::string::npos ? current : current.substr(slash + 1);
        if (name.empty() || name == "." || name == "..")
            return Resolution::Refused;
        UniqueFd dir(
            ::openat(base.Valid() ? base.Get() : AT_FDCWD, directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!dir.Valid())
            return (errno == ENOENT || errno == ENOTDIR) ? Resolution::Missing : Resolution::Refused;
        const UniqueFd node(::openat(dir.Get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (!node.Valid()) {
            if (errno != ENOENT)
                return Resolution::Refused;
            at.directory = std::move(dir);
            at.name = std::move(name);
            at.exists = false;
            return Resolution::Missing;
        }
        struct stat info { };
        if (::fstat(node.Get(), &info) != 0)
            return Resolution::Refused;
        if (!S_ISLNK(info.st_mode)) {
            at.directory = std::move(dir);
            at.name = std::move(name);
            at.exists = true;
            at.info = info;
            return Resolution::Found;
        }
        if (links == ProfileFile::Links::OwnOnly && info.st_uid != ::geteuid())
            return Resolution::Refused;
        char target[PATH_MAX];
        const ssize_t length = ::readlinkat(node.Get(), "", target, sizeof target);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target)
            return Resolution::Refused;
        current.assign(target, static_cast<std::size_t>(length));
        base = std::move(dir);
    }
    return Resolution::Refused;
}

// Opens the file Resolve found, provided its name still holds that very file:
// what was checked is what gets read or written. `moved` tells a name that
// changed in between (worth another try) from a refusal.
UniqueFd OpenFound(const Location& at, int flags, bool& moved)
{
    moved = false;
    UniqueFd file(::openat(at.directory.Get(), at.name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) {
        moved = errno == ELOOP || errno == ENOENT;
        return {};
    }
    struct stat now { };
    if (::fstat(file.Get(), &now) != 0)
        return {};
    if (now.st_dev != at.info.st_dev || now.st_ino != at.info.st_ino) {
        moved = true;
        return {};
    }
    return file;
}

enum class LoadState {
    Loaded,
    Missing,
    Unreadable,
    Oversized
};

// Reads at most one byte past the bound, so a file that grows while it is
// read costs no more than one that does not.
LoadState ReadBounded(int fd, std::string& bytes)
{
    char buffer[65536];
    while (bytes.size() <= kMaxProfileFileSize) {
        const std::size_t want = std::min(sizeof buffer, kMaxProfileFileSize + 1 - bytes.size());
        const ssize_t got = ::read(fd, buffer, want);
        if (got > 0) {
            bytes.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            return LoadState::Loaded;
        } else if (errno != EINTR) {
            bytes.clear();
            return LoadState::Unreadable;
        }
    }
    bytes.clear();
    return LoadState::Oversized;
}

// Reads the whole file, or with bytes null only opens it. Only regular files
// are opened, so a FIFO or device under a settings name cannot hang the
// program, and the size is judged before the first byte is read.
LoadState ReadProfile(const std::string& path, ProfileFile::Links links, std::string* bytes)
{
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        Location at;
        switch (Resolve(path, links, at)) {
        case Resolution::Missing: return LoadState::Missing;
        case Resolution::Refused: return LoadState::Unreadable;
        case Resolution::Found: break;
        }
        if (!S_ISREG(at.info.st_mode))
            return LoadState::Unreadable;
        if (static_cast<std::uintmax_t>(at.info.st_size) > kMaxProfileFileSize)
            return LoadState::Oversized;
        bool moved = false;
        const UniqueFd file = OpenFound(at, O_RDONLY, moved);
        if (moved)
            continue;
        if (!file.Valid())
            return LoadState::Unreadable;
        return bytes ? ReadBounded(file.Get(), *bytes) : LoadState::Loaded;
    }
    return LoadState::Unreadable;
}

ProfileFile::Found FoundFrom(LoadState state)
{
    switch (state) {
    case LoadState::Loaded: return ProfileFile::Found::Readable;
    case LoadState::Missing: return ProfileFile::Found::Missing;
    case LoadState::Oversized: return ProfileFile::Found::Oversized;
    case LoadState::Unreadable: break;
    }
    return ProfileFile::Found::Refused;
}

bool WriteAll(int fd, const char* data, std::size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += written;
    }
    return true;
}

std::string TemporaryName()
{
    thread_local std::mt19937_64 random{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::uint64_t value = random();
    std::string name = ".tracely-";
    for (int i = 0; i < 16; ++i, value >>= 4)
        name += kDigits[value & 15];
    return name + ".tmp";
}

bool NoNewFilesError(int error)
{
    return error == EACCES || error == EPERM;
}

enum class Outcome {
    Written,
    Failed,
    NoNewFiles,
    Moved,
    Unsupported
};

// The new content first reaches the disk as a file of its own, then replaces
// the target with one rename in the target's real directory, so the file is
// the old or the new one, never a mix, and a link to it stays a link. The new
// file is unnamed until it is complete where the system allows it (nothing is
// left behind by a crash), else made under a fresh name that must not exist
// yet: never a file or link someone prepared.
Outcome WriteAside(const Location& at, const std::string& bytes, bool unnamed)
{
    const int dir = at.directory.Get();
    std::string temporary;
    UniqueFd file;
    if (unnamed) {
        file = UniqueFd(::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
        if (!file.Valid()) {
            if (NoNewFilesError(errno))
                return Outcome::NoNewFiles;
            return (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) ? Outcome::Unsupported : Outcome::Failed;
        }
    } else {
        for (int tries = 0; tries < 100 && !file.Valid(); ++tries) {
            temporary = TemporaryName();
            file =
                UniqueFd(::openat(dir, temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (!file.Valid() && errno != EEXIST)
                break;
        }
        if (!file.Valid())
            return NoNewFilesError(errno) ? Outcome::NoNewFiles : Outcome::Failed;
    }
    const auto discard = [&] {
        if (!temporary.empty())
            ::unlinkat(dir, temporary.c_str(), 0);
    };
    if ((at.exists && ::fchmod(file.Get(), at.info.st_mode & 0777) != 0) ||
        !WriteAll(file.Get(), bytes.data(), bytes.size(), 0) || ::fsync(file.Get()) != 0) {
        discard();
        return Outcome::Failed;
    }
    try {
        RunBeforeReplaceHook();
    } catch (...) {
        discard();
        throw;
    }
    if (unnamed) {
        const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
        bool linked = false;
        for (int tries = 0; tries < 100 && !linked; ++tries) {
            temporary = TemporaryName();
            linked = ::linkat(AT_FDCWD, self.c_str(), dir, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0;
            if (!linked && errno != EEXIST)
                break;
        }
        if (!linked) {
            // Without /proc the unnamed file cannot be given a name.
            const bool noProc = errno == ENOENT;
            temporary.clear();
            return noProc ? Outcome::Unsupported : Outcome::Failed;
        }
    }
    if (::renameat(dir, temporary.c_str(), dir, at.name.c_str()) != 0) {
        discard();
        return Outcome::Failed;
    }
    return Outcome::Written;
}

void GiveBackLength(int fd, off_t length)
{
    while (::ftruncate(fd, length) != 0 && errno == EINTR) { }
}

// Takes the room for the whole new content (holes of a sparse file too)
// without touching the old bytes. Where the file system cannot reserve (no
// fallocate) the new tail itself is written beyond the old end first, which
// takes the same room. On failure the file gets its old length back, whatever
// part of the room was taken.
bool Reserve(int fd, const std::string& bytes, off_t oldLength)
{
    const auto newLength = static_cast<off_t>(bytes.size());
    if (newLength == 0)
        return true;
    int result = 0;
    do {
        result = ::fallocate(fd, 0, 0, newLength);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return true;
    if (errno == EOPNOTSUPP &&
        (newLength <= oldLength ||
         WriteAll(fd, bytes.data() + oldLength, static_cast<std::size_t>(newLength - oldLength), oldLength))) {
        return true;
    }
    GiveBackLength(fd, oldLength);
    return false;
}

// Written in place, the file is at risk while the new bytes go over the old
// ones: a full disk or a file size limit hit then leaves it cut short. So the
// new content first reserves its room, and the first old byte is overwritten
// only when that worked; a shorter content is cut to length afterwards.
Outcome WriteInPlace(const Location& at, const std::string& bytes, ProfileFile::Links links)
{
    bool moved = false;
    const UniqueFd file = OpenFound(at, O_WRONLY, moved);
    if (moved)
        return Outcome::Moved;
    if (!file.Valid())
        return Outcome::Failed;
    struct stat info { };
    if (::fstat(file.Get(), &info) != 0 || static_cast<std::uintmax_t>(info.st_size) > kMaxProfileFileSize) {
        return Outcome::Failed;
    }
    // A second name of the file may be a hard link that someone else put into
    // a shared directory to a file of the user's elsewhere.
    if (links == ProfileFile::Links::OwnOnly && info.st_nlink != 1)
        return Outcome::Failed;
    const off_t oldLength = info.st_size;
    const auto newLength = static_cast<off_t>(bytes.size());
    if (!Reserve(file.Get(), bytes, oldLength))
        return Outcome::Failed;
    try {
        RunBeforeReplaceHook();
    } catch (...) {
        if (newLength > oldLength)
            GiveBackLength(file.Get(), oldLength);
        throw;
    }
    if (!WriteAll(file.Get(), bytes.data(), bytes.size(), 0))
        return Outcome::Failed;
    if (newLength < oldLength && ::ftruncate(file.Get(), newLength) != 0)
        return Outcome::Failed;
    return ::fsync(file.Get()) == 0 ? Outcome::Written : Outcome::Failed;
}

std::string_view StripEnclosingQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string DecodeValue(std::string_view raw)
{
    const QByteArrayView bytes(raw.data(), static_cast<qsizetype>(raw.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8(bytes);
    if (!utf8.hasError())
        return std::string(raw);
    QStringDecoder cp932("CP932", QStringDecoder::Flag::Stateless);
    if (!cp932.isValid())
        return std::string(raw);
    const QString decoded = cp932(bytes);
    return decoded.toStdString();
}

std::string TruncateCharacters(std::string text, std::size_t maxCharacters)
{
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

}   // namespace

struct ProfileFile::Document {
    IniDocument ini;
    LoadState state = LoadState::Missing;
    bool dirty = false;
};

ProfileFile::ProfileFile(std::string path, Links links) : m_path(std::move(path)), m_links(links)
{
}

ProfileFile::~ProfileFile() = default;

void ProfileFile::SetBeforeReplaceHook(std::function<void()> hook)
{
    BeforeReplaceHook() = std::move(hook);
}

ProfileFile::Found ProfileFile::Examine() const
{
    return FoundFrom(ReadProfile(m_path, m_links, nullptr));
}

ProfileFile::Document ProfileFile::Load() const
{
    Document document;
    std::string bytes;
    document.state = ReadProfile(m_path, m_links, &bytes);
    if (document.state == LoadState::Loaded)
        document.ini = IniDocument(bytes);
    return document;
}

// A file that exists but cannot be read is never written: replacing it with
// only the one new key would throw away everything else in it.
ProfileFile::Document ProfileFile::LoadForWrite() const
{
    Document document = Load();
    if (document.state == LoadState::Unreadable || document.state == LoadState::Oversized)
        ThrowCannotWrite();
    return document;
}

void ProfileFile::ThrowCannotWrite() const
{
    throw EIniFileException::CannotWrite(m_path);
}

EIniFileException EIniFileException::CannotWrite(const std::string& path)
{
    EIniFileException error(path + " に書き込めません");
    error.m_path = path;
    return error;
}

// The name is resolved again here rather than trusted from the read: it may
// have changed since, and the decision must hold for what is written.
void ProfileFile::Replace(const std::string& bytes) const
{
    if (bytes.size() > kMaxProfileFileSize)
        ThrowCannotWrite();
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        Location at;
        const Resolution found = Resolve(m_path, m_links, at);
        if (found == Resolution::Refused || !at.directory.Valid())
            ThrowCannotWrite();
        if (found == Resolution::Found &&
            (!S_ISREG(at.info.st_mode) || static_cast<std::uintmax_t>(at.info.st_size) > kMaxProfileFileSize)) {
            ThrowCannotWrite();
        }
        // Replacing a file is up to its directory's permissions, but a file
        // the user may not write stays as it is.
        if (at.exists && ::faccessat(at.directory.Get(), at.name.c_str(), W_OK, AT_EACCESS) != 0)
            ThrowCannotWrite();
        Outcome outcome = WriteAside(at, bytes, true);
        if (outcome == Outcome::Unsupported)
            outcome = WriteAside(at, bytes, false);
        // A writable file in a directory that takes no new files (a shared
        // data directory, or a prepared Tracely.ini beside an installed
        // executable) is written in place; a read-only file is still refused.
        if (outcome == Outcome::NoNewFiles && at.exists)
            outcome = WriteInPlace(at, bytes, m_links);
        if (outcome == Outcome::Written)
            return;
        if (outcome != Outcome::Moved)
            ThrowCannotWrite();
    }
    ThrowCannotWrite();
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    const Document loaded = m_batch ? Document{} : Load();
    const IniDocument& ini = m_batch ? m_batch->ini : loaded.ini;
    const auto value = ini.Find(section, key);
    if (!value)
        return def;
    return TruncateCharacters(DecodeValue(StripEnclosingQuotes(*value)), kMaxStringCharacters);
}

int ProfileFile::ReadInteger(const std::string& section, const std::string& key, int def) const
{
    const Document loaded = m_batch ? Document{} : Load();
    const IniDocument& ini = m_batch ? m_batch->ini : loaded.ini;
    const auto value = ini.Find(section, key);
    if (!value)
        return def;
    return ParseProfileInteger(StripEnclosingQuotes(*value)).value_or(def);
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
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

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> ProfileFile::ReadSectionKeys(const std::string& section) const
{
    if (m_batch)
        return m_batch->ini.SectionKeys(section);
    return Load().ini.SectionKeys(section);
}

bool ProfileFile::DeleteKey(const std::string& section, const std::string& key)
{
    if (m_batch) {
        const bool removed = m_batch->ini.Remove(section, key);
        m_batch->dirty = m_batch->dirty || removed;
        return removed;
    }
    Document document = Load();
    if (document.state != LoadState::Loaded || !document.ini.Remove(section, key))
        return false;
    try {
        Replace(document.ini.Bytes());
    } catch (const EIniFileException&) {
        return false;
    }
    return true;
}

ProfileFile::Batch::Batch(ProfileFile& file) : m_file(file)
{
    if (file.m_batch)
        throw std::logic_error("a batch is already open on " + file.m_path);
    file.m_batch = std::make_unique<Document>(file.Load());
}

ProfileFile::Batch::~Batch()
{
    m_file.m_batch.reset();
}

ProfileFile::Found ProfileFile::Batch::State() const
{
    return FoundFrom(m_file.m_batch->state);
}

void ProfileFile::Batch::Commit()
{
    Document& document = *m_file.m_batch;
    if (!document.dirty)
        return;
    if (document.state == LoadState::Unreadable || document.state == LoadState::Oversized)
        m_file.ThrowCannotWrite();
    m_file.Replace(document.ini.Bytes());
    document.dirty = false;
    document.state = LoadState::Loaded;
}
