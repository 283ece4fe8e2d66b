// SPDX-License-Identifier: MIT
#include "DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ExecCase {
    const char* path;
    const char* execLine;   // as it must appear in the file
};

class DesktopEntryExec : public ::testing::TestWithParam<ExecCase> { };

// Expected lines written by hand from the quoting rules: inside double quotes
// '"', '`', '$' and '\' take a backslash, '%' doubles, and the key-file layer
// then doubles every backslash once more.
TEST_P(DesktopEntryExec, QuotesThePathForBothLayers)
{
    const QByteArray text = LocalDesktopEntryText(QString::fromUtf8(GetParam().path), QStringLiteral("text/x-trcfile"));
    EXPECT_TRUE(text.contains(QByteArray("\nExec=") + GetParam().execLine + " %f\n")) << text.constData();
}

INSTANTIATE_TEST_SUITE_P(Paths, DesktopEntryExec,
                         ::testing::Values(ExecCase{"/usr/bin/tracely", R"("/usr/bin/tracely")"},
                                           ExecCase{"/home/u/my $dir/tracely", R"("/home/u/my \\$dir/tracely")"},
                                           ExecCase{"/opt/a\"b/tracely", R"("/opt/a\\"b/tracely")"},
                                           ExecCase{"/opt/back\\slash/tracely", R"("/opt/back\\\\slash/tracely")"},
                                           ExecCase{"/opt/100%/tracely", R"("/opt/100%%/tracely")"},
                                           ExecCase{"/opt/`id`/tracely", R"("/opt/\\`id\\`/tracely")"},
                                           ExecCase{"/opt/データ/tracely", R"("/opt/データ/tracely")"}));

struct SplitCase {
    const char* exec;
    std::vector<const char*> args;
};

class DesktopEntrySplit : public ::testing::TestWithParam<SplitCase> { };

TEST_P(DesktopEntrySplit, ReadsForeignExecLines)
{
    const auto args = SplitExecLine(UnescapeKeyFileString(QString::fromUtf8(GetParam().exec)));
    ASSERT_TRUE(args.has_value());
    QStringList expected;
    for (const char* arg : GetParam().args)
        expected << QString::fromUtf8(arg);
    EXPECT_EQ(*args, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DesktopEntrySplit,
    ::testing::Values(SplitCase{"tracely %f", {"tracely", "%f"}},
                      SplitCase{R"("/usr/bin/my app" --new-window  %U)", {"/usr/bin/my app", "--new-window", "%U"}},
                      SplitCase{R"("/x/a \\$b" %f)", {"/x/a $b", "%f"}},
                      SplitCase{R"("/x/q\\"q" %%f)", {"/x/q\"q", "%f"}}, SplitCase{"\\s/lead %f", {"/lead", "%f"}}));

TEST(DesktopEntry, UnterminatedQuoteIsNotAProgram)
{
    EXPECT_FALSE(SplitExecLine(QStringLiteral("\"/usr/bin/tracely %f")).has_value());
    EXPECT_FALSE(DesktopEntryRunsProgram("[Desktop Entry]\nExec=\"/bin/sh %f\n", QStringLiteral("/bin/sh")));
}

TEST(DesktopEntry, RecognisesThisProgramByCanonicalPath)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + QStringLiteral("/real tracely");
    QFile file(exe);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QFile::link(exe, dir.path() + QStringLiteral("/link"));

    EXPECT_TRUE(DesktopEntryRunsProgram(LocalDesktopEntryText(exe, QStringLiteral("text/x-trcfile")), exe));
    const QByteArray viaLink = "[Desktop Entry]\nExec=" + dir.path().toUtf8() + "/link %f\n";
    EXPECT_TRUE(DesktopEntryRunsProgram(viaLink, exe));
    EXPECT_FALSE(DesktopEntryRunsProgram("[Desktop Entry]\nExec=/bin/true %f\n", exe));
    EXPECT_FALSE(DesktopEntryRunsProgram("[Desktop Entry]\nName=no exec\n", exe));
    EXPECT_FALSE(DesktopEntryRunsProgram("[Other Group]\nExec=\"" + exe.toUtf8() + "\"\n", exe));
}

TEST(DesktopKeyFile, EditsLeaveOtherLinesByteForByte)
{
    const QByteArray original = "# comment = not a key\r\n[Default Applications]\r\nimage/png = viewer.desktop;\r\n"
                                "\r\n[Other]\r\nKey=1\r\nkey=2";
    DesktopKeyFile file(original);
    EXPECT_EQ(file.Value(QStringLiteral("Default Applications"), QStringLiteral("image/png")),
              QStringLiteral("viewer.desktop;"));
    EXPECT_EQ(file.Value(QStringLiteral("Other"), QStringLiteral("key")), QStringLiteral("2")) << "case-sensitive keys";
    EXPECT_FALSE(file.Value(QStringLiteral("other"), QStringLiteral("Key")).has_value());

    ASSERT_TRUE(file.SetValue(QStringLiteral("Default Applications"), QStringLiteral("image/png"),
                              QStringLiteral("b.desktop;")));
    ASSERT_TRUE(file.SetValue(QStringLiteral("Default Applications"), QStringLiteral("text/plain"),
                              QStringLiteral("c.desktop;")));
    ASSERT_TRUE(file.SetValue(QStringLiteral("Added Associations"), QStringLiteral("text/plain"),
                              QStringLiteral("c.desktop;")));
    EXPECT_EQ(file.Bytes(),
              QByteArray("# comment = not a key\r\n[Default Applications]\r\nimage/png = b.desktop;\r\n"
                         "text/plain=c.desktop;\r\n\r\n[Other]\r\nKey=1\r\nkey=2\r\n"
                         "[Added Associations]\r\ntext/plain=c.desktop;\r\n"));

    ASSERT_TRUE(file.RemoveKey(QStringLiteral("Added Associations"), QStringLiteral("text/plain")));
    ASSERT_TRUE(file.RemoveKey(QStringLiteral("Default Applications"), QStringLiteral("text/plain")));
    ASSERT_TRUE(file.SetValue(QStringLiteral("Default Applications"), QStringLiteral("image/png"),
                              QStringLiteral("viewer.desktop;")));
    EXPECT_EQ(file.Bytes(), QByteArray(original).append("\r\n"));
    EXPECT_FALSE(file.RemoveKey(QStringLiteral("Added Associations"), QStringLiteral("text/plain")));
}

TEST(DesktopKeyFile, RefusesNamesAndValuesThatWouldBreakLines)
{
    const QByteArray original = "[G]\nk=v\n";
    DesktopKeyFile file(original);
    EXPECT_FALSE(file.SetValue(QStringLiteral("G"), QStringLiteral("k"), QStringLiteral("v\n[Evil]")));
    EXPECT_FALSE(file.SetValue(QStringLiteral("G"), QStringLiteral("a=b"), QStringLiteral("v")));
    EXPECT_FALSE(file.SetValue(QStringLiteral("G]x"), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_FALSE(file.SetValue(QStringLiteral("G"), QStringLiteral("#k"), QStringLiteral("v")));
    EXPECT_FALSE(file.SetValue(QStringLiteral("G"), QString(), QStringLiteral("v")));
    EXPECT_EQ(file.Bytes(), original);
}

}   // namespace
