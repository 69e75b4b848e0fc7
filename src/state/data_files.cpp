#include "state/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zorva {
namespace {

QString WithSlash(const QString& dir) {
    QString d = QDir::cleanPath(QDir::fromNativeSeparators(dir));
    if (!d.endsWith(QLatin1Char('/'))) d += QLatin1Char('/');
    return d;
}

}  // namespace

QStringList DataSearchFolders(const QString& programDir, const QString& userDataDir) {
    QString program = programDir;
    if (program.isEmpty() && QCoreApplication::instance()) program = QCoreApplication::applicationDirPath();
    QStringList folders;
    auto add = [&folders](const QString& dir) {
        if (dir.isEmpty()) return;
        const QString d = WithSlash(dir);
        if (!folders.contains(d)) folders << d;
    };
    if (!program.isEmpty()) add(program);
    add(userDataDir.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/zorva")
            : userDataDir);
    if (!program.isEmpty()) {
        add(program + QStringLiteral("/data"));             // the build tree
        add(program + QStringLiteral("/../share/zorva"));   // installed under any prefix
    }
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        add(dir + QStringLiteral("/zorva"));
    return folders;
}

QString FindDataFile(const QString& name, const QString& programDir, const QString& userDataDir) {
    for (const QString& folder : DataSearchFolders(programDir, userDataDir)) {
        const QFileInfo info(folder + name);
        if (info.isFile()) return info.filePath();
    }
    return {};
}

}  // namespace zorva
