// Every kind of file zorva-cli writes, under hostile conditions: a decimal-comma locale must
// not change a byte, a full disk or a size limit must keep the earlier file and end with exit
// 1 and a message, and a kill at any moment must leave the earlier or the new complete file.
#include "app/cli/cli.h"
#include "app/cli_run.h"
#include "support/save_test_support.h"
#include "support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <chrono>
#include <clocale>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zorva::cli {
namespace {

using namespace test::save;
using testing_support::run;

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

// A 41 x 41 elevation grid around the site (47.25 N, 9.55 E) with one peak to the north.
QByteArray Tile() {
    const double cs = 1.0 / 1200.0;
    QByteArray text = "ncols 41\r\nnrows 41\r\nxllcenter " + QByteArray::number(9.55 - 20 * cs, 'f', 10) +
                      "\r\nyllcenter " + QByteArray::number(47.25 - 20 * cs, 'f', 10) +
                      "\r\ncellsize 0.000833333333\r\nNODATA_value -9999\r\n";
    for (int r = 0; r < 41; ++r) {
        for (int c = 0; c < 41; ++c) text += (c ? " " : "") + QByteArray(r == 0 && c == 20 ? "812.5" : "500");
        text += "\r\n";
    }
    return text;
}

// One kind of output: the command line, with OUT standing for the file it writes.
struct OutputKind {
    const char* name;      // the output file's name
    QStringList args;      // after the site options
    QStringList site = {}; // the site options
};

// Inputs the commands read, in a folder of their own: the dial-data file with every option
// set (without its leap-day line, which the year 1999 refuses), a grid and a plot.
struct Inputs {
    QTemporaryDir dir;
    QString settings, grid, plot;
    Inputs() {
        settings = dir.filePath(QStringLiteral("all.zor"));
        grid = dir.filePath(QStringLiteral("a.asc"));
        plot = dir.filePath(QStringLiteral("in.plt"));
        WriteAll(settings, ReadAll(test::dataPath(QStringLiteral("settings_all_options.zor"))).replace("29/02    Schalttag\r\n", ""));
        WriteAll(grid, Tile());
        QFile::copy(test::dataPath(QStringLiteral("plot_vertical_dial.plt")), plot);
    }
    QStringList site() const {
        return {QStringLiteral("--settings"), settings, QStringLiteral("--lat"), QStringLiteral("47.25N"),
                QStringLiteral("--lon"), QStringLiteral("9.55E")};
    }
};

std::vector<OutputKind> Kinds(const Inputs& in) {
    std::vector<OutputKind> kinds = {
        {"zor.ini", {"settings", "write", "OUT"}},
        {"eot.txt", {"table", "eot", "--out", "OUT"}},
        {"month.csv", {"table", "month", "2024-06", "--csv", "--out", "OUT"}},
        {"decl.csv", {"table", "declination", "--csv", "--out", "OUT"}},
        {"profile.ele", {"horizon", "--grid", in.grid, "--out", "OUT"}},
        {"dial.plt", {"draw", "--dial", "v", "--out", "OUT"}},
        {"dial.dxf", {"draw", "--dial", "v", "--out", "OUT"}},
        {"dial.svg", {"draw", "--dial", "v", "--size", "600x400", "--out", "OUT"}},
        {"dial.png", {"draw", "--dial", "sh", "--size", "600x400", "--out", "OUT"}},
        {"dial.pdf", {"draw", "--dial", "v", "--out", "OUT"}},
        {"azimuth.dxf", {"draw", "--dial", "a", "--out", "OUT"}},
        {"eot.plt", {"graph", "eot", "--out", "OUT"}},
        {"sunpath.dxf", {"graph", "sunpath", "--out", "OUT"}},
        {"eot.png", {"graph", "eot", "--out", "OUT"}},
        {"sunpath.pdf", {"graph", "sunpath", "--out", "OUT"}},
        {"converted.dxf", {"hpgl2dxf", in.plot, "OUT", "--weight", "3"}},
    };
    for (OutputKind& k : kinds) k.site = in.site();
    return kinds;
}

QStringList WithOut(const OutputKind& kind, const QString& out) {
    QStringList args = kind.args;
    args.replaceInStrings(QRegularExpression(QStringLiteral("^OUT$")), out);
    return kind.site + args;
}

// PDF files carry the moment they were made; everything else must match byte for byte.
QByteArray Comparable(const QString& name, const QByteArray& bytes) {
    if (!name.endsWith(QLatin1String(".pdf"))) return bytes;
    static const QRegularExpression date(QStringLiteral("/CreationDate \\(D:[^)]*\\)"));
    return QString::fromLatin1(bytes).replace(date, QStringLiteral("/CreationDate ()")).toLatin1();
}

struct Finished {
    int status = -1;     // exit status, -1 when killed or not started
    QByteArray err;
};

Finished RunProgram(const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(zorva::test::binaryPath(QStringLiteral("zorva-cli")), args);
    Finished f;
    if (!p.waitForFinished(120000)) return f;
    f.err = p.readAllStandardError();
    if (p.exitStatus() == QProcess::NormalExit) f.status = p.exitCode();
    return f;
}

// A German locale, generated into a private folder when the system has none.
class GermanLocale {
public:
    GermanLocale() {
        const char* name = "de_DE.UTF-8";
        if (!works(name)) {
            QProcess def;
            def.start(QStringLiteral("localedef"),
                      {"-i", "de_DE", "-f", "UTF-8", dir_.filePath(QString::fromLatin1(name))});
            if (!def.waitForFinished(120000)) return;
            locpath_ = dir_.path();
            if (!works(name)) return;
        }
        name_ = QString::fromLatin1(name);
    }
    bool available() const { return !name_.isEmpty(); }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_HASH_SEED"), QStringLiteral("0"));
        env.insert(QStringLiteral("LC_ALL"), name_);
        env.insert(QStringLiteral("LANG"), name_);
        if (!locpath_.isEmpty()) env.insert(QStringLiteral("LOCPATH"), locpath_);
        return env;
    }

private:
    // The locale loads and writes decimal commas.
    bool works(const char* name) const {
        if (!locpath_.isEmpty()) ::setenv("LOCPATH", QFile::encodeName(locpath_).constData(), 1);
        bool comma = false;
        if (std::setlocale(LC_NUMERIC, name)) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%.1f", 1.5);
            comma = QByteArray(buf) == "1,5";
        }
        std::setlocale(LC_NUMERIC, "C");
        ::unsetenv("LOCPATH");
        return comma;
    }
    QTemporaryDir dir_;
    QString locpath_;
    QString name_;
};

