// The plot-to-DXF converter: the DXF text other programs read, clipping, arcs, labels,
// number handling and every kind of bad input.
#include "dxf_reading.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <sys/stat.h>

namespace zorva::test {
namespace {

using Lines = std::vector<QByteArray>;

TEST(HpglToDxf, ThreeVertexPolylineAtDivisor40) {
    const Conversion c = ConvertText("IN;SP 1;PU 0 0;PD 100 0 100 100;");
    ASSERT_TRUE(c.result.converted);
    const QByteArray expected =
        "ENTITIES\r\n0\r\n"
        "POLYLINE\r\n  8\r\nL_1\r\n 62\r\n1\r\n  6\r\nCONTINUOUS\r\n 66\r\n1\r\n"
        " 40 \r\n0.00000000000000E+00\r\n 41 \r\n0.00000000000000E+00\r\n  0\r\n"
        "VERTEX\r\n  8\r\nL_1\r\n 62\r\n1\r\n  6\r\nCONTINUOUS\r\n 10\r\n0.0000\r\n 20\r\n0.0000\r\n0\r\n"
        "VERTEX\r\n  8\r\nL_1\r\n 62\r\n1\r\n  6\r\nCONTINUOUS\r\n 10\r\n2.5000\r\n 20\r\n0.0000\r\n0\r\n"
        "VERTEX\r\n  8\r\nL_1\r\n 62\r\n1\r\n  6\r\nCONTINUOUS\r\n 10\r\n2.5000\r\n 20\r\n2.5000\r\n0\r\n"
        "SEQEND\r\n  8\r\nL_1\r\n  0\r\n"
        "ENDSEC\r\n  0\r\nEOF\r\n";
    EXPECT_TRUE(c.dxf.endsWith(expected)) << c.dxf.right(expected.size()).toStdString();
    EXPECT_TRUE(c.dxf.startsWith("0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$EXTMIN\r\n"));
    EXPECT_TRUE(c.result.messages.isEmpty()) << c.result.messages.join('|').toStdString();
    ASSERT_EQ(c.dialogs.events.size(), 1u);
    EXPECT_EQ(c.dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Information!"));
    EXPECT_EQ(c.dialogs.events[0].text, QStringLiteral("\r       Datei test.dxf gespeichert!"));
}

TEST(HpglToDxf, SheetExtentsAndDefaultSizesFollowTheDivisor) {
    const Conversion at40 = ConvertText("IN;SP 1;PU 0 0;PD 403925 0;LBx\x03");
    EXPECT_TRUE(at40.dxf.contains("$EXTMAX\r\n 10\r\n  411.00\r\n 20\r\n  287.50\r\n"));
    EXPECT_EQ(at40.ofType("TEXT").at(0).value("40"), "    2.7000");
    const Conversion at1000 = ConvertText("IN;SP 1;PU 0 0;PD 403925 0;LBx\x03", 1000, 3);
    EXPECT_TRUE(at1000.dxf.contains("$LIMMAX\r\n 10\r\n   16.44\r\n 20\r\n   11.50\r\n"));
    EXPECT_EQ(at1000.polylines(), (std::vector<Lines>{{"0.0000,0.0000", "403.9250,0.0000"}}));
    EXPECT_EQ(at1000.ofType("TEXT").at(0).value("40"), "    0.1080");
    // Line weight 3 is 12 plotter units wide: 0.012 mm.
    EXPECT_EQ(at1000.ofType("POLYLINE").at(0).value("40"), "1.20000000000000E-02");
    const Conversion medium = ConvertText("IN;SP 1;PU 0 0;PD 40 0;", 40, 2);
    EXPECT_EQ(medium.ofType("POLYLINE").at(0).value("41"), "1.50000000000000E-01");
}

TEST(HpglToDxf, LongPointListsAreTranslatedInSlicesToTheSamePolyline) {
    QByteArray longList = "IN;SP 2;PU 0 0;PD";
    QByteArray shortCommands = "IN;SP 2;PU 0 0";
    for (int i = 1; i <= 150; ++i) {
        // Long numbers make slice boundaries fall inside numbers.
        const QByteArray x = QByteArray::number(i * 1234.5678, 'f', 4);
        const QByteArray y = QByteArray::number(-i * 987.125, 'f', 3);
        longList += ' ' + x + ',' + y;
        shortCommands += ";PD " + x + ' ' + y;
    }
    longList += ";PU;";
    shortCommands += ";PU;";
    const Conversion a = ConvertText(longList);
    const Conversion b = ConvertText(shortCommands);
    ASSERT_EQ(a.polylines().size(), 1u);
    EXPECT_EQ(a.polylines()[0].size(), 151u);
    EXPECT_EQ(a.polylines(), b.polylines());
    EXPECT_EQ(a.polylines()[0][150], QByteArray("4629.6292,-3701.7188"));
    EXPECT_TRUE(a.result.messages.isEmpty()) << a.result.messages.join('|').toStdString();
    EXPECT_EQ(a.dialogs.events.size(), 1u);  // only the success box, no "too long"
}

TEST(HpglToDxf, LabelsRunToTheEndOfTextCharacter) {
    const Conversion c = ConvertText("IN;SP 4;PU 400 800;LBa;b\r\nc\rd\ne\x03SI 0.18,0.27;PU 0 0;LB^\x03");
    const auto texts = c.ofType("TEXT");
    ASSERT_EQ(texts.size(), 2u);
    // Each line break is one blank: a DXF value cannot hold one.
    EXPECT_EQ(texts[0].value("1"), "a;b c d e");
    EXPECT_EQ(texts[0].value("10"), "10.0000");
    EXPECT_EQ(texts[0].value("20"), "20.0000");
    EXPECT_EQ(texts[0].value("8"), "L_4");
    EXPECT_EQ(texts[0].value("7"), "STANDARD");
    EXPECT_EQ(texts[1].value("1"), "^ ");
    EXPECT_EQ(texts[1].value("40"), "  2.70");
    EXPECT_EQ(texts[1].value("41"), "  0.93");

    // A label longer than 252 characters stays whole, trailing blanks included.
    const QByteArray longText(300, 'w');
    const Conversion l = ConvertText("IN;PU 0 0;LB" + longText + "  \x03");
    ASSERT_EQ(l.ofType("TEXT").size(), 1u);
    EXPECT_EQ(l.ofType("TEXT")[0].value("1"), longText + "  ");
    EXPECT_EQ(l.dialogs.events.size(), 1u);
}

TEST(HpglToDxf, LabelTextIsWrittenInWindows1252) {
    const Conversion c = ConvertText("IN;PU 0 0;LB20\xB0 \xC4quator\x03LB21\xC2\xB0 \xC3\x9C\x03LB\xE2\x82\xAC\x03");
    const auto texts = c.ofType("TEXT");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].value("1"), "20\xB0 \xC4quator");  // Windows-1252 stays as it is
    EXPECT_EQ(texts[1].value("1"), "21\xB0 \xDC");        // UTF-8 from other programs is re-encoded
    EXPECT_EQ(texts[2].value("1"), "\x80");               // the euro sign
}

TEST(HpglToDxf, SymbolSetSelectsTheSymbolsStyleUntilStandardSetOrInitialise) {
    const Conversion c = ConvertText("IN;PU 0 0;SA;LBa\x03SS;LBb\x03SA;IN;LBc\x03");
    const auto texts = c.ofType("TEXT");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].value("7"), "symbols");
    EXPECT_EQ(texts[1].value("7"), "STANDARD");
    EXPECT_EQ(texts[2].value("7"), "STANDARD");
}

