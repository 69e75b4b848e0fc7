#include "state/safe_save.h"
#include "text/bilingual.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zorva {
namespace {

constexpr qsizetype kBufferBytes = 64 * 1024;
// Names a save gives its file for the moment between linking and renaming (or, where the
// file system has no unnamed files, while writing). Hidden, and recognisable so that one left
// by a process that died can be removed by the next save into the same folder.
constexpr char kTempPrefix[] = ".zorva-save-";

std::atomic<unsigned> gTempCounter{0};

SaveFault FaultFor(int err, SaveFault otherwise) {
    switch (err) {
    case ENOSPC:
    case EDQUOT: return SaveFault::DiskFull;
    case EFBIG: return SaveFault::FileTooLarge;
    case EROFS: return SaveFault::ReadOnlyDrive;
    case EISDIR: return SaveFault::TargetIsFolder;
    default: return otherwise;
    }
}

bool WriteAll(int fd, const char* data, qint64 size, int& err) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        if (n == 0) {
            err = EIO;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Follows symbolic links (as a plain write would) so that the link stays and the file it
// names is replaced. An absolute path, or empty after too many links.
QByteArray ResolveLinks(QByteArray path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char buf[4096];
        const ssize_t n = ::readlink(path.constData(), buf, sizeof buf - 1);
        if (n <= 0) return path;
        QByteArray link(buf, n);
        if (!link.startsWith('/')) link = path.left(path.lastIndexOf('/') + 1) + link;
        path = link;
    }
    return {};
}

// Removes temporary names that a killed save left in `folder` (their process is gone).
void RemoveStaleTemporaries(const QByteArray& folder) {
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return;
    const size_t prefixLength = sizeof kTempPrefix - 1;
    while (dirent* e = ::readdir(dir)) {
        if (std::strncmp(e->d_name, kTempPrefix, prefixLength) != 0) continue;
        char* end = nullptr;
        const long pid = std::strtol(e->d_name + prefixLength, &end, 10);
        if (pid <= 0 || !end || *end != '-' || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(::dirfd(dir), e->d_name, 0);
    }
    ::closedir(dir);
}

// What the finishing step needs, prepared before it runs: it may run in a child process that
// shares the memory and must not allocate.
struct PublishPlan {
    int fd = -1;
    bool unnamed = true;      // the content is an unnamed file reachable through fd
    bool targetExists = false;
    const char* procPath = nullptr;  // /proc/self/fd/N
    const char* tempName = nullptr;  // the name used between link and rename
    const char* target = nullptr;
};

int LinkUnnamed(const PublishPlan& p, const char* name) {
    if (::linkat(p.fd, "", AT_FDCWD, name, AT_EMPTY_PATH) == 0) return 0;
    if (::linkat(AT_FDCWD, p.procPath, AT_FDCWD, name, AT_SYMLINK_FOLLOW) == 0) return 0;
    return errno;
}

// Link and rename, with system calls only. Returns 0 or the errno of the failing call.
int Publish(const PublishPlan& p) {
    if (!p.unnamed) return ::rename(p.tempName, p.target) == 0 ? 0 : errno;
    if (!p.targetExists) {
        // A new file appears under its name in one step.
        const int err = LinkUnnamed(p, p.target);
        if (err != EEXIST) return err;
    }
    int err = LinkUnnamed(p, p.tempName);
    if (err != 0) return err;
    if (::rename(p.tempName, p.target) == 0) return 0;
    err = errno;
    ::unlink(p.tempName);
    return err;
}

// Runs Publish in a vfork child: a kill of this process between link and rename then cannot
// leave the temporary name behind, because the child finishes both steps on its own. Without
// a child, the steps run here.
int PublishDetached(const PublishPlan& plan) {
    const pid_t child = ::vfork();
    if (child == 0) ::_exit(Publish(plan) & 0xFF);
    if (child < 0) return Publish(plan);
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(child, &status, 0)) < 0 && errno == EINTR) {}
    if (got == child && WIFEXITED(status)) return WEXITSTATUS(status);
    return -1;  // unknown: the caller checks the result on disk
}

