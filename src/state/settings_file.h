#pragma once
// The settings file "zor.ini" and the dial-data files "*.zor": one positional line layout
// shared with every earlier installation, read and written loss-free.

#include "state/dial_state.h"

#include <QString>
#include <QStringList>

namespace zorva {

class UserDialogs;

inline constexpr const char* kSettingsFileName = "zor.ini";
inline constexpr const char* kSettingsBackupName = "zor_ini.bak";
inline constexpr const char* kDialDataDefaultName = "myDial.zor";

// Colours are stored as the platform's colour numbers: blue in the high byte, red in the low.
int ColourToFileNumber(Rgb colour);
Rgb ColourFromFileNumber(int number);

// The lines of the file for a state. Date lines that fail validation are reported through
// `dialogs` (when given) and left out.
QStringList BuildStateLines(const DialState& s, UserDialogs* dialogs = nullptr);

// Writes the state to `path`, replacing the file atomically, and reports the outcome.
bool WriteStateFile(const DialState& s, const QString& path, UserDialogs& dialogs);

// What a read found, for callers that report more than the dialogs do (zorva-cli).
struct StateFileReport {
    bool sound = true;            // every line read without fault or message
    bool fileMissing = false;
    bool unreadable = false;      // not a file, no permission, or far too large
    bool structuralFault = false; // markers missing or out of order, too few lines
    int failingLine = 0;          // the line that stopped reading, counted from 1; 0: none
    bool corrected = false;       // the user agreed and the file was rewritten
};

// The backup a correction makes beside `path`: "zor_ini.bak" for the settings file "zor.ini",
// "<file name>.bak" for every other file ("a.zor" -> "a.zor.bak").
QString SettingsBackupPath(const QString& path);

// Reads a settings or dial-data file into `s`. A faulty line stops reading (the fields
// read so far stay) and asks whether the file shall be corrected; only a Yes rewrites it,
// after a backup (SettingsBackupPath) beside it. True when the file was sound.
bool ReadStateFile(DialState& s, const QString& path, bool withColours, bool withDateLines,
                   UserDialogs& dialogs, StateFileReport* report = nullptr);

// "Farben &speichern": replaces the colour section of the settings file by colours 0..10.
// The dial code of a settings file ("h", "sv", "q0", "z1", "m4", "c1" for the older
// Hollander code, ...) into dialType, umbrellaDial and the family's kind. False when empty or
// not a printable letter.
bool ApplyDialCode(DialState& s, const QString& code);

bool SaveColours(const DialState& s, const QString& settingsPath, UserDialogs& dialogs);
// "Farben &laden": colours from the settings file's colour section; a missing file resets them.
bool LoadColours(DialState& s, const QString& settingsPath, UserDialogs& dialogs);

}  // namespace zorva
