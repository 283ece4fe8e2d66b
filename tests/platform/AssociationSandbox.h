// SPDX-License-Identifier: MIT
// A private desktop for the association tests: temporary home, data, config
// and system directories with a small MIME database (text/plain for *.txt,
// application/x-foo for *.foo), a foreign application "fakeedit" that handles
// both, and a stub "tracely" program. Both programs append their arguments to
// a log, so `gio open` shows what a double-click would run.
//
// The MIME database of the test process reads the process environment once,
// so the system part and the process's XDG variables are set up once per
// process; each test gets fresh user directories passed in XdgPaths.
#pragma once

#include "MimeAppsList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace sandbox {

inline bool WriteFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return true;
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray LoggingScript(const QString& name, const QString& log)
{
    return "#!/bin/sh\necho \"" + name.toUtf8() + " $*\" >> '" + log.toUtf8() + "'\n";
}

inline bool Run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(30000) && process.exitCode() == 0;
}

// The shared system directory; built once, with the process's XDG variables
// pointing at it before anything asks the MIME database.
inline const QString& SystemDir()
{
    static QTemporaryDir root;
    static const QString dir = [] {
        const QString base = root.path();
        const QString sys = base + QStringLiteral("/sys");
        WriteFile(
            sys + QStringLiteral("/mime/packages/sandbox.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"text/plain\"><comment>text</comment><glob pattern=\"*.txt\"/></mime-type>\n"
            "  <mime-type type=\"application/x-foo\"><comment>foo</comment><glob pattern=\"*.foo\"/></mime-type>\n"
            "</mime-info>\n");
        EXPECT_TRUE(Run(QStringLiteral("update-mime-database"), {sys + QStringLiteral("/mime")}));
        const QString fakeedit = base + QStringLiteral("/bin/fakeedit");
        WriteFile(fakeedit, LoggingScript(QStringLiteral("fakeedit"), base + QStringLiteral("/fakeedit.log")), true);
        WriteFile(sys + QStringLiteral("/applications/fakeedit.desktop"),
                  "[Desktop Entry]\nType=Application\nName=FakeEdit\nExec=" + fakeedit.toUtf8() +
                      " %f\nMimeType=text/plain;application/x-foo;\n");
        Run(QStringLiteral("update-desktop-database"), {sys + QStringLiteral("/applications")});
        QDir().mkpath(base + QStringLiteral("/home"));
        qputenv("HOME", (base + QStringLiteral("/home")).toUtf8());
        qputenv("XDG_DATA_HOME", (base + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_DIRS", sys.toUtf8());
        qputenv("XDG_CONFIG_DIRS", (base + QStringLiteral("/etcxdg")).toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
        return sys;
    }();
    return dir;
}

inline QString FakeEditLog()
{
    return QFileInfo(SystemDir()).absolutePath() + QStringLiteral("/fakeedit.log");
}

// One test's user directories and program.
class Desktop {
public:
    Desktop()
    {
        SystemDir();
        const QString base = m_root.path();
        Paths.Home = base + QStringLiteral("/home");
        Paths.DataHome = base + QStringLiteral("/data");
        Paths.ConfigHome = base + QStringLiteral("/config");
        Paths.DataDirs = {SystemDir()};
        Paths.ConfigDirs = {base + QStringLiteral("/etcxdg")};
        QDir().mkpath(Paths.Home);
        // A blank and a '$' in the path: the desktop entry must quote both.
        ProgramLog = base + QStringLiteral("/program.log");
        ExePath = base + QStringLiteral("/my $dir/tracely");
        WriteFile(ExePath, LoggingScript(QStringLiteral("tracely"), ProgramLog), true);
        QFile::remove(FakeEditLog());
    }

    QString Base() const { return m_root.path(); }
    QString UserList() const { return Paths.UserMimeAppsList(); }

    // What gio reports as the default application of the type; empty for none.
    QString GioDefault(const QString& mimeType) const
    {
        QProcessEnvironment env = Paths.ChildEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("gio"), {QStringLiteral("mime"), mimeType});
        process.waitForFinished(30000);
        for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(u'\n')) {
            if (line.startsWith(QStringLiteral("Default application for")))
                return line.mid(line.lastIndexOf(QStringLiteral(": ")) + 2).trimmed();
        }
        return QString();
    }

    // Double-clicks a new file of that name and returns the line its handler
    // logged ("tracely <path>" or "fakeedit <path>"), or empty.
    QString GioOpen(const QString& fileName) const
    {
        const QString file = Base() + u'/' + fileName;
        WriteFile(file, "1 2\n");
        QFile::remove(ProgramLog);
        QFile::remove(FakeEditLog());
        QProcess process;
        process.setProcessEnvironment(Paths.ChildEnvironment());
        process.start(QStringLiteral("gio"), {QStringLiteral("open"), file});
        process.waitForFinished(30000);
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            for (const QString& log : {ProgramLog, FakeEditLog()}) {
                const QByteArray text = ReadFile(log);
                if (!text.isEmpty())
                    return QString::fromUtf8(text).trimmed();
            }
            QThread::msleep(20);
        }
        return QString();
    }

    XdgPaths Paths;
    QString ExePath;
    QString ProgramLog;

private:
    QTemporaryDir m_root;
};

inline bool HaveGio()
{
    return !QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty();
}

}   // namespace sandbox

// gio is the independent reader; without it the checks that need it are skipped.
#define REQUIRE_GIO()                                                                                                  \
    if (!sandbox::HaveGio())                                                                                           \
    GTEST_SKIP() << "gio (libglib2.0-bin) is not installed"
