// SPDX-License-Identifier: MIT
#include "AssociationStore.h"

#include "AssociationPackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include <optional>
#include <utility>

namespace {

const QString kOwnType = QString::fromLatin1(kOwnMimeType);
const QString kOwnIcon = QStringLiteral("text-x-trcfile");
const QString kAppId = QStringLiteral(TRACELY_APP_ID);

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QString FindTool(const QString& name, const QProcessEnvironment& env)
{
    return QStandardPaths::findExecutable(name, env.value(QStringLiteral("PATH")).split(u':', Qt::SkipEmptyParts));
}

// Runs a tool to its end; nullopt when it is missing, hangs or fails.
std::optional<QByteArray> RunTool(const QString& name, const QStringList& args, QProcessEnvironment env)
{
    const QString program = FindTool(name, env);
    if (program.isEmpty())
        return std::nullopt;
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(program);
    process.setArguments(args);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool IsFirstDefault(const DesktopKeyFile& list, const QString& mimeType, const QString& id)
{
    const QStringList ids = MimeApps::SplitIds(list.Value(MimeApps::kDefaultGroup, mimeType).value_or(QString()));
    return !ids.isEmpty() && ids.front() == id;
}

}   // namespace

bool IsUsableExtension(const QString& ext)
{
    if (ext.size() < 2 || ext.front() != u'.')
        return false;
    for (const QChar c : ext) {
        // Control characters, a path separator, glob syntax and the ini key
        // separator would break a file name, a glob or the backup's key.
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || QStringView(u"/\\*?[]=").contains(c))
            return false;
    }
    return true;
}

bool IsMimeTypeName(const QString& name)
{
    const qsizetype slash = name.indexOf(u'/');
    if (slash <= 0 || slash == name.size() - 1 || name.indexOf(u'/', slash + 1) >= 0)
        return false;
    for (const QChar c : name) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f || QStringView(u"[]=;\\\"").contains(c))
            return false;
    }
    return true;
}

bool IsDesktopIdList(const QString& value)
{
    for (QString id : value.split(u';', Qt::SkipEmptyParts)) {
        id = id.trimmed();
        if (id.isEmpty())
            continue;
        if (!id.endsWith(QStringLiteral(".desktop")) || id.size() <= 8)
            return false;
        for (const QChar c : id) {
            if (c.unicode() <= 0x20 || c.unicode() == 0x7f || QStringView(u"/\\\"[]=").contains(c))
                return false;
        }
    }
    return true;
}

AssociationStore::AssociationStore(QString exePath, XdgPaths paths)
    : m_exePath(QFileInfo(exePath).absoluteFilePath()), m_paths(std::move(paths))
{
}

QString AssociationStore::PackagePath() const
{
    return m_paths.DataHome + QStringLiteral("/mime/packages/") + kAppId + QStringLiteral(".xml");
}

QStringList AssociationStore::OwnGlobs() const
{
    const QString path = PackagePath();
    if (!QFileInfo::exists(path))
        return {};
    const auto globs = ReadPackageGlobs(ReadAll(path), kOwnType);
    if (!globs)
        throw EAssociationError();
    return *globs;
}

// Our own package answers first: the MIME database of this process notices a
// glob added a moment ago only after its next re-check, seconds later.
QString AssociationStore::TypeOf(const QString& ext) const
{
    if (QFileInfo::exists(PackagePath())) {
        const auto globs = ReadPackageGlobs(ReadAll(PackagePath()), kOwnType);
        if (globs && globs->contains(u'*' + ext))
            return kOwnType;
    }
    const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(QStringLiteral("x") + ext);
    return types.isEmpty() ? QString() : types.front().name();
}

bool AssociationStore::ReadAssociation(const QString& ext, AssocInfo& info) const
{
    info = AssocInfo();
    info.Name = TypeOf(ext);
    if (info.Name.isEmpty())
        return false;
    info.Com = LoadKeyFile(m_paths.UserMimeAppsList()).Value(MimeApps::kDefaultGroup, info.Name).value_or(QString());
    info.Icon = info.Name == kOwnType ? kOwnIcon : QMimeDatabase().mimeTypeForName(info.Name).iconName();
    return true;
}

QString AssociationStore::InstalledEntryPath() const
{
    // The first entry of that id is the one desktops use; one that runs some
    // other copy of the program is not ours to name.
    for (const QString& dir : m_paths.ApplicationDirs()) {
        const QString path = dir + u'/' + kAppId + QStringLiteral(".desktop");
        if (QFileInfo::exists(path))
            return DesktopEntryRunsProgram(ReadAll(path), m_exePath) ? path : QString();
    }
    return QString();
}

