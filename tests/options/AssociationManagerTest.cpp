// SPDX-License-Identifier: MIT
// The two buttons of the association tool, end to end: scripted dialogs, a
// temporary option file and a private desktop; gio confirms what a
// double-click opens before and after.
#include "AssociationManager.h"
#include "../platform/AssociationSandbox.h"
#include "ProfileFile.h"

#include <QFile>

#include <gtest/gtest.h>

using sandbox::Desktop;
using sandbox::ReadFile;
using sandbox::WriteFile;

namespace {

const QString kLocalId = QStringLiteral(TRACELY_APP_ID "-local.desktop");

struct Shown {
    QString title;
    QString text;
};

class AssociationManagerTest : public ::testing::Test {
protected:
    AssociationManager Make()
    {
        Dialogs dialogs;
        dialogs.Message = [this](QWidget*, const QString& title, const QString& text) {
            messages.push_back({title, text});
        };
        dialogs.Error = [this](QWidget*, const QString& text) { errors << text; };
        dialogs.ConfirmOkCancel = [this](QWidget*, const QString& title, const QString& text) {
            questions.push_back({title, text});
            return answerOk;
        };
        return AssociationManager(AssociationStore(desk.ExePath, desk.Paths), IniPath().toStdString(), dialogs);
    }

    QString IniPath() const { return desk.Base() + QStringLiteral("/Tracely.ini"); }
    std::vector<std::string> BackupKeys() const
    {
        return ProfileFile(IniPath().toStdString()).ReadSectionKeys(kAssocSection);
    }
    std::string Backup(const std::string& key) const
    {
        return ProfileFile(IniPath().toStdString()).ReadString(kAssocSection, key, "-");
    }
    QStringList Texts() const
    {
        QStringList texts;
        for (const Shown& shown : messages) {
            EXPECT_TRUE(shown.title.isEmpty());
            texts << shown.text;
        }
        return texts;
    }

