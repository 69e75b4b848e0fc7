#pragma once
// Keeps zorva.conf beside the settings file up to date when a dialog changed one of its
// preferences, and says so when it cannot be written.

#include "state/dial_state.h"

#include <QString>

namespace zorva {

class UserDialogs;

// Writes every preference beside `settingsFilePath` (nothing without a settings file); false
// after telling the user why it could not be written.
bool SavePreferencesBeside(const DialState& state, const QString& settingsFilePath, UserDialogs& dialogs);

// The same after a change of the added dial kinds, but no file is made for a user of the
// classic kinds only.
void SaveAddedDialPreferences(const DialState& state, const QString& settingsFilePath, UserDialogs& dialogs);

}  // namespace zorva