TEST(HpglToDxf, PensBecomeLayersAndColours) {
    const Conversion c = ConvertText("IN;SP;PU 0 0;PD 40 0;SP 11;PD 80 0;SP 12;CI 40;SP 4.0;CI 40;");
    const auto seq = c.entities;
    ASSERT_GE(seq.size(), 6u);
    EXPECT_EQ(c.ofType("POLYLINE").at(0).value("8"), "L_0");
    EXPECT_EQ(c.ofType("POLYLINE").at(0).value("62"), "0");
    // SP ends the polyline on the layer it was drawn on.
    EXPECT_EQ(c.ofType("SEQEND").at(0).value("8"), "L_0");
    EXPECT_EQ(c.ofType("POLYLINE").at(1).value("8"), "L_11");
    EXPECT_EQ(c.ofType("CIRCLE").at(0).value("8"), "L_12");
    EXPECT_EQ(c.ofType("CIRCLE").at(0).value("62"), "12");
    EXPECT_EQ(c.ofType("CIRCLE").at(0).value("40"), "1.0000");
    EXPECT_EQ(c.ofType("CIRCLE").at(1).value("8"), "L_4");
    // Layers L_0, L_11 and L_12 are not in the layer table, which holds L_1 .. L_10.
    EXPECT_TRUE(c.dxf.contains("  2\r\nL_10\r\n"));
    EXPECT_FALSE(c.dxf.contains("  2\r\nL_11\r\n"));
}

