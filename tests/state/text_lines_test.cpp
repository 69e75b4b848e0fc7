#include "state/text_lines.h"
#include "state/state_file_helpers.h"
#include "support/test_support.h"

#include <QDir>

namespace zorva {
namespace {

using test::ReadBytes;
using test::WriteBytes;

TEST(LineFileText, Windows1252BothWaysIncludingTheHighRange) {
    const QString text = QStringLiteral("März Straße € „x“ – ‰ Œ ÿ");
    const QByteArray bytes = EncodeLineFileText(text);
    EXPECT_EQ(bytes, QByteArray("M\xE4rz Stra\xDF" "e \x80 \x84x\x93 \x96 \x89 \x8C \xFF"));
    EXPECT_EQ(DecodeLineFileText(bytes), text);
}

TEST(LineFileText, Utf8IsRecognisedWithOrWithoutBom) {
    EXPECT_EQ(DecodeLineFileText("M\xC3\xA4rz"), QStringLiteral("März"));
    EXPECT_EQ(DecodeLineFileText("\xEF\xBB\xBF" "2013"), QStringLiteral("2013"));
    // Not valid UTF-8: read as Windows-1252, never as replacement characters.
    EXPECT_EQ(DecodeLineFileText("M\xE4rz \xC3"), QStringLiteral("März Ã"));
}

TEST(LineFileText, CharactersOutsideWindows1252AreWrittenAsUtf8) {
    const QString text = QStringLiteral("21/03 → Äquinoktium");
    EXPECT_FALSE(RepresentableIn1252(text));
    const QByteArray bytes = EncodeLineFileText(text);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(DecodeLineFileText(bytes), text);
}

// Loading and saving again must give the same bytes and the same text, whatever a line holds:
// Windows-1252 bytes that also form UTF-8 ("Ã¤" is C3 A4) once turned into "ä" on the next load.
TEST(LineFileText, SavingAndLoadingTwiceGivesTheSameBytes) {
    const QStringList texts = {QStringLiteral("21/03    ( Ã¤ )"), QStringLiteral("Ã¤ and ä"), QStringLiteral("Â©"),
                               QStringLiteral("21/06    ( März )"), QStringLiteral("→ €"), QStringLiteral("plain")};
    for (const QString& text : texts) {
        const QByteArray first = EncodeLineFileText(text);
        EXPECT_EQ(DecodeLineFileText(first), text) << text.toStdString();
        EXPECT_EQ(EncodeLineFileText(DecodeLineFileText(first)), first) << text.toStdString();
    }
    // Any file: its text survives, and from the first save on the bytes stay the same.
    for (const QByteArray& file : {QByteArray("( M\xE4rz )"), QByteArray("( \xC3\x83\xC2\xA4 )"),
                                   QByteArray("( \xC3\xA4 )"), QByteArray("\x80 \x84x\x93"),
                                   QByteArray("\xEF\xBB\xBF( \xC3\xA4 \xE2\x86\x92 )")}) {
        const QByteArray first = EncodeLineFileText(DecodeLineFileText(file));
        EXPECT_EQ(DecodeLineFileText(first), DecodeLineFileText(file)) << file.toHex().toStdString();
        EXPECT_EQ(EncodeLineFileText(DecodeLineFileText(first)), first) << file.toHex().toStdString();
    }
    // Windows-1252 as earlier installations wrote it keeps its bytes.
    for (const QByteArray& file : {QByteArray("( M\xE4rz )"), QByteArray("\x80 \x84x\x93")})
        EXPECT_EQ(EncodeLineFileText(DecodeLineFileText(file)), file) << file.toHex().toStdString();
    // Text that Windows-1252 holds unambiguously stays Windows-1252.
    EXPECT_EQ(EncodeLineFileText(QStringLiteral("Ã¤ and ä")), QByteArray("\xC3\xA4 and \xE4"));
    EXPECT_EQ(EncodeLineFileText(QStringLiteral("Ã¤")), QByteArray("\xC3\x83\xC2\xA4"));
}

TEST(LineFile, DateLineCommentSurvivesTwoLoadAndSaveCycles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zor_days.ini"));
    const QStringList lines = {QStringLiteral("21/03    ( Ã¤ )"), QStringLiteral("21/06    ( Juni )")};
    ASSERT_TRUE(WriteLineFile(path, lines));
    const QByteArray saved = ReadBytes(path);
    for (int cycle = 0; cycle < 2; ++cycle) {
        QStringList loaded;
        ASSERT_EQ(ReadLineFile(path, loaded), LineFileStatus::Ok);
        EXPECT_EQ(loaded, lines) << "cycle " << cycle;
        ASSERT_TRUE(WriteLineFile(path, loaded));
        EXPECT_EQ(ReadBytes(path), saved) << "cycle " << cycle;
    }
}

TEST(LineFileText, TextsWhoseWindows1252BytesLookLikeUtf8ReadBackUnchanged) {
    // "Ã¤" is C3 A4 in Windows-1252, which is "ä" in UTF-8; "ï»¿" is the byte order mark.
    for (const QString& text : {QStringLiteral("01/01 Ã¤"), QStringLiteral("ï»¿21/03"), QStringLiteral("Â°C, Ã¼ber")}) {
        EXPECT_TRUE(RepresentableIn1252(text));
        EXPECT_EQ(DecodeLineFileText(EncodeLineFileText(text)), text) << text.toStdString();
    }
    // Everything else keeps its single bytes, with or without UTF-8-like pairs beside.
    EXPECT_EQ(EncodeLineFileText(QStringLiteral("M\u00e4rz \u00c3")), QByteArray("M\xE4rz \xC3"));
}

TEST(LineFileText, SplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\nb\nc\rd")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\n\r\nb\r\n")), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitLines(QString()), QStringList());
    EXPECT_EQ(SplitLines(QStringLiteral("\n")), QStringList({""}));
}

TEST(LineFile, WriteIsAtomicAndReadReportsWhatItFound) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    QStringList lines;
    EXPECT_EQ(ReadLineFile(path, lines), LineFileStatus::Missing);
    EXPECT_EQ(ReadLineFile(dir.path(), lines), LineFileStatus::NotAFile);
    ASSERT_TRUE(WriteLineFile(path, {QStringLiteral("x"), QStringLiteral("ä")}));
    EXPECT_EQ(ReadBytes(path), QByteArray("x\r\n\xE4\r\n"));
    ASSERT_EQ(ReadLineFile(path, lines), LineFileStatus::Ok);
    EXPECT_EQ(lines, QStringList({"x", "ä"}));
    // No stray temporary files are left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.ini")});

    // A failed write (the folder does not exist) changes nothing.
    EXPECT_FALSE(WriteLineFile(dir.filePath(QStringLiteral("missing/a.ini")), {QStringLiteral("y")}));
    EXPECT_EQ(ReadBytes(path), QByteArray("x\r\n\xE4\r\n"));
}

TEST(LineFile, FilesBeyondTheLimitAreNotRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.ini"));
    WriteBytes(path, QByteArray(kMaxLineFileBytes + 1, 'a'));
    QStringList lines;
    EXPECT_EQ(ReadLineFile(path, lines), LineFileStatus::TooLarge);
    EXPECT_TRUE(lines.isEmpty());
}

}  // namespace
}  // namespace zorva