    Desktop desk;
    std::vector<Shown> messages;
    std::vector<Shown> questions;
    QStringList errors;
    bool answerOk = true;
};

class AssociationManagerSpelling : public AssociationManagerTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(AssociationManagerSpelling, ActsOnTheLowerCaseDottedExtension)
{
    Make().ChangeKanren(QString::fromUtf8(GetParam()), 0);
    EXPECT_EQ(Texts(), QStringList{".fooの関連づけを変更しました"});
    EXPECT_EQ(BackupKeys(), (std::vector<std::string>{".fooName", ".fooCom", ".fooIcon"}));
}

INSTANTIATE_TEST_SUITE_P(Typed, AssociationManagerSpelling, ::testing::Values("FOO", ".Foo", ".foo"));

TEST_F(AssociationManagerTest, LeadingBlankStaysPartOfTheExtension)
{
    Make().ChangeKanren(QStringLiteral(" DAT"), 0);
    EXPECT_EQ(Texts(), QStringList{". datの関連づけを新規に設定しました"});
    EXPECT_TRUE(ReadFile(desk.Paths.DataHome + QStringLiteral("/mime/globs2")).contains("text/x-trcfile:*. dat"));
}

class AssociationManagerBadInput : public AssociationManagerTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(AssociationManagerBadInput, RangeErrorAndNothingWritten)
{
    for (int action : {-1, 0, 1, 2})
        Make().ChangeKanren(QString::fromUtf8(GetParam()), action);
    EXPECT_EQ(errors, QStringList(4, QStringLiteral("範囲チェックエラー.")));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(QFile::exists(IniPath()));
    EXPECT_FALSE(QFile::exists(desk.Paths.ConfigHome));
    EXPECT_FALSE(QFile::exists(desk.Paths.DataHome));
}

INSTANTIATE_TEST_SUITE_P(Typed, AssociationManagerBadInput,
                         ::testing::Values("", ".", "d*t", "a/b", "[ab]", "a=b", "a\nb"));

TEST_F(AssociationManagerTest, NoActionSelectedDoesNothing)
{
    Make().ChangeKanren(QStringLiteral("dat"), -1);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_FALSE(QFile::exists(IniPath()));
    EXPECT_FALSE(QFile::exists(desk.Paths.ConfigHome));
}

TEST_F(AssociationManagerTest, ForeignTypeIsBackedUpOnceAndRestoredByUndo)
{
    REQUIRE_GIO();
    const QByteArray original = "[Default Applications]\ntext/plain=fakeedit.desktop;\n# mine\n";
    WriteFile(desk.UserList(), original);
    AssociationManager manager = Make();
    manager.ChangeKanren(QStringLiteral("txt"), 0);
    const QByteArray iniAfterFirst = ReadFile(IniPath());
    EXPECT_TRUE(iniAfterFirst.contains(".txtName=text/plain\n.txtCom=\"fakeedit.desktop;\"\n.txtIcon=text-plain\n"))
        << iniAfterFirst.constData();
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/plain")), kLocalId);

    manager.ChangeKanren(QStringLiteral("txt"), 0);
    EXPECT_EQ(ReadFile(IniPath()), iniAfterFirst) << "the first backup is never overwritten";

    manager.ChangeKanren(QStringLiteral("txt"), 2);
    EXPECT_EQ(
        Texts(),
        QStringList({".txtの関連づけを変更しました", ".txtの関連づけを変更しました", ".txtの関連づけを復元しました"}));
    EXPECT_EQ(ReadFile(desk.UserList()), original);
    EXPECT_TRUE(BackupKeys().empty());
    EXPECT_EQ(desk.GioOpen(QStringLiteral("n.txt")).section(u' ', 0, 0), QStringLiteral("fakeedit"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(AssociationManagerTest, NewExtensionHasNoBackupAndUndoTakesItBack)
{
    REQUIRE_GIO();
    AssociationManager manager = Make();
    manager.ChangeKanren(QStringLiteral("gdw"), 0);
    manager.ChangeKanren(QStringLiteral("gdw"), 0);
    manager.ChangeKanren(QStringLiteral("gdw"), 1);
    EXPECT_EQ(desk.GioOpen(QStringLiteral("s.gdw")),
              QStringLiteral("tracely ") + desk.Base() + QStringLiteral("/s.gdw"));
    manager.ChangeKanren(QStringLiteral("gdw"), 2);
    manager.ChangeKanren(QStringLiteral("gdw"), 2);
    EXPECT_EQ(Texts(),
              QStringList({".gdwの関連づけを新規に設定しました", ".gdwの関連づけを変更しました",
                           ".gdwに「Tracelyで開く」を追加しました", ".gdwの関連づけを消去しました",
                           ".gdwの関連づけは見つかりませんでした"}));
    EXPECT_TRUE(BackupKeys().empty());
    EXPECT_FALSE(ReadFile(desk.UserList()).contains(kLocalId.toUtf8())) << "our entries stayed behind";
    EXPECT_NE(desk.GioOpen(QStringLiteral("s.gdw")).section(u' ', 0, 0), QStringLiteral("tracely"));
}

TEST_F(AssociationManagerTest, UndoOfOneOwnExtensionKeepsTheOthers)
{
    REQUIRE_GIO();
    AssociationManager manager = Make();
    manager.ChangeKanren(QStringLiteral("gdw"), 0);
    manager.ChangeKanren(QStringLiteral("qqz"), 0);
    manager.ChangeKanren(QStringLiteral("gdw"), 2);
    EXPECT_EQ(Texts().back(), QStringLiteral(".gdwの関連づけを消去しました"));
    EXPECT_EQ(desk.GioOpen(QStringLiteral("s.qqz")),
              QStringLiteral("tracely ") + desk.Base() + QStringLiteral("/s.qqz"));
}

TEST_F(AssociationManagerTest, OpenWithThenUndoRemovesOnlyTheEntry)
{
    REQUIRE_GIO();
    AssociationManager manager = Make();
    manager.ChangeKanren(QStringLiteral("zzq"), 1);
    manager.ChangeKanren(QStringLiteral("txt"), 1);
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/plain")), QStringLiteral("fakeedit.desktop"));
    manager.ChangeKanren(QStringLiteral("txt"), 2);
    manager.ChangeKanren(QStringLiteral("txt"), 2);
    EXPECT_EQ(Texts(),
              QStringList({".zzqは関連づけ情報が存在しないので，「Tracelyで開く」を追加できません",
                           ".txtに「Tracelyで開く」を追加しました", ".txtの関連づけを消去しました",
                           ".txtの関連づけは見つかりませんでした"}));
    EXPECT_FALSE(ReadFile(desk.UserList()).contains(kLocalId.toUtf8()));
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/plain")), QStringLiteral("fakeedit.desktop"));
    EXPECT_FALSE(QFile::exists(IniPath())) << "open-with writes no backup";
}

TEST_F(AssociationManagerTest, RestoreAllBringsEveryDefaultBack)
{
    REQUIRE_GIO();
    const QByteArray original = "[Default Applications]\napplication/x-foo=other.desktop;\n";
    WriteFile(desk.UserList(), original);
    AssociationManager manager = Make();
    for (const char* ext : {"txt", "foo", "gdw"})
        manager.ChangeKanren(QString::fromLatin1(ext), 0);
    EXPECT_EQ(BackupKeys().size(), 6u);
    EXPECT_EQ(desk.GioDefault(QStringLiteral("application/x-foo")), kLocalId);
    messages.clear();

    manager.RestoreAll();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].title.isEmpty());
    EXPECT_EQ(questions[0].text, QStringLiteral("全ての関連づけ情報を復元します"));
    EXPECT_EQ(Texts(), QStringList{"全ての関連づけを復元しました"});
    EXPECT_TRUE(BackupKeys().empty());
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/plain")), QStringLiteral("fakeedit.desktop"));
    EXPECT_EQ(desk.GioOpen(QStringLiteral("a.foo")).section(u' ', 0, 0), QStringLiteral("fakeedit"))
        << "other.desktop is not installed, so the desktop falls back";
    EXPECT_TRUE(ReadFile(desk.UserList()).startsWith(original));
}

TEST_F(AssociationManagerTest, RestoreAllCancelledChangesNothing)
{
    AssociationManager manager = Make();
    manager.ChangeKanren(QStringLiteral("txt"), 0);
    const QByteArray ini = ReadFile(IniPath());
    const QByteArray list = ReadFile(desk.UserList());
    messages.clear();
    answerOk = false;
    manager.RestoreAll();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ReadFile(IniPath()), ini);
    EXPECT_EQ(ReadFile(desk.UserList()), list);
}

TEST_F(AssociationManagerTest, RestoreAllSkipsBackupsItDidNotWrite)
{
    // A section copied from the Windows program, and a group missing a key.
    WriteFile(IniPath(),
              "[Assoc_DB]\n.txtName=txtfile\n.txtCom=\"\"C:\\Tracely.exe\" \"%1\"\"\n.txtIcon=x\n"
              ".fooName=application/x-foo\n.fooIcon=y\n"
              ".csvName=text/csv\n.csvCom=\"calc.desktop;\"\n.csvIcon=text-csv\n");
    Make().RestoreAll();
    EXPECT_EQ(ReadFile(desk.UserList()), QByteArray("[Default Applications]\ntext/csv=calc.desktop;\n"));
    EXPECT_EQ(BackupKeys(), (std::vector<std::string>{".txtName", ".txtCom", ".txtIcon", ".fooName", ".fooIcon"}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral(".txtName")));
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral(".fooIcon")));
    EXPECT_FALSE(messages[0].text.contains(QStringLiteral(".csv")));
}