TEST(HpglToDxf, LineTypes) {
    const struct {
        const char* command;
        const char* type;
    } cases[] = {{"LT", "CONTINUOUS"}, {"LT 0", "CONTINUOUS"}, {"LT 5", "CONTINUOUS"}, {"LT 6", "CONTINUOUS"},
                 {"LT 1", "DOT"},      {"LT 2,2", "DASHED"},   {"LT 3", "DASHED"},    {"LT 4", "DASHDOT"}};
    for (const auto& k : cases) {
        const Conversion c = ConvertText(QByteArray("IN;SP 1;PU 0 0;") + k.command + ";PD 40 0;");
        EXPECT_EQ(c.ofType("POLYLINE").at(0).value("6"), k.type) << k.command;
    }
    // LT changes the following vertices only: the open polyline keeps its header.
    const Conversion c = ConvertText("IN;SP 1;PU 0 0;PD 40 0;LT 2;PD 80 0;");
    ASSERT_EQ(c.ofType("POLYLINE").size(), 1u);
    EXPECT_EQ(c.ofType("POLYLINE")[0].value("6"), "CONTINUOUS");
    EXPECT_EQ(c.ofType("VERTEX").at(1).value("6"), "CONTINUOUS");
    EXPECT_EQ(c.ofType("VERTEX").at(2).value("6"), "DASHED");
}

TEST(HpglToDxf, ArcsRunCounterClockwiseAndLeaveThePenAtTheFarEnd) {
    // Centre (1, 1) mm, pen at (2, 1): start angle 360.
    Conversion c = ConvertText("IN;SP 3;PU 80 40;PD;AA 40 40 -90 0.2;PD 40 80;");
    ASSERT_EQ(c.ofType("ARC").size(), 1u);
    DxfEntity arc = c.ofType("ARC")[0];
    EXPECT_EQ(arc.value("10"), "1.0000");
    EXPECT_EQ(arc.value("20"), "1.0000");
    EXPECT_EQ(arc.value("40"), "    1.0000");
    EXPECT_EQ(arc.value("50"), " 270.00");
    EXPECT_EQ(arc.value("51"), " 360.00");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"    1.00000,    0.00000", "1.0000,2.0000"}}));

    c = ConvertText("IN;SP 3;PU 80 40;PD;AA 40 40 90;PD 80 80;");
    arc = c.ofType("ARC").at(0);
    EXPECT_EQ(arc.value("50"), " 360.00");
    EXPECT_EQ(arc.value("51"), " 450.00");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"    1.00000,    2.00000", "2.0000,2.0000"}}));

    // Pen straight below the centre: 270 degrees; relative centre with AR.
    c = ConvertText("IN;SP 3;PU 40 0;AR 0 40 45;");
    arc = c.ofType("ARC").at(0);
    EXPECT_EQ(arc.value("20"), "    1.00000");
    EXPECT_EQ(arc.value("50"), " 270.00");
    EXPECT_EQ(arc.value("51"), " 315.00");

    c = ConvertText("IN;SP 3;PU 40 0;AA 40 40 --5;");
    EXPECT_TRUE(c.ofType("ARC").empty());
    EXPECT_TRUE(c.result.messages.contains(QStringLiteral("Fehler bei der Konvertierung des Bogenwinkels.")));
}

