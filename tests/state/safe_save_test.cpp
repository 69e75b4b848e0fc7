// Saving over an earlier file: the earlier file survives every failure (full disk, size
// limit, read-only folder, a folder or a device as target, a kill at any moment) and nothing
// but the target is ever left in the folder.
#include "state/safe_save.h"
#include "state/date_lines.h"
#include "state/settings_file.h"
#include "state/state_file_helpers.h"
#include "support/save_test_support.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"
#include "text/texts.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zorva {
namespace {

using test::ReadBytes;
using test::WriteBytes;
using namespace test::save;

TEST(SafeSave, ReplacesCreatesAndFollowsLinksLeavingNothingElse) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("data.zor"));
    WriteBytes(target, "old content");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);

    SaveError error;
    ASSERT_TRUE(SaveFileBytes(target, "new content", &error)) << SaveErrorText(error, Language::English).toStdString();
    EXPECT_EQ(ReadBytes(target), "new content");
    EXPECT_FALSE(error.failed());
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replacement keeps the permissions";

    // A new file, written in pieces larger and smaller than the buffer.
    const QString fresh = dir.filePath(QStringLiteral("fresh.txt"));
    QByteArray big(300 * 1024, 'x');
    for (int i = 0; i < big.size(); i += 997) big[i] = char('a' + i % 26);
    SafeSaveFile file(fresh);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write(big.left(10)), 10);
    EXPECT_EQ(file.write(big.mid(10, 200 * 1024)), 200 * 1024);
    EXPECT_EQ(file.readBack(0, 20), big.left(20)) << "what was written reads back before the commit";
    EXPECT_EQ(file.write(big.mid(10 + 200 * 1024)), big.size() - 10 - 200 * 1024);
    EXPECT_FALSE(QFileInfo::exists(fresh)) << "nothing appears before the commit";
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(ReadBytes(fresh), big);

    // Through a symbolic link: the link stays, the file it names is replaced.
    const QString link = dir.filePath(QStringLiteral("link.zor"));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(SaveFileBytes(link, "via link"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(target), "via link");

    EXPECT_EQ(Entries(dir.path()), (QStringList{"data.zor", "fresh.txt", "link.zor"}));
}

TEST(SafeSave, CancelledOrUncommittedSavesKeepTheEarlierFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("t.txt"));
    WriteBytes(target, "earlier");
    {
        SafeSaveFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half a fi");
    }  // destroyed without commit
    {
        SafeSaveFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100 * 1024, 'z'));
        file.cancel();
        EXPECT_FALSE(file.commit());
        EXPECT_EQ(file.error().fault, SaveFault::NotOpen);
    }
    SafeSaveFile never(target);
    EXPECT_EQ(never.write("x"), -1);
    EXPECT_FALSE(never.commit());
    EXPECT_EQ(ReadBytes(target), "earlier");
    EXPECT_EQ(Entries(dir.path()), QStringList{"t.txt"});
}

TEST(SafeSave, TargetsThatCannotBeReplacedAreRefusedWithTheirReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.txt")));
    SaveError error;
    EXPECT_FALSE(SaveFileBytes(dir.filePath(QStringLiteral("folder.txt")), "x", &error));
    EXPECT_EQ(error.fault, SaveFault::TargetIsFolder);
    EXPECT_EQ(SaveErrorText(error, Language::German),
              QStringLiteral("Der Name bezeichnet einen Ordner. Die bisherige Datei ist unverändert."));
    EXPECT_EQ(SaveErrorText(error, Language::English),
              QStringLiteral("The name is a folder. The earlier file is unchanged."));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("folder.txt"))).isDir());

    EXPECT_FALSE(SaveFileBytes(dir.filePath(QStringLiteral("no/such/folder.txt")), "x", &error));
    EXPECT_EQ(error.fault, SaveFault::FolderMissing);

    // A rename over a device would replace the node itself.
    EXPECT_FALSE(SaveFileBytes(QStringLiteral("/dev/null"), "x", &error));
    EXPECT_EQ(error.fault, SaveFault::NotRegularFile);
    struct stat st;
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(Entries(dir.path()), QStringList{"folder.txt"});
}

