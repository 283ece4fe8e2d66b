// SPDX-License-Identifier: MIT
// Copies of the real program talking to each other. Each test runs its own
// copy of the executable from a temporary directory, since the option file
// lies beside the executable; the copies get a private runtime directory and
// report what they do in the event log named on their command line.
#include "HandoverFrame.h"
#include "RealProgram.h"
#include "SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class HandOverProcess : public RealProgramTest { };

}   // namespace

TEST_F(HandOverProcess, WithoutSingleCopyTwoCopiesRunSideBySide)
{
    SetSingleCopy(false);
    QProcess& first = StartFirst();
    QProcess& second = Start({WriteData("a.dat")});
    EXPECT_TRUE(WaitForLog(second, "side by side"));
    EXPECT_FALSE(second.waitForFinished(500)) << "the second copy should stay open";
    EXPECT_EQ(first.state(), QProcess::Running);
    for (const std::string& line : LogLines())
        EXPECT_EQ(line.find(" received "), std::string::npos) << line;
}

TEST_F(HandOverProcess, SecondCopyHandsItsFileOverAndEndsOnlyAfterItIsShown)
{
    const std::string file = WriteData("a.dat");
    WriteData("b.dat");
    QProcess& first = StartFirst();

    EXPECT_EQ(RunSecond({file}), 255);

    // Read right after the second copy ended: the first copy logged the file
    // as shown before that, and acknowledged only then.
    const std::vector<std::string> lines = LogLines();
    const std::string shown = Pid(first) + " shown " + file + " in " + Root + "data/";
    const auto shownAt = std::find(lines.begin(), lines.end(), shown);
    ASSERT_NE(shownAt, lines.end()) << "file not shown before the second copy ended";
    const auto ackAt = std::find(lines.begin(), lines.end(), Pid(first) + " acknowledged");
    EXPECT_LT(shownAt, ackAt);
    EXPECT_TRUE(Logged(*m_lastSecond, "handed over"));
    EXPECT_FALSE(Logged(*m_lastSecond, "first copy"));
}

TEST_F(HandOverProcess, SeveralNamesAreHandedOverInOneFrameAndOpenedTogether)
{
    std::ofstream(Root + "elsewhere/x.dat") << "1 2\n3 4\n";
    std::ofstream(Root + "elsewhere/y.dat") << "5 6\n7 8\n";
    QProcess& first = StartFirst();
    EXPECT_EQ(RunSecond({"x.dat", "y.dat"}, Root + "elsewhere"), 255);
    const std::string dir = Root + "elsewhere/";
    EXPECT_TRUE(Logged(first, "received " + dir + "x.dat " + dir + "y.dat"));
    EXPECT_TRUE(Logged(first, "shown " + dir + "y.dat in " + dir)) << "the last name ends on top";
    EXPECT_TRUE(Logged(*m_lastSecond, "handed over"));
}

TEST_F(HandOverProcess, SecondCopyWithoutAFileOnlySwitchesTheLayout)
{
    QProcess& first = StartFirst();
    EXPECT_EQ(RunSecond({}), 255);
    EXPECT_TRUE(Logged(first, "received "));
    EXPECT_TRUE(Logged(first, "shown  in " + Root));   // nothing loaded, directory unchanged
}

TEST_F(HandOverProcess, RelativeNameMeansTheFileWhereTheSecondCopyWasStarted)
{
    // The first copy works in data/ and shows data/run.dat; the same name in
    // elsewhere/ holds other data, and only.dat exists in elsewhere/ alone.
    const std::string own = WriteData("run.dat");
    std::ofstream(Root + "elsewhere/run.dat") << "1 2\n3 4\n";
    std::ofstream(Root + "elsewhere/only.dat") << "5 6\n7 8\n";
    QProcess& first = Start({"run.dat"}, Root + "data");
    ASSERT_TRUE(WaitForLog(first, "listening"));

    EXPECT_EQ(RunSecond({"run.dat"}, Root + "elsewhere"), 255);
    EXPECT_TRUE(Logged(first, "shown " + Root + "elsewhere/run.dat in " + Root + "elsewhere/"));
    EXPECT_TRUE(Logged(*m_lastSecond, "handed over"));

    EXPECT_EQ(RunSecond({"only.dat"}, Root + "elsewhere"), 255);
    EXPECT_TRUE(Logged(first, "shown " + Root + "elsewhere/only.dat in " + Root + "elsewhere/"));
    EXPECT_FALSE(Logged(first, "shown " + own + " in " + Root + "data/"))
        << "the first copy's own file was shown again";
}

