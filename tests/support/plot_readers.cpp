#include "support/plot_readers.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace zorva::test {

void ExpectHp2xxDrawsWithoutComplaint(const QString& plot, const QString& png, const std::string& what,
                                      bool dotsAllowed) {
    QProcess hp2xx;
    hp2xx.setStandardInputFile(QProcess::nullDevice());
    hp2xx.setProcessChannelMode(QProcess::MergedChannels);
    hp2xx.start(QStringLiteral("hp2xx"), {QStringLiteral("-m"), QStringLiteral("png"), QStringLiteral("-f"), png, plot});
    ASSERT_TRUE(hp2xx.waitForFinished(120000)) << what;
    EXPECT_EQ(hp2xx.exitCode(), 0) << what;
    static const QRegularExpression eightPens(QStringLiteral("^Illegal pen number (9|10|11|12): replaced by \\d+$"));
    for (const QString& line : QString::fromLocal8Bit(hp2xx.readAll()).split(QLatin1Char('\n'))) {
        if (line.contains(QStringLiteral("Illegal pen number"))) {
            EXPECT_TRUE(eightPens.match(line.trimmed()).hasMatch()) << what << ": " << line.toStdString();
            continue;
        }
        if (dotsAllowed && line.contains(QStringLiteral("Zero line segment length"))) continue;
        for (const char* complaint : {"arning", "rror", "nknown"})
            EXPECT_FALSE(line.contains(QLatin1String(complaint), Qt::CaseInsensitive)) << what << ": " << line.toStdString();
        if (line.startsWith(QStringLiteral("HPGL command(s) ignored:")))
            EXPECT_EQ(line.trimmed(), QStringLiteral("HPGL command(s) ignored: 0")) << what;
    }
    EXPECT_GT(QFileInfo(png).size(), 1000) << what;
}

QString PythonWithEzdxf() {
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(python, {QStringLiteral("-c"), QStringLiteral("import ezdxf")});
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) return python;
    }
    return {};
}

std::vector<DxfSummary> ReadDxfSummaries(const QString& python, const QStringList& files) {
    const char* script = R"(
import sys, ezdxf
from ezdxf import bbox
for path in sys.argv[1:]:
    doc = ezdxf.readfile(path)
    ext = bbox.extents(doc.modelspace(), fast=True)
    print(len(doc.audit().errors), len(doc.modelspace()),
          f"{ext.extmin.x:.3f} {ext.extmin.y:.3f} {ext.extmax.x:.3f} {ext.extmax.y:.3f}")
)";
    std::vector<DxfSummary> out;
    QProcess reader;
    reader.start(python, QStringList{QStringLiteral("-c"), QString::fromLatin1(script)} + files);
    if (!reader.waitForFinished(180000) || reader.exitCode() != 0) {
        ADD_FAILURE() << "ezdxf: " << reader.readAllStandardError().toStdString();
        return out;
    }
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), files.size());
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char(' '));
        if (f.size() != 6) {
            ADD_FAILURE() << "ezdxf: " << line.toStdString();
            continue;
        }
        out.push_back({f[0].toInt(), f[1].toInt(), f[2].toDouble(), f[3].toDouble(), f[4].toDouble(), f[5].toDouble()});
    }
    return out;
}

void ExpectDxfFilesOnTheSheet(const QString& python, const QStringList& files, int entities, double slackMm) {
    const std::vector<DxfSummary> read = ReadDxfSummaries(python, files);
    ASSERT_EQ(read.size(), size_t(files.size()));
    for (size_t k = 0; k < read.size(); ++k) {
        const std::string what = files[qsizetype(k)].toStdString();
        EXPECT_EQ(read[k].errors, 0) << what;
        EXPECT_GT(read[k].entities, entities) << what;
        EXPECT_GE(read[k].minX, -slackMm) << what;
        EXPECT_GE(read[k].minY, -slackMm) << what;
        EXPECT_LE(read[k].maxX, 403.925 + slackMm) << what;
        EXPECT_LE(read[k].maxY, 275.95 + slackMm) << what;
    }
}

}  // namespace zorva::test
