// SPDX-License-Identifier: MIT
#include "MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(MimeAppsList, PuttingAndDroppingIdsKeepsTheOtherEntries)
{
    DesktopKeyFile list(QByteArray("[Added Associations]\ntext/plain=a.desktop;ours.desktop;b.desktop;\n"));
    MimeApps::PutId(list, MimeApps::kAddedGroup, QStringLiteral("text/plain"), QStringLiteral("ours.desktop"), true);
    EXPECT_EQ(list.Value(MimeApps::kAddedGroup, QStringLiteral("text/plain")),
              QStringLiteral("ours.desktop;a.desktop;b.desktop;"));
    MimeApps::PutId(list, MimeApps::kAddedGroup, QStringLiteral("text/plain"), QStringLiteral("ours.desktop"), false);
    EXPECT_EQ(list.Value(MimeApps::kAddedGroup, QStringLiteral("text/plain")),
              QStringLiteral("ours.desktop;a.desktop;b.desktop;"))
        << "already there: unchanged";

    EXPECT_TRUE(
        MimeApps::DropId(list, MimeApps::kAddedGroup, QStringLiteral("text/plain"), QStringLiteral("ours.desktop")));
    EXPECT_FALSE(
        MimeApps::DropId(list, MimeApps::kAddedGroup, QStringLiteral("text/plain"), QStringLiteral("ours.desktop")));
    MimeApps::DropId(list, MimeApps::kAddedGroup, QStringLiteral("text/plain"), QStringLiteral("a.desktop"));
    MimeApps::DropId(list, MimeApps::kAddedGroup, QStringLiteral("text/plain"), QStringLiteral("b.desktop"));
    EXPECT_EQ(list.Bytes(), QByteArray()) << "an emptied list loses its key and its group";
}

TEST(MimeAppsList, LookupOrderPutsDesktopListsFirstAtEachLevel)
{
    XdgPaths paths;
    paths.ConfigHome = QStringLiteral("/c");
    paths.DataHome = QStringLiteral("/d");
    paths.ConfigDirs = {QStringLiteral("/etc/xdg")};
    paths.DataDirs = {QStringLiteral("/usr/share")};
    paths.CurrentDesktops = {QStringLiteral("GNOME")};
    EXPECT_EQ(
        paths.MimeAppsLookupOrder(),
        QStringList({"/c/gnome-mimeapps.list", "/c/mimeapps.list", "/etc/xdg/gnome-mimeapps.list",
                     "/etc/xdg/mimeapps.list", "/d/applications/gnome-mimeapps.list", "/d/applications/mimeapps.list",
                     "/d/applications/defaults.list", "/usr/share/applications/gnome-mimeapps.list",
                     "/usr/share/applications/mimeapps.list", "/usr/share/applications/defaults.list"}));
}

TEST(MimeAppsList, FindsDefaultsAtAnyLevelAndDesktopOverrides)
{
    QTemporaryDir dir;
    XdgPaths paths;
    paths.ConfigHome = dir.path() + QStringLiteral("/config");
    paths.DataHome = dir.path() + QStringLiteral("/data");
    paths.DataDirs = {dir.path() + QStringLiteral("/sys")};
    paths.CurrentDesktops = {QStringLiteral("KDE")};
    Write(dir.path() + QStringLiteral("/sys/applications/defaults.list"),
          "[Default Applications]\ntext/csv=calc.desktop\n");
    Write(paths.ConfigHome + QStringLiteral("/kde-mimeapps.list"), "[Default Applications]\nimage/png=k.desktop;\n");
    Write(paths.ConfigHome + QStringLiteral("/mimeapps.list"), "[Added Associations]\ntext/plain=x.desktop;\n");

    EXPECT_TRUE(MimeApps::AnyDefaultFor(paths, QStringLiteral("text/csv")));
    EXPECT_TRUE(MimeApps::AnyDefaultFor(paths, QStringLiteral("image/png")));
    EXPECT_FALSE(MimeApps::AnyDefaultFor(paths, QStringLiteral("text/plain"))) << "added is not a default";
    EXPECT_EQ(MimeApps::OverridingUserList(paths, QStringLiteral("image/png")),
              paths.ConfigHome + QStringLiteral("/kde-mimeapps.list"));
    EXPECT_TRUE(MimeApps::OverridingUserList(paths, QStringLiteral("text/csv")).isEmpty());
}

TEST(MimeAppsList, UnreadableListIsAnErrorNotAnEmptyList)
{
    QTemporaryDir dir;
    EXPECT_EQ(LoadKeyFile(dir.path() + QStringLiteral("/missing.list")).Bytes(), QByteArray());
    QDir().mkpath(dir.path() + QStringLiteral("/adir.list"));
    EXPECT_THROW(LoadKeyFile(dir.path() + QStringLiteral("/adir.list")), EAssociationError);
}

TEST(MimeAppsList, StagedFileReplacesOnlyOnCommitAndWritesThroughLinks)
{
    QTemporaryDir dir;
    const QString target = dir.path() + QStringLiteral("/store/mimeapps.list");
    const QString link = dir.path() + QStringLiteral("/mimeapps.list");
    Write(target, "old\n");
    QFile::link(target, link);
    {
        StagedFile staged(link, "never committed\n");
    }
    EXPECT_EQ(Read(target), QByteArray("old\n"));
    SaveFileAtomically(link, "new\n");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(target), QByteArray("new\n"));
    EXPECT_EQ(QDir(dir.path() + QStringLiteral("/store")).entryList(QDir::Files), QStringList{"mimeapps.list"})
        << "no temporary file left";

    Write(dir.path() + QStringLiteral("/plain"), "file");
    EXPECT_THROW(StagedFile(dir.path() + QStringLiteral("/plain/x.list"), "x"), EAssociationError);
}

}   // namespace
