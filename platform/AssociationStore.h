// SPDX-License-Identifier: MIT
// The shell's file-type registration as the Linux desktop keeps it:
//   - an extension's file type is the MIME type its glob maps to; the
//     program's own type text/x-trcfile is defined in the user's MIME package
//     $XDG_DATA_HOME/mime/packages/<app id>.xml, which lists every extension
//     the program has claimed;
//   - a type's open command is the user-level default in
//     $XDG_CONFIG_HOME/mimeapps.list ("[Default Applications]"), kept raw so
//     it can be written back exactly;
//   - the extra "open with" entry is our desktop id in "[Added Associations]";
//   - our desktop id is the installed entry when it runs this executable,
//     else a "-local" entry written for this executable.
// Changes are staged and committed together, so a file that cannot be
// written leaves every file as it was (EAssociationError).
#pragma once

#include "MimeAppsList.h"

#include <QString>
#include <QStringList>

#include <vector>

inline constexpr const char* kOwnMimeType = "text/x-trcfile";

// A normalised extension the store can claim: a dot and at least one more
// character, none of them a control character, '/', '\\', a glob
// character ('*', '?', '[', ']') or '=' (the backup keys are "<ext>Name").
bool IsUsableExtension(const QString& ext);
// "type/subtype" that can stand as a key of mimeapps.list.
bool IsMimeTypeName(const QString& name);
// Empty, or desktop ids ("x.desktop") separated by ';'.
bool IsDesktopIdList(const QString& value);

// One extension's association as read.
struct AssocInfo {
    QString Name;   // the MIME type; empty when no glob maps the extension
    QString Com;    // the raw user-level default for Name; empty when there is none
    QString Icon;   // the type's icon name
};

class AssociationStore {
public:
    AssociationStore(QString exePath, XdgPaths paths);

    // Fills info; true when the extension has a type.
    bool ReadAssociation(const QString& ext, AssocInfo& info) const;

    enum class Registration {
        New,
        Changed
    };
    // Makes this program the type's default application, first claiming the
    // extension for the own type when no type maps it.
    Registration RegisterOpenCommand(const QString& ext);

    // Adds our "open with" entry for the extension's type; false (nothing
    // written) when the extension has no type. A type without any explicit
    // default first gets the current default written as the user's default,
    // so the new entry cannot become the double-click application.
    bool AddOpenWithVerb(const QString& ext);

    // Removes our "open with" entry; false when it was not there. While we
    // are the type's user default the entry counts as part of that default.
    bool RemoveOpenWithVerb(const QString& ext);

    // Takes back what making the extension ours added when no backup exists:
    // its glob in our own type, and once no extension of ours is left, our
    // user-level default and added entry for that type. False when there was
    // nothing of ours to take back.
    bool ReleaseOwnExtension(const QString& ext);

    // Writes info.Com back as the user-level default of info.Name, or removes
    // that default when info.Com is empty (there was none before); our added
    // entry goes with it unless the restored default is ours. Throws
    // EAssociationError for a Name or Com that could not come from ReadAssociation.
    void RestoreOpenCommand(const QString& ext, const AssocInfo& info);

    // The desktop id that stands for "this program"; writes nothing.
    QString DesktopId() const;

    // Things the user should know that did not stop the change (a cache tool
    // missing, a desktop-specific list overriding ours). Cleared by taking.
    QStringList TakeWarnings();

    const XdgPaths& Paths() const { return m_paths; }
    QString PackagePath() const;

private:
    QString TypeOf(const QString& ext) const;
    QStringList OwnGlobs() const;
    QString InstalledEntryPath() const;
    void StageDesktopEntry(std::vector<StagedFile>& staged, bool& entryChanged) const;
    void CommitAll(std::vector<StagedFile>& staged);
    void RefreshDesktopCache(bool entryChanged);
    void RefreshMimeCache();
    QString CurrentDefaultFromPlatform(const QString& mimeType) const;
    void WarnIfOverridden(const QString& mimeType);

    QString m_exePath;
    XdgPaths m_paths;
    QStringList m_warnings;
};
