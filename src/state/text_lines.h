#pragma once
// Line files shared with earlier Windows installations: Windows-1252 text with CR LF.
// Reading accepts CR LF, LF or CR line ends and UTF-8 as well; writing is atomic.

#include "state/safe_save.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zorva {

// Settings, dial-data and date-line files are a few kilobytes; anything beyond this is
// not such a file and is not read into memory.
inline constexpr qint64 kMaxLineFileBytes = 4 * 1024 * 1024;

// Valid UTF-8 with non-ASCII content (an optional BOM is dropped) is read as UTF-8,
// everything else as Windows-1252.
QString DecodeLineFileText(const QByteArray& bytes);
// Windows-1252 when every character has a code there and the bytes read back as the same
// text, else UTF-8 without BOM (so that nothing typed is lost, the ASCII layout still reads
// on the other side, and a saved file loads and saves again to the same bytes).
QByteArray EncodeLineFileText(const QString& text);
bool RepresentableIn1252(const QString& text);

// Splits at CR LF, LF or lone CR; a line end after the last line adds no empty line.
QStringList SplitLines(const QString& text);

enum class LineFileStatus { Ok, Missing, Unreadable, TooLarge, NotAFile };
// Regular files only: a FIFO, a device or a folder is NotAFile without a single read.
LineFileStatus ReadLineFile(const QString& path, QStringList& lines);
// Every line followed by CR LF, saved through SafeSaveFile: a failed or interrupted write
// leaves the previous file as it was; `error` tells why.
bool WriteLineFile(const QString& path, const QStringList& lines, SaveError* error = nullptr);

}  // namespace zorva
