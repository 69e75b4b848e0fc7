// Saving planar dials as files: every DXF reads in an independent reader (python3-ezdxf)
// and stays on the sheet, every plot renders in hp2xx without complaint, and bad input
// (missing folders, odd names, a refused dial) leaves no half-written or temporary file.
#include "dials/planar_plot.h"
#include "support/plot_readers.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace zorva::test {
namespace {

// The dials a user saves most, and the ones that reach the sheet's edges.
std::vector<std::pair<QString, DialState>> Dials() {
    std::vector<std::pair<QString, DialState>> out;
    DialState v = StartupState();
    out.emplace_back(QStringLiteral("wall"), v);
    DialState all = v;
    all.meanTimeLines = all.italianHours = all.babylonianHours = all.temporalHours = all.altitudeLines = true;
    all.wholeHourDaylengthLines = all.linesToStyleFoot = true;
    all.lineWidth = '2';
    out.emplace_back(QStringLiteral("wall with every line"), all);
    DialState h = v;
    h.dialType = 'h';
    out.emplace_back(QStringLiteral("horizontal"), h);
    DialState i = v;
    i.dialType = 'i';
    out.emplace_back(QStringLiteral("inclined"), i);
    DialState north = v;
    north.wallDeclination = 170;
    out.emplace_back(QStringLiteral("north wall"), north);
    DialState umbrella = h;
    umbrella.umbrellaDial = true;
    umbrella.latitude = -33.9;
    out.emplace_back(QStringLiteral("southern umbrella"), umbrella);
    return out;
}

class PlanarSave : public ::testing::Test {
protected:
    void SetUp() override {
        // Temporary plot files go into a folder of this test only, to be counted.
        oldTmp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmp_.path().toLocal8Bit());
    }
    void TearDown() override {
        if (oldTmp_.isEmpty()) qunsetenv("TMPDIR");
        else qputenv("TMPDIR", oldTmp_);
    }
    QStringList leftovers() const { return QDir(tmp_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_, tmp_;
    QByteArray oldTmp_;
    RecordingDialogs dialogs_;
};

TEST_F(PlanarSave, EveryDxfReadsInEzdxfAndStaysOnTheSheet) {
    const QString python = PythonWithEzdxf();
    if (python.isEmpty()) GTEST_SKIP() << "python3-ezdxf is not installed";
    QStringList files;
    for (const auto& [name, state] : Dials()) {
        PlanarSaveRequest r;
        r.fileName = path(name + QStringLiteral(".dxf"));
        r.format = PlotFormat::Dxf;
        r.lineWeight = 2;
        r.gridMm = 10.0;
        const PlanarSaveResult saved = SavePlanarDial(state, r, dialogs_);
        ASSERT_TRUE(saved.ok) << name.toStdString() << ' ' << dialogs_.texts().join(QLatin1Char('|')).toStdString();
        files << r.fileName;
    }
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();

    // On the sheet, give or take half the width of a medium line (0.006 mm).
    ExpectDxfFilesOnTheSheet(python, files, 20, 0.004);
}

TEST_F(PlanarSave, EveryPlotRendersInHp2xx) {
    if (QStandardPaths::findExecutable(QStringLiteral("hp2xx")).isEmpty()) GTEST_SKIP() << "hp2xx is not installed";
    for (const auto& [name, state] : Dials()) {
        PlanarSaveRequest r;
        r.fileName = path(name + QStringLiteral(".plt"));
        r.gridMm = 5.0;
        ASSERT_TRUE(SavePlanarDial(state, r, dialogs_).ok) << name.toStdString();
        ExpectHp2xxDrawsWithoutComplaint(r.fileName, path(name + QStringLiteral(".png")), name.toStdString());
    }
}

TEST_F(PlanarSave, HpglSavedWithListingBesideIt) {
    PlanarSaveRequest r;
    r.fileName = path(QStringLiteral("Mein Zifferblatt ä.plt"));
    r.coordinates = CoordinateOutput::TextFile;
    const PlanarSaveResult saved = SavePlanarDial(StartupState(), r, dialogs_);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.listingFile, path(QStringLiteral("Mein Zifferblatt ä.txt")));
    EXPECT_TRUE(QFile::exists(saved.listingFile));
    EXPECT_EQ(dialogs_.texts(), (QStringList{QStringLiteral("\r\n       Datei Mein Zifferblatt ä.plt gespeichert!     "),
                                             QStringLiteral("\r\n       Mein Zifferblatt ä.txt gespeichert!")}));
    EXPECT_TRUE(saved.listing.contains(QStringLiteral("Name der gespeicherten Zeichnung: ") + r.fileName));

    // Saving again tells that the listing is overwritten.
    dialogs_.clear();
    ASSERT_TRUE(SavePlanarDial(StartupState(), r, dialogs_).ok);
    EXPECT_EQ(dialogs_.events.front().text, QStringLiteral("Überschreibe jetzt die Datei ") + saved.listingFile);
    EXPECT_EQ(dialogs_.events.front().caption, QStringLiteral("ZORVA.EXE - Problem!"));
}

TEST_F(PlanarSave, ListingForThePrinterIsReturnedNotWritten) {
    PlanarSaveRequest r;
    r.fileName = path(QStringLiteral("a.dxf"));
    r.format = PlotFormat::Dxf;
    r.coordinates = CoordinateOutput::Printer;
    const PlanarSaveResult saved = SavePlanarDial(StartupState(), r, dialogs_);
    ASSERT_TRUE(saved.ok);
    EXPECT_TRUE(saved.listingFile.isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.txt"))));
    EXPECT_EQ(saved.listing.first(), QStringLiteral("Vertikale SONNENUHR"));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(PlanarSave, MissingFolderSavesNothingAndSaysSo) {
    for (PlotFormat format : {PlotFormat::Hpgl, PlotFormat::Dxf}) {
        dialogs_.clear();
        PlanarSaveRequest r;
        r.fileName = path(format == PlotFormat::Hpgl ? QStringLiteral("missing/a.plt") : QStringLiteral("missing/a.dxf"));
        r.format = format;
        r.coordinates = CoordinateOutput::TextFile;
        const PlanarSaveResult saved = SavePlanarDial(StartupState(), r, dialogs_);
        EXPECT_FALSE(saved.ok);
        EXPECT_FALSE(QFile::exists(r.fileName));
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing/a.txt"))));
        EXPECT_FALSE(dialogs_.contains(QStringLiteral("saved!")));
        EXPECT_FALSE(dialogs_.contains(QStringLiteral("gespeichert!")));
        ASSERT_FALSE(dialogs_.events.empty());
        EXPECT_EQ(dialogs_.events.back().icon, Icon::Error);
    }
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(PlanarSave, ListingThatCannotBeWrittenIsAFailure) {
    PlanarSaveRequest r;
    r.fileName = path(QStringLiteral("b.plt"));
    r.coordinates = CoordinateOutput::TextFile;
    r.listingFileName = path(QStringLiteral("nowhere/b.txt"));
    const PlanarSaveResult saved = SavePlanarDial(StartupState(), r, dialogs_);
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(dialogs_.contains(QStringLiteral("Datei konnte nicht gespeichert werden!")));
    EXPECT_TRUE(dialogs_.contains(r.listingFileName));
}

TEST_F(PlanarSave, RefusedDialLeavesNoFile) {
    DialState s = StartupState();
    s.dialType = 'i';
    s.umbrellaDial = true;
    s.planeInclination = 80;
    for (PlotFormat format : {PlotFormat::Hpgl, PlotFormat::Dxf}) {
        dialogs_.clear();
        PlanarSaveRequest r;
        r.fileName = path(format == PlotFormat::Hpgl ? QStringLiteral("c.plt") : QStringLiteral("c.dxf"));
        r.format = format;
        EXPECT_FALSE(SavePlanarDial(s, r, dialogs_).ok);
        EXPECT_FALSE(QFile::exists(r.fileName));
        EXPECT_TRUE(dialogs_.contains(QStringLiteral("Diese Neigung der Pultuhr")));
        EXPECT_TRUE(dialogs_.contains(QStringLiteral("Speichervorgang abgebrochen!")));
    }
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(PlanarSave, ThePreviousFileSurvivesARefusedSave) {
    const QString name = path(QStringLiteral("keep.plt"));
    PlanarSaveRequest r;
    r.fileName = name;
    ASSERT_TRUE(SavePlanarDial(StartupState(), r, dialogs_).ok);
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    DialState s = StartupState();
    s.dialType = 'i';
    s.umbrellaDial = true;
    s.planeInclination = 80;
    EXPECT_FALSE(SavePlanarDial(s, r, dialogs_).ok);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

}  // namespace
}  // namespace zorva::test
