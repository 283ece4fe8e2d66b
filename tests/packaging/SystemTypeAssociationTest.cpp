// SPDX-License-Identifier: MIT
// The association tool on a desktop where the package is installed: the
// system MIME database already maps *.gdw to the program's own type, and the
// packaged desktop entry, running "tracely" from PATH, handles that type.
// The tool works on top of that in the user's files only; gio confirms what
// a double-click opens.
#include "../platform/AssociationSandbox.h"
#include "AssociationManager.h"
#include "ProfileFile.h"

#include <QCryptographicHash>
#include <QDirIterator>

#include <gtest/gtest.h>

using sandbox::Desktop;
using sandbox::ReadFile;

namespace {

const QString kInstalledId = QStringLiteral(TRACELY_APP_ID ".desktop");
const QString kOwnType = QStringLiteral("text/x-trcfile");

// The installed program, a stub that logs to $TRACELY_STUB_LOG. The system
// part gets the packaged MIME package and desktop entry once, before the MIME
// database of this process is first asked.
const QString& InstalledProgram()
{
    static const QString path = [] {
        const QString sys = sandbox::SystemDir();
        sandbox::WriteFile(sys + QStringLiteral("/mime/packages/tracely.xml"),
                           ReadFile(QStringLiteral(TRACELY_MIME_PACKAGE)));
        EXPECT_TRUE(sandbox::Run(QStringLiteral("update-mime-database"), {sys + QStringLiteral("/mime")}));
        sandbox::WriteFile(sys + QStringLiteral("/applications/") + kInstalledId,
                           ReadFile(QStringLiteral(TRACELY_DESKTOP_ENTRY)));
        EXPECT_TRUE(sandbox::Run(QStringLiteral("update-desktop-database"), {sys + QStringLiteral("/applications")}));
        const QString bin = QFileInfo(sys).absolutePath() + QStringLiteral("/usr-bin");
        sandbox::WriteFile(bin + QStringLiteral("/tracely"),
                           "#!/bin/sh\necho \"tracely $*\" >> \"$TRACELY_STUB_LOG\"\n", true);
        qputenv("PATH", bin.toUtf8() + ':' + qgetenv("PATH"));
        return bin + QStringLiteral("/tracely");
    }();
    return path;
}

// Every file under the system directory with a hash of its bytes.
QStringList Snapshot()
{
    QStringList files;
    QDirIterator it(sandbox::SystemDir(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files << path + u' ' + QCryptographicHash::hash(ReadFile(path), QCryptographicHash::Sha1).toHex();
    }
    files.sort();
    return files;
}

class SystemTypeAssociation : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InstalledProgram(); }

    SystemTypeAssociation()
    {
        qputenv("TRACELY_STUB_LOG", desk.ProgramLog.toUtf8());
        systemBefore = Snapshot();
    }
    ~SystemTypeAssociation() override { EXPECT_EQ(Snapshot(), systemBefore) << "system files were changed"; }

    AssociationManager Make()
    {
        Dialogs dialogs;
        dialogs.Message = [this](QWidget*, const QString&, const QString& text) { messages << text; };
        dialogs.Error = [this](QWidget*, const QString& text) { messages << QStringLiteral("error: ") + text; };
        dialogs.ConfirmOkCancel = [](QWidget*, const QString&, const QString&) { return true; };
        return AssociationManager(AssociationStore(InstalledProgram(), desk.Paths), IniPath().toStdString(), dialogs);
    }
    QString IniPath() const { return desk.Base() + QStringLiteral("/Tracely.ini"); }
    QString Opens(const QString& name) const { return desk.GioOpen(name).section(u' ', 0, 0); }
    std::string Shown() const { return messages.join(u'\n').toStdString(); }

    Desktop desk;
    QStringList messages;
    QStringList systemBefore;
};

TEST_F(SystemTypeAssociation, OwnExtensionIsTheInstalledTypeAndNothingElseIs)
{
    AssociationStore store(InstalledProgram(), desk.Paths);
    AssocInfo info;
    ASSERT_TRUE(store.ReadAssociation(QStringLiteral(".gdw"), info));
    EXPECT_EQ(info.Name, kOwnType);
    EXPECT_EQ(info.Com, QString());
    EXPECT_EQ(info.Icon, QStringLiteral("text-x-trcfile"));
    EXPECT_EQ(store.DesktopId(), kInstalledId) << "the packaged entry runs this program";
    EXPECT_FALSE(store.ReadAssociation(QStringLiteral(".dat"), info)) << info.Name.toStdString();
    ASSERT_TRUE(store.ReadAssociation(QStringLiteral(".txt"), info));
    EXPECT_EQ(info.Name, QStringLiteral("text/plain"));
}

TEST_F(SystemTypeAssociation, MakeDefaultThenUndoTakesBackOnlyTheUserEntries)
{
    REQUIRE_GIO();
    AssociationManager manager = Make();
    manager.ChangeKanren(QStringLiteral("GDW"), 0);
    EXPECT_FALSE(QFile::exists(AssociationStore(InstalledProgram(), desk.Paths).PackagePath()))
        << "the type exists: no user package";
    EXPECT_TRUE(ReadFile(desk.UserList()).contains(kInstalledId.toUtf8()));
    manager.ChangeKanren(QStringLiteral("gdw"), 2);
    manager.RestoreAll();
    EXPECT_EQ(
        messages,
        QStringList({".gdwの関連づけを変更しました", ".gdwの関連づけを消去しました", "全ての関連づけを復元しました"}))
        << Shown();
    EXPECT_FALSE(QFile::exists(IniPath())) << "nothing of the program's own type is backed up";
    EXPECT_EQ(ReadFile(desk.UserList()), QByteArray()) << "the user's list is as it was";
    EXPECT_EQ(desk.GioDefault(kOwnType), kInstalledId) << "the system's default shows through";
    EXPECT_EQ(Opens(QStringLiteral("s.gdw")), QStringLiteral("tracely"));
}

TEST_F(SystemTypeAssociation, NewExtensionJoinsTheTypeBesideTheSystemGlob)
{
    REQUIRE_GIO();
    Make().ChangeKanren(QStringLiteral("dat"), 0);
    EXPECT_EQ(messages, QStringList{".datの関連づけを新規に設定しました"}) << Shown();
    const QByteArray userGlobs = ReadFile(desk.Paths.DataHome + QStringLiteral("/mime/globs2"));
    EXPECT_TRUE(userGlobs.contains("text/x-trcfile:*.dat")) << userGlobs.constData();
    EXPECT_FALSE(userGlobs.contains("gdw")) << "the system's glob is not copied";
    EXPECT_EQ(Opens(QStringLiteral("r.dat")), QStringLiteral("tracely"));
    EXPECT_EQ(Opens(QStringLiteral("s.gdw")), QStringLiteral("tracely")) << "the user's package hides no system glob";
}

TEST_F(SystemTypeAssociation, OpenWithOnTheOwnTypeCanBeUndone)
{
    REQUIRE_GIO();
    AssociationManager manager = Make();
    manager.ChangeKanren(QStringLiteral("gdw"), 1);
    EXPECT_EQ(desk.GioDefault(kOwnType), kInstalledId);
    manager.ChangeKanren(QStringLiteral("gdw"), 2);
    EXPECT_EQ(messages, QStringList({".gdwに「Tracelyで開く」を追加しました", ".gdwの関連づけを消去しました"}))
        << Shown();
    EXPECT_EQ(ReadFile(desk.UserList()), QByteArray()) << "the user's list is as it was";
}

}   // namespace