TEST_F(AssociationManagerTest, UnwritableListKeepsTheBackupAndReportsFailure)
{
    // Tests run as root: a link whose target lies under a regular file cannot be written.
    WriteFile(desk.Base() + QStringLiteral("/store"), "a file");
    QDir().mkpath(desk.Paths.ConfigHome);
    QFile::link(desk.Base() + QStringLiteral("/store/mimeapps.list"), desk.UserList());
    Make().ChangeKanren(QStringLiteral("foo"), 0);
    EXPECT_EQ(errors, QStringList{"'' の設定に失敗しました."});
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Backup(".fooName"), "application/x-foo");
}

TEST_F(AssociationManagerTest, FailedUndoKeepsTheBackup)
{
    WriteFile(desk.UserList(), "[Default Applications]\napplication/x-foo=other.desktop;\n");
    Make().ChangeKanren(QStringLiteral("foo"), 0);
    ASSERT_EQ(BackupKeys().size(), 3u);

    QFile::remove(desk.UserList());
    WriteFile(desk.Base() + QStringLiteral("/store"), "a file");
    QFile::link(desk.Base() + QStringLiteral("/store/mimeapps.list"), desk.UserList());
    Make().ChangeKanren(QStringLiteral("foo"), 2);
    EXPECT_EQ(errors, QStringList{"'' の設定に失敗しました."});
    EXPECT_EQ(Texts(), QStringList{".fooの関連づけを変更しました"});
    EXPECT_EQ(Backup(".fooCom"), "other.desktop;");

    Make().RestoreAll();
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(BackupKeys().size(), 3u);
}

TEST_F(AssociationManagerTest, UnwritableOptionFileStopsBeforeTheDesktopChanges)
{
    WriteFile(desk.Base() + QStringLiteral("/notadir"), "file");
    Dialogs dialogs;
    dialogs.Message = [this](QWidget*, const QString& title, const QString& text) {
        messages.push_back({title, text});
    };
    dialogs.Error = [this](QWidget*, const QString& text) { errors << text; };
    const std::string ini = (desk.Base() + QStringLiteral("/notadir/Tracely.ini")).toStdString();
    AssociationManager(AssociationStore(desk.ExePath, desk.Paths), ini, dialogs).ChangeKanren(QStringLiteral("foo"), 0);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], QString::fromStdString(ini) + QStringLiteral(" に書き込めません."));
    EXPECT_FALSE(QFile::exists(desk.UserList()));
}

TEST_F(AssociationManagerTest, LongExtensionIsShownWhole)
{
    const QString ext = QStringLiteral(".") + QString(300, u'x');
    Make().ChangeKanren(ext, 1);
    EXPECT_EQ(Texts(),
              QStringList{ext + QStringLiteral("は関連づけ情報が存在しないので，「Tracelyで開く」を追加できません")});
}

}   // namespace
