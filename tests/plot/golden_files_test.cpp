// Sample plot files run through the converter and compared byte for byte with the DXF and
// message list they gave when checked by hand (and by a DXF reader). Set
// ZORVA_UPDATE_GOLDEN=1 to rewrite the expected files after an intended change.
#include "golden_plots.h"

#include "dxf_reading.h"
#include "support/test_support.h"

#include <QFile>

namespace zorva::test {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// The first line where two DXF texts differ, for a readable failure.
std::string FirstDifference(const QByteArray& expected, const QByteArray& actual) {
    const QList<QByteArray> a = expected.split('\n'), b = actual.split('\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QByteArray x = i < a.size() ? a[i] : "<end>", y = i < b.size() ? b[i] : "<end>";
        if (x != y)
            return "line " + std::to_string(i + 1) + ": expected '" + x.trimmed().toStdString() + "', got '" +
                   y.trimmed().toStdString() + "'";
    }
    return "same lines";
}

class GoldenPlot : public ::testing::TestWithParam<GoldenPlotCase> {};

TEST_P(GoldenPlot, ConvertsToTheCheckedDxf) {
    const GoldenPlotCase& k = GetParam();
    const Conversion c = ConvertText(ReadAll(dataPath(k.name + QStringLiteral(".plt"))), k.divisor, k.lineWeight);
    QStringList report = c.result.messages;
    for (const auto& e : c.dialogs.events) report << QStringLiteral("[box] ") + e.caption + QStringLiteral(": ") + e.text;
    const QByteArray messages = report.join(QLatin1Char('\n')).toUtf8() + '\n';

    const QString dxfPath = dataPath(k.name + QStringLiteral(".dxf"));
    const QString messagesPath = dataPath(k.name + QStringLiteral(".messages"));
    if (qEnvironmentVariableIntValue("ZORVA_UPDATE_GOLDEN") == 1) {
        WriteAll(dxfPath, c.dxf);
        WriteAll(messagesPath, messages);
    }
    const QByteArray expected = ReadAll(dxfPath);
    ASSERT_FALSE(expected.isEmpty()) << "missing " << dxfPath.toStdString();
    EXPECT_TRUE(c.dxf == expected) << FirstDifference(expected, c.dxf);
    EXPECT_EQ(QString::fromUtf8(messages), QString::fromUtf8(ReadAll(messagesPath)));
}

INSTANTIATE_TEST_SUITE_P(Samples, GoldenPlot, ::testing::ValuesIn(GoldenPlotCases()),
                         [](const ::testing::TestParamInfo<GoldenPlotCase>& info) {
                             return info.param.name.mid(5).toStdString();
                         });

}  // namespace
}  // namespace zorva::test
