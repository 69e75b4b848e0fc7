#pragma once
// Where the settings file and the date-line file live: beside the program when its folder
// is writable (a portable installation), else in the user's configuration folder.

#include "state/dial_state.h"

#include <QString>

namespace zorva {

class UserDialogs;

// The configuration folder shared by the window program and zorva-cli.
QString UserConfigDirectory();
// The folder for "zor.ini" and "zor_days.ini", with a trailing "/". An empty `configDir`
// means UserConfigDirectory().
QString SettingsDirectory(const QString& programDir, const QString& configDir = {});
QString SettingsFilePath(const QString& programDir, const QString& configDir = {});
QString DateLinesFilePath(const QString& programDir, const QString& configDir = {});

// The start-up read: the settings file (asking to create it when missing) with colours and
// date lines, then an empty date-line list from "zor_days.ini" or the three defaults.
// Uses s.programDirectory (the application's folder when empty). True when the file was sound.
bool StartupReadSettings(DialState& s, UserDialogs& dialogs, const QString& configDir = {});

}  // namespace zorva
