// The installed zorva-cli against malformed, huge, binary and absurd command lines: each
// ends by itself with exit 1 (faulty input) or 2 (bad command line) and a message, never
// by a signal or a hang, leaves no output file behind and no input changed.
#include "app/cli/cli.h"
#include "app/cli_run.h"
#include "support/test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace zorva::cli {
namespace {

struct MatrixCase {
    int exit;            // kFaultyInput or kBadCommandLine
    QStringList args;    // "@in/" and "@out/" stand for the input and the output folder
    const char* shell = nullptr;  // or arguments as shell words, for bytes no QString carries
};

// Every file of a folder by name: kind, size and content, links by their target.
std::map<QString, QByteArray> Snapshot(const QString& folder) {
    std::map<QString, QByteArray> snap;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        struct stat st {};
        ::lstat(QFile::encodeName(path).constData(), &st);
        QByteArray id = QByteArray::number(st.st_mode) + ' ' + QByteArray::number(qint64(st.st_size));
        if (info.isSymLink()) {
            id += " -> " + info.symLinkTarget().toUtf8();
        } else if (S_ISREG(st.st_mode)) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly)) id += ' ' + QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
        }
        snap[path] = id;
    }
    return snap;
}

class CliCommandLineMatrix : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        for (const char* sub : {"in", "out", "work", "home"}) ASSERT_TRUE(QDir(root_.path()).mkdir(QLatin1String(sub)));
        in_ = root_.filePath(QStringLiteral("in"));
        out_ = root_.filePath(QStringLiteral("out"));

        ASSERT_EQ(testing_support::run({"--year", "1999", "settings", "write", in("good.zor")}).status, kOk);
        QFile good(in("good.zor"));
        ASSERT_TRUE(good.open(QIODevice::ReadOnly));
        const QByteArray settings = good.readAll();
        const QByteArray rest = settings.mid(settings.indexOf("\r\n"));
        write("year-99999.zor", "99999" + rest);
        write("year-neg.zor", "-5" + rest);
        write("year-max.zor", "2147483647" + rest);
        write("empty.zor", "");
        QByteArray binary(4096, '\0');
        QRandomGenerator rng(24);
        for (char& b : binary) b = static_cast<char>(rng.bounded(256));
        write("binary.bin", binary);
        for (char& b : binary) b = static_cast<char>(rng.bounded(65));  // no command letter at all
        write("noletters.bin", binary);
        write("plot.plt", "IN;SP 1;PU 0 0;PD 400 400;");
        write("empty.plt", "");
        write("grid.asc",
              "ncols 3\r\nnrows 3\r\nxllcorner 0\r\nyllcorner 0\r\ncellsize 0.01\r\n1 2 3\r\n4 5 6\r\n7 8 9\r\n");
        write("profile.ele", profileText());
        ASSERT_EQ(mkfifo(QFile::encodeName(in("fifo")).constData(), 0600), 0);
        ASSERT_EQ(mkfifo(QFile::encodeName(in("fifo.png")).constData(), 0600), 0);
        ASSERT_TRUE(QDir(in_).mkdir(QStringLiteral("folder")));
        ASSERT_TRUE(QDir(in_).mkdir(QStringLiteral("folder.png")));
        ASSERT_TRUE(QFile::link(in("good.zor"), in("good-link.zor")));
        ASSERT_TRUE(QFile::link(in("good.zor"), in("good-link.png")));
        ASSERT_TRUE(QFile::link(in("plot.plt"), in("plot-link.dxf")));
        ASSERT_TRUE(QFile::link(in("grid.asc"), in("grid-link.ele")));
        ASSERT_TRUE(QFile::link(in("profile.ele"), in("profile-link.png")));
        ASSERT_EQ(::link(QFile::encodeName(in("plot.plt")).constData(), QFile::encodeName(in("plot-hard.dxf")).constData()), 0);
        ASSERT_EQ(::link(QFile::encodeName(in("good.zor")).constData(), QFile::encodeName(in("good-hard.csv")).constData()), 0);
    }

    QString in(const char* name) const { return in_ + QLatin1Char('/') + QLatin1String(name); }
    void write(const char* name, const QByteArray& bytes) {
        QFile f(in(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    // A sound profile, as the horizon command writes it.
    QByteArray profileText() {
        QTemporaryDir tmp;
        const double cs = 1.0 / 1200.0;
        QByteArray grid = "ncols 41\r\nnrows 41\r\nxllcenter " + QByteArray::number(9.0 - 20 * cs, 'f', 10) +
                          "\r\nyllcenter " + QByteArray::number(47.0 - 20 * cs, 'f', 10) + "\r\ncellsize " +
                          QByteArray::number(cs, 'f', 12) + "\r\n";
        for (int r = 0; r < 41; ++r) grid += QByteArray(40 * 4, ' ').replace("    ", "500 ") + "500\r\n";
        QFile g(tmp.filePath(QStringLiteral("g.asc")));
        EXPECT_TRUE(g.open(QIODevice::WriteOnly));
        g.write(grid);
        g.close();
        const QString ele = tmp.filePath(QStringLiteral("p.ele"));
        const auto r = testing_support::run({"--lat", "47N", "--lon", "9E", "horizon", "--grid", g.fileName(), "--out",
                                             ele, "--max-distance", "3"});
        EXPECT_EQ(r.status, kOk) << r.err.toStdString();
        QFile p(ele);
        EXPECT_TRUE(p.open(QIODevice::ReadOnly));
        return p.readAll();
    }

    QStringList expand(const QStringList& args) const {
        QStringList out;
        for (QString a : args) out << a.replace(QLatin1String("@in/"), in_ + QLatin1Char('/')).replace(QLatin1String("@out/"), out_ + QLatin1Char('/'));
        return out;
    }

    QTemporaryDir root_;
    QString in_, out_;
};

const QString kLong(100000, QLatin1Char('7'));
const QStringList kManyArgs = [] {
    QStringList l{QStringLiteral("sun"), QStringLiteral("2000-01-01")};
    for (int i = 0; i < 5000; ++i) l << QStringLiteral("x");
    return l;
}();

const std::vector<MatrixCase> kCases = {
    // --- the frame: commands, options Qt used to take, site options
    {2, {}},
    {2, {""}},
    {2, {"fly"}},
    {2, {"--frobnicate", "sun", "2000-01-01"}},
    {2, {"--platform", "1"}},
    {2, {"-platform", "xcb", "sun", "2000-01-01"}},
    {2, {"-style", "fusion"}},
    {2, {"-display", ":0", "sun", "2000-01-01"}},
    {2, {"--reverse"}},
    {2, {"-qwindowgeometry", "1x1"}},
    {2, {"-session", "x"}},
    {2, {"sun", "2000-06-21", "--platform", "120"}},
    {2, {"--lat"}},
    {2, {"--lat=", "sun", "2000-01-01"}},
    {2, {"--lat", "1e308", "sun", "2000-06-21"}},
    {2, {"--lat", "NaN", "sun", "2000-06-21"}},
    {2, {"--lat", "inf", "sun", "2000-06-21"}},
    {2, {"--lat", "-inf", "sun", "2000-06-21"}},
    {2, {"--lat", "90.0001", "sun", "2000-06-21"}},
    {2, {"--lat", "47,25", "sun", "2000-06-21"}},
    {2, {"--lat", "0x10", "sun", "2000-06-21"}},
    {2, {"--lat", kLong, "sun", "2000-06-21"}},
    {2, {"--lon", "1e308", "sun", "2000-06-21"}},
    {2, {"--lon", "nan", "sun", "2000-06-21"}},
    {2, {"--lon", "181W", "sun", "2000-06-21"}},
    {2, {"--zone", "-", "sun", "2000-06-21"}},
    {2, {"--zone", "15X", "sun", "2000-06-21"}},
    {2, {"--year", "-5", "table", "eot"}},
    {2, {"--year", "99999", "table", "eot"}},
    {2, {"--year", "3000000", "graph", "eot", "--out", "@out/g.png"}},
    {2, {"--year", "1e3", "table", "eot"}},
    {2, {"--year", "2147483648", "table", "eot"}},
    {2, {"--year", "", "table", "eot"}},
    {2, {"--year", "2000.5", "table", "eot"}},
    {2, {"--year", "NaN", "table", "eot"}},
    {2, {"--year", "sun", "2000-01-01"}},
    {2, {"--lang", "xx", "sun", "2000-01-01"}},
    {2, {"--lang"}},
    {2, {"--settings"}},
    {2, {}, "\"$(printf '\\377\\376')\""},
    {2, {}, "\"$(printf 'sun\\001\\002')\" 2000-01-01"},
    {2, {}, "sun \"$(printf '2000-01-01\\377')\""},
    {2, {kLong}},
    {2, kManyArgs},
    // --- sun, position, azimuth-time
    {2, {"sun"}},
    {2, {"sun", "2000-13-01"}},
    {2, {"sun", "2000-02-30"}},
    {2, {"sun", "-5-01-01"}},
    {2, {"sun", "99999-01-01"}},
    {2, {"sun", "1299-12-31"}},
    {2, {"sun", "2501-01-01"}},
    {2, {"sun", "NaN"}},
    {2, {"sun", "2000-01-01", "--twilight"}},
    {2, {"sun", "2000-01-01", "--twilight", "dusk"}},
    {2, {"sun", "2000-01-01", "extra"}},
    {2, {"position", "2000-01-01"}},
    {2, {"position", "2000-01-01", "25:00"}},
    {2, {"position", "2000-01-01", "12:60"}},
    {2, {"position", "2000-01-01", "-1:00"}},
    {2, {"position", "2000-01-01", "1e308"}},
    {2, {"position", "2000-01-01", "12:00", "--time", "sidereal"}},
    {2, {"position", "2000-01-01", "12:00", "--time"}},
    {2, {"azimuth-time", "2000-01-01"}},
    {2, {"azimuth-time", "2000-01-01", "1e308"}},
    {2, {"azimuth-time", "2000-01-01", "NaN"}},
    {2, {"azimuth-time", "2000-01-01", "-inf"}},
    {2, {"azimuth-time", "2000-01-01", "-181"}},
    // --- tables
    {2, {"table"}},
    {2, {"table", "--csv"}},
    {2, {"table", "--out", "@out/t.csv"}},
    {2, {"table", "--csv", "--out", "@out/t.csv"}},
    {2, {"table", "nonsense"}},
    {2, {"table", "month"}},
    {2, {"table", "month", "2000-13"}},
    {2, {"table", "month", "2000-00"}},
    {2, {"table", "month", "99999-01"}},
    {2, {"table", "month", "1299-12"}},
    {2, {"table", "month", "-5-01"}},
    {2, {"table", "month", "2000-06", "--twilight", "NaN"}},
    {2, {"table", "eot", "extra"}},
    {2, {"table", "eot", "--out"}},
    {2, {"table", "eot", "--out", ""}},
    {2, {"table", "eot", "--out", "@in/folder"}},
    {2, {"table", "eot", "--out", "@in/fifo"}},
    {2, {"table", "eot", "--out", "/dev/null"}},
    {2, {"table", "eot", "--twilight", "civil"}},
    {1, {"table", "eot", "--out", "@out/no/such/folder/t.txt"}},
    {1, {"--settings", "@in/year-99999.zor", "table", "eot"}},
    {1, {"--settings", "@in/year-neg.zor", "table", "eot"}},
    {1, {"--settings", "@in/year-max.zor", "table", "eot", "--out", "@out/t.txt"}},
    {1, {"--settings", "@in/fifo", "table", "eot"}},
    {1, {"--settings", "@in/folder", "table", "eot"}},
    {1, {"--settings", "/dev/zero", "table", "eot"}},
    {1, {"--settings", "@in/binary.bin", "table", "eot"}},
    {1, {"--settings", "@in/empty.zor", "table", "eot"}},
    {1, {"--settings", "@in/missing.zor", "table", "eot"}},
    {2, {"--settings", "@in/good.zor", "table", "eot", "--out", "@in/good.zor"}},
    {2, {"--settings", "@in/good.zor", "table", "eot", "--out", "@in/good-link.zor"}},
    {2, {"--settings", "@in/good.zor", "table", "eot", "--csv", "--out", "@in/good-hard.csv"}},
    // --- graphs
    {2, {"graph"}},
    {2, {"graph", "--out", "@out/g.png"}},
    {2, {"graph", "eot"}},
    {2, {"graph", "eot", "--out"}},
    {2, {"graph", "eot", "--out", "@out/g.gif"}},
    {2, {"graph", "eot", "--out", "@out/g"}},
    {2, {"graph", "nonsense", "--out", "@out/g.png"}},
    {2, {"graph", "sunpath", "--mirror", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "00x00", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "0x0", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "20000x20000", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "16001x100", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "16000x16000", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "-100x100", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "1e308x100", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "NaNxNaN", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--size", "99999999999999999999x100", "--out", "@out/g.png"}},
    {2, {"graph", "eot", "--out", "@out/g.png", "--size"}},
    {2, {"graph", "eot", "--factor", "1e308", "--out", "@out/g.plt"}},
    {2, {"graph", "eot", "--factor", "NaN", "--out", "@out/g.plt"}},
    {2, {"graph", "eot", "--factor", "-5", "--out", "@out/g.plt"}},
    {2, {"graph", "eot", "--factor", "0", "--out", "@out/g.plt"}},
    {2, {"graph", "eot", "--out", "@in/folder"}},
    {2, {"graph", "eot", "--out", "@in/folder.png"}},
    {2, {"graph", "eot", "--out", "@in/fifo.png"}},
    {2, {"--settings", "@in/good.zor", "graph", "eot", "--out", "@in/good-link.png"}},
    {1, {"--settings", "@in/year-99999.zor", "graph", "eot", "--out", "@out/g.png"}},
    // --- dials
    {2, {"draw"}},
    {2, {"draw", "--out"}},
    {2, {"draw", "--out", "@out/d.gif"}},
    {2, {"draw", "--out", "@out/d.png", "--size", "00x00"}},
    {2, {"draw", "--out", "@out/d.png", "--size", "20000x20000"}},
    {2, {"draw", "--out", "@out/d.svg", "--size", "1x1"}},
    {2, {"draw", "--out", "@out/d.pdf", "--size", "NaN"}},
    {2, {"draw", "--out", "@out/d.png", "--dial", ""}},
    {2, {"draw", "--out", "@out/d.png", "--dial", "\t"}},
    {2, {"draw", "--out", "@out/d.png", "--dial"}},
    {2, {"draw", "--out", "@out/d.png", "--horizon", "@in/fifo"}},
    {2, {"draw", "--out", "@out/d.png", "--horizon", "/dev/zero"}},
    {2, {"draw", "--out", "@out/d.png", "--horizon", "@in/binary.bin"}},
    {2, {"draw", "--out", "@out/d.png", "--horizon", "@in/missing.ele"}},
    {2, {"draw", "--out", "@out/d.png", "--listing", "@out/l.txt"}},
    {2, {"draw", "--out", "@out/d.plt", "--listing", "@out/d.plt"}},
    {2, {"draw", "--out", "@in/profile-link.png", "--horizon", "@in/profile.ele"}},
    {2, {"draw", "--out", "@in/fifo.png"}},
    {2, {"draw", "--out", "@in/folder.png"}},
    {2, {"draw", "--out", "@out/d.png", "extra"}},
    {1, {"--settings", "@in/year-neg.zor", "draw", "--out", "@out/d.png"}},
    // --- the converter
    {2, {"hpgl2dxf"}},
    {2, {"hpgl2dxf", "@in/plot.plt"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@out/p.dxf", "@out/q.dxf"}},
    {1, {"hpgl2dxf", "/dev/zero", "@out/z.dxf"}},
    {1, {"hpgl2dxf", "@in/fifo", "@out/f.dxf"}},
    {1, {"hpgl2dxf", "@in/folder", "@out/f.dxf"}},
    {1, {"hpgl2dxf", "@in/missing.plt", "@out/m.dxf"}},
    {1, {"hpgl2dxf", "@in/noletters.bin", "@out/b.dxf"}},
    {1, {"hpgl2dxf", "@in/empty.plt", "@out/e.dxf"}},
    {1, {"hpgl2dxf", "@in/plot.plt", "@out/no/such/p.dxf"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@in/plot.plt"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@in/plot-link.dxf"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@in/plot-hard.dxf"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@in/folder"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@in/fifo"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@out/p.dxf", "--divisor", "0"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@out/p.dxf", "--divisor", "NaN"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@out/p.dxf", "--divisor", "1e308"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@out/p.dxf", "--weight", "4"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@out/p.dxf", "--weight", "-1"}},
    {2, {"hpgl2dxf", "@in/plot.plt", "@out/p.dxf", "--weight"}},
    // --- settings files
    {2, {"settings"}},
    {2, {"settings", "check"}},
    {2, {"settings", "frob", "x"}},
    {1, {"settings", "check", "@in/fifo"}},
    {1, {"settings", "check", "/dev/zero"}},
    {1, {"settings", "check", "@in/folder"}},
    {1, {"settings", "check", "@in/year-99999.zor"}},
    {1, {"settings", "check", "@in/year-neg.zor"}},
    {1, {"settings", "check", "@in/year-max.zor"}},
    {1, {"--yes", "settings", "check", "@in/year-max.zor"}},
    {1, {"settings", "check", "@in/binary.bin"}},
    {1, {"settings", "check", "@in/missing.zor"}},
    {2, {"settings", "write"}},
    {2, {"settings", "write", "@out/a.zor", "@out/b.zor"}},
    {2, {"settings", "write", "@in/folder"}},
    {2, {"settings", "write", "@in/fifo"}},
    {2, {"--settings", "@in/good.zor", "settings", "write", "@in/good.zor"}},
    {2, {"--settings", "@in/good.zor", "settings", "write", "@in/good-link.zor"}},
    {1, {"settings", "write", "@out/no/such/x.zor"}},
    {1, {"--settings", "@in/fifo", "settings", "write", "@out/x.zor"}},
    // --- horizon profiles
    {2, {"horizon"}},
    {2, {"horizon", "--grid"}},
    {2, {"horizon", "--grid", "@in/grid.asc"}},
    {2, {"horizon", "--out", "@out/p.ele"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@out/p.ele", "--platform", "1e308"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@out/p.ele", "--platform", "NaN"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@out/p.ele", "--platform"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@out/p.ele", "--min-distance", "-5"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@out/p.ele", "--max-distance", "1e308"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@out/p.ele", "--max-distance", "NaN"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@out/p.ele", "--max-distance", "0.1"}},
    {1, {"horizon", "--grid", "@in/fifo", "--out", "@out/p.ele"}},
    {1, {"horizon", "--grid", "/dev/zero", "--out", "@out/p.ele"}},
    {1, {"horizon", "--grid", "@in/folder", "--out", "@out/p.ele"}},
    {1, {"horizon", "--grid", "@in/binary.bin", "--out", "@out/p.ele"}},
    {1, {"horizon", "--grid", "@in/missing.asc", "--out", "@out/p.ele"}},
    {1, {"horizon", "--grid", "@in/grid.asc", "--out", "@out/p.ele"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@in/grid.asc"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@in/grid-link.ele"}},
    {2, {"horizon", "--grid", "@in/grid.asc", "--out", "@in/folder"}},
    // --- plane sunlight
    {2, {"plane-sunlight", "--inclination", "1e308"}},
    {2, {"plane-sunlight", "--inclination", "NaN"}},
    {2, {"plane-sunlight", "--inclination"}},
    {2, {"plane-sunlight", "--declination", "-181"}},
    {2, {"plane-sunlight", "extra"}},
};

TEST_F(CliCommandLineMatrix, EveryBadCommandLineEndsWithAMessageAndLeavesTheFilesAlone) {
    const QString program = zorva::test::binaryPath(QStringLiteral("zorva-cli"));
    ASSERT_TRUE(QFileInfo(program).isExecutable());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A platform that cannot start here: the tool must not depend on it.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("HOME"), root_.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root_.filePath(QStringLiteral("home")));
    const auto inputs = Snapshot(in_);
    ASSERT_GT(inputs.size(), 20u);

    int checked = 0;
    for (const MatrixCase& c : kCases) {
        const QStringList args = expand(c.args);
        QString shown = c.shell ? QString::fromLatin1(c.shell) : args.join(QLatin1Char(' ')).left(160);
        SCOPED_TRACE(shown.toStdString());
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(root_.filePath(QStringLiteral("work")));
        if (c.shell)
            p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + QLatin1String(c.shell), program});
        else
            p.start(program, args);
        ASSERT_TRUE(p.waitForStarted(10000));
        p.closeWriteChannel();
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished(5000);
            ADD_FAILURE() << "hangs";
            continue;
        }
        const QByteArray err = p.readAllStandardError();
        const QByteArray out = p.readAllStandardOutput();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "killed by a signal; stderr: " << err.toStdString();
        EXPECT_EQ(p.exitCode(), c.exit) << "stderr: " << err.toStdString() << "\nstdout: " << out.left(300).toStdString();
        EXPECT_FALSE(err.trimmed().isEmpty()) << "no message";
        // A bad command line is refused before anything is computed.
        if (c.exit == kBadCommandLine) {
            EXPECT_TRUE(out.isEmpty()) << out.left(300).toStdString();
        }
        EXPECT_TRUE(Snapshot(out_).empty()) << "an output file was left";
        EXPECT_TRUE(Snapshot(root_.filePath(QStringLiteral("work"))).empty()) << "a file in the working folder";
        EXPECT_EQ(Snapshot(in_), inputs) << "an input was changed";
        ++checked;
    }
    EXPECT_GE(checked, 150);
}

}  // namespace
}  // namespace zorva::cli