TEST(HpglToDxf, StrokesAreClippedAgainstTheInputWindow) {
    // Window 0..10 mm: out at x = 10, along outside, back in at y = 7.5.
    Conversion c = ConvertText("IN;SP 1;IW 0 0 400 400;PU 200 200;PD 600 200 600 300 200 300;PU;");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"5.0000,5.0000", "10.0000,5.0000"},
                                                 {"10.0000,7.5000", "5.0000,7.5000"}}));

    // A segment with both ends outside writes nothing, even across the window.
    c = ConvertText("IN;SP 1;IW 0 0 400 400;PU -100 200;PD 500 200;PU;");
    EXPECT_TRUE(c.ofType("POLYLINE").empty());

    // An end beyond a corner lands on the window edge, on the segment.
    c = ConvertText("IN;SP 1;IW 400 400 0 0;PU 200 200;PD 600 800;");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"5.0000,5.0000", "8.3333,10.0000"}}));

    // IW without numbers: the layout area, 16400 x 11480 units.
    c = ConvertText("IN;SP 1;IW;PU 16000 100;PD 17000 100;");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"400.0000,2.5000", "410.0000,2.5000"}}));

    // Relative strokes are written as computed and still end where they leave.
    c = ConvertText("IN;SP 1;IW 0 0 400 400;PU 200 200;PD;PR 400 0 0 40;");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"5.0000,5.0000", "   15.00000,    5.00000"}}));
}

TEST(HpglToDxf, RelativePlottingKeepsThePenStateAndRectanglesUseTheCurrentPoint) {
    // PR after PU moves; after PD it draws.
    Conversion c = ConvertText("IN;SP 1;PU 40 40;PR 40 0;PD;PR 0 40;PU;");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"    2.00000,    1.00000", "    2.00000,    2.00000"}}));

    c = ConvertText("IN;SP 1;PU 40 40;ER 80 40;");
    ASSERT_EQ(c.ofType("POLYLINE").size(), 1u);
    // The rectangle's first width code line has no trailing blank.
    EXPECT_EQ(c.ofType("POLYLINE")[0].groups[4].first, " 40");
    EXPECT_EQ(c.ofType("POLYLINE")[0].groups[5].first, " 41 ");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"1.0000,1.0000", "    3.00000,1.0000", "    3.00000,    2.00000",
                                                  "1.0000,    2.00000", "1.0000,1.0000"}}));
    EXPECT_EQ(c.ofType("SEQEND").size(), 1u);
}

TEST(HpglToDxf, TextCommands) {
    const Conversion c = ConvertText(
        "IN;PU 0 0;DI 0,100;SL 1;LBa\x03" "DI 100,0;SL;LBb\x03" "DI 1;LBc\x03" "DI --1,5;SL --1;SI;LBd\x03"
        "SI 0.36,0.27;DI -100,0;LBe\x03");
    const auto t = c.ofType("TEXT");
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0].value("50"), " 90.0");
    EXPECT_EQ(t[0].value("51"), " 45.0");
    EXPECT_EQ(t[1].value("50"), "  0.0");
    EXPECT_EQ(t[1].value("51"), "0.0");
    EXPECT_EQ(t[2].value("50"), "0.0");
    EXPECT_EQ(t[3].value("50"), "0.0");
    EXPECT_EQ(t[3].value("51"), "0.0");
    EXPECT_EQ(t[3].value("40"), "    2.7000");
    EXPECT_EQ(t[3].value("41"), "0.7");
    EXPECT_EQ(t[4].value("50"), "180.0");
    EXPECT_EQ(t[4].value("41"), "  1.87");
    EXPECT_TRUE(c.result.messages.contains(QStringLiteral("Fehler bei der Angabe der Schriftrichtung: --1;5")));
    EXPECT_TRUE(c.result.messages.contains(QStringLiteral("Fehler im Befehl SL :--1!")));
}

TEST(HpglToDxf, PenWidth) {
    const Conversion c = ConvertText("IN;SP 1;PW 0;PU 0 0;PD 40 0;PU;PW;PD 80 0;PU;PW 1;PD 0 0;");
    const auto p = c.ofType("POLYLINE");
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0].value("40"), "0");
    EXPECT_EQ(p[1].value("40"), "0.8");
    EXPECT_EQ(p[2].value("41"), "  0.10");
    EXPECT_EQ(c.result.messages.count(QStringLiteral("Command PW (=Penwidth) only supported by HPGL2.")), 3);
}

