// SPDX-License-Identifier: MIT
// Settings files far larger than any real one: the window names the file in
// one error box, carries on as without the file, and never rewrites it.
#include "AppTestSupport.h"
#include "MainWindowUi.h"

#include <QToolButton>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsFileLimits : public MainWindowTest {
protected:
    // A file that starts with real settings and is 2 MiB long.
    static void WriteOversized(const std::string& path, const std::string& settings)
    {
        std::ofstream(path, std::ios::binary) << settings;
        ASSERT_EQ(::truncate(path.c_str(), 2 << 20), 0);
        ASSERT_EQ(::stat(path.c_str(), &Before), 0);
    }

    static void ExpectUntouched(const std::string& path)
    {
        struct stat now { };
        ASSERT_EQ(::stat(path.c_str(), &now), 0);
        EXPECT_EQ(now.st_ino, Before.st_ino);
        EXPECT_EQ(now.st_size, Before.st_size);
        EXPECT_EQ(now.st_mtim.tv_nsec, Before.st_mtim.tv_nsec);
    }

    static QString TooLarge(const std::string& path)
    {
        return FileNameToText(path) + " は大きすぎるため読み込みません (設定ファイルは 1 MiB まで)";
    }

    static inline struct stat Before {
    };
};

TEST_F(SettingsFileLimits, GlobalFileIsNamedOnceAtStartAndNotWrittenAtClose)
{
    const std::string settingsDir = Dir + "settings/";
    ASSERT_EQ(::mkdir(settingsDir.c_str(), 0700), 0);
    WriteOversized(settingsDir + "Tracely.ini", "[Form1]\nTop=7\nLeft=7\n");
    Form = std::make_unique<TForm1>(std::string(), Script.Make(), nullptr, settingsDir);

    EXPECT_EQ(Script.Errors, QStringList{TooLarge(settingsDir + "Tracely.ini")});
    EXPECT_EQ(Form->pos(), QPoint(100, 100));
    Form->close();
    EXPECT_EQ(Script.Errors.value(1), FileNameToText(settingsDir + "Tracely.ini") + " に書き込めません.");
    ExpectUntouched(settingsDir + "Tracely.ini");
}

TEST_F(SettingsFileLimits, DirectoryFileCountsAsMissingIsNamedOnceAndRefusesTheSave)
{
    TForm1& form = MakeForm();
    WriteOversized(Dir + "_Tracely.ini", "[State]\nYs=2\n");
    WriteLine("a.dat");
    WriteLine("b.dat");

    TypeName(QString::fromStdString(Dir + "a.dat"));
    TypeName(QString::fromStdString(Dir + "b.dat"));

    EXPECT_EQ(Script.Errors, QStringList{TooLarge(Dir + "_Tracely.ini")});
    EXPECT_TRUE(form.State.Traces[0].Loaded());
    EXPECT_EQ(form.YsItemIndex(), 0);
    Ui(form).SaveSettings->click();
    EXPECT_EQ(Script.Errors.value(1), FileNameToText(Dir + "_Tracely.ini") + " に書き込めません.");
    ExpectUntouched(Dir + "_Tracely.ini");
}

}   // namespace