// Without a fixed hash seed the PDF writer numbers its fonts in a different order each run.
QProcessEnvironment CEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_HASH_SEED"), QStringLiteral("0"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    return env;
}

TEST(CliFileOutput, EveryFileIsTheSameUnderADecimalCommaLocale) {
    GermanLocale german;
    if (!german.available()) GTEST_SKIP() << "no German locale and localedef cannot make one";
    Inputs in;
    QTemporaryDir c, de;
    int compared = 0;
    for (const OutputKind& kind : Kinds(in)) {
        const QString name = QString::fromLatin1(kind.name);
        const Finished inC = RunProgram(WithOut(kind, c.filePath(name)), CEnvironment());
        const Finished inDe = RunProgram(WithOut(kind, de.filePath(name)), german.environment());
        ASSERT_EQ(inC.status, 0) << kind.name << ": " << inC.err.toStdString();
        ASSERT_EQ(inDe.status, 0) << kind.name << ": " << inDe.err.toStdString();
        const QByteArray bytesC = ReadAll(c.filePath(name)), bytesDe = ReadAll(de.filePath(name));
        ASSERT_FALSE(bytesC.isEmpty()) << kind.name;
        EXPECT_TRUE(Comparable(name, bytesC) == Comparable(name, bytesDe)) << kind.name << " differs";
        ++compared;
    }
    // The coordinate listing beside a plot.
    const QStringList listing = in.site() + QStringList{"draw", "--dial", "i", "--out"};
    const Finished lc = RunProgram(listing + QStringList{c.filePath("l.dxf"), "--listing", c.filePath("l.txt")},
                                   CEnvironment());
    const Finished ld = RunProgram(listing + QStringList{de.filePath("l.dxf"), "--listing", de.filePath("l.txt")},
                                   german.environment());
    ASSERT_EQ(lc.status, 0) << lc.err.toStdString();
    ASSERT_EQ(ld.status, 0) << ld.err.toStdString();
    // The listing names the plot file, which lies in another folder for each run.
    EXPECT_EQ(ReadAll(c.filePath("l.txt")).replace(QFile::encodeName(c.path()), "DIR"),
              ReadAll(de.filePath("l.txt")).replace(QFile::encodeName(de.path()), "DIR"));
    EXPECT_TRUE(ReadAll(c.filePath("l.txt")).contains('.'));
    compared += 1;
    RecordProperty("filesCompared", compared);
}

