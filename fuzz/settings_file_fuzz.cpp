// libFuzzer target: any bytes as a settings or dial-data file must read without a crash or
// undefined behaviour, never change the file unasked, and a file read as sound must write
// back and read back to the same lines.
#include "fuzz_support.h"

#include "state/dial_state.h"
#include "state/settings_file.h"
#include "text/recording_dialogs.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorva;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    const bool withColours = options & 1;
    const bool withDateLines = options & 2;
    const QString path = fuzz::WriteInput(QStringLiteral("zor.ini"), data, size);
    const qint64 modified = QFileInfo(path).lastModified().toMSecsSinceEpoch();

    DialState state;
    LoadDefaults(state);
    RecordingDialogs dialogs;  // every question gets the safe answer: nothing is rewritten
    StateFileReport report;
    const bool sound = ReadStateFile(state, path, withColours, withDateLines, dialogs, &report);
    if (QFileInfo(path).size() != static_cast<qint64>(size) ||
        QFileInfo(path).lastModified().toMSecsSinceEpoch() != modified)
        fuzz::PropertyBroken("the file was changed without the user's consent");
    if (sound != report.sound) fuzz::PropertyBroken("the result and the report disagree");
    if (!sound) return 0;

    const QStringList lines = BuildStateLines(state);
    const QString copy = fuzz::WorkFile(QStringLiteral("copy.zor"));
    if (!WriteStateFile(state, copy, dialogs)) fuzz::PropertyBroken("a sound state could not be written");
    DialState again;
    LoadDefaults(again);
    if (!ReadStateFile(again, copy, withColours, withDateLines, dialogs))
        fuzz::PropertyBroken("the written file does not read back as sound", dialogs.texts().join(u'\n'));
    const QStringList linesAgain = BuildStateLines(again);
    if (linesAgain != lines)
        fuzz::PropertyBroken("the written file reads back as another state",
                             lines.join(u'\n') + QStringLiteral("\n----\n") + linesAgain.join(u'\n'));
    return 0;
}