QString AssociationStore::DesktopId() const
{
    return InstalledEntryPath().isEmpty() ? kAppId + QStringLiteral("-local.desktop")
                                          : kAppId + QStringLiteral(".desktop");
}

void AssociationStore::StageDesktopEntry(std::vector<StagedFile>& staged, bool& entryChanged) const
{
    entryChanged = false;
    if (!InstalledEntryPath().isEmpty())
        return;
    const QString path =
        m_paths.DataHome + QStringLiteral("/applications/") + kAppId + QStringLiteral("-local.desktop");
    const QByteArray text = LocalDesktopEntryText(m_exePath, kOwnType);
    if (QFileInfo(path).isFile() && ReadAll(path) == text)
        return;
    staged.emplace_back(path, text);
    entryChanged = true;
}

void AssociationStore::CommitAll(std::vector<StagedFile>& staged)
{
    for (StagedFile& file : staged)
        file.Commit();
    staged.clear();
}

void AssociationStore::RefreshMimeCache()
{
    const QString mimeDir = m_paths.DataHome + QStringLiteral("/mime");
    if (!RunTool(QStringLiteral("update-mime-database"), {mimeDir}, m_paths.ChildEnvironment()))
        m_warnings << QCoreApplication::translate(
            "AppText",
            "update-mime-database "
            "を実行できませんでした。ファイルマネージャーに反映されるまで時間がかかることがあります");
}

void AssociationStore::RefreshDesktopCache(bool entryChanged)
{
    // Optional: desktops use our entry through mimeapps.list even without its cache.
    if (entryChanged)
        RunTool(QStringLiteral("update-desktop-database"), {m_paths.DataHome + QStringLiteral("/applications")},
                m_paths.ChildEnvironment());
}

QString AssociationStore::CurrentDefaultFromPlatform(const QString& mimeType) const
{
    QProcessEnvironment env = m_paths.ChildEnvironment();
    if (const auto out =
            RunTool(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType}, env)) {
        const QString id = QString::fromUtf8(*out).trimmed();
        if (IsDesktopIdList(id) && !id.contains(u';'))
            return id;
    }
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    if (const auto out = RunTool(QStringLiteral("gio"), {QStringLiteral("mime"), mimeType}, env)) {
        for (const QString& line : QString::fromUtf8(*out).split(u'\n')) {
            if (!line.startsWith(QStringLiteral("Default application for")))
                continue;
            const QString id = line.mid(line.lastIndexOf(QStringLiteral(": ")) + 2).trimmed();
            if (IsDesktopIdList(id) && !id.contains(u';'))
                return id;
        }
    }
    return QString();
}

void AssociationStore::WarnIfOverridden(const QString& mimeType)
{
    const QString list = MimeApps::OverridingUserList(m_paths, mimeType);
    if (!list.isEmpty())
        m_warnings << QCoreApplication::translate("AppText", "%1 の既定のアプリケーションは %2 の設定が優先されます")
                          .arg(mimeType, list);
}

QStringList AssociationStore::TakeWarnings()
{
    return std::exchange(m_warnings, QStringList());
}

AssociationStore::Registration AssociationStore::RegisterOpenCommand(const QString& ext)
{
    if (!IsUsableExtension(ext))
        throw EAssociationError();
    const QString found = TypeOf(ext);
    const bool isNew = found.isEmpty();
    const QString type = isNew ? kOwnType : found;

    const QString id = DesktopId();
    DesktopKeyFile list = LoadKeyFile(m_paths.UserMimeAppsList());
    const QByteArray before = list.Bytes();
    if (!list.SetValue(MimeApps::kDefaultGroup, type, MimeApps::JoinIds({id})))
        throw EAssociationError();
    MimeApps::PutId(list, MimeApps::kAddedGroup, type, id, true);
    MimeApps::DropId(list, MimeApps::kRemovedGroup, type, id);

    // The user list is staged first: it is the file most likely to be
    // unwritable, and nothing else should appear when it is.
    std::optional<StagedFile> listFile;
    if (list.Bytes() != before)
        listFile.emplace(m_paths.UserMimeAppsList(), list.Bytes());
    std::vector<StagedFile> staged;
    if (isNew) {
        QStringList globs = OwnGlobs();
        globs << u'*' + ext;
        staged.emplace_back(PackagePath(), PackageXml(kOwnType, globs));
    }
    bool entryChanged = false;
    StageDesktopEntry(staged, entryChanged);
    if (listFile)
        staged.push_back(std::move(*listFile));

    CommitAll(staged);
    if (isNew)
        RefreshMimeCache();
    RefreshDesktopCache(entryChanged);
    WarnIfOverridden(type);
    return isNew ? Registration::New : Registration::Changed;
}