// Only the target is writable: the new file cannot be written beside it, and is not written
// into it either (a kill would then leave it torn).
TEST(SafeSave, ReadOnlyFolderWithAWritableTargetIsRefused) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/t.plt");
    WriteBytes(target, "earlier plot");
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(target).constData(), 0666);
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    const int status = RunUnprivileged([&] {
        SaveError error;
        if (SaveFileBytes(target, "new plot", &error)) return 10;
        return error.fault == SaveFault::FolderNotWritable ? 0 : 20 + static_cast<int>(error.fault);
    });
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    if (status == kCannotDropPrivileges) GTEST_SKIP() << "cannot run as an unprivileged user";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(target), "earlier plot");
    EXPECT_EQ(Entries(folder), QStringList{"t.plt"});
    EXPECT_TRUE(SaveErrorText({SaveFault::FolderNotWritable, EACCES}, Language::German)
                    .startsWith(QStringLiteral("Der Ordner muss beschreibbar sein")));

    // The other way round: a writable folder, but the file itself is protected.
    const QString protectedFile = dir.filePath(QStringLiteral("protected.zor"));
    WriteBytes(protectedFile, "protected");
    ::chmod(QFile::encodeName(protectedFile).constData(), 0444);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
    const int protectedStatus = RunUnprivileged([&] {
        SaveError error;
        if (SaveFileBytes(protectedFile, "changed", &error)) return 10;
        return error.fault == SaveFault::FileWriteProtected ? 0 : 20 + static_cast<int>(error.fault);
    });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    EXPECT_EQ(protectedStatus, 0);
    EXPECT_EQ(ReadBytes(protectedFile), "protected");
}

// The process's file-size limit makes every write beyond it fail, as a full disk does.
TEST(SafeSave, FailingWritesKeepTheEarlierFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("big.dxf"));
    WriteBytes(target, "earlier drawing");
    SaveError error;
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_FALSE(SaveFileBytes(target, QByteArray(200 * 1024, 'd'), &error));
    }
    EXPECT_EQ(error.fault, SaveFault::FileTooLarge);
    EXPECT_EQ(ReadBytes(target), "earlier drawing");
    {
        // Many small writes: the failure shows at a later write or at the commit, never as success.
        FileSizeLimit limit(64 * 1024);
        SafeSaveFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        bool refused = false;
        for (int i = 0; i < 4000; ++i) refused |= file.write("0123456789012345678901234567890123456789\r\n") < 0;
        EXPECT_TRUE(refused);
        EXPECT_FALSE(file.commit());
        EXPECT_EQ(file.error().fault, SaveFault::FileTooLarge);
    }
    EXPECT_EQ(ReadBytes(target), "earlier drawing");
    EXPECT_EQ(Entries(dir.path()), QStringList{"big.dxf"});
}

