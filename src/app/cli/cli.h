#pragma once
// zorva-cli: a second front end over the same core, for batch use, scripting and tests.

#include "state/dial_state.h"
#include "text/recording_dialogs.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace zorva::cli {

enum Exit { kOk = 0, kFaultyInput = 1, kBadCommandLine = 2 };

struct Context {
    Context(QTextStream& o, QTextStream& e) : out(o), err(e) {}
    DialState state = StartupState();
    RecordingDialogs dialogs;  // prints every box to stderr; questions get the safe answer
    QTextStream& out;
    QTextStream& err;
    bool yes = false;          // --yes: questions are answered Yes / OK
    bool explicitSettings = false;
    QString settingsPath;      // the file of --settings, an input of every command
};

// Runs one command line (argv without the program name); returns the exit status.
int Run(const QStringList& args, QTextStream& out, QTextStream& err);

// Site option values: "47.25N", "9.55E", "-15" (a signed number is the program's own
// convention: north and west positive). Returns false on a malformed value.
bool ParseLatitude(const QString& text, double& value);
bool ParseLongitude(const QString& text, double& value);  // also zone meridians

// Removes "--name VALUE" from args. Returns false when the option is absent;
// sets `missingValue` when it is present without a value.
bool TakeOption(QStringList& args, const QString& name, QString& value, bool& missingValue);
// Removes a flag "--name"; true when it was present.
bool TakeFlag(QStringList& args, const QString& name);
// Reports an unusable value of an option on stderr; returns kBadCommandLine.
int BadOption(Context& ctx, const QString& option, const QString& value, const QString& why = {});
// Reports a missing argument of a command ("zorva-cli table: which table? (eot, ...)");
// returns kBadCommandLine.
int MissingArgument(Context& ctx, const QString& command, const QString& what, const QString& choices);
// Reports an argument the command needs and did not get ("zorva-cli position: TIME
// (hh:mm[:ss]) is missing"); returns kBadCommandLine.
int ArgumentIsMissing(Context& ctx, const QString& command, const QString& what);
// Reports leftover arguments a command does not know; returns kBadCommandLine.
int CheckNoExtraArgs(Context& ctx, const QStringList& args, const QString& command);

// Image sizes "WIDTHxHEIGHT": 100..kMaxImageSide pixels a side and at most kMaxImageBytes
// of pixels (4 bytes each). Beyond that a drawing takes minutes and gigabytes.
inline constexpr int kMinImageSide = 100;
inline constexpr int kMaxImageSide = 16000;
inline constexpr qint64 kMaxImageBytes = 256LL * 1024 * 1024;
// Returns kOk and sets `size`, or reports the value of `option` and returns kBadCommandLine.
int ParseImageSize(Context& ctx, const QString& option, const QString& text, QSize& size);

// Refuses an output that would replace one of the command's inputs (--settings included,
// also through links) or that exists as something other than a regular file (a folder, a
// FIFO that would block the write, a device). kOk or kBadCommandLine with the message.
int CheckOutputPath(Context& ctx, const QString& output, const QStringList& inputs = {});

// "--terrain P.ele": the sun rises and sets over that horizon profile. kOk also when the
// option is absent; kBadCommandLine for a missing or unreadable profile.
int TakeTerrainOption(Context& ctx, QStringList& args);

// --- commands, one file each; args hold what follows the command word
int CommandSun(Context& ctx, QStringList args);
int CommandPosition(Context& ctx, QStringList args);
int CommandAzimuthTime(Context& ctx, QStringList args);
int CommandTable(Context& ctx, QStringList args);
int CommandDraw(Context& ctx, QStringList args);
int CommandGraph(Context& ctx, QStringList args);
int CommandHpgl2Dxf(Context& ctx, QStringList args);
int CommandSettings(Context& ctx, QStringList args);
int CommandHorizon(Context& ctx, QStringList args);
int CommandPlaneSunlight(Context& ctx, QStringList args);

// Loads a settings or dial-data file into ctx.state (for --settings); false when faulty.
bool LoadSettingsFile(Context& ctx, const QString& path);
// Loads the user's settings file when there is one (the GUI's start-up read, without questions).
void LoadDefaultSettings(Context& ctx);

// Until a command's core lands it says so plainly instead of pretending.
int NotAvailable(Context& ctx, const QString& command);

}  // namespace zorva::cli
