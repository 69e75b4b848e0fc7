// Every DXF the converter writes must load in an independent DXF reader (python3-ezdxf)
// with the entities we meant to write.
#include "dxf_reading.h"
#include "golden_plots.h"
#include "plot/plot_save.h"
#include "support/plot_readers.h"
#include "support/test_support.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

namespace zorva::test {
namespace {

// What the reader should find: entity counts, vertices and label texts as we wrote them.
QString ExpectedSummary(const QString& path, const QByteArray& dxf) {
    std::map<QString, int> counts;
    int vertices = 0;
    QStringList texts;
    for (const DxfEntity& e : ReadEntities(dxf)) {
        if (e.name == "VERTEX") ++vertices;
        else if (e.name != "SEQEND") ++counts[QString::fromLatin1(e.name)];
        if (e.name == "TEXT") texts << QString::fromLatin1(e.value("1"));  // Windows-1252 of these samples
    }
    QString line = path + QStringLiteral(" errors=0");
    for (const auto& [name, n] : counts) line += QLatin1Char(' ') + name + QLatin1Char('=') + QString::number(n);
    return line + QStringLiteral(" VERTEX=") + QString::number(vertices) + QStringLiteral(" texts=") +
           texts.join(QLatin1Char('|'));
}

const char* const kEdgeCasePlots[] = {
    "IN;SP 1;PU 0 0;PD 100 0 100 100;",
    "IN;SP;PU 0 0;PD 40 0;SP 11;PD 80 0;SP 12;CI 40;",
    "IN;SP 1;IW 0 0 400 400;PU 200 200;PD 600 200 600 300 200 300;PU;",
    "IN;SP 3;PU 80 40;PD;AA 40 40 -90 0.2;PD 40 80;AR 10 10 720;",
    "IN;SP 4;PU 400 800;LBa;b\r\nc\x03SI 0.18,0.27;PU 0 0;LB^\x03SA;LB\xE4\xB0\x03SS;LB\x03",
    "IN;SP 1;PU 40 40;PR 40 0;PD;PR 0 40;ER 80 40;EA 0 0;PW;PD 5 5;PW 0;PD 6 6;LT 4;PD 7 7;",
    "IN;PU 0 0;DI 0,100;SL 1;LBa\x03" "DI -100,0;SL;LBb\x03",
    "IN;SP 1;PU 0 0;PD --5 40 1e999,5;XY;",
    "IN;VS 1;PA;IW 0 0 16157 11038;",
};

TEST(DxfReaders, EzdxfReadsEveryDxfWeWrite) {
    const QString python = PythonWithEzdxf();
    if (python.isEmpty()) GTEST_SKIP() << "python3-ezdxf is not installed";

    QTemporaryDir dir;
    QStringList files, expected;
    int n = 0;
    const auto keep = [&](const QByteArray& dxf) {
        const QString path = dir.filePath(QStringLiteral("out%1.dxf").arg(++n));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dxf);
        files << path;
        expected << ExpectedSummary(path, dxf);
    };
    for (const GoldenPlotCase& k : GoldenPlotCases()) {
        QFile plot(dataPath(k.name + QStringLiteral(".plt")));
        ASSERT_TRUE(plot.open(QIODevice::ReadOnly));
        keep(ConvertText(plot.readAll(), k.divisor, k.lineWeight).dxf);
    }
    for (const char* plot : kEdgeCasePlots) {
        for (double divisor : {40.0, 1000.0}) keep(ConvertText(plot, divisor, 2).dxf);
    }
    // A drawing saved the way the drawing window saves it.
    RecordingDialogs dialogs;
    const QString saved = dir.filePath(QStringLiteral("saved.dxf"));
    ASSERT_TRUE(SavePlot({saved, PlotFormat::Dxf, true, 3}, [](PlotStream& s) {
        s.writeStandardHead();
        s.titleBlock(0.28, 0.42, QStringLiteral("Titel"), 0.16, 0.24, {QStringLiteral("Zeile")});
        s.polyline({{100, 100}, {200, 300}});
    }, dialogs, Language::German).ok);
    QFile savedFile(saved);
    ASSERT_TRUE(savedFile.open(QIODevice::ReadOnly));
    files << saved;
    expected << ExpectedSummary(saved, savedFile.readAll());

    QProcess reader;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    reader.setProcessEnvironment(env);
    reader.start(python, QStringList{zorva::test::dataPath(QStringLiteral("../plot/read_dxf_files.py"))} + files);
    ASSERT_TRUE(reader.waitForFinished(120000));
    const QString err = QString::fromUtf8(reader.readAllStandardError());
    ASSERT_EQ(reader.exitCode(), 0) << err.toStdString();
    QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    ASSERT_EQ(lines.size(), expected.size()) << err.toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]);
}

}  // namespace
}  // namespace zorva::test