// The reproduction from the field: settings and date lines on a small disk, the disk filled,
// then saved again.
TEST(SafeSave, FullDiskKeepsSettingsAndDateLines) {
    SmallDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here";
    const QString ini = disk.filePath(QStringLiteral("zor.ini"));
    const QString days = disk.filePath(QStringLiteral("zor_days.ini"));
    RecordingDialogs dialogs;
    DialState s;
    LoadDefaults(s);
    ASSERT_TRUE(WriteStateFile(s, ini, dialogs));
    ASSERT_TRUE(SaveDateLineFile(DefaultDateLines(), days, s.referenceYear, dialogs, s.language));
    const QByteArray iniBefore = ReadBytes(ini), daysBefore = ReadBytes(days);
    ASSERT_FALSE(iniBefore.isEmpty());

    disk.fill();
    for (int i = 0; i < 400; ++i) s.dateLineList << QStringLiteral("%1/05    ( a long comment to need more room )").arg(1 + i % 28, 2, 10, QLatin1Char('0'));
    dialogs.clear();
    EXPECT_FALSE(WriteStateFile(s, ini, dialogs));
    ASSERT_EQ(dialogs.events.size(), 1u);
    EXPECT_EQ(dialogs.events[0].text, ini + QStringLiteral(" :\r\n") + message(18, Language::German) +
                                          QStringLiteral("\r\nDer Datenträger ist voll. Die bisherige Datei ist unverändert."));
    EXPECT_EQ(dialogs.events[0].icon, Icon::Error);
    dialogs.clear();
    EXPECT_FALSE(SaveDateLineFile(s.dateLineList, days, s.referenceYear, dialogs, s.language));
    EXPECT_TRUE(dialogs.texts().join('|').contains(QStringLiteral("Der Datenträger ist voll.")));
    EXPECT_EQ(ReadBytes(ini), iniBefore);
    EXPECT_EQ(ReadBytes(days), daysBefore);
    EXPECT_EQ(Entries(disk.path()), (QStringList{"filler", "zor.ini", "zor_days.ini"}));

    // Room again: the same save succeeds.
    disk.unfill();
    dialogs.clear();
    EXPECT_TRUE(WriteStateFile(s, ini, dialogs));
    EXPECT_GT(ReadBytes(ini).size(), iniBefore.size());
}

TEST(SafeSave, TemporariesOfDeadProcessesAreRemovedByTheNextSave) {
    QTemporaryDir dir;
    // A process that certainly has ended: a child we started and reaped.
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const QString stale = dir.filePath(QStringLiteral(".zorva-save-%1-0").arg(dead));
    const QString alive = dir.filePath(QStringLiteral(".zorva-save-1-0"));  // init never ends
    const QString foreign = dir.filePath(QStringLiteral(".zorva-save-notes"));
    WriteBytes(stale, "left by a killed save");
    WriteBytes(alive, "another process is saving");
    WriteBytes(foreign, "not ours");
    ASSERT_TRUE(SaveFileBytes(dir.filePath(QStringLiteral("t.txt")), "x"));
    EXPECT_FALSE(QFileInfo::exists(stale));
    EXPECT_TRUE(QFileInfo::exists(alive));
    EXPECT_TRUE(QFileInfo::exists(foreign));
}

// A child saves two different contents over one file without pause and is killed at random
// moments; each kill must leave one of the two complete and nothing else.
TEST(SafeSave, KilledAtRandomMomentsLeavesTheOldOrTheNewFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("dial.zor"));
    QByteArray a(900 * 1024, 'a'), b(70 * 1024, 'b');
    a.append("\r\nend of A\r\n");
    b.append("\r\nend of B\r\n");
    WriteBytes(target, b);
    // Orphaned helpers of a killed saver come to us, so that we can wait for them.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);

    constexpr int kKills = 50;
    int sawA = 0, sawB = 0;
    QRandomGenerator random(20240924);
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            for (unsigned n = 0;; ++n) {
                const QByteArray& content = n % 2 ? b : a;
                SafeSaveFile file(target);
                if (!file.open(QIODevice::WriteOnly)) ::_exit(3);
                for (qsizetype at = 0; at < content.size(); at += 8192) file.write(content.mid(at, 8192));
                if (!file.commit()) ::_exit(4);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(1000, 40000)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(saver, &status, 0), saver);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped by itself with " << WEXITSTATUS(status);
        ReapOrphans();

        const QByteArray now = ReadBytes(target);
        ASSERT_TRUE(now == a || now == b) << "kill " << kill << ": " << now.size() << " bytes";
        (now == a ? sawA : sawB)++;
        ASSERT_EQ(Entries(dir.path()), QStringList{"dial.zor"}) << "kill " << kill;
    }
    EXPECT_EQ(sawA + sawB, kKills);
    RecordProperty("kills", kKills);
    RecordProperty("oldOrNewA", sawA);
    RecordProperty("oldOrNewB", sawB);
}

}  // namespace
}  // namespace zorva
