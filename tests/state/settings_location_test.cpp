#include "state/settings_location.h"
#include "state/settings_file.h"
#include "state/state_file_helpers.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"

#include <QFileInfo>

namespace zorva {
namespace {

TEST(SettingsLocation, BesideTheProgramWhenWritableElseTheConfigFolder) {
    QTemporaryDir program, config;
    EXPECT_EQ(SettingsDirectory(program.path(), config.path()), program.path() + "/");
    EXPECT_EQ(SettingsFilePath(program.path() + "/", config.path()), program.path() + "/zor.ini");
    EXPECT_EQ(DateLinesFilePath(program.path(), config.path()), program.path() + "/zor_days.ini");
    // The writability probe leaves nothing behind.
    EXPECT_TRUE(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

    const QString unusable = program.filePath(QStringLiteral("no/such/folder"));
    EXPECT_EQ(SettingsFilePath(unusable, config.path()), config.path() + "/zor.ini");
    EXPECT_EQ(SettingsFilePath(QString(), config.path()), config.path() + "/zor.ini");
    EXPECT_TRUE(SettingsDirectory(unusable).endsWith(QStringLiteral("/zorva/")));
}

TEST(StartupReadSettings, ReadsTheFileBesideTheProgram) {
    QTemporaryDir program, config;
    DialState written = test::EveryFieldChanged();
    RecordingDialogs dialogs;
    ASSERT_TRUE(WriteStateFile(written, program.filePath(QStringLiteral("zor.ini")), dialogs));
    DialState s = StartupState();
    s.programDirectory = program.path() + "/";
    dialogs.clear();
    EXPECT_TRUE(StartupReadSettings(s, dialogs, config.path()));
    EXPECT_TRUE(dialogs.events.empty());
    EXPECT_EQ(s.referenceYear, 2024);
    EXPECT_EQ(s.language, Language::English);
    EXPECT_EQ(s.dateLineList, written.dateLineList);
}

TEST(StartupReadSettings, MissingFileAsksAndFallsBackToDefaultDateLines) {
    QTemporaryDir config;
    DialState s = StartupState();
    s.programDirectory = config.filePath(QStringLiteral("not/writable/")) ;
    const QString configDir = config.filePath(QStringLiteral("fresh"));  // created on demand
    RecordingDialogs dialogs;
    EXPECT_FALSE(StartupReadSettings(s, dialogs, configDir));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_TRUE(dialogs.events[0].text.startsWith(configDir + QStringLiteral("/zor.ini : \n\rDie Datei fehlt.")));
    EXPECT_FALSE(QFileInfo::exists(configDir + QStringLiteral("/zor.ini")));
    EXPECT_EQ(s.dateLineList.size(), 3);

    // Yes creates the file in the configuration folder; the next start reads it quietly.
    dialogs.clear();
    dialogs.answers = {Answer::Yes};
    DialState t = StartupState();
    t.programDirectory = s.programDirectory;
    StartupReadSettings(t, dialogs, configDir);
    EXPECT_TRUE(QFileInfo::exists(configDir + QStringLiteral("/zor.ini")));
    dialogs.clear();
    EXPECT_TRUE(StartupReadSettings(t, dialogs, configDir));
    EXPECT_TRUE(dialogs.events.empty());
}

}  // namespace
}  // namespace zorva
