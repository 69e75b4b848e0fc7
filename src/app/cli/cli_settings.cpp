#include "app/cli/cli.h"

#include "state/date_lines.h"
#include "state/preferences.h"
#include "state/settings_file.h"
#include "state/settings_location.h"
#include "state/text_lines.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zorva::cli {
namespace {

QString ProgramDirectory() {
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() + QLatin1Char('/') : QString();
}

void FillDateLines(Context& ctx, UserDialogs& dialogs) {
    const QString programDir = ProgramDirectory();
    FillEmptyDateLines(ctx.state, programDir.isEmpty() ? QString() : DateLinesFilePath(programDir), dialogs, false);
}

QString Describe(const StateFileReport& r) {
    if (r.sound) return QStringLiteral("OK");
    if (r.fileMissing) return QStringLiteral("faulty: the file does not exist");
    if (r.unreadable) return QStringLiteral("faulty: the file cannot be read as a settings file");
    if (r.structuralFault)
        return QStringLiteral(
            "faulty: the markers [Farben], [Zeiten], [Datumslinien] are missing or out of order, "
            "or the file has 25 lines or fewer; nothing was read");
    if (r.failingLine > 0)
        return QStringLiteral("faulty at line %1: the lines before it were read, the values from it on were not")
            .arg(r.failingLine);
    return QStringLiteral("faulty: some values were replaced or skipped (see the messages)");
}

// Reads FILE as the program would and reports every message, without ever changing it:
// with --yes the corrections are made on a copy in a temporary folder.
int CheckFile(Context& ctx, const QString& file) {
    const QFileInfo info(file);
    QTemporaryDir tmp;
    QString readPath = file;
    // A file too large to be read, or a directory, is reported without copying it.
    const bool copyable = info.isFile() && info.size() <= kMaxLineFileBytes;
    if (!info.exists() || copyable) {
        if (!tmp.isValid()) {
            ctx.err << "zorva-cli settings check: no temporary folder for a working copy\n";
            return kFaultyInput;
        }
        readPath = tmp.filePath(info.fileName().isEmpty() ? QStringLiteral("file") : info.fileName());
        if (copyable && !QFile::copy(file, readPath)) readPath = file;
    }

    RecordingDialogs dialogs;
    // Without a copy every question must be answered No: only a Yes ever writes.
    dialogs.answerAll = ctx.yes && readPath != file;
    dialogs.onEvent = [&ctx, &readPath, &file](const DialogEvent& e) {
        DialogEvent shown = e;
        if (readPath != file) {
            shown.text.replace(readPath, file);
        }
        if (ctx.dialogs.onEvent) ctx.dialogs.onEvent(shown);
    };
    StateFileReport report;
    ReadStateFile(ctx.state, readPath, true, true, dialogs, &report);
    ctx.out << file << ": " << Describe(report) << "\n";
    if (report.corrected) ctx.out << file << ": the correction was made on a copy; the file is unchanged\n";
    ctx.out.flush();
    return report.sound ? kOk : kFaultyInput;
}

}  // namespace

int CommandSettings(Context& ctx, QStringList args) {
    if (args.isEmpty() || (args.front() != QLatin1String("check") && args.front() != QLatin1String("write"))) {
        ctx.err << "zorva-cli settings: expected 'check FILE' or 'write FILE'\n";
        ctx.err.flush();
        return kBadCommandLine;
    }
    const QString sub = args.takeFirst();
    if (args.isEmpty()) {
        ctx.err << "zorva-cli settings " << sub << ": missing FILE\n";
        ctx.err.flush();
        return kBadCommandLine;
    }
    const QString file = args.takeFirst();
    if (const int status = CheckNoExtraArgs(ctx, args, QStringLiteral("settings ") + sub); status != kOk)
        return status;
    if (sub == QLatin1String("check")) return CheckFile(ctx, file);
    if (const int status = CheckOutputPath(ctx, file); status != kOk) return status;
    return WriteStateFile(ctx.state, file, ctx.dialogs) ? kOk : kFaultyInput;
}

bool LoadSettingsFile(Context& ctx, const QString& path) {
    const bool sound = ReadStateFile(ctx.state, path, true, true, ctx.dialogs);
    FillDateLines(ctx, ctx.dialogs);
    // The preferences that go with a settings file lie beside it.
    LoadPreferences(ctx.state, PreferencesPathBeside(path));
    return sound;
}

void LoadDefaultSettings(Context& ctx) {
    // The user did not name this file: whatever --yes says, it is never rewritten from here.
    RecordingDialogs dialogs;
    dialogs.onEvent = ctx.dialogs.onEvent;
    const QString programDir = ProgramDirectory();
    if (!programDir.isEmpty()) {
        const QString path = SettingsFilePath(programDir);
        if (QFileInfo::exists(path)) ReadStateFile(ctx.state, path, true, true, dialogs);
        LoadPreferences(ctx.state, PreferencesFilePath(programDir));
    }
    // Like the window program's start: an empty list gets the date lines it would show.
    FillDateLines(ctx, dialogs);
}

}  // namespace zorva::cli
