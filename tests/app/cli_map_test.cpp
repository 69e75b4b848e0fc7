// zorva-cli draws the map from the data shipped beside the program (here the build tree's
// data/), whatever folder it was started from.
#include "cli_run.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zorva::cli {
namespace {

using testing_support::run;

using testing_support::Read;

TEST(CliMap, TheMapComesFromTheProgramsDataNotFromTheCurrentFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Settings with the map switched on: coast and borders.
    ASSERT_EQ(run({"settings", "write", dir.filePath("map.zor")}).status, 0);
    QString settings = QString::fromLatin1(Read(dir.filePath("map.zor")));
    // The line of language, expert mode, map, borders and coast flags.
    static const QRegularExpression flags(QStringLiteral("\r\n([DE][jn])[jn]{3}\r\n"));
    const QRegularExpressionMatch m = flags.match(settings);
    ASSERT_TRUE(m.hasMatch());
    settings.replace(m.capturedStart(), m.capturedLength(), QStringLiteral("\r\n") + m.captured(1) + QStringLiteral("jjj\r\n"));
    QFile f(dir.filePath("map.zor"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(settings.toLatin1());
    f.close();
    // A map in the current folder that would draw nothing.
    QFile decoy(dir.filePath("coastZor.dat"));
    ASSERT_TRUE(decoy.open(QIODevice::WriteOnly));
    decoy.write("#\n#\n");
    decoy.close();

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const auto r = run({"--settings", dir.filePath("map.zor"), "draw", "--dial", "h", "--out", dir.filePath("dial.plt")});
    QDir::setCurrent(before);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("nicht gefunden"))) << r.err.toStdString();
    const QByteArray plot = Read(dir.filePath("dial.plt"));
    // The coast plot (pen 11) and the borders (pen 12); the decoy would give only the cross.
    const qsizetype coast = plot.indexOf(";SP 11"), borders = plot.indexOf(";SP 12");
    ASSERT_GE(coast, 0);
    ASSERT_GT(borders, coast);
    EXPECT_GT(plot.mid(coast, borders - coast).count(";PD"), 20);
}

}  // namespace
}  // namespace zorva::cli
