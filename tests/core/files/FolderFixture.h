#pragma once
// Builds folders of test files in a temporary folder, and reads a folder's raw listing order.

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kyv::test {

class FolderFixture {
public:
    FolderFixture() : FolderFixture(QString()) {}
    // A fixture under `base` (the system's temporary folder when empty).
    explicit FolderFixture(const QString& base)
        : dir_(base.isEmpty() ? QDir::tempPath() + QStringLiteral("/kyv-files-XXXXXX")
                              : base + QStringLiteral("/kyv-files-XXXXXX"))
    {
        // Other users may pass through, so that a test can drop its privileges and still reach it.
        ::chmod(QFile::encodeName(dir_.path()).constData(), 0755);
    }
    // Removed by bytes: Qt cannot remove names that are not UTF-8.
    ~FolderFixture()
    {
        std::error_code error;
        if (dir_.isValid()) std::filesystem::remove_all(QFile::encodeName(dir_.path()).toStdString(), error);
    }
    FolderFixture(const FolderFixture&) = delete;
    FolderFixture& operator=(const FolderFixture&) = delete;

    bool IsValid() const { return dir_.isValid(); }
    // The folder, ending in one separator.
    QString Path() const { return dir_.path() + u'/'; }
    QString PathOf(const QString& relative) const { return Path() + relative; }

    // A file of `size` bytes, each `fill`; sizes above 1 MiB are made sparse.
    QString MakeFile(const QString& relative, qint64 size = 0, char fill = 'x') const
    {
        QFile file(PathOf(relative));
        if (!file.open(QIODevice::WriteOnly)) return {};
        if (size > (1 << 20))
            file.resize(size);
        else
            file.write(QByteArray(static_cast<qsizetype>(size), fill));
        return file.fileName();
    }
    QString MakeFile(const QString& relative, const QByteArray& content) const
    {
        QFile file(PathOf(relative));
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(content);
        return file.fileName();
    }
    QString MakeFolder(const QString& relative) const
    {
        QDir().mkpath(PathOf(relative));
        return PathOf(relative) + u'/';
    }
    bool MakeLink(const QString& relative, const QString& target) const
    {
        return ::symlink(QFile::encodeName(target).constData(),
                         QFile::encodeName(PathOf(relative)).constData()) == 0;
    }
    bool MakeFifo(const QString& relative) const
    {
        return ::mkfifo(QFile::encodeName(PathOf(relative)).constData(), 0600) == 0;
    }
    // Many empty files named <prefix><n><suffix>, made quickly.
    bool MakeEmptyFiles(const QString& folder, int count, const QString& prefix, const QString& suffix) const
    {
        for (int n = 0; n < count; ++n) {
            const QByteArray name = QFile::encodeName(PathOf(folder) + prefix + QString::number(n) + suffix);
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0) return false;
            ::close(fd);
        }
        return true;
    }

private:
    QTemporaryDir dir_;
};

// A folder in memory when the system has one: many small files are made there in a fraction of
// the time a disk takes.
inline QString FastScratchFolder()
{
    return ::access("/dev/shm", W_OK) == 0 ? QStringLiteral("/dev/shm") : QString();
}

// The names of a folder's entries of one type (DT_REG or DT_DIR) in the order readdir returns them.
inline QStringList RawListingOrder(const QString& folder, unsigned char type)
{
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (entry->d_type == type && name != u"." && name != u"..") names.append(name);
    }
    ::closedir(dir);
    return names;
}

// Runs `check` without the power to read every folder: as the user "nobody" in a child process
// when the tests run as root, directly otherwise. `check` returns an empty text when all is well,
// else what went wrong.
inline std::string RunWithoutPrivileges(const std::function<std::string()>& check)
{
    if (::geteuid() != 0) return check();
    int channel[2];
    if (::pipe(channel) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string outcome = "could not drop privileges";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) outcome = check();
        const ssize_t written = ::write(channel[1], outcome.data(), outcome.size());
        ::_exit(written == static_cast<ssize_t>(outcome.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string outcome;
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        outcome.append(buffer, static_cast<size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "the unprivileged check did not finish: " + outcome;
    return outcome;
}

// Removes every permission of a folder for the lifetime of this object.
class LockedFolder {
public:
    explicit LockedFolder(QString path) : path_(std::move(path))
    {
        ::chmod(QFile::encodeName(path_).constData(), 0);
    }
    ~LockedFolder() { ::chmod(QFile::encodeName(path_).constData(), 0755); }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;

private:
    QString path_;
};

}  // namespace kyv::test
