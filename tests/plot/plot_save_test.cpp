// Saving a drawing: the chosen file or a unique temporary plot converted to DXF, the
// second file of the cone-shadow dial, and failures that must not cost the user a file.
#include "dxf_reading.h"
#include "plot/plot_save.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Square(PlotStream& s) {
    s.writeStandardHead();
    s.selectPen(1);
    s.polyline({{0, 0}, {400, 0}, {400, 400}});
}

// Temporary plot files go to a folder of the test's own, so that leftovers show.
class PlotSave : public ::testing::Test {
protected:
    void SetUp() override {
        oldTmp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmp_.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("TMPDIR", oldTmp_); }
    QStringList leftovers() const { return QDir(tmp_.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir tmp_;
    QTemporaryDir out_;
    QByteArray oldTmp_;
    RecordingDialogs dialogs_;
};

TEST_F(PlotSave, HpglGoesStraightIntoTheChosenFile) {
    const QString file = out_.filePath(QStringLiteral("zor.plt"));
    int seenP = 0;
    const PlotSaveResult r = SavePlot({file, PlotFormat::Hpgl, true, 2}, [&](PlotStream& s) {
        seenP = s.p();
        Square(s);
    }, dialogs_, Language::German);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(seenP, 1);  // HPGL files always at 40 units per millimetre
    EXPECT_EQ(ReadFile(file), QByteArray("IN;VS 1;PA;IW 0 0 16157 11038;PU 0 0;EA 16157 11038;;SP 4;PU 0 0;"
                                         ";SP 1;PU 0 0;PD 400 0 400 400;PU ;"));
    ASSERT_EQ(dialogs_.events.size(), 1u);
    EXPECT_EQ(dialogs_.events[0].caption, QStringLiteral("ZORVA.EXE - Information!"));
    EXPECT_EQ(dialogs_.events[0].text, QStringLiteral("\r\n       Datei zor.plt gespeichert!     "));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(PlotSave, DxfIsConvertedFromAUniqueTemporaryPlotThatIsDeleted) {
    const QString file = out_.filePath(QStringLiteral("dial.dxf"));
    // Files a user might have under the old fixed temporary name stay untouched.
    QFile mine(out_.filePath(QStringLiteral("zorva.$$$")));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("mine");
    mine.close();

    int seenP = 0;
    const PlotSaveResult r = SavePlot({file, PlotFormat::Dxf, true, 1}, [&](PlotStream& s) {
        seenP = s.p();
        Square(s);
        s.penWidth(0);
    }, dialogs_, Language::English);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(seenP, 25);
    EXPECT_EQ(r.conversionMessages, QStringList{QStringLiteral("Command PW (=Penwidth) only supported by HPGL2.")});
    const auto entities = ReadEntities(ReadFile(file));
    ASSERT_GE(entities.size(), 10u);
    // 400 units at p = 25 and divisor 1000 are 10 mm.
    EXPECT_EQ(entities[9].name, "VERTEX");
    EXPECT_EQ(entities[9].value("10"), "10.0000");
    EXPECT_EQ(dialogs_.texts(), QStringList{QStringLiteral("\r       File dial.dxf saved!")});
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(' ').toStdString();
    EXPECT_EQ(ReadFile(out_.filePath(QStringLiteral("zorva.$$$"))), QByteArray("mine"));

    // Low-resolution writers plot at p = 1 and convert with the divisor 40.
    dialogs_.clear();
    EXPECT_TRUE(SavePlot({file, PlotFormat::Dxf, false, 1}, [&](PlotStream& s) {
        seenP = s.p();
        Square(s);
    }, dialogs_, Language::German).ok);
    EXPECT_EQ(seenP, 1);
    EXPECT_EQ(ReadEntities(ReadFile(file)).at(9).value("10"), "10.0000");
}

TEST_F(PlotSave, TheConeDialWritesASecondFile) {
    EXPECT_EQ(ConeFileName(QStringLiteral("/a/b/dial.dxf")), QStringLiteral("/a/b/dialCone.dxf"));
    EXPECT_EQ(ConeFileName(QStringLiteral("zor.plt")), QStringLiteral("zorCone.plt"));
    EXPECT_EQ(ConeFileName(QStringLiteral("/a.b/x")), QStringLiteral("/a.b/Conex"));

    const QString file = out_.filePath(QStringLiteral("mean.plt"));
    const auto cone = [](PlotStream& s) {
        s.writeConeHead();
        s.selectPen(3);
        s.polyline({{0, 0}, {40, 40}});
    };
    PlotSaveResult r = SavePlot({file, PlotFormat::Hpgl, true, 1}, Square, dialogs_, Language::German, cone);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.secondFileName, out_.filePath(QStringLiteral("meanCone.plt")));
    EXPECT_TRUE(ReadFile(file).startsWith("IN;VS 1;PA;IW 0 0 16157 11038;PU"));
    EXPECT_TRUE(ReadFile(r.secondFileName).startsWith("IN;VS 1;PA;{IW 0 0 16157 11038;}"));
    ASSERT_EQ(dialogs_.events.size(), 2u);
    EXPECT_EQ(dialogs_.events[0].caption, QStringLiteral("ZORVA.EXE - Achtung!"));
    EXPECT_EQ(dialogs_.events[0].text,
              QStringLiteral("\r\nKegelkonstruktion (Querschnitt, Mantel) in Datei  \"meanCone.plt\" !!!"));
    EXPECT_EQ(dialogs_.events[1].text, QStringLiteral("\r\n       Datei meanCone.plt gespeichert!     "));

    dialogs_.clear();
    const QString dxf = out_.filePath(QStringLiteral("mean.dxf"));
    r = SavePlot({dxf, PlotFormat::Dxf, true, 1}, Square, dialogs_, Language::English, cone);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(dialogs_.texts(), (QStringList{QStringLiteral("\r       File mean.dxf saved!"),
                                             QStringLiteral("\r\nCone cross section and unfolded cone in file  "
                                                            "\"meanCone.dxf\" !!!"),
                                             QStringLiteral("\r       File meanCone.dxf saved!")}));
    EXPECT_FALSE(ReadEntities(ReadFile(out_.filePath(QStringLiteral("meanCone.dxf")))).empty());
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(PlotSave, FailuresKeepThePreviousFileAndLeaveNothingBehind) {
    const QString file = out_.filePath(QStringLiteral("zor.plt"));
    QFile previous(file);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("IN;old;");
    previous.close();

    // A write that fails half-way (a full disk) ends the construction.
    const auto failing = [](PlotStream& s) {
        s.writeStandardHead();
        throw PlotWriteError(QStringLiteral("No space left on device"));
    };
    PlotSaveResult r = SavePlot({file, PlotFormat::Hpgl, false, 1}, failing, dialogs_, Language::German);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(ReadFile(file), QByteArray("IN;old;"));
    ASSERT_EQ(dialogs_.events.size(), 1u);
    EXPECT_EQ(dialogs_.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
    EXPECT_TRUE(dialogs_.events[0].text.startsWith(QStringLiteral("Datei konnte nicht gespeichert werden!\r\n")));
    EXPECT_TRUE(dialogs_.events[0].text.contains(QStringLiteral("No space left on device")));

    dialogs_.clear();
    r = SavePlot({out_.filePath(QStringLiteral("dial.dxf")), PlotFormat::Dxf, true, 1}, failing, dialogs_,
                 Language::German);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(QFile::exists(out_.filePath(QStringLiteral("dial.dxf"))));
    EXPECT_TRUE(leftovers().isEmpty());

    // A folder that does not exist: HPGL and DXF alike report and write nothing.
    for (PlotFormat format : {PlotFormat::Hpgl, PlotFormat::Dxf}) {
        dialogs_.clear();
        r = SavePlot({out_.filePath(QStringLiteral("missing/zor.plt")), format, false, 1}, Square, dialogs_,
                     Language::German);
        EXPECT_FALSE(r.ok);
        ASSERT_EQ(dialogs_.events.size(), 1u);
        EXPECT_EQ(dialogs_.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
        EXPECT_TRUE(leftovers().isEmpty());
    }
}

}  // namespace
}  // namespace zorva::test