TEST(HpglToDxf, NumbersThatAreNoNumbers) {
    // A run that does not parse is -1; a missing number stops the command, reported once.
    Conversion c = ConvertText("IN;SP 1;PU 0 0;PD --5 40;");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"0.0000,0.0000", "-0.0250,1.0000"}}));
    EXPECT_EQ(c.result.messages, QStringList{QStringLiteral("Fehler in: PD --5 40; weil:--5 keine Zahl ist.")});

    c = ConvertText("IN;SP 1;PU 0 0;PD 1e999,5 40 40 x 7;");
    EXPECT_TRUE(c.ofType("POLYLINE").empty());
    EXPECT_EQ(c.result.messages, QStringList{QStringLiteral("Error in HPGL-command:PD e999,5 40 40 x 7;")});

    // Digits beyond any plotter's range are no number either, so nothing overflows.
    c = ConvertText("IN;SP 1;PU 0 0;PD " + QByteArray(200, '9') + " 40;");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"0.0000,0.0000", "-0.0250,1.0000"}}));

    c = ConvertText("IN;SP 1;PU 0 0;PD 40;CI;");
    EXPECT_EQ(c.result.messages, (QStringList{QStringLiteral("Error in HPGL-command:PD ;"),
                                              QStringLiteral("Error in HPGL-command:CI ;")}));
}

TEST(HpglToDxf, WholeNumbersGiveTheTextsOfTheirDecimalTwins) {
    // Whole coordinates take a shortcut past the general number parser and formatter; the
    // same values written with a fraction take the general way. Both must give equal bytes,
    // also in relative moves and at every divisor.
    std::mt19937 random(7);
    std::uniform_int_distribution<long> anyValue(-999999999, 999999999);
    std::uniform_int_distribution<long> smallValue(-5000, 5000);
    std::vector<QByteArray> whole = {"0", "-0", "+7", "-1", "999999999", "-999999999", "000123", "+000", "40", "-25"};
    for (int i = 0; i < 200; ++i) whole.push_back(QByteArray::number(static_cast<qlonglong>(i % 2 ? anyValue(random) : smallValue(random))));
    QByteArray plain = "IN;SP 1;PU 0 0;PD", decimal = "IN;SP 1;PU 0 0;PD";
    for (size_t i = 0; i + 1 < whole.size(); i += 2) {
        plain += ' ' + whole[i] + ',' + whole[i + 1];
        decimal += ' ' + whole[i] + ".0," + whole[i + 1] + ".00";
    }
    plain += ";PR 15,-15 -3,+40;PU;";
    decimal += ";PR 15.0,-15.0 -3.0,+40.0;PU;";
    for (const double divisor : {40.0, 1000.0, 8.0}) {
        const Conversion a = ConvertText(plain, divisor), b = ConvertText(decimal, divisor);
        ASSERT_TRUE(a.result.converted);
        ASSERT_EQ(a.polylines().size(), 1u);
        EXPECT_EQ(a.polylines().at(0).size(), whole.size() / 2 + 3);
        EXPECT_EQ(a.polylines(), b.polylines()) << "divisor " << divisor;
        EXPECT_TRUE(a.result.messages.isEmpty());
    }
    // Never a negative zero, and the points fall where the quotient says.
    const Conversion z = ConvertText("IN;SP 1;PU 0 0;PD -0,-40 -999999999,1;", 1000);
    EXPECT_EQ(z.polylines(), (std::vector<Lines>{{"0.0000,0.0000", "0.0000,-0.0400", "-999999.9990,0.0010"}}));
}

