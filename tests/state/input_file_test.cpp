// Opening input files: regular files only, within the reader's cap, and never a wait.
#include "state/input_file.h"
#include "state/state_file_helpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace zorva {
namespace {

using test::WriteBytes;

class InputFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(InputFileTest, RegularFilesAreReadWithinTheCap) {
    WriteBytes(path("a.txt"), "0123456789");
    QByteArray bytes;
    EXPECT_EQ(ReadInputFile(path("a.txt"), 10, bytes), InputFileStatus::Ok);
    EXPECT_EQ(bytes, QByteArray("0123456789"));
    EXPECT_EQ(ReadInputFile(path("a.txt"), 9, bytes), InputFileStatus::TooLarge);
    EXPECT_TRUE(bytes.isEmpty()) << "nothing of a refused file is handed out";

    // Larger than one read: every piece arrives, in order, and the cap still counts exactly.
    QByteArray big(200'003, '\0');
    for (int i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 % 251);
    WriteBytes(path("big.bin"), big);
    EXPECT_EQ(ReadInputFile(path("big.bin"), big.size(), bytes), InputFileStatus::Ok);
    EXPECT_EQ(bytes, big);
    EXPECT_EQ(ReadInputFile(path("big.bin"), big.size() - 1, bytes), InputFileStatus::TooLarge);

    WriteBytes(path("empty.txt"), QByteArray());
    EXPECT_EQ(ReadInputFile(path("empty.txt"), 0, bytes), InputFileStatus::Ok);
    EXPECT_EQ(ReadInputFile(path("missing.txt"), 10, bytes), InputFileStatus::Missing);
    EXPECT_EQ(ReadInputFile(path("missing/a.txt"), 10, bytes), InputFileStatus::Missing);
    EXPECT_EQ(ReadInputFile(QString(), 10, bytes), InputFileStatus::Missing);

    // Through a link the target counts.
    ASSERT_TRUE(QFile::link(path("a.txt"), path("link.txt")));
    EXPECT_EQ(ReadInputFile(path("link.txt"), 10, bytes), InputFileStatus::Ok);
    ASSERT_TRUE(QFile::link(path("gone.txt"), path("dangling.txt")));
    EXPECT_EQ(ReadInputFile(path("dangling.txt"), 10, bytes), InputFileStatus::Missing);

    // A stream of the same file works like the QFile.
    InputFileStatus status;
    std::FILE* stream = OpenInputStream(path("a.txt"), 10, status);
    ASSERT_NE(stream, nullptr);
    char buffer[16] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, stream), 10u);
    std::fclose(stream);
    EXPECT_EQ(OpenInputStream(path("a.txt"), 5, status), nullptr);
    EXPECT_EQ(status, InputFileStatus::TooLarge);
}

// Files of /proc are regular but report size 0: the cap must hold on what is read.
TEST_F(InputFileTest, TheCapHoldsWhenTheSizeOnDiskLies) {
    QByteArray bytes;
    EXPECT_EQ(ReadInputFile(QStringLiteral("/proc/self/status"), 20, bytes), InputFileStatus::TooLarge);
    EXPECT_EQ(ReadInputFile(QStringLiteral("/proc/self/status"), 1 << 20, bytes), InputFileStatus::Ok);
    EXPECT_TRUE(bytes.contains("Pid:"));
}

TEST_F(InputFileTest, FoldersDevicesAndFifosAreNotFilesAndNeverBlock) {
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const QString fifo = path("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, path("fifo-link")));
    for (const QString& special : {path("folder"), fifo, path("fifo-link"), QStringLiteral("/dev/zero"),
                                   QStringLiteral("/dev/null"), QStringLiteral("/dev/urandom")}) {
        // A reader that waits for a FIFO's writer would hang here: give it one after a while
        // so that the test fails instead of hanging.
        auto reading = std::async(std::launch::async, [&special] {
            QByteArray bytes;
            return ReadInputFile(special, 1 << 20, bytes);
        });
        if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
            const int unblock = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (unblock >= 0) ::close(unblock);
            ADD_FAILURE() << special.toStdString() << " blocked the reader";
        }
        EXPECT_EQ(reading.get(), InputFileStatus::NotAFile) << special.toStdString();
        QFile file;
        EXPECT_EQ(OpenInputFile(special, -1, file), InputFileStatus::NotAFile) << special.toStdString();
        EXPECT_FALSE(file.isOpen());
    }
}

TEST_F(InputFileTest, AFileWithoutReadPermissionIsUnreadable) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    WriteBytes(path("secret.txt"), "x");
    ASSERT_TRUE(QFile::setPermissions(path("secret.txt"), QFileDevice::WriteOwner));
    QByteArray bytes;
    EXPECT_EQ(ReadInputFile(path("secret.txt"), 10, bytes), InputFileStatus::Unreadable);
}

TEST_F(InputFileTest, ProblemTextsNameTheFileInBothLanguages) {
    const QString f = QStringLiteral("/x/plot.plt");
    EXPECT_TRUE(InputFileProblemText(InputFileStatus::Ok, f, 0, Language::German).isEmpty());
    EXPECT_EQ(InputFileProblemText(InputFileStatus::TooLarge, f, 2LL << 30, Language::German),
              QStringLiteral("/x/plot.plt: die Datei ist zu groß (mehr als 2 GB)"));
    EXPECT_EQ(InputFileProblemText(InputFileStatus::TooLarge, f, 4 << 20, Language::English),
              QStringLiteral("/x/plot.plt: the file is too large (more than 4 MB)"));
    EXPECT_EQ(InputFileProblemText(InputFileStatus::NotAFile, f, 0, Language::English),
              QStringLiteral("/x/plot.plt: not a regular file (a folder, pipe or device)"));
    for (InputFileStatus st : {InputFileStatus::Missing, InputFileStatus::Unreadable}) {
        const QString de = InputFileProblemText(st, f, 0, Language::German);
        const QString en = InputFileProblemText(st, f, 0, Language::English);
        EXPECT_TRUE(de.startsWith(f) && en.startsWith(f));
        EXPECT_NE(de, en);
    }
}

TEST_F(InputFileTest, SameFileSeesThroughLinksAndRelativeNames) {
    WriteBytes(path("plot.plt"), "IN;");
    WriteBytes(path("other.plt"), "IN;");
    ASSERT_TRUE(QFile::link(path("plot.plt"), path("soft.plt")));
    ASSERT_EQ(::link(QFile::encodeName(path("plot.plt")).constData(), QFile::encodeName(path("hard.plt")).constData()),
              0);
    EXPECT_TRUE(SameFile(path("plot.plt"), path("plot.plt")));
    EXPECT_TRUE(SameFile(path("plot.plt"), path("soft.plt")));
    EXPECT_TRUE(SameFile(path("hard.plt"), path("plot.plt")));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    EXPECT_TRUE(SameFile(path("plot.plt"), dir.path() + QStringLiteral("/./sub/../plot.plt")));
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_TRUE(SameFile(QStringLiteral("plot.plt"), path("plot.plt")));
    QDir::setCurrent(cwd);

    EXPECT_FALSE(SameFile(path("plot.plt"), path("other.plt")));
    EXPECT_FALSE(SameFile(path("plot.plt"), path("new.dxf")));
    EXPECT_FALSE(SameFile(path("new.dxf"), path("new.dxf"))) << "nothing exists that could be lost";
    EXPECT_FALSE(SameFile(QString(), path("plot.plt")));
}

}  // namespace
}  // namespace zorva
