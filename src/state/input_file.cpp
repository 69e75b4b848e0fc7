#include "state/input_file.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorva {
namespace {

InputFileStatus StatusOfErrno(int error) {
    if (error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP) return InputFileStatus::Missing;
    if (error == EISDIR) return InputFileStatus::NotAFile;
    return InputFileStatus::Unreadable;
}

// A descriptor of a regular file within the cap, in blocking mode; -1 otherwise.
int OpenRegular(const QString& path, qint64 maxBytes, InputFileStatus& status) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.contains('\0')) {
        status = InputFileStatus::Missing;
        return -1;
    }
    // Looked at before opening, so that no device is ever opened (a tape or a terminal
    // reacts to that alone) ...
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        status = StatusOfErrno(errno);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        status = InputFileStatus::NotAFile;
        return -1;
    }
    // ... and again after, on what was really opened: the name may have been replaced by a
    // FIFO in between, whose open without O_NONBLOCK would wait for a writer forever.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        status = StatusOfErrno(errno);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        status = InputFileStatus::NotAFile;
        return -1;
    }
    if (maxBytes >= 0 && st.st_size > maxBytes) {
        ::close(fd);
        status = InputFileStatus::TooLarge;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        ::close(fd);
        status = InputFileStatus::Unreadable;
        return -1;
    }
    status = InputFileStatus::Ok;
    return fd;
}

QString SizeText(qint64 bytes) {
    constexpr qint64 kMiB = 1024 * 1024;
    constexpr qint64 kGiB = 1024 * kMiB;
    if (bytes >= kGiB && bytes % kGiB == 0) return QString::number(bytes / kGiB) + QStringLiteral(" GB");
    if (bytes >= kMiB) return QString::number(bytes / kMiB) + QStringLiteral(" MB");
    return QString::number(bytes) + QStringLiteral(" bytes");
}

}  // namespace

InputFileStatus OpenInputFile(const QString& path, qint64 maxBytes, QFile& file) {
    InputFileStatus status;
    const int fd = OpenRegular(path, maxBytes, status);
    if (fd < 0) return status;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return InputFileStatus::Unreadable;
    }
    return InputFileStatus::Ok;
}

std::FILE* OpenInputStream(const QString& path, qint64 maxBytes, InputFileStatus& status) {
    const int fd = OpenRegular(path, maxBytes, status);
    if (fd < 0) return nullptr;
    std::FILE* stream = ::fdopen(fd, "rb");
    if (!stream) {
        ::close(fd);
        status = InputFileStatus::Unreadable;
    }
    return stream;
}

InputFileStatus ReadInputFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    bytes.clear();
    QFile file;
    const InputFileStatus status = OpenInputFile(path, maxBytes, file);
    if (status != InputFileStatus::Ok) return status;
    // Read to the end in chunks rather than asking for the whole cap at once, which would
    // allocate the cap for every small file. The size on disk may lie (a file growing while
    // read): one byte more than allowed tells.
    QByteArray data;
    data.reserve(static_cast<qsizetype>(std::min(file.size(), maxBytes) + 1));
    char chunk[64 * 1024];
    for (qint64 room = maxBytes + 1; room > 0;) {
        const qint64 got = file.read(chunk, std::min<qint64>(room, sizeof chunk));
        if (got < 0 || file.error() != QFileDevice::NoError) return InputFileStatus::Unreadable;
        if (got == 0) break;
        data.append(chunk, static_cast<qsizetype>(got));
        room -= got;
    }
    if (data.size() > maxBytes) return InputFileStatus::TooLarge;
    bytes = std::move(data);
    return InputFileStatus::Ok;
}

QString InputFileProblemText(InputFileStatus status, const QString& path, qint64 maxBytes, Language lang) {
    const bool en = lang == Language::English;
    switch (status) {
        case InputFileStatus::Ok: return {};
        case InputFileStatus::Missing:
            return path + (en ? QStringLiteral(": file not found") : QStringLiteral(": Datei nicht gefunden"));
        case InputFileStatus::NotAFile:
            return path + (en ? QStringLiteral(": not a regular file (a folder, pipe or device)")
                              : QStringLiteral(": keine gewöhnliche Datei (ein Ordner, eine Pipe oder ein Gerät)"));
        case InputFileStatus::Unreadable:
            return path + (en ? QStringLiteral(": the file cannot be read")
                              : QStringLiteral(": die Datei kann nicht gelesen werden"));
        case InputFileStatus::TooLarge:
            return path + (en ? QStringLiteral(": the file is too large (more than %1)")
                              : QStringLiteral(": die Datei ist zu groß (mehr als %1)"))
                              .arg(SizeText(maxBytes));
    }
    return {};
}

bool SameFile(const QString& a, const QString& b) {
    const QByteArray na = QFile::encodeName(a), nb = QFile::encodeName(b);
    if (na.isEmpty() || nb.isEmpty()) return false;
    // Device and inode see through every kind of link; a name that does not exist yet
    // cannot be an existing input.
    struct stat sa {}, sb {};
    if (::stat(na.constData(), &sa) != 0 || ::stat(nb.constData(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace zorva
