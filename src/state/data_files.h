#pragma once
// Where the data shipped with the program (map files) is found. The user's own file beside
// the program wins, as it always did; then the user's data folder, the data folder of a
// build tree, the installed data folder relative to the program, and the system's data
// folders. The current folder is never searched: it depends on where the program was started.

#include <QString>
#include <QStringList>

namespace zorva {

// The folders in search order, each with a trailing "/". `programDir` is the folder of the
// program (the application's folder when empty); `userDataDir` replaces the user's data
// folder (~/.local/share/zorva/) when given, for tests.
QStringList DataSearchFolders(const QString& programDir, const QString& userDataDir = {});

// The path of the first existing file `name` in DataSearchFolders; empty when none has it.
QString FindDataFile(const QString& name, const QString& programDir, const QString& userDataDir = {});

}  // namespace zorva
