#pragma once
// Opening the files the program reads. Every reader goes through here so that a FIFO, a
// device, a directory or a file of absurd size is refused at once with a clear text,
// instead of blocking the reader forever or filling the memory.

#include "text/language.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

class QFile;

namespace zorva {

enum class InputFileStatus {
    Ok,
    Missing,     // no such file
    NotAFile,    // a directory, FIFO, socket or device
    Unreadable,  // no permission or an I/O error
    TooLarge,    // beyond the reader's cap (also when the file grows past it while read)
};

// Opens a regular file for reading. Never blocks: a FIFO without a writer is refused like any
// other special file. `maxBytes` < 0: no cap on the size.
InputFileStatus OpenInputFile(const QString& path, qint64 maxBytes, QFile& file);
// The same as a C stream for readers that work on blocks of bytes; nullptr unless Ok.
std::FILE* OpenInputStream(const QString& path, qint64 maxBytes, InputFileStatus& status);
// Reads the whole file, at most `maxBytes` (which must be >= 0).
InputFileStatus ReadInputFile(const QString& path, qint64 maxBytes, QByteArray& bytes);

// One line naming the file and the problem, in the user's language; empty for Ok.
QString InputFileProblemText(InputFileStatus status, const QString& path, qint64 maxBytes, Language lang);

// True when both names reach the same existing file: the same name, a symbolic link or a hard
// link, a relative path. A command that wrote its output over its input would destroy the input.
bool SameFile(const QString& a, const QString& b);

}  // namespace zorva
