#include "astro/table_export.h"

#include "astro/tables.h"
#include "state/safe_save.h"
#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QFileInfo>

namespace zorva {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Characters from..to (1-based, inclusive) of a line; shorter lines give shorter fields.
QString Piece(const QString& line, int from, int to) { return line.mid(from - 1, to - from + 1); }

QString Quoted(const QString& field) {
    QString f = field;
    f.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + f + QLatin1Char('"');
}

QString CsvRow(const QStringList& fields) {
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& f : fields) quoted << Quoted(f);
    return quoted.join(QLatin1Char(';')) + kCrLf;
}

QString HeaderModeRow(const QString& line) { return CsvRow({QString(), line}); }

QString MonthDataRow(const QString& line) {
    QStringList fields{Piece(line, 1, 11)};
    for (int start = 12; start <= 61; start += 7) fields << Piece(line, start, start + 6);
    return CsvRow(fields);
}

QString YearDataRow(const QString& line, int width) {
    QStringList fields{Piece(line, 1, 3)};
    for (int i = 1; i <= 12; ++i) {
        const int start = width * i - (width - 4);  // 7 i - 3, or 9 i - 5 for the transit table
        fields << Piece(line, start, start + width - 1);
    }
    return CsvRow(fields);
}

}  // namespace

QString TableFileFilter(Language lang) {
    return lang == Language::English ? QStringLiteral("Text file (*.TXT)|*.TXT|Excel file (*.CSV)|*.CSV")
                                     : QStringLiteral("Textdatei (*.TXT)|*.TXT|Excel-Datei (*.CSV)|*.CSV");
}

QString ProposedTableFileName(TableFileKind kind) {
    return kind == TableFileKind::Csv ? QStringLiteral("text.csv") : QStringLiteral("text.txt");
}

QString TableFileName(const QString& chosen, TableFileKind kind) {
    const QFileInfo info(chosen);
    QString name = info.fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0) name.truncate(dot);
    if (name.isEmpty()) name = QString::fromLatin1(kDefaultTableFileName);
    name += kind == TableFileKind::Csv ? QStringLiteral(".csv") : QStringLiteral(".txt");
    const QString folder = chosen.left(chosen.size() - info.fileName().size());
    return folder + name;
}

QString TableFileText(const QStringList& linesIn, TableFamily family, TableFileKind kind, const DialState& s) {
    // The window's list is not changed: saving twice writes the same file twice.
    QStringList lines = linesIn;
    if (lines.isEmpty() || lines.front() != QStringLiteral(" ")) lines.prepend(QStringLiteral(" "));
    const Language lang = s.language;
    const bool csv = kind == TableFileKind::Csv;
    QString out;

    if (family == TableFamily::Month) {
        const QString q = csv ? QStringLiteral("\"") : QString();
        out += q + label(49, lang) + label(84, lang) + label(85, lang) + RealToText(7, 2, s.longitude) + q + kCrLf;
        out += q + QString(24, QLatin1Char(' ')) + label(86, lang) + QStringLiteral("             ... ") +
               RealToText(7, 2, s.latitude) + q + kCrLf + kCrLf;
        const QString header = label(72, lang);
        if (csv) {
            out += CsvRow({Piece(header, 1, 12), Piece(header, 13, 25), QString(), Piece(header, 26, 38), QString(),
                           Piece(header, 39, 51), QString(), Piece(header, 52, 61), Piece(header, 63, 72)});
            lines.prepend(label(73, lang));
        } else {
            // The second header runs into the first list line, a single blank.
            out += header + kCrLf + label(73, lang);
        }
    }

    if (!csv) {
        for (const QString& line : lines) out += line + kCrLf;
        return out;
    }

    if (family == TableFamily::Month) {
        const int footerStart = lines.size() - kMonthTableFooterLines;
        for (int i = 0; i < lines.size(); ++i)
            out += i >= footerStart ? HeaderModeRow(lines[i]) : MonthDataRow(lines[i]);
        return out;
    }
    const int width = family == TableFamily::TransitYear ? 9 : 7;
    bool data = false;
    for (const QString& line : lines) {
        if (!data && Piece(line, 7, 9) == QStringLiteral("Jan")) data = true;
        out += data ? YearDataRow(line, width) : HeaderModeRow(line);
    }
    return out;
}

QByteArray TableFileBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) bytes += ch.unicode() < 0x100 && !(ch.unicode() >= 0x80 && ch.unicode() < 0xA0)
                                             ? static_cast<char>(ch.unicode())
                                             : '?';
    return bytes;
}

bool SaveTableFile(const QString& path, const QString& text, UserDialogs& dialogs, Language lang) {
    SafeSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        dialogs.inform(caption(CaptionKind::Error, lang),
                       QStringLiteral("Open error: File  ") + path + QStringLiteral("\r\n") + file.errorText(lang),
                       Icon::Error);
        return false;
    }
    const QByteArray bytes = TableFileBytes(text);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancel();
        dialogs.inform(caption(CaptionKind::Error, lang),
                       message(53, lang) + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") + file.errorText(lang),
                       Icon::Error);
        return false;
    }
    return true;
}

}  // namespace zorva
