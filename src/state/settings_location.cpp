#include "state/settings_location.h"

#include "state/date_lines.h"
#include "state/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace zorva {
namespace {

QString WithSlash(const QString& dir) {
    QString d = QDir::fromNativeSeparators(dir);
    if (!d.endsWith(QLatin1Char('/'))) d += QLatin1Char('/');
    return d;
}

// Permission bits do not tell about read-only mounts or ACLs; creating a file does.
bool FolderWritable(const QString& dir) {
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) return false;
    QTemporaryFile probe(WithSlash(dir) + QStringLiteral(".zorva-probe-XXXXXX"));
    return probe.open();
}

}  // namespace

QString UserConfigDirectory() {
    // Not AppConfigLocation itself: it follows the executable's name, and the window
    // program and zorva-cli must find the same file.
    return WithSlash(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) +
           QStringLiteral("zorva/");
}

QString SettingsDirectory(const QString& programDir, const QString& configDir) {
    if (FolderWritable(programDir)) return WithSlash(programDir);
    return WithSlash(configDir.isEmpty() ? UserConfigDirectory() : configDir);
}

QString SettingsFilePath(const QString& programDir, const QString& configDir) {
    return SettingsDirectory(programDir, configDir) + QLatin1String(kSettingsFileName);
}

QString DateLinesFilePath(const QString& programDir, const QString& configDir) {
    return SettingsDirectory(programDir, configDir) + QLatin1String(kDateLinesFileName);
}

bool StartupReadSettings(DialState& s, UserDialogs& dialogs, const QString& configDir) {
    QString programDir = s.programDirectory;
    if (programDir.isEmpty() && QCoreApplication::instance())
        programDir = WithSlash(QCoreApplication::applicationDirPath());
    const QString dir = SettingsDirectory(programDir, configDir);
    // The configuration folder may not exist yet; the "create the file?" answer needs it.
    QDir().mkpath(dir);
    const bool sound = ReadStateFile(s, dir + QLatin1String(kSettingsFileName), true, true, dialogs);
    FillEmptyDateLines(s, dir + QLatin1String(kDateLinesFileName), dialogs, false);
    return sound;
}

}  // namespace zorva
