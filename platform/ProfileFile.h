// SPDX-License-Identifier: MIT
// Profile (ini) files with the rules the program relies on: a missing file,
// section or key yields the caller's default; section and key names match
// without regard to ASCII letter case; ReadString returns at most 2,047
// characters and strips one enclosing pair of double or single quotes;
// ReadInteger reads decimal, "0x"/"0X" hex when longer than two characters and
// "$" hex, anything else gives the default; a write replaces a key in place,
// appends a new key at the end of its section and a new section at the end of
// the file, and creates the file. Untouched lines keep their bytes (CRLF too).
// Every call reads the file afresh and every write reaches the disk
// atomically (in place only when the directory takes no new files but the
// file itself is writable, and then only after the room for the new content
// is reserved); a Batch groups several calls into one commit with the same
// final bytes. A file larger than kMaxProfileFileSize is neither read nor
// written: no settings file comes near it, and reading one whole on every
// open would cost the program its memory and time.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Longest path the profile functions use (the system's own limit, PATH_MAX
// less its NUL). A longer path reads as a missing file and refuses writes.
inline constexpr std::size_t kMaxProfilePathLength = 4095;

// Largest settings file the profile functions accept; a real one holds a few
// kilobytes.
inline constexpr std::size_t kMaxProfileFileSize = 1024 * 1024;

// "%s に書き込めません" with the file's path. Also thrown, before anything is
// written, for a section or key name or a value that would break the file's
// line structure (line ends, NUL, ']' in a section, '=' in a key).
class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // The refusal for the file at path; the window words it from the path.
    static EIniFileException CannotWrite(const std::string& path);
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

class ProfileFile {
public:
    // Which symbolic links the file's name may be. Follow suits files in the
    // user's own configuration directory, where dotfiles are often links.
    // OwnOnly suits a file in a directory other users may write to: only a
    // link owned by the user is followed (each link of a chain); any other
    // link reads as a missing file and refuses writes, so nobody can plant a
    // link that makes a save write into the user's files.
    enum class Links {
        Follow,
        OwnOnly
    };

    // What is under the name as a read would take it.
    enum class Found {
        Missing,     // nothing (also a link of the user's own that leads nowhere)
        Readable,    // a readable regular file
        Refused,     // something that is not read and never written: no regular
                     // file, no permission, a link the rule does not follow
        Oversized,   // a regular file over kMaxProfileFileSize
    };

    explicit ProfileFile(std::string path, Links links = Links::Follow);
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    const std::string& Path() const { return m_path; }

    // Opens the file without reading its content.
    Found Examine() const;

    // UTF-8. A value that is not valid UTF-8 (a file written by the Windows
    // program) is read as CP932. The 2,047 limit counts characters, so a
    // character is never cut in half.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    // Throw EIniFileException when the file cannot be written; the file is then unchanged.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Key names of a section in file order, each once, as stored (empty when
    // the section is missing).
    std::vector<std::string> ReadSectionKeys(const std::string& section) const;
    // Removes the key's lines (duplicates too, so it reads as missing afterwards);
    // returns false when the key was missing or the file could not be written.
    bool DeleteKey(const std::string& section, const std::string& key);

    // Called after the new content has reached the disk under a temporary
    // name and before it replaces the file (for a write in place: after the
    // room is reserved and before the first old byte is overwritten): tests
    // end the process here to prove a crash leaves the old file whole. Pass
    // nullptr to clear.
    static void SetBeforeReplaceHook(std::function<void()> hook);

    // While a batch is open, reads and writes use one in-memory copy of the
    // file; Commit writes it once (throws EIniFileException like a write).
    // A batch destroyed without Commit discards its changes; after a Commit
    // the batch stays open on the same copy. One batch per file at a time.
    class Batch {
    public:
        explicit Batch(ProfileFile& file);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        void Commit();
        // What the batch's snapshot found under the name.
        Found State() const;

    private:
        ProfileFile& m_file;
    };

private:
    struct Document;
    Document Load() const;
    Document LoadForWrite() const;
    void Replace(const std::string& bytes) const;
    [[noreturn]] void ThrowCannotWrite() const;

    std::string m_path;
    Links m_links;
    std::unique_ptr<Document> m_batch;   // set while a Batch is open
};