bool SameFile(int fd, const char* path) {
    struct stat a, b;
    return ::fstat(fd, &a) == 0 && ::stat(path, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void SyncFolder(const QByteArray& folder) {
    const int dfd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    ::fsync(dfd);  // the rename is done; a folder that cannot be synced changes nothing now
    ::close(dfd);
}

}  // namespace

QString SaveErrorText(const SaveError& e, Language l) {
    QString reason;
    switch (e.fault) {
    case SaveFault::None: return {};
    case SaveFault::TargetIsFolder: reason = Tr(l, "Der Name bezeichnet einen Ordner.", "The name is a folder."); break;
    case SaveFault::NotRegularFile:
        reason = Tr(l, "Der Name bezeichnet keine gewöhnliche Datei.", "The name is not a regular file.");
        break;
    case SaveFault::FileWriteProtected:
        reason = Tr(l, "Die Datei ist schreibgeschützt.", "The file is write-protected.");
        break;
    case SaveFault::FolderMissing: reason = Tr(l, "Der Ordner existiert nicht.", "The folder does not exist."); break;
    case SaveFault::FolderNotWritable:
        reason = Tr(l, "Der Ordner muss beschreibbar sein (die neue Datei entsteht neben der alten).",
                    "The folder must be writable (the new file is written beside the old one).");
        break;
    case SaveFault::ReadOnlyDrive: reason = Tr(l, "Der Datenträger ist schreibgeschützt.", "The drive is read-only."); break;
    case SaveFault::DiskFull: reason = Tr(l, "Der Datenträger ist voll.", "The disk is full."); break;
    case SaveFault::FileTooLarge: reason = Tr(l, "Die Datei wird zu groß.", "The file grows too large."); break;
    case SaveFault::WriteFailed:
        reason = Tr(l, "Schreibfehler", "Write error") +
                 (e.systemError > 0 ? QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(e.systemError)) +
                                          QLatin1Char(')')
                                    : QString()) +
                 QLatin1Char('.');
        break;
    case SaveFault::NotOpen: reason = Tr(l, "Die Datei wurde nicht geöffnet.", "The file was not opened."); break;
    }
    return reason + QLatin1Char(' ') +
           Tr(l, "Die bisherige Datei ist unverändert.", "The earlier file is unchanged.");
}

SafeSaveFile::SafeSaveFile(const QString& target) : target_(target) {}

SafeSaveFile::~SafeSaveFile() { discard(); }

void SafeSaveFile::fail(SaveFault fault, int systemError) {
    if (error_.failed()) return;
    error_ = {fault, systemError};
    setErrorString(SaveErrorText(error_, Language::English));
}

void SafeSaveFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempName_.isEmpty()) {
        ::unlink(tempName_.constData());
        tempName_.clear();
    }
    buffer_.clear();
    if (isOpen()) QIODevice::close();
}

