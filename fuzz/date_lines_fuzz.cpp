// libFuzzer target: any bytes as a date-line list ("zor_days.ini") must read without a crash
// or undefined behaviour; every entry kept is a valid date, and the kept list written back
// reads back to the same entries.
#include "fuzz_support.h"

#include "state/date_lines.h"
#include "state/dial_state.h"
#include "text/recording_dialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorva;
    const uint8_t options = fuzz::TakeOptionByte(data, size);
    const QString path = fuzz::WriteInput(QStringLiteral("zor_days.ini"), data, size);

    DialState state;
    LoadDefaults(state);
    // Leap and common years both, so that 29/02 is tried either way.
    state.referenceYear = (options & 1) ? 2000 : 1999;
    state.language = (options & 2) ? Language::English : Language::German;
    RecordingDialogs dialogs;
    if (!LoadDateLineFile(state, path, dialogs)) return 0;
    for (const QString& entry : state.dateLineList) {
        if (!ValidateDateLine(entry, state.referenceYear).valid)
            fuzz::PropertyBroken("an invalid entry was kept", entry);
    }

    const QString copy = fuzz::WorkFile(QStringLiteral("copy_days.ini"));
    if (!SaveDateLineFile(state.dateLineList, copy, state.referenceYear, dialogs, state.language))
        fuzz::PropertyBroken("the kept entries could not be written");
    DialState again = state;
    again.dateLineList.clear();
    if (!LoadDateLineFile(again, copy, dialogs)) fuzz::PropertyBroken("the written list does not read back");
    if (again.dateLineList != state.dateLineList)
        fuzz::PropertyBroken("the written list reads back as other entries",
                             state.dateLineList.join(u'\n') + QStringLiteral("\n----\n") +
                                 again.dateLineList.join(u'\n'));
    return 0;
}
