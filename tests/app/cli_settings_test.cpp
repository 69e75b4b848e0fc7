// zorva-cli --settings, settings check and settings write.
#include "app/cli/cli.h"
#include "cli_run.h"
#include "state/date_lines.h"
#include "state/settings_file.h"
#include "state/text_lines.h"
#include "state/state_file_helpers.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

using test::ReadBytes;
using test::WriteBytes;

using testing_support::CliRun;
using testing_support::run;

class CliSettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    // A sound file written by the program itself.
    QString soundFile() {
        RecordingDialogs dialogs;
        const QString p = path(QStringLiteral("sound.zor"));
        EXPECT_TRUE(WriteStateFile(test::EveryFieldChanged(), p, dialogs));
        return p;
    }
    // Line 12 (hourTo) outside 0..24.
    QString faultyFile(const QString& name = QStringLiteral("faulty.zor")) {
        QStringList lines = BuildStateLines(StartupState());
        lines[12] = QStringLiteral("99");
        const QString p = path(name);
        WriteBytes(p, test::Crlf(lines));
        return p;
    }
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

TEST_F(CliSettingsTest, WriteProducesTheLayoutWithTheOptionsGiven) {
    const QString out = path(QStringLiteral("site.zor"));
    const CliRun r = run({"--lat", "33.9S", "--lon", "18.4E", "--zone", "30E", "--year", "1999", "settings", "write", out});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    EXPECT_EQ(r.err, QStringLiteral("ZORVA.EXE - Information!: ") + out + QStringLiteral(" gespeichert!\n"));
    DialState expected = StartupState();
    expected.latitude = -33.9;
    expected.longitude = -18.4;
    expected.zoneMeridian = -30.0;
    expected.referenceYear = 1999;
    expected.dateLineList = DefaultDateLines();
    QStringList lines = BuildStateLines(expected);
    EXPECT_EQ(lines[1], QStringLiteral("-33.900000;       47.25"));
    EXPECT_EQ(ReadBytes(out), EncodeLineFileText(lines.join("\r\n") + "\r\n"));
}

TEST_F(CliSettingsTest, SettingsFileRoundTripsByteForByte) {
    const QString in = soundFile();
    const QString out = path(QStringLiteral("copy.zor"));
    const CliRun r = run({"--settings", in, "settings", "write", out});
    ASSERT_EQ(r.status, kOk) << r.err.toStdString();
    EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST_F(CliSettingsTest, OptionsOverrideTheSettingsFile) {
    const QString in = soundFile();
    const QString out = path(QStringLiteral("moved.zor"));
    ASSERT_EQ(run({"--settings", in, "--lat", "10N", "settings", "write", out}).status, kOk);
    DialState s = StartupState();
    RecordingDialogs dialogs;
    ASSERT_TRUE(ReadStateFile(s, out, true, true, dialogs));
    EXPECT_EQ(s.latitude, 10.0);
    EXPECT_EQ(s.referenceYear, 2024);
}

TEST_F(CliSettingsTest, CheckOfASoundFile) {
    const QString in = soundFile();
    const CliRun r = run({"settings", "check", in});
    EXPECT_EQ(r.status, kOk);
    EXPECT_EQ(r.out, in + QStringLiteral(": OK\n"));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST_F(CliSettingsTest, CheckReportsTheFailingLineAndNeverWrites) {
    const QString in = faultyFile();
    const QByteArray before = ReadBytes(in);
    for (const QStringList& extra : {QStringList{}, QStringList{"--yes"}}) {
        const CliRun r = run(extra + QStringList{"settings", "check", in});
        EXPECT_EQ(r.status, kFaultyInput);
        EXPECT_TRUE(r.err.contains(QStringLiteral("ZORVA.EXE - Problem!: ") + in + QStringLiteral(" : line 13\n")))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(in + QStringLiteral(": faulty at line 13"))) << r.out.toStdString();
        EXPECT_EQ(ReadBytes(in), before);
        EXPECT_EQ(entries(), QStringList{QStringLiteral("faulty.zor")}) << "no backup, no other file";
        if (extra.isEmpty()) {
            EXPECT_TRUE(r.err.contains(QStringLiteral("Korrektur jetzt durchführen ? -> No")));
        } else {
            EXPECT_TRUE(r.err.contains(QStringLiteral("Korrektur jetzt durchführen ? -> Yes")));
            EXPECT_TRUE(r.out.contains(QStringLiteral("the correction was made on a copy")));
        }
    }
}

TEST_F(CliSettingsTest, CheckOfAMissingSettingsFileCreatesNothing) {
    const QString ini = path(QStringLiteral("zor.ini"));
    const CliRun r = run({"--yes", "settings", "check", ini});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(ini + QStringLiteral(" : \nDie Datei fehlt. Soll sie erstellt werden?")))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(ini));
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_TRUE(r.out.contains(QStringLiteral("the correction was made on a copy")));
}

TEST_F(CliSettingsTest, CheckOfADirectoryOrGarbage) {
    CliRun r = run({"settings", "check", dir.path()});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.out.contains(QStringLiteral("cannot be read"))) << r.out.toStdString();

    const QString junk = path(QStringLiteral("junk.zor"));
    WriteBytes(junk, QByteArray("\x00\x01\xFF garbage", 12));
    r = run({"--lang", "en", "settings", "check", junk});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ZORVA.EXE - Question: File contains errors"))) << r.err.toStdString();
    EXPECT_EQ(ReadBytes(junk), QByteArray("\x00\x01\xFF garbage", 12));
}

TEST_F(CliSettingsTest, FaultySettingsFileStopsTheCommandWithoutChangingIt) {
    const QString in = faultyFile();
    const QByteArray before = ReadBytes(in);
    const QString out = path(QStringLiteral("out.zor"));
    const CliRun r = run({"--settings", in, "settings", "write", out});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(ReadBytes(in), before);
}

TEST_F(CliSettingsTest, BadCommandLines) {
    EXPECT_EQ(run({"settings"}).status, kBadCommandLine);
    EXPECT_EQ(run({"settings", "show", "x"}).status, kBadCommandLine);
    EXPECT_EQ(run({"settings", "check"}).status, kBadCommandLine);
    EXPECT_EQ(run({"settings", "write", "a", "b"}).status, kBadCommandLine);
    EXPECT_EQ(run({"--settings"}).status, kBadCommandLine);
    const CliRun r = run({"settings", "write", path(QStringLiteral("no/folder/x.zor"))});
    EXPECT_EQ(r.status, kFaultyInput);
    EXPECT_TRUE(r.err.contains(QStringLiteral("INI-Datei konnte nicht gespeichert werden!")));
}

// The installed program, end to end.
TEST_F(CliSettingsTest, ProgramChecksAFileInBatch) {
    QProcess p;
    p.start(zorva::test::binaryPath(QStringLiteral("zorva-cli")), {"settings", "check", soundFile(), faultyFile()});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), kBadCommandLine) << "one file per call";
    p.start(zorva::test::binaryPath(QStringLiteral("zorva-cli")), {"settings", "check", faultyFile()});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), kFaultyInput);
    EXPECT_TRUE(p.readAllStandardOutput().contains("faulty at line 13"));
}

}  // namespace
}  // namespace zorva::cli
