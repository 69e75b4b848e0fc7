#pragma once
// Helpers of the tests that make saves fail: a small disk that can be filled, a file-size
// limit, an unprivileged run, and the folder's listing (hidden names included).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zorva::test::save {

// Every name in the folder, hidden ones too, sorted.
inline QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A 512 KiB tmpfs, mounted where the test may (root or a user namespace); tests skip otherwise.
class SmallDisk {
public:
    SmallDisk() {
        mounted_ = dir_.isValid() &&
                   ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, "size=512k,mode=0755") == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    // Writes "filler" until the disk refuses another byte.
    void fill() {
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0) return;
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), block.size()) > 0) {}
        while (::write(fd, "f", 1) > 0) {}
        ::close(fd);
    }
    void unfill() { QFile::remove(filePath(QStringLiteral("filler"))); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// Writes beyond `bytes` fail with EFBIG in this process while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

inline constexpr int kCannotDropPrivileges = 99;

// Runs `body` as a user without privileges (root passes every permission check) and returns
// its result, 0..98; kCannotDropPrivileges when that is impossible.
inline int RunUnprivileged(const std::function<int()>& body) {
    if (::geteuid() != 0) return body();
    const pid_t child = ::fork();
    if (child < 0) return kCannotDropPrivileges;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(kCannotDropPrivileges);
        ::_exit(body());
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) ? WEXITSTATUS(status) : kCannotDropPrivileges;
}

// Waits for every child that is left, orphans handed to us as subreaper included.
inline void ReapOrphans() {
    for (;;) {
        const pid_t pid = ::waitpid(-1, nullptr, 0);
        if (pid < 0 && errno == EINTR) continue;
        if (pid < 0) return;
    }
}

}  // namespace zorva::test::save