bool AssociationStore::AddOpenWithVerb(const QString& ext)
{
    const QString type = TypeOf(ext);
    if (type.isEmpty())
        return false;
    const QString id = DesktopId();
    DesktopKeyFile list = LoadKeyFile(m_paths.UserMimeAppsList());
    const QByteArray before = list.Bytes();
    // With no explicit default anywhere, desktops open a type with the first
    // associated application, and the user's added ones come first: pin what
    // opens the type now before our entry joins that list.
    if (!MimeApps::AnyDefaultFor(m_paths, type)) {
        const QString current = CurrentDefaultFromPlatform(type);
        if (!current.isEmpty() && !list.SetValue(MimeApps::kDefaultGroup, type, MimeApps::JoinIds({current})))
            throw EAssociationError();
    }
    MimeApps::PutId(list, MimeApps::kAddedGroup, type, id, false);
    MimeApps::DropId(list, MimeApps::kRemovedGroup, type, id);

    std::optional<StagedFile> listFile;
    if (list.Bytes() != before)
        listFile.emplace(m_paths.UserMimeAppsList(), list.Bytes());
    std::vector<StagedFile> staged;
    bool entryChanged = false;
    StageDesktopEntry(staged, entryChanged);
    if (listFile)
        staged.push_back(std::move(*listFile));

    CommitAll(staged);
    RefreshDesktopCache(entryChanged);
    return true;
}

bool AssociationStore::RemoveOpenWithVerb(const QString& ext)
{
    const QString type = TypeOf(ext);
    if (type.isEmpty())
        return false;
    DesktopKeyFile list = LoadKeyFile(m_paths.UserMimeAppsList());
    const QString id = DesktopId();
    // While we are the type's default, our added entry belongs to that
    // default (it goes with RestoreOpenCommand), not to "open with".
    if (IsFirstDefault(list, type, id) || !MimeApps::DropId(list, MimeApps::kAddedGroup, type, id))
        return false;
    SaveFileAtomically(m_paths.UserMimeAppsList(), list.Bytes());
    return true;
}

bool AssociationStore::ReleaseOwnExtension(const QString& ext)
{
    if (!IsUsableExtension(ext) || TypeOf(ext) != kOwnType)
        return false;
    QStringList globs = OwnGlobs();
    const bool hadGlob = globs.removeAll(u'*' + ext) > 0;

    DesktopKeyFile list = LoadKeyFile(m_paths.UserMimeAppsList());
    const QByteArray before = list.Bytes();
    // The type may still stand for the program's own files through the
    // system's definition; only our user-level entries go, and only when no
    // extension we claimed needs them any more.
    if (globs.isEmpty()) {
        const QString id = DesktopId();
        if (IsFirstDefault(list, kOwnType, id))
            list.RemoveKey(MimeApps::kDefaultGroup, kOwnType);
        MimeApps::DropId(list, MimeApps::kAddedGroup, kOwnType, id);
    }
    const bool listChanged = list.Bytes() != before;
    if (!hadGlob && !listChanged)
        return false;

    std::vector<StagedFile> staged;
    if (listChanged)
        staged.emplace_back(m_paths.UserMimeAppsList(), list.Bytes());
    if (hadGlob)
        staged.emplace_back(PackagePath(), PackageXml(kOwnType, globs));
    CommitAll(staged);
    if (hadGlob)
        RefreshMimeCache();
    return true;
}

void AssociationStore::RestoreOpenCommand(const QString& /*ext*/, const AssocInfo& info)
{
    // The values come from a backup the user may have edited: nothing that is
    // not a MIME type and a list of desktop ids goes into the list.
    if (!IsMimeTypeName(info.Name) || !IsDesktopIdList(info.Com))
        throw EAssociationError();
    DesktopKeyFile list = LoadKeyFile(m_paths.UserMimeAppsList());
    const QByteArray before = list.Bytes();
    if (info.Com.isEmpty())
        list.RemoveKey(MimeApps::kDefaultGroup, info.Name);
    else if (!list.SetValue(MimeApps::kDefaultGroup, info.Name, info.Com))
        throw EAssociationError();
    const QString id = DesktopId();
    if (!IsFirstDefault(list, info.Name, id))
        MimeApps::DropId(list, MimeApps::kAddedGroup, info.Name, id);
    if (list.Bytes() != before)
        SaveFileAtomically(m_paths.UserMimeAppsList(), list.Bytes());
}
