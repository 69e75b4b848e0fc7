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
    EXPECT_EQ(ReadLineFile(dir.path(), lines), LineFileStatus::Unreadable);
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
