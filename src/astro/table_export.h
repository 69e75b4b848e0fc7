#pragma once
// Saving a table as plain text or as a semicolon-separated file for a spreadsheet.

#include "state/dial_state.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zorva {

class UserDialogs;

enum class TableFileKind { Text, Csv };
enum class TableFamily { Month, Year, TransitYear };

// The save dialog's two filters, text first, in the form "Name (*.TXT)|*.TXT|...".
QString TableFileFilter(Language lang);
// The name the save dialog proposes when the user switches to a filter.
QString ProposedTableFileName(TableFileKind kind);
inline const char* const kDefaultTableFileName = "Tabelle";

// The file name a chosen name is saved under: everything from the first "." of the file
// name (never of a folder) is replaced by ".txt" or ".csv".
QString TableFileName(const QString& chosen, TableFileKind kind);

// The complete file for a table list as the window holds it: the site head of the month
// table, the column headers, and every line, each ended by CR LF.
QString TableFileText(const QStringList& lines, TableFamily family, TableFileKind kind, const DialState& s);

// The bytes of a table file: Windows-1252, as the earlier Windows versions wrote them and as
// spreadsheets on German desktops read them. Table texts hold only Latin-1 characters, which
// Windows-1252 keeps at the same codes; anything else would become "?".
QByteArray TableFileBytes(const QString& text);

// Writes the file whole or not at all. When it cannot be created shows "Open error: File  "
// + name (error icon); when writing fails, message 53. An existing file is left untouched
// on failure. True when saved.
bool SaveTableFile(const QString& path, const QString& text, UserDialogs& dialogs, Language lang);

}  // namespace zorva
