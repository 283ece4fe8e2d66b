// SPDX-License-Identifier: MIT
// The directories the freedesktop.org desktop files live in, and the
// mimeapps.list files that decide which application opens a MIME type.
#pragma once

#include "DesktopEntry.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

class QSaveFile;

// A desktop file that cannot be read or written. Its text is the program's
// setting-failure message, "'%s' の設定に失敗しました" with an empty name.
class EAssociationError : public std::runtime_error {
public:
    EAssociationError();
};

// The XDG base directories as the desktop sees them. Child processes
// (update-mime-database, gio) get exactly these, so a test can point the
// whole chain at temporary directories.
struct XdgPaths {
    QString Home;
    QString DataHome;
    QString ConfigHome;
    QStringList DataDirs;
    QStringList ConfigDirs;
    QStringList CurrentDesktops;   // from XDG_CURRENT_DESKTOP, as given

    // The values of this process, with the documented defaults for unset variables.
    static XdgPaths FromEnvironment();

    // The system environment with the XDG variables replaced by these.
    QProcessEnvironment ChildEnvironment() const;

    QString UserMimeAppsList() const { return ConfigHome + QStringLiteral("/mimeapps.list"); }

    // Every mimeapps.list (and legacy defaults.list) in the order a resolver
    // consults them, the user list included.
    QStringList MimeAppsLookupOrder() const;

    // Directories holding desktop entries, the user's first.
    QStringList ApplicationDirs() const;
};

namespace MimeApps {
inline const QString kDefaultGroup = QStringLiteral("Default Applications");
inline const QString kAddedGroup = QStringLiteral("Added Associations");
inline const QString kRemovedGroup = QStringLiteral("Removed Associations");

// "a.desktop;b.desktop;" <-> {"a.desktop", "b.desktop"}.
QStringList SplitIds(const QString& value);
QString JoinIds(const QStringList& ids);

// Puts id first (or last) in the group's list for mimeType, once.
void PutId(DesktopKeyFile& list, const QString& group, const QString& mimeType, const QString& id, bool first);
// Drops id from the list; a list left empty loses its key. True when id was there.
bool DropId(DesktopKeyFile& list, const QString& group, const QString& mimeType, const QString& id);

// True when any list in the lookup order names a default for mimeType.
bool AnyDefaultFor(const XdgPaths& paths, const QString& mimeType);
// A desktop-specific user list ($XDG_CONFIG_HOME/<desktop>-mimeapps.list)
// that names a default for mimeType, so outranks the user list; else empty.
QString OverridingUserList(const XdgPaths& paths, const QString& mimeType);
}   // namespace MimeApps

// A missing file reads as empty. Throws EAssociationError when the file exists
// but cannot be read, so that an unreadable list is never replaced by a blank one.
DesktopKeyFile LoadKeyFile(const QString& path);

// New bytes for a file, written to a temporary file beside it (through a
// symlink, beside its target) and put in place only by Commit. Several files
// of one change are all staged before the first is committed, so a file that
// cannot be written stops the change before anything is replaced. Throws
// EAssociationError when the file or its directory cannot be written; a
// staged file that is never committed leaves the old file as it was.
class StagedFile {
public:
    StagedFile(const QString& path, const QByteArray& bytes);
    ~StagedFile();
    StagedFile(StagedFile&&) noexcept;
    StagedFile& operator=(StagedFile&&) noexcept;
    void Commit();

private:
    std::unique_ptr<QSaveFile> m_file;
};

void SaveFileAtomically(const QString& path, const QByteArray& bytes);
