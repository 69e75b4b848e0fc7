// Writing and reading a dial-data file with a long date-line list: the work behind
// "Sonnenuhrdaten speichern/laden" and the start-up read.
#include "state/settings_file.h"
#include "text/recording_dialogs.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

int main() {
    using namespace zorva;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.zor"));
    DialState s = StartupState();
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 28; d += 3) s.dateLineList << QStringLiteral("%1/%2    Datum im März").arg(d, 2, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
    RecordingDialogs dialogs;
    constexpr int kRounds = 500;
    using Clock = std::chrono::steady_clock;
    double writeSeconds = 0, readSeconds = 0;
    int sound = 0;
    for (int i = 0; i < kRounds; ++i) {
        const auto t0 = Clock::now();
        WriteStateFile(s, path, dialogs);  // includes the flush to disk of the atomic save
        const auto t1 = Clock::now();
        DialState back = StartupState();
        sound += ReadStateFile(back, path, true, true, dialogs) ? 1 : 0;
        const auto t2 = Clock::now();
        writeSeconds += std::chrono::duration<double>(t1 - t0).count();
        readSeconds += std::chrono::duration<double>(t2 - t1).count();
        dialogs.clear();
    }
    std::printf("dial-data file with %lld date lines: write %.3f ms, read %.3f ms (%d/%d sound)\n",
                static_cast<long long>(s.dateLineList.size()), writeSeconds / kRounds * 1e3,
                readSeconds / kRounds * 1e3, sound, kRounds);
    return sound == kRounds ? 0 : 1;
}