TEST(HpglToDxf, WholeCoordinateTextsMatchTheGeneralFormatterAcrossMagnitudes) {
    // Every value from 0 to 1100 and each side of every power of ten up to the largest
    // coordinate, both signs, with and without "+" and leading zeros, in long and short
    // lists: the whole-number texts must equal those the decimal twins get.
    std::vector<long long> values;
    for (long long v = 0; v <= 1100; ++v) values.push_back(v);
    for (long long p = 10; p <= 1000000000LL; p *= 10)
        for (long long d = -3; d <= 3; ++d)
            if (p + d <= 1000000000LL) values.push_back(p + d);  // larger: no number
    values.push_back(123456789);
    if (values.size() % 2 != 0) values.push_back(7);
    std::vector<std::pair<QByteArray, QByteArray>> texts;  // whole, decimal twin
    for (size_t i = 0; i < values.size(); ++i) {
        const QByteArray digits = QByteArray::number(values[i]);
        switch (i % 4) {
            case 0: texts.push_back({digits, digits + ".0"}); break;
            case 1: texts.push_back({'-' + digits, '-' + digits + ".00"}); break;
            case 2: texts.push_back({'+' + digits, digits + ".000"}); break;
            default: texts.push_back({"-00" + digits, "-0" + digits + ".0"}); break;
        }
    }
    for (const double divisor : {40.0, 1000.0}) {
        for (const size_t perCommand : {size_t{2}, size_t{400}}) {
            QByteArray plain = "IN;SP 1;PU 0 0;", decimal = plain;
            for (size_t i = 0; i < texts.size(); ++i) {
                const bool start = i % perCommand == 0;
                const char* separator = i % 3 == 0 ? "," : " ";
                plain += (start ? (i == 0 ? "PD" : ";PD") : separator) + texts[i].first;
                decimal += (start ? (i == 0 ? "PD" : ";PD") : separator) + texts[i].second;
            }
            plain += ";PU;";
            decimal += ";PU;";
            const Conversion a = ConvertText(plain, divisor), b = ConvertText(decimal, divisor);
            ASSERT_TRUE(a.result.converted);
            EXPECT_TRUE(a.result.messages.isEmpty()) << a.result.messages.join('|').toStdString();
            EXPECT_EQ(a.ofType("VERTEX").size(), texts.size() / 2 + 1);
            EXPECT_EQ(a.polylines(), b.polylines()) << "divisor " << divisor << ", " << perCommand << " numbers a command";
        }
    }
}

TEST(HpglToDxf, WhereTheFileIsReadInBlocksChangesNothing) {
    // The plot is read in blocks of 64 KiB; blanks before the first command move every block
    // border through a long point list with an error, a label and a cut-off command.
    QByteArray body = "IN;SP 2;PU 0 0;PD";
    for (int i = 0; i < 1500; ++i) body += ' ' + QByteArray::number(i * 37 % 9001) + ',' + QByteArray::number(-i);
    body += " 5 x 7 8 9;PU 40 40;PD 80 80 120,-40;LBlabel text\x03PD " + QByteArray(5000, '1') + ";PU;";
    const Conversion reference = ConvertText(body);
    ASSERT_TRUE(reference.result.converted);
    ASSERT_FALSE(reference.result.messages.isEmpty());
    const qsizetype block = 1 << 16;
    std::vector<qsizetype> borders;  // where the first block ends in the body
    for (qsizetype i = 0; i < body.size(); i += 997) borders.push_back(i);
    for (qsizetype i = 0; i < body.size(); ++i)
        if (body[i] == ';' || body[i] == '\x03') borders.insert(borders.end(), {i, i + 1});
    for (const qsizetype border : borders) {
        const QByteArray shifted = QByteArray(block - border, ' ') + body;
        const Conversion c = ConvertText(shifted);
        EXPECT_EQ(c.entities.size(), reference.entities.size()) << "block border at " << border;
        EXPECT_TRUE(c.dxf == reference.dxf) << "block border at " << border;
        EXPECT_EQ(c.result.messages, reference.result.messages) << "block border at " << border;
    }
}

TEST(HpglToDxf, UnsupportedAndOverlongCommands) {
    Conversion c = ConvertText("IN;SP 1;PU 0 0;PD 40 0;XY;PD 80 0;");
    EXPECT_EQ(c.result.messages, QStringList{QStringLiteral("Command: XY; not supported!")});
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"0.0000,0.0000", "1.0000,0.0000"},
                                                 {"1.0000,0.0000", "2.0000,0.0000"}}));

    // The cone plot's braces hide its window and first move from the reader.
    c = ConvertText("IN;VS 1;PA;{IW 0 0 16157 11038;}PU 0 0;EA 16157 11038;SP 1;");
    EXPECT_EQ(c.result.messages, (QStringList{QStringLiteral("Command: {I; not supported!"),
                                              QStringLiteral("Command: }P; not supported!")}));
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"0.00,0.00", "403.9250,0.00", "403.9250,275.9500",
                                                  "0.00,275.9500", "0.00,0.00"}}));

    const QByteArray digits(300, '1');
    c = ConvertText("IN;SP 1;DI " + digits + ";PU 0 0;PD 40 0;");
    ASSERT_EQ(c.dialogs.events.size(), 2u);
    EXPECT_EQ(c.dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
    EXPECT_EQ(c.dialogs.events[0].text, QStringLiteral("DI ") + QString::fromLatin1(digits) +
                                            QStringLiteral(";: Befehl ist zu lang und wird gekürzt!"));
    EXPECT_TRUE(c.result.converted);
}