TEST_F(HandOverProcess, OddNamesSurviveTheApplicationsOwnOptions)
{
    // "-reverse" is an option the toolkit would take for itself.
    const std::string file = WriteData("-reverse");
    QProcess& first = StartFirst();
    EXPECT_EQ(RunSecond({"data/-reverse"}), 255);
    EXPECT_TRUE(Logged(first, "shown " + file + " in " + Root + "data/"));
}

TEST_F(HandOverProcess, LockHeldWithoutAWindowEndsTheSecondCopySilently)
{
    // This test process plays a first copy that never listens.
    SingleInstance holder(SingleInstancePathsFor(Root + "runtime", DisplayKey("", Display)));
    ASSERT_EQ(holder.Claim(), SingleInstance::Role::First);

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunSecond({WriteData("a.dat")}), 255);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_FALSE(m_lastSecond->readAllStandardError().contains("tracely:"));
    EXPECT_TRUE(Logged(*m_lastSecond, "not handed over"));
}

TEST_F(HandOverProcess, CopyKilledHardLeavesNothingThatStopsTheNext)
{
    QProcess& dead = StartFirst();
    ::kill(static_cast<pid_t>(dead.processId()), SIGKILL);
    ASSERT_TRUE(dead.waitForFinished(5000));
    ASSERT_FALSE(QDir(QString::fromStdString(Root + "runtime")).isEmpty()) << "expected a stale lock and socket";

    // The next start becomes the first copy, and a later one reaches it.
    QProcess& next = StartFirst();
    EXPECT_TRUE(Logged(next, "first copy"));
    const std::string file = WriteData("after.dat");
    EXPECT_EQ(RunSecond({file}), 255);
    EXPECT_TRUE(Logged(next, "shown " + file + " in " + Root + "data/"));
}

TEST_F(HandOverProcess, OtherDisplaysDoNotHandFilesToEachOther)
{
    QProcess& first = StartFirst();
    Display = ":92";
    QProcess& other = Start({WriteData("a.dat")});
    EXPECT_TRUE(WaitForLog(other, "first copy"));
    EXPECT_TRUE(WaitForLog(other, "listening"));
    EXPECT_FALSE(Logged(first, "received " + Root + "data/a.dat"));
}

TEST_F(HandOverProcess, BadClientsCannotCrashBlockOrMisleadTheFirstCopy)
{
    QProcess& first = StartFirst();
    const QString socketPath =
        QString::fromStdString(SingleInstancePathsFor(Root + "runtime", DisplayKey("", Display)).Socket);

    std::string huge(1, static_cast<char>(kHandoverFrameMagic));
    huge += std::string("\xff\xff\xff\xff", 4);
    const std::vector<QByteArray> payloads = {QByteArray("garbage that is no frame\n"),
                                              QByteArray::fromStdString(huge + std::string(8000, 'x')), QByteArray()};
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    for (const QByteArray& payload : payloads) {
        auto client = std::make_unique<QLocalSocket>();
        client->connectToServer(socketPath);
        ASSERT_TRUE(client->waitForConnected(3000));
        if (!payload.isEmpty()) {
            client->write(payload);
            client->waitForBytesWritten(3000);
        }
        clients.push_back(std::move(client));
    }

    // While the silent client still holds its connection, a real hand-over goes through.
    const std::string file = WriteData("real.dat");
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunSecond({file}), 255);
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_TRUE(Logged(first, "shown " + file + " in " + Root + "data/"));

    // Every bad client is sent away without an answer, the silent one after its few seconds.
    for (const auto& client : clients) {
        EXPECT_TRUE(client->state() == QLocalSocket::UnconnectedState || client->waitForDisconnected(8000));
        EXPECT_TRUE(client->readAll().isEmpty());
    }
    for (const std::string& line : LogLines())
        EXPECT_EQ(line.rfind(Pid(first) + " received ", 0) == 0, line == Pid(first) + " received " + file) << line;
    EXPECT_EQ(first.state(), QProcess::Running);
}
