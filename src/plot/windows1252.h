#pragma once
// Windows-1252, the code page of plot labels and DXF text: files travel to CAD programs
// and plotters that expect it. Qt offers no codec for it without ICU, so here is the table.

#include <QByteArray>
#include <QString>

namespace zorva {

// Characters without a Windows-1252 code become '?'.
QByteArray ToWindows1252(const QString& text);
QString FromWindows1252(const QByteArray& bytes);
QString FromWindows1252(const char* data, qsizetype size);
// Plot files of other origin may carry UTF-8 labels: bytes that form valid UTF-8 with at
// least one multi-byte sequence are read as UTF-8, everything else as Windows-1252.
QString DecodePlotText(const char* data, qsizetype size);

}  // namespace zorva
