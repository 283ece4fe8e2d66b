// SPDX-License-Identifier: MIT
// Follow mode in the real program, with another process writing the files
// as a logger would.
#include "RealProgram.h"

#include <filesystem>

namespace {

class FollowProcess : public RealProgramTest {
protected:
    // Runs a shell command to its end, as the writer.
    static void Writer(const std::string& command)
    {
        QProcess writer;
        writer.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromStdString(command)});
        ASSERT_TRUE(writer.waitForFinished(10000));
        ASSERT_EQ(writer.exitCode(), 0);
    }

    // The program following a.dat (50 lines) from the start.
    QProcess& StartFollowing()
    {
        SetSingleCopy(false);
        A = WriteData("a.dat");
        QProcess& program = Start({"--follow", A});
        // Appends before the watch is set would be read with the file, not followed.
        EXPECT_TRUE(WaitForLog(program, "follow on"));
        return program;
    }

    std::string A;
};

}   // namespace

TEST_F(FollowProcess, AppendedLinesAreShownButAHalfWrittenOneIsNot)
{
    QProcess& program = StartFollowing();
    Writer("for i in 1 2 3 4 5 6 7 8 9 10; do echo \"$i 1.5\" >> '" + A + "'; sleep 0.02; done; printf '11 2' >> '" +
           A + "'");
    EXPECT_TRUE(WaitForLog(program, "follow shown " + A + " 60"));
    QTest::qWait(500);
    EXPECT_FALSE(Logged(program, "follow shown " + A + " 61")) << "the line without its feed was read";
    Writer("printf '5\\n' >> '" + A + "'");
    EXPECT_TRUE(WaitForLog(program, "follow shown " + A + " 61"));
}

TEST_F(FollowProcess, ANewFileOfTheListingIsShownOnceWritten)
{
    QProcess& program = StartFollowing();
    const std::string c = Root + "data/c.dat";
    Writer("for i in 1 2 3; do echo \"$i 7\" >> '" + c + "'; sleep 0.05; done");
    EXPECT_TRUE(WaitForLog(program, "follow shown " + c + " 3"));
}

TEST_F(FollowProcess, AFolderThatVanishesEndsFollowMode)
{
    QProcess& program = StartFollowing();
    Writer("rm -rf '" + Root + "data'");
    EXPECT_TRUE(WaitForLog(program, "follow off"));
    EXPECT_EQ(program.state(), QProcess::Running);
}
