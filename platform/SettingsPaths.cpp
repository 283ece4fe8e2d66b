// SPDX-License-Identifier: MIT
#include "SettingsPaths.h"

#include "IniDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

bool Exists(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsWritableDirectory(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

bool IsInstalledLayout(const std::string& exeDir)
{
    return Exists(exeDir + "/../share/tracely") ||
        Exists(exeDir + "/../share/applications/" + std::string(TRACELY_APP_ID) + ".desktop");
}

std::string ParentDirectory(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}   // namespace

std::string ExecutableDirectory()
{
    if (QCoreApplication::instance())
        return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size() - 1)
        return {};
    return ParentDirectory(std::string(buffer.data(), static_cast<std::size_t>(length)));
}

std::string GlobalSettingsPathFor(const std::string& exeDir, const std::string& configHome)
{
    if (!exeDir.empty()) {
        const std::string besideExe = (exeDir == "/" ? exeDir : exeDir + "/") + kGlobalSettingsName;
        const bool existingWritable = IsRegularFile(besideExe) && ::access(besideExe.c_str(), W_OK) == 0;
        if (existingWritable || (IsWritableDirectory(exeDir) && !IsInstalledLayout(exeDir)))
            return besideExe;
    }
    if (configHome.empty()) {
        // No home to speak of: fall back to the working directory rather than a guessed path.
        return kGlobalSettingsName;
    }
    const std::string dir = configHome + "/tracely";
    // Created here so that the first write (which never creates directories) succeeds;
    // a failure shows later as the ordinary write error.
    QDir().mkpath(QFile::decodeName(QByteArray::fromStdString(dir)));
    return dir + "/" + kGlobalSettingsName;
}

std::string GlobalSettingsPath()
{
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return GlobalSettingsPathFor(ExecutableDirectory(), QFile::encodeName(configHome).toStdString());
}

std::string DirectorySettingsPath(const std::string& dir)
{
    std::string base = dir;
    if (!base.empty() && base.back() != '/')
        base += '/';
    const std::string exact = base + kDirectorySettingsName;
    if (Exists(exact))
        return exact;

    DIR* listing = ::opendir(base.empty() ? "." : base.c_str());
    if (!listing)
        return exact;
    std::string match;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (!EqualsIgnoringAsciiCase(name, kDirectorySettingsName) || !IsRegularFile(base + name))
            continue;
        if (match.empty() || name < match)
            match = name;
    }
    ::closedir(listing);
    return match.empty() ? exact : base + match;
}
