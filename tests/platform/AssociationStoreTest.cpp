// SPDX-License-Identifier: MIT
// The store against real desktop files, checked through independent readers:
// gio (what a file manager opens), the compiled globs2 file and hand-written
// expected files.
#include "AssociationStore.h"
#include "AssociationSandbox.h"

#include <QFile>

#include <gtest/gtest.h>

using sandbox::Desktop;
using sandbox::ReadFile;
using sandbox::WriteFile;

namespace {

const QString kLocalId = QStringLiteral(TRACELY_APP_ID "-local.desktop");

class AssociationStoreTest : public ::testing::Test {
protected:
    AssociationStore MakeStore() const { return AssociationStore(desk.ExePath, desk.Paths); }
    Desktop desk;
};

TEST_F(AssociationStoreTest, UnknownExtensionHasNoType)
{
    AssocInfo info{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    EXPECT_FALSE(MakeStore().ReadAssociation(QStringLiteral(".zzq"), info));
    EXPECT_TRUE(info.Name.isEmpty());
    EXPECT_TRUE(info.Com.isEmpty());
}

TEST_F(AssociationStoreTest, ForeignTypeReadsRawUserDefaultAndIcon)
{
    WriteFile(desk.UserList(), "[Default Applications]\napplication/x-foo=other.desktop;fakeedit.desktop;\n");
    AssocInfo info;
    ASSERT_TRUE(MakeStore().ReadAssociation(QStringLiteral(".foo"), info));
    EXPECT_EQ(info.Name, QStringLiteral("application/x-foo"));
    EXPECT_EQ(info.Com, QStringLiteral("other.desktop;fakeedit.desktop;"));
    EXPECT_EQ(info.Icon, QStringLiteral("application-x-foo"));
}

TEST_F(AssociationStoreTest, ExtensionJustClaimedReadsAsOwnTypeAtOnce)
{
    // The MIME database of this process would need seconds to notice.
    AssociationStore store = MakeStore();
    store.RegisterOpenCommand(QStringLiteral(".claimed1"));
    AssocInfo info;
    ASSERT_TRUE(store.ReadAssociation(QStringLiteral(".claimed1"), info));
    EXPECT_EQ(info.Name, QStringLiteral("text/x-trcfile"));
    EXPECT_EQ(info.Com, kLocalId + u';');
    EXPECT_TRUE(store.AddOpenWithVerb(QStringLiteral(".claimed1")));
}

TEST_F(AssociationStoreTest, NewExtensionOpensWithThisProgramOnDoubleClick)
{
    REQUIRE_GIO();
    AssociationStore store = MakeStore();
    EXPECT_EQ(store.RegisterOpenCommand(QStringLiteral(".gdw")), AssociationStore::Registration::New);
    EXPECT_TRUE(store.TakeWarnings().isEmpty());

    EXPECT_TRUE(ReadFile(desk.Paths.DataHome + QStringLiteral("/mime/globs2")).contains("text/x-trcfile:*.gdw"));
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/x-trcfile")), kLocalId);
    EXPECT_EQ(desk.GioOpen(QStringLiteral("sample.gdw")),
              QStringLiteral("tracely ") + desk.Base() + QStringLiteral("/sample.gdw"));

    // A second extension joins the same type; the first stays.
    EXPECT_EQ(store.RegisterOpenCommand(QStringLiteral(".dat")), AssociationStore::Registration::New);
    const QByteArray globs = ReadFile(desk.Paths.DataHome + QStringLiteral("/mime/globs2"));
    EXPECT_TRUE(globs.contains("text/x-trcfile:*.gdw"));
    EXPECT_TRUE(globs.contains("text/x-trcfile:*.dat"));
}

TEST_F(AssociationStoreTest, ForeignDefaultRestoresToTheSameBytes)
{
    REQUIRE_GIO();
    const QByteArray original = "# kept as it is\n[Default Applications]\nimage/png=viewer.desktop;\n\n"
                                "[Added Associations]\nimage/png=viewer.desktop;\n";
    WriteFile(desk.UserList(), original);
    AssociationStore store = MakeStore();
    AssocInfo before;
    ASSERT_TRUE(store.ReadAssociation(QStringLiteral(".txt"), before));
    EXPECT_EQ(before.Com, QString());
    EXPECT_EQ(desk.GioOpen(QStringLiteral("note.txt")).section(u' ', 0, 0), QStringLiteral("fakeedit"));

    EXPECT_EQ(store.RegisterOpenCommand(QStringLiteral(".txt")), AssociationStore::Registration::Changed);
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/plain")), kLocalId);
    EXPECT_EQ(desk.GioOpen(QStringLiteral("note.txt")).section(u' ', 0, 0), QStringLiteral("tracely"));
    EXPECT_FALSE(QFile::exists(store.PackagePath())) << "a foreign type keeps its globs";

    EXPECT_FALSE(store.RemoveOpenWithVerb(QStringLiteral(".txt"))) << "our entry belongs to the default";
    store.RestoreOpenCommand(QStringLiteral(".txt"), before);
    EXPECT_EQ(ReadFile(desk.UserList()), original);
    EXPECT_EQ(desk.GioOpen(QStringLiteral("note.txt")).section(u' ', 0, 0), QStringLiteral("fakeedit"));
}

TEST_F(AssociationStoreTest, RestoreWritesTheRawPreviousValueBack)
{
    WriteFile(desk.UserList(), "[Default Applications]\r\napplication/x-foo=other.desktop;\r\n");
    AssociationStore store = MakeStore();
    AssocInfo before;
    store.ReadAssociation(QStringLiteral(".foo"), before);
    store.RegisterOpenCommand(QStringLiteral(".foo"));
    store.RestoreOpenCommand(QStringLiteral(".foo"), before);
    EXPECT_EQ(ReadFile(desk.UserList()), QByteArray("[Default Applications]\r\napplication/x-foo=other.desktop;\r\n"));
}

TEST_F(AssociationStoreTest, OpenWithKeepsTheDefaultWhenNoneIsSetAnywhere)
{
    REQUIRE_GIO();
    AssociationStore store = MakeStore();
    ASSERT_EQ(desk.GioDefault(QStringLiteral("text/plain")), QStringLiteral("fakeedit.desktop"));
    EXPECT_TRUE(store.AddOpenWithVerb(QStringLiteral(".txt")));
    EXPECT_TRUE(store.AddOpenWithVerb(QStringLiteral(".txt")));
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/plain")), QStringLiteral("fakeedit.desktop"));
    EXPECT_EQ(ReadFile(desk.UserList()).count(kLocalId.toUtf8()), 1) << "added once";

    EXPECT_TRUE(store.RemoveOpenWithVerb(QStringLiteral(".txt")));
    EXPECT_FALSE(store.RemoveOpenWithVerb(QStringLiteral(".txt")));
    EXPECT_FALSE(ReadFile(desk.UserList()).contains(kLocalId.toUtf8()));
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/plain")), QStringLiteral("fakeedit.desktop"));
}

TEST_F(AssociationStoreTest, OpenWithLeavesASystemDefaultUnpinned)
{
    REQUIRE_GIO();
    WriteFile(desk.Paths.ConfigDirs.front() + QStringLiteral("/mimeapps.list"),
              "[Default Applications]\ntext/plain=fakeedit.desktop;\n");
    AssociationStore store = MakeStore();
    EXPECT_TRUE(store.AddOpenWithVerb(QStringLiteral(".txt")));
    EXPECT_EQ(ReadFile(desk.UserList()), QByteArray("[Added Associations]\ntext/plain=") + kLocalId.toUtf8() + ";\n");
    EXPECT_EQ(desk.GioDefault(QStringLiteral("text/plain")), QStringLiteral("fakeedit.desktop"));
}

TEST_F(AssociationStoreTest, OpenWithNeedsAType)
{
    AssociationStore store = MakeStore();
    EXPECT_FALSE(store.AddOpenWithVerb(QStringLiteral(".zzq")));
    EXPECT_FALSE(store.RemoveOpenWithVerb(QStringLiteral(".zzq")));
    EXPECT_FALSE(QFile::exists(desk.UserList()));
    EXPECT_FALSE(QFile::exists(desk.Paths.DataHome));
}

TEST_F(AssociationStoreTest, InstalledEntryIsUsedOnlyWhenItRunsThisProgram)
{
    const QString installed = desk.Paths.DataHome + QStringLiteral("/applications/" TRACELY_APP_ID ".desktop");
    WriteFile(installed, "[Desktop Entry]\nType=Application\nName=Tracely\nExec=/opt/elsewhere/tracely %f\n");
    EXPECT_EQ(MakeStore().DesktopId(), kLocalId);

    WriteFile(installed,
              "[Desktop Entry]\nType=Application\nName=Tracely\nExec=\"" + desk.ExePath.toUtf8() + "\" %f\n");
    AssociationStore store = MakeStore();
    EXPECT_EQ(store.DesktopId(), QStringLiteral(TRACELY_APP_ID ".desktop"));
    store.RegisterOpenCommand(QStringLiteral(".txt"));
    EXPECT_FALSE(QFile::exists(desk.Paths.DataHome + QStringLiteral("/applications/") + kLocalId));
}

TEST_F(AssociationStoreTest, MissingMimeCacheToolWarnsButKeepsThePackage)
{
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", (desk.Base() + QStringLiteral("/nowhere")).toUtf8());
    AssociationStore store = MakeStore();
    store.RegisterOpenCommand(QStringLiteral(".notool"));
    qputenv("PATH", savedPath);
    EXPECT_EQ(store.TakeWarnings().size(), 1);
    EXPECT_TRUE(ReadFile(store.PackagePath()).contains("*.notool"));
    EXPECT_TRUE(ReadFile(desk.UserList()).contains(kLocalId.toUtf8()));
}

// Tests run as root, so the user list is made unwritable by its structure.
enum class Breakage {
    ListIsDirectory,
    ConfigHomeIsFile,
    ListLinksUnderAFile
};

class AssociationStoreUnwritable : public AssociationStoreTest, public ::testing::WithParamInterface<Breakage> {
protected:
    void Break()
    {
        switch (GetParam()) {
        case Breakage::ListIsDirectory: QDir().mkpath(desk.UserList()); break;
        case Breakage::ConfigHomeIsFile: WriteFile(desk.Paths.ConfigHome, "not a directory"); break;
        case Breakage::ListLinksUnderAFile:
            WriteFile(desk.Base() + QStringLiteral("/store"), "a file, not a directory");
            QDir().mkpath(desk.Paths.ConfigHome);
            QFile::link(desk.Base() + QStringLiteral("/store/mimeapps.list"), desk.UserList());
            break;
        }
    }
};

TEST_P(AssociationStoreUnwritable, EveryWritingOperationFailsAndChangesNothing)
{
    Break();
    AssociationStore store = MakeStore();
    EXPECT_THROW(store.RegisterOpenCommand(QStringLiteral(".gdw")), EAssociationError);
    EXPECT_THROW(store.RegisterOpenCommand(QStringLiteral(".txt")), EAssociationError);
    EXPECT_THROW(store.AddOpenWithVerb(QStringLiteral(".txt")), EAssociationError);
    const AssocInfo info{QStringLiteral("text/plain"), QStringLiteral("fakeedit.desktop;"), QString()};
    EXPECT_THROW(store.RestoreOpenCommand(QStringLiteral(".txt"), info), EAssociationError);
    EXPECT_FALSE(QFile::exists(desk.Paths.DataHome)) << "no package, no desktop entry";
    try {
        store.RegisterOpenCommand(QStringLiteral(".gdw"));
    } catch (const EAssociationError& error) {
        EXPECT_STREQ(error.what(), "'' の設定に失敗しました");
    }
}

INSTANTIATE_TEST_SUITE_P(Structures, AssociationStoreUnwritable,
                         ::testing::Values(Breakage::ListIsDirectory, Breakage::ConfigHomeIsFile,
                                           Breakage::ListLinksUnderAFile));

TEST_F(AssociationStoreTest, RefusesWhatCannotStandInTheDesktopFiles)
{
    AssociationStore store = MakeStore();
    for (const char* ext : {".d*t", ".a?", ".[ab]", ".a/b", ".a=b", ".a\nb", "."})
        EXPECT_THROW(store.RegisterOpenCommand(QString::fromUtf8(ext)), EAssociationError) << ext;
    const AssocInfo windowsProgId{QStringLiteral("txtfile"), QStringLiteral("\"C:\\app.exe\" \"%1\""), QString()};
    EXPECT_THROW(store.RestoreOpenCommand(QStringLiteral(".txt"), windowsProgId), EAssociationError);
    const AssocInfo injected{QStringLiteral("text/plain"), QStringLiteral("x.desktop\n[Default Applications]"),
                             QString()};
    EXPECT_THROW(store.RestoreOpenCommand(QStringLiteral(".txt"), injected), EAssociationError);
    EXPECT_FALSE(QFile::exists(desk.UserList()));
    EXPECT_FALSE(QFile::exists(desk.Paths.DataHome));
}

}   // namespace
