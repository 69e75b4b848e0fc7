#pragma once
// Shared pieces of the fuzz targets: the readers take file names, so every input is written
// to a file first (in memory where /dev/shm exists, the saves sync to disk otherwise), and a
// broken property ends the run with a message, which libFuzzer keeps as a crash input.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zorva::fuzz {

// The folder all files of one fuzzing process live in.
inline const QTemporaryDir& WorkDir() {
    static QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/zorva-fuzz-XXXXXX")
                                                                      : QString());
    if (!dir.isValid()) std::abort();
    return dir;
}

inline QString WorkFile(const QString& name) { return WorkDir().filePath(name); }

// Replaces `name` in the work folder by the bytes; returns its path.
inline QString WriteInput(const QString& name, const uint8_t* data, size_t size) {
    const QString path = WorkFile(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        std::abort();
    return path;
}

// Takes the first byte of the input as a choice of options; 0 for an empty input.
inline uint8_t TakeOptionByte(const uint8_t*& data, size_t& size) {
    if (size == 0) return 0;
    const uint8_t b = data[0];
    ++data;
    --size;
    return b;
}

[[noreturn]] inline void PropertyBroken(std::string_view what, const QString& detail = QString()) {
    std::fprintf(stderr, "property broken: %.*s\n%s\n", static_cast<int>(what.size()), what.data(),
                 detail.toUtf8().constData());
    std::abort();
}

}  // namespace zorva::fuzz