TEST(HpglToDxf, NotAPlotFile) {
    for (const QByteArray& content : {QByteArray("0 12 3 45 \r\n 7 ;,.\r\n"), QByteArray()}) {
        const Conversion c = ConvertText(content);
        EXPECT_FALSE(c.fileExists);
        EXPECT_FALSE(c.result.dxfWritten);
        EXPECT_EQ(c.result.messages, QStringList{c.plotPath + QStringLiteral(" ist kein HPGL-File!")});
        ASSERT_EQ(c.dialogs.events.size(), 1u);
        EXPECT_EQ(c.dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Warnung!"));
        EXPECT_EQ(c.dialogs.events[0].text,
                  QStringLiteral("   Datei test.plt nicht konvertiert!\n\rHPGL-Datei ist eventuell defekt."));
    }
}

TEST(HpglToDxf, PlotWithoutDrawingCommandsLeavesTheDxfAsWritten) {
    const Conversion c = ConvertText("IN;VS 1;PA;IW 0 0 16157 11038;", 40, 1, Language::English);
    EXPECT_TRUE(c.fileExists);
    EXPECT_FALSE(c.result.converted);
    EXPECT_FALSE(c.dxf.contains('\n'));  // carriage returns alone, as written
    EXPECT_TRUE(c.dxf.endsWith("ENTITIES\r0\rENDSEC\r  0\rEOF\r"));
    ASSERT_EQ(c.dialogs.events.size(), 1u);
    EXPECT_EQ(c.dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Error!"));
    EXPECT_EQ(c.dialogs.events[0].text,
              QStringLiteral("File test.plt not converted!\n\rHPGL-file is probably corrupted."));
}

TEST(HpglToDxf, TruncatedPlotsConvertWhatTheyHold) {
    Conversion c = ConvertText("IN;SP 1;PU 0 0;PD 40 0 40 4");
    EXPECT_EQ(c.polylines(), (std::vector<Lines>{{"0.0000,0.0000", "1.0000,0.0000", "1.0000,0.1000"}}));
    EXPECT_TRUE(c.dxf.endsWith("SEQEND\r\n  8\r\nL_1\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n"));
    c = ConvertText("IN;SP 1;PU 0 0;LBabc");
    EXPECT_EQ(c.ofType("TEXT").at(0).value("1"), "abc");
    // A letter at the very end is no command.
    c = ConvertText("IN;SP 1;PU 0 0;P");
    EXPECT_EQ(c.entities.size(), 0u);
    EXPECT_TRUE(c.result.messages.isEmpty());
}

TEST(HpglToDxf, MissingPlotAndUnwritableTargets) {
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    const QString plot = dir.filePath(QStringLiteral("a.plt"));
    DxfConversion r = ConvertPlotToDxf(plot, dir.filePath(QStringLiteral("a.dxf")), 1, 40, dialogs);
    EXPECT_FALSE(r.dxfWritten);
    EXPECT_EQ(r.messages, QStringList{plot + QStringLiteral(" nicht gefunden!")});
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Das war ein Datei-Öffnungsfehler!")});
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.dxf"))));

    QFile f(plot);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("IN;SP 1;PU 0 0;PD 40 40;");
    f.close();
    for (const QString& target : {dir.filePath(QStringLiteral("no/such/folder/a.dxf")), dir.path()}) {
        dialogs.clear();
        r = ConvertPlotToDxf(plot, target, 1, 40, dialogs);
        EXPECT_FALSE(r.dxfWritten);
        EXPECT_FALSE(r.converted);
        ASSERT_EQ(dialogs.events.size(), 1u);
        EXPECT_EQ(dialogs.events[0].caption, QStringLiteral("ZORVA.EXE - Fehler!"));
        EXPECT_EQ(dialogs.events[0].text, QStringLiteral("Das war ein Datei-Öffnungsfehler!"));
    }
}

// Endless or special inputs end at once, and the DXF never replaces the plot it is read from.
TEST(HpglToDxf, SpecialHugeAndSelfOverwritingInputsAreRefused) {
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    const QString dxf = dir.filePath(QStringLiteral("out.dxf"));
    const QString fifo = dir.filePath(QStringLiteral("fifo.plt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& special : {QStringLiteral("/dev/zero"), fifo, dir.path()}) {
        dialogs.clear();
        const DxfConversion r = ConvertPlotToDxf(special, dxf, 1, 40, dialogs);
        EXPECT_FALSE(r.dxfWritten) << special.toStdString();
        EXPECT_EQ(r.messages, QStringList{special + QStringLiteral(
                                                        ": keine gewöhnliche Datei (ein Ordner, eine Pipe oder ein Gerät)")});
        EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Das war ein Datei-Öffnungsfehler!")});
        EXPECT_FALSE(QFile::exists(dxf));
    }

    // Beyond the cap without reading a byte: a sparse file costs no disk.
    const QString huge = dir.filePath(QStringLiteral("huge.plt"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("IN;SP 1;PU 0 0;PD 40 40;");
        ASSERT_TRUE(f.resize(kMaxPlotFileBytes + 1));
    }
    dialogs.clear();
    DxfConversion r = ConvertPlotToDxf(huge, dxf, 1, 40, dialogs, Language::English);
    EXPECT_FALSE(r.dxfWritten);
    EXPECT_EQ(r.messages, QStringList{huge + QStringLiteral(": the file is too large (more than 2 GB)")});
    EXPECT_FALSE(QFile::exists(dxf));

    const QString plot = dir.filePath(QStringLiteral("a.plt"));
    const QByteArray bytes = "IN;SP 1;PU 0 0;PD 40 40;";
    {
        QFile f(plot);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    ASSERT_TRUE(QFile::link(plot, dir.filePath(QStringLiteral("link.dxf"))));
    for (const QString& target : {plot, dir.filePath(QStringLiteral("link.dxf")),
                                  dir.path() + QStringLiteral("/./a.plt")}) {
        dialogs.clear();
        r = ConvertPlotToDxf(plot, target, 1, 40, dialogs);
        EXPECT_FALSE(r.dxfWritten) << target.toStdString();
        EXPECT_EQ(r.messages.size(), 1);
        QFile f(plot);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), bytes) << "the plot must stay as it was";
    }
}

TEST(HpglToDxf, EveryConversionStartsFromTheSameState) {
    // The first plot ends in relative mode, pen down, symbol set, pen 7.
    const Conversion first = ConvertText("IN;SA;SP 7;PU 0 0;PD;PR 40 40;");
    ASSERT_TRUE(first.result.converted);
    const QByteArray second = "PU 40 40;PD 80 40;PU;LBx\x03";
    const Conversion after = ConvertText(second);
    EXPECT_EQ(after.polylines(), (std::vector<Lines>{{"1.0000,1.0000", "2.0000,1.0000"}}));
    EXPECT_EQ(after.ofType("TEXT").at(0).value("7"), "STANDARD");
    EXPECT_EQ(after.ofType("TEXT").at(0).value("8"), "L_0");
    EXPECT_EQ(after.dxf, ConvertText(second).dxf);
}

TEST(HpglToDxf, BinaryInputNeverBreaksTheConverter) {
    std::mt19937 random(20240611);
    QByteArray noise;
    for (int i = 0; i < 300000; ++i) noise += static_cast<char>(random() & 0xFF);
    const Conversion c = ConvertText(noise);
    EXPECT_TRUE(c.fileExists);
    EXPECT_LE(c.result.messages.size(), 1000);
    EXPECT_GT(c.result.droppedMessages, 0);
    EXPECT_TRUE(c.dxf.endsWith("ENDSEC\r\n  0\r\nEOF\r\n") || c.dxf.endsWith("ENDSEC\r  0\rEOF\r"));
    // At most a few "too long" boxes, however many commands were.
    EXPECT_LE(c.dialogs.events.size(), 4u);
}

}  // namespace
}  // namespace zorva::test