// Each writer on a disk without room, and again under a file-size limit: exit 1, a message,
// the earlier file as it was and no other file beside it.
TEST(CliFileOutput, FullDiskAndSizeLimitKeepTheEarlierFile) {
    Inputs in;
    SmallDisk disk;
    int cases = 0;
    for (const OutputKind& kind : Kinds(in)) {
        const QString name = QString::fromLatin1(kind.name);
        const QByteArray earlier = "earlier " + QByteArray(kind.name) + "\r\n";
        if (disk.mounted()) {
            disk.unfill();
            const QString out = disk.filePath(name);
            WriteAll(out, earlier);
            disk.fill();
            const auto r = run(WithOut(kind, out));
            EXPECT_EQ(r.status, kFaultyInput) << kind.name << " on a full disk: " << r.err.toStdString();
            EXPECT_FALSE(r.err.isEmpty()) << kind.name;
            EXPECT_EQ(ReadAll(out), earlier) << kind.name;
            QStringList expected{QStringLiteral("filler"), name};
            expected.sort(Qt::CaseInsensitive);
            EXPECT_EQ(Entries(disk.path()), expected) << kind.name;
            QFile::remove(out);
            ++cases;
        }
        QTemporaryDir dir;
        const QString out = dir.filePath(name);
        WriteAll(out, earlier);
        testing_support::CliRun r{};
        {
            FileSizeLimit limit(200);
            r = run(WithOut(kind, out));
        }
        EXPECT_EQ(r.status, kFaultyInput) << kind.name << " beyond the size limit: " << r.err.toStdString();
        // The dial-data file asks for English; the DXF writers meet the limit first in their
        // intermediate plot, which has no reason of its own.
        EXPECT_TRUE(r.err.contains(QStringLiteral("The file grows too large.")) ||
                    r.err.contains(QStringLiteral("Unable to save file!")))
            << kind.name << ": " << r.err.toStdString();
        EXPECT_EQ(ReadAll(out), earlier) << kind.name;
        EXPECT_EQ(Entries(dir.path()), QStringList{name}) << kind.name;
        ++cases;
    }
    RecordProperty("failedSaves", cases);
}

// A folder as target: a bad command line (exit 2) with a message, before anything is made.
TEST(CliFileOutput, FolderAsTargetIsRefused) {
    Inputs in;
    for (const OutputKind& kind : Kinds(in)) {
        QTemporaryDir dir;
        const QString out = dir.filePath(QString::fromLatin1(kind.name));
        ASSERT_TRUE(QDir().mkdir(out));
        const auto r = run(WithOut(kind, out));
        EXPECT_EQ(r.status, kBadCommandLine) << kind.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("is not a regular file"))) << kind.name << ": " << r.err.toStdString();
        EXPECT_TRUE(QFileInfo(out).isDir()) << kind.name;
        EXPECT_EQ(Entries(dir.path()), QStringList{QString::fromLatin1(kind.name)}) << kind.name;
    }
}

// zorva-cli is killed at random moments while it writes over an earlier file; the file must
// then be the earlier one or the complete new one, and nothing else may lie beside it.
TEST(CliFileOutput, KilledAtRandomMomentsLeavesTheEarlierOrTheNewFile) {
    Inputs in;
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);  // a killed save's helper comes to us to be waited for
    const QProcessEnvironment env = CEnvironment();
    QRandomGenerator random(1109);
    constexpr int kKillsPerKind = 4;
    int kills = 0, earlier = 0, renewed = 0;
    for (const OutputKind& kind : Kinds(in)) {
        const QString name = QString::fromLatin1(kind.name);
        QTemporaryDir dir;
        const QString out = dir.filePath(name);
        const QByteArray old = "earlier " + QByteArray(kind.name) + "\r\n";

        // The complete new file and how long the program needs for it.
        WriteAll(out, old);
        QElapsedTimer timer;
        timer.start();
        const Finished whole = RunProgram(WithOut(kind, out), env);
        const qint64 wholeMs = std::max<qint64>(timer.elapsed(), 5);
        ASSERT_EQ(whole.status, 0) << kind.name << ": " << whole.err.toStdString();
        const QByteArray complete = Comparable(name, ReadAll(out));

        const QStringList args = WithOut(kind, out);
        std::vector<QByteArray> argBytes;
        for (const QString& a : QStringList{zorva::test::binaryPath(QStringLiteral("zorva-cli"))} + args)
            argBytes.push_back(QFile::encodeName(a));
        std::vector<char*> argv;
        for (QByteArray& a : argBytes) argv.push_back(a.data());
        argv.push_back(nullptr);

        for (int k = 0; k < kKillsPerKind; ++k) {
            WriteAll(out, old);
            // Mostly late in the run, where the file is written.
            const auto delay = std::chrono::microseconds(random.bounded(wholeMs * 300, wholeMs * 1100));
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::setenv("LC_ALL", "C", 1);
                ::setenv("QT_HASH_SEED", "0", 1);
                ::execv(argv[0], argv.data());
                ::_exit(127);
            }
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ReapOrphans();
            ++kills;
            const QByteArray now = ReadAll(out);
            const bool isOld = now == old, isNew = Comparable(name, now) == complete;
            EXPECT_TRUE(isOld || isNew) << kind.name << ": " << now.size() << " bytes after a kill at "
                                        << delay.count() << " us";
            earlier += isOld;
            renewed += isNew && !isOld;
            EXPECT_EQ(Entries(dir.path()), QStringList{name}) << kind.name;
        }
    }
    RecordProperty("kills", kills);
    RecordProperty("earlierFileKept", earlier);
    RecordProperty("newFileComplete", renewed);
    std::printf("kills %d: earlier file %d, new complete file %d\n", kills, earlier, renewed);
}

}  // namespace
}  // namespace zorva::cli
