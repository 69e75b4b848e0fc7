// The main window's commands on settings and dial-data files.
#include "ui/main_window.h"

#include "state/date_lines.h"
#include "state/preferences.h"
#include "state/settings_file.h"
#include "state/settings_location.h"
#include "text/recording_dialogs.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/file_chooser.h"
#include "ui/preferences_save.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

namespace zorva {

bool MainWindow::readStateFileCommand(const QString& path) {
    // A failure deep in the reader must not end the program; the state keeps what was read.
    try {
        ReadStateFile(state_, path, true, true, dialogs_);
    } catch (const std::exception&) {
        dialogs_.inform(caption(CaptionKind::Error, state_.language), message(24, state_.language), Icon::Error);
        return false;
    }
    return true;
}

void MainWindow::afterStateLoaded() {
    setLanguage(state_.language);
    referenceYearChanged();
    action(MenuEntry::ExpertMode)->setChecked(state_.expertMode);
    openChild(ChildKind::SiteDialog);
}

void MainWindow::saveIniCommand() {
    const Language lang = state_.language;
    const QString path =
        files_.saveFileName(caption(CaptionKind::SaveData, lang), settingsPath_, title(28, lang), QStringLiteral("ini"));
    if (path.isEmpty()) return;
    WriteStateFile(state_, path, dialogs_);
}

void MainWindow::loadIniCommand() {
    if (!closeAllChildren()) return;
    readStateFileCommand(settingsPath_);
    afterStateLoaded();
}

void MainWindow::saveDialDataCommand() {
    const Language lang = state_.language;
    const QString proposed = QDir(dialDataDirectory_).filePath(QLatin1String(kDialDataDefaultName));
    const QString path = files_.saveFileName(caption(CaptionKind::SaveData, lang), proposed, title(28, lang),
                                             QStringLiteral("zor"));
    if (path.isEmpty()) return;
    dialDataDirectory_ = QFileInfo(path).absolutePath();
    WriteStateFile(state_, path, dialogs_);
}

void MainWindow::loadDialDataCommand() {
    const Language lang = state_.language;
    const QString path = files_.openFileName(caption(CaptionKind::LoadData, lang), dialDataDirectory_, title(45, lang));
    if (path.isEmpty()) return;
    if (!closeAllChildren()) return;
    dialDataDirectory_ = QFileInfo(path).absolutePath();
    if (readStateFileCommand(path)) FillEmptyDateLines(state_, dateLinesPath_, dialogs_, true);
    // A dial-data file holds a dial of the classic kinds: its letter is the dial.
    state_.addedKind = AddedKind::None;
    afterStateLoaded();
}

void MainWindow::saveSettingsCommand() {
    WriteStateFile(state_, settingsPath_, dialogs_);
    SaveAddedDialPreferences(state_, settingsPath_, dialogs_);
}

void MainWindow::saveDateLinesCommand() {
    SaveDateLineFile(state_.dateLineList, dateLinesPath_, state_.referenceYear, dialogs_, state_.language);
}

void MainWindow::loadDateLinesCommand() {
    // Offered only when the file exists; it may have gone since the menu opened.
    if (!QFileInfo::exists(dateLinesPath_)) return;
    if (!LoadDateLineFile(state_, dateLinesPath_, dialogs_)) return;
    if (ChildWindow* child = activeChild()) child->dateLinesChanged();
}

bool MainWindow::settingsDifferFromFile() const {
    if (settingsPath_.isEmpty()) return false;
    // Compared as the file would be written, so that fields the file does not hold and
    // rounding of what it does hold never count as a change.
    DialState onDisk = state_;
    RecordingDialogs quiet;  // a faulty file is not corrected here: the question says No
    if (QFileInfo::exists(settingsPath_)) {
        try {
            ReadStateFile(onDisk, settingsPath_, true, true, quiet);
        } catch (const std::exception&) {
            return true;
        }
    } else {
        LoadDefaults(onDisk);
    }
    // The program fills a list the file does not hold as it did at the start.
    FillEmptyDateLines(onDisk, dateLinesPath_, quiet, false);
    return BuildStateLines(onDisk) != BuildStateLines(state_);
}

bool MainWindow::settingsMayBeLeft() {
    if (!settingsDifferFromFile()) return true;
    const Language lang = state_.language;
    const QString name = QFileInfo(settingsPath_).fileName();
    const QString text = lang == Language::English
                             ? QStringLiteral("The settings differ from the settings file %1.\r\nSave them before quitting?")
                             : QStringLiteral("Die Einstellungen weichen von der Datei %1 ab.\r\nVor dem Beenden speichern?");
    switch (dialogs_.ask(caption(CaptionKind::Question, lang), text.arg(name), Buttons::YesNoCancel, Icon::Question)) {
        case Answer::Yes: return WriteStateFile(state_, settingsPath_, dialogs_);  // a failed save keeps the program open
        case Answer::No: return true;
        default: return false;
    }
}

void MainWindow::readSettingsAtStart(const QString& configDir) {
    const QString programDir = state_.programDirectory;
    settingsPath_ = SettingsFilePath(programDir, configDir);
    dateLinesPath_ = DateLinesFilePath(programDir, configDir);
    if (dialDataDirectory_.isEmpty()) dialDataDirectory_ = QDir::homePath();
    try {
        StartupReadSettings(state_, dialogs_, configDir);
    } catch (const std::exception&) {
        dialogs_.inform(caption(CaptionKind::Error, state_.language), message(24, state_.language), Icon::Error);
    }
    LoadPreferences(state_, PreferencesFilePath(programDir, configDir));
}

}  // namespace zorva
