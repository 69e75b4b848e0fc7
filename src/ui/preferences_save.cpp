#include "ui/preferences_save.h"

#include "state/preferences.h"
#include "state/safe_save.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QFileInfo>

namespace zorva {

bool SavePreferencesBeside(const DialState& s, const QString& settingsFilePath, UserDialogs& dialogs) {
    if (settingsFilePath.isEmpty()) return true;
    const QString path = PreferencesPathBeside(settingsFilePath);
    SaveError error;
    if (SavePreferences(s, path, &error)) return true;
    dialogs.inform(caption(CaptionKind::Error, s.language), path + QStringLiteral("\n") + SaveErrorText(error, s.language),
                   Icon::Error);
    return false;
}

void SaveAddedDialPreferences(const DialState& s, const QString& settingsFilePath, UserDialogs& dialogs) {
    if (settingsFilePath.isEmpty()) return;
    if (s.addedKind == AddedKind::None && !QFileInfo::exists(PreferencesPathBeside(settingsFilePath))) return;
    SavePreferencesBeside(s, settingsFilePath, dialogs);
}

}  // namespace zorva