bool SafeSaveFile::open(OpenMode mode) {
    if (isOpen() || !(mode & QIODevice::WriteOnly) || (mode & (QIODevice::ReadOnly | QIODevice::Append))) {
        fail(SaveFault::NotOpen, 0);
        return false;
    }
    error_ = {};
    if (target_.isEmpty()) {
        fail(SaveFault::FolderMissing, ENOENT);
        return false;
    }
    resolved_ = ResolveLinks(QFile::encodeName(QFileInfo(target_).absoluteFilePath()));
    if (resolved_.isEmpty()) {
        fail(SaveFault::WriteFailed, ELOOP);
        return false;
    }
    folder_ = resolved_.left(std::max<qsizetype>(1, resolved_.lastIndexOf('/')));

    struct stat st;
    existed_ = ::stat(resolved_.constData(), &st) == 0;
    if (existed_ && S_ISDIR(st.st_mode)) {
        fail(SaveFault::TargetIsFolder, EISDIR);
        return false;
    }
    if (existed_ && !S_ISREG(st.st_mode)) {
        // Renaming over a device or a pipe would replace the node itself.
        fail(SaveFault::NotRegularFile, 0);
        return false;
    }
    if (existed_ && ::access(resolved_.constData(), W_OK) != 0 && errno == EACCES) {
        // The rename could replace it, but its owner protected it against changes.
        fail(SaveFault::FileWriteProtected, EACCES);
        return false;
    }
    if (!existed_ && errno != ENOENT) {
        fail(errno == ENOTDIR ? SaveFault::FolderMissing : FaultFor(errno, SaveFault::FolderNotWritable), errno);
        return false;
    }
    struct stat folderStat;
    if (::stat(folder_.constData(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode)) {
        fail(SaveFault::FolderMissing, ENOENT);
        return false;
    }

    RemoveStaleTemporaries(folder_);
    fd_ = ::open(folder_.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // No unnamed files on this file system: a hidden named one, removed on failure.
        tempName_ = folder_ + '/' + kTempPrefix + QByteArray::number(::getpid()) + '-' +
                    QByteArray::number(gTempCounter++);
        fd_ = ::open(tempName_.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (fd_ < 0) tempName_.clear();
    }
    if (fd_ < 0) {
        const int err = errno;
        fail(err == ENOENT || err == ENOTDIR   ? SaveFault::FolderMissing
             : err == EACCES || err == EPERM ? SaveFault::FolderNotWritable
                                              : FaultFor(err, SaveFault::WriteFailed),
             err);
        return false;
    }
    if (existed_) {
        // The replacement keeps the earlier file's permissions (and owner, where allowed).
        ::fchmod(fd_, st.st_mode & 07777);
        if (::geteuid() == 0 && ::fchown(fd_, st.st_uid, st.st_gid) != 0) {}
    }
    buffer_.reserve(kBufferBytes);
    return QIODevice::open(mode | QIODevice::Unbuffered);
}

qint64 SafeSaveFile::readData(char*, qint64) { return -1; }

qint64 SafeSaveFile::writeData(const char* data, qint64 size) {
    if (fd_ < 0) {
        fail(SaveFault::NotOpen, 0);
        return -1;
    }
    if (error_.failed()) return -1;
    if (size >= kBufferBytes) {
        int err = 0;
        if (!flushBuffer()) return -1;
        if (!WriteAll(fd_, data, size, err)) {
            fail(FaultFor(err, SaveFault::WriteFailed), err);
            return -1;
        }
        return size;
    }
    buffer_.append(data, size);
    if (buffer_.size() >= kBufferBytes && !flushBuffer()) return -1;
    return size;
}

bool SafeSaveFile::flushBuffer() {
    if (error_.failed()) return false;
    if (buffer_.isEmpty()) return true;
    int err = 0;
    const bool ok = WriteAll(fd_, buffer_.constData(), buffer_.size(), err);
    buffer_.clear();
    if (!ok) fail(FaultFor(err, SaveFault::WriteFailed), err);
    return ok;
}

QByteArray SafeSaveFile::readBack(qint64 offset, qint64 maxBytes) {
    if (fd_ < 0 || !flushBuffer() || maxBytes <= 0) return {};
    QByteArray out(maxBytes, Qt::Uninitialized);
    qint64 got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::pread(fd_, out.data() + got, static_cast<size_t>(maxBytes - got), offset + got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
    }
    out.truncate(got);
    return out;
}

void SafeSaveFile::cancel() { discard(); }

bool SafeSaveFile::commit() {
    if (fd_ < 0) {
        fail(SaveFault::NotOpen, 0);
        discard();
        return false;
    }
    if (!flushBuffer()) {
        discard();
        return false;
    }
    // A full disk may show only here (delayed allocation), so the sync decides, not the writes.
    if (::fsync(fd_) != 0 && errno != EINVAL) {
        const int err = errno;
        fail(FaultFor(err, SaveFault::WriteFailed), err);
        discard();
        return false;
    }

    const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(fd_);
    const QByteArray linkName = tempName_.isEmpty() ? folder_ + '/' + kTempPrefix + QByteArray::number(::getpid()) +
                                                          '-' + QByteArray::number(gTempCounter++)
                                                    : tempName_;
    PublishPlan plan;
    plan.fd = fd_;
    plan.unnamed = tempName_.isEmpty();
    plan.targetExists = existed_;
    plan.procPath = procPath.constData();
    plan.tempName = linkName.constData();
    plan.target = resolved_.constData();
    const int result = PublishDetached(plan);
    if (!SameFile(fd_, resolved_.constData())) {
        const int err = result > 0 ? result : EIO;
        fail(err == EACCES || err == EPERM ? SaveFault::FolderNotWritable : FaultFor(err, SaveFault::WriteFailed), err);
        discard();
        return false;
    }
    tempName_.clear();  // it is the target now
    SyncFolder(folder_);
    ::close(fd_);
    fd_ = -1;
    QIODevice::close();
    return true;
}

bool SaveFileBytes(const QString& path, const QByteArray& bytes, SaveError* error) {
    SafeSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (error) *error = file.error();
    return ok;
}

}  // namespace zorva
