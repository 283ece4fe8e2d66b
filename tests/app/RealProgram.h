// SPDX-License-Identifier: MIT
// Copies of the real program, each run from a temporary directory of its
// own, since the option file lies beside the executable; the copies get a
// private runtime directory and report what they do in the event log named
// on their command line.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

class RealProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        Root = m_root.path().toStdString() + "/";
        for (const char* dir : {"bin", "runtime", "config", "data", "elsewhere"})
            ASSERT_EQ(::mkdir((Root + dir).c_str(), 0700), 0);
        Program = Root + "bin/tracely";
        // A hard link where the file systems allow, so no 16 MB copy per test.
        if (::link(TRACELY_EXECUTABLE, Program.c_str()) != 0) {
            ASSERT_TRUE(QFile::copy(TRACELY_EXECUTABLE, QString::fromStdString(Program)));
        }
        Log = Root + "events.log";
        SetSingleCopy(true);
    }

    void TearDown() override
    {
        for (const auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    void SetSingleCopy(bool on) const
    {
        std::ofstream(Root + "bin/Tracely.ini") << "[Option]\nNoMulExec=" << (on ? 1 : 0) << "\n";
    }

    std::string WriteData(const std::string& relative, int points = 50) const
    {
        std::ofstream out(Root + "data/" + relative);
        for (int i = 0; i < points; ++i)
            out << i << ' ' << i * 0.5 << '\n';
        return Root + "data/" + relative;
    }

    QProcess& Start(const std::vector<std::string>& args, const std::string& workingDir = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(Root + "runtime"));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(Root + "config"));
        env.remove("TRACELY_SCREENSHOT");
        env.remove("WAYLAND_DISPLAY");
        env.insert("DISPLAY", QString::fromStdString(Display));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(QString::fromStdString(workingDir.empty() ? Root : workingDir));
        QStringList arguments{QStringLiteral("--event-log"), QString::fromStdString(Log)};
        for (const std::string& arg : args)
            arguments << QFile::decodeName(QByteArray::fromStdString(arg));
        process->start(QString::fromStdString(Program), arguments);
        EXPECT_TRUE(process->waitForStarted(5000));
        m_pids[process.get()] = std::to_string(process->processId());
        m_processes.push_back(std::move(process));
        return *m_processes.back();
    }

    std::vector<std::string> LogLines() const
    {
        std::vector<std::string> lines;
        std::ifstream in(Log);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // Kept from the start: a process that has ended no longer tells its id.
    std::string Pid(const QProcess& process) const { return m_pids.at(&process); }

    bool Logged(const QProcess& process, const std::string& event) const
    {
        const std::string line = Pid(process) + " " + event;
        for (const std::string& logged : LogLines())
            if (logged == line)
                return true;
        return false;
    }

    bool WaitForLog(const QProcess& process, const std::string& event, int ms = 10000) const
    {
        return QTest::qWaitFor([&] { return Logged(process, event); }, ms);
    }

    QProcess& StartFirst(const std::vector<std::string>& args = {})
    {
        QProcess& first = Start(args);
        EXPECT_TRUE(WaitForLog(first, "listening")) << "first copy never listened";
        return first;
    }

    // Runs a second copy to its end; returns its exit status (-2 when it hangs).
    int RunSecond(const std::vector<std::string>& args, const std::string& workingDir = {}, int ms = 15000)
    {
        QProcess& second = Start(args, workingDir);
        if (!second.waitForFinished(ms))
            return -2;
        m_lastSecond = &second;
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -3;
    }

    std::string Root;   // ends in '/'
    std::string Program;
    std::string Log;
    std::string Display = ":91";
    QProcess* m_lastSecond = nullptr;

private:
    QTemporaryDir m_root;
    std::vector<std::unique_ptr<QProcess>> m_processes;
    std::map<const QProcess*, std::string> m_pids;
};
