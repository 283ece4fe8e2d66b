// SPDX-License-Identifier: MIT
#include "MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

EAssociationError::EAssociationError() : std::runtime_error("'' の設定に失敗しました")
{
}

namespace {

QString EnvPath(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? value : fallback;
}

QStringList EnvPathList(const char* name, const QStringList& fallback)
{
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable(name).split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            dirs << QDir::cleanPath(dir);
    }
    return dirs.isEmpty() ? fallback : dirs;
}

QStringList DesktopPrefixes(const XdgPaths& paths)
{
    QStringList prefixes;
    for (const QString& desktop : paths.CurrentDesktops)
        prefixes << desktop.toLower() + QStringLiteral("-");
    return prefixes;
}

void AddListsIn(QStringList& lists, const QString& dir, const QStringList& prefixes)
{
    for (const QString& prefix : prefixes)
        lists << dir + u'/' + prefix + QStringLiteral("mimeapps.list");
    lists << dir + QStringLiteral("/mimeapps.list");
}

// Resolver-side reads never fail: an unreadable list simply says nothing.
DesktopKeyFile ReadQuietly(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return DesktopKeyFile();
    return DesktopKeyFile(file.readAll());
}

bool NamesDefault(const QString& path, const QString& mimeType)
{
    const auto value = ReadQuietly(path).Value(MimeApps::kDefaultGroup, mimeType);
    return value && !MimeApps::SplitIds(*value).isEmpty();
}

}   // namespace

XdgPaths XdgPaths::FromEnvironment()
{
    XdgPaths paths;
    paths.Home = QDir::homePath();
    paths.DataHome = QDir::cleanPath(EnvPath("XDG_DATA_HOME", paths.Home + QStringLiteral("/.local/share")));
    paths.ConfigHome = QDir::cleanPath(EnvPath("XDG_CONFIG_HOME", paths.Home + QStringLiteral("/.config")));
    paths.DataDirs = EnvPathList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
    paths.ConfigDirs = EnvPathList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
    paths.CurrentDesktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    return paths;
}

QProcessEnvironment XdgPaths::ChildEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), Home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), DataHome);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), ConfigHome);
    env.insert(QStringLiteral("XDG_DATA_DIRS"), DataDirs.join(u':'));
    env.insert(QStringLiteral("XDG_CONFIG_DIRS"), ConfigDirs.join(u':'));
    if (CurrentDesktops.isEmpty())
        env.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
    else
        env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), CurrentDesktops.join(u':'));
    return env;
}

QStringList XdgPaths::MimeAppsLookupOrder() const
{
    const QStringList prefixes = DesktopPrefixes(*this);
    QStringList lists;
    AddListsIn(lists, ConfigHome, prefixes);
    for (const QString& dir : ConfigDirs)
        AddListsIn(lists, dir, prefixes);
    for (const QString& dir : ApplicationDirs()) {
        AddListsIn(lists, dir, prefixes);
        lists << dir + QStringLiteral("/defaults.list");
    }
    return lists;
}

QStringList XdgPaths::ApplicationDirs() const
{
    QStringList dirs{DataHome + QStringLiteral("/applications")};
    for (const QString& dir : DataDirs)
        dirs << dir + QStringLiteral("/applications");
    return dirs;
}

QStringList MimeApps::SplitIds(const QString& value)
{
    QStringList ids;
    for (const QString& id : value.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = id.trimmed();
        if (!trimmed.isEmpty())
            ids << trimmed;
    }
    return ids;
}

QString MimeApps::JoinIds(const QStringList& ids)
{
    QString value;
    for (const QString& id : ids)
        value += id + u';';
    return value;
}

void MimeApps::PutId(DesktopKeyFile& list, const QString& group, const QString& mimeType, const QString& id, bool first)
{
    const auto value = list.Value(group, mimeType);
    QStringList ids = value ? SplitIds(*value) : QStringList();
    if (first) {
        if (!ids.isEmpty() && ids.front() == id)
            return;
        ids.removeAll(id);
        ids.prepend(id);
    } else {
        if (ids.contains(id))
            return;
        ids.append(id);
    }
    if (!list.SetValue(group, mimeType, JoinIds(ids)))
        throw EAssociationError();
}

bool MimeApps::DropId(DesktopKeyFile& list, const QString& group, const QString& mimeType, const QString& id)
{
    const auto value = list.Value(group, mimeType);
    if (!value)
        return false;
    QStringList ids = SplitIds(*value);
    if (ids.removeAll(id) == 0)
        return false;
    if (ids.isEmpty())
        list.RemoveKey(group, mimeType);
    else if (!list.SetValue(group, mimeType, JoinIds(ids)))
        throw EAssociationError();
    return true;
}

bool MimeApps::AnyDefaultFor(const XdgPaths& paths, const QString& mimeType)
{
    for (const QString& path : paths.MimeAppsLookupOrder()) {
        if (NamesDefault(path, mimeType))
            return true;
    }
    return false;
}

QString MimeApps::OverridingUserList(const XdgPaths& paths, const QString& mimeType)
{
    for (const QString& prefix : DesktopPrefixes(paths)) {
        const QString path = paths.ConfigHome + u'/' + prefix + QStringLiteral("mimeapps.list");
        if (NamesDefault(path, mimeType))
            return path;
    }
    return QString();
}

DesktopKeyFile LoadKeyFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return DesktopKeyFile();
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw EAssociationError();
    return DesktopKeyFile(file.readAll());
}

StagedFile::StagedFile(const QString& path, const QByteArray& bytes) : m_file(std::make_unique<QSaveFile>(path))
{
    // The directory is made only for a real path; through a symlink QSaveFile
    // writes beside the target, which must already exist.
    const QFileInfo info(path);
    if (!info.isSymLink() && !QDir().mkpath(info.absolutePath()))
        throw EAssociationError();
    if (!m_file->open(QIODevice::WriteOnly) || m_file->write(bytes) != bytes.size()) {
        m_file->cancelWriting();
        throw EAssociationError();
    }
}

StagedFile::~StagedFile()
{
    if (m_file && m_file->isOpen())
        m_file->cancelWriting();
}

StagedFile::StagedFile(StagedFile&&) noexcept = default;
StagedFile& StagedFile::operator=(StagedFile&&) noexcept = default;

void StagedFile::Commit()
{
    if (!m_file->commit())
        throw EAssociationError();
}

void SaveFileAtomically(const QString& path, const QByteArray& bytes)
{
    StagedFile(path, bytes).Commit();
}
