// One calculation of each mode of the sun-position window, as the window runs it on
// "Berechnung": the result texts and the print-list block. Each must answer at once.
#include "astro/sun_position_report.h"
#include "text/recording_dialogs.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

double MicrosecondsPerCall(int calls, const std::function<int(int)>& calc, long& checksum) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) checksum += calc(i);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / calls * 1e6;
}

}  // namespace

int main() {
    using namespace zorva;
    constexpr int kCalls = 2000;
    const Language lang = Language::German;
    // A different day of 1999 for each call, at the reference site.
    auto site = [](int i) { return ReportSite{47.25, -9.55, -15, 1999, 1 + i % 12, 1 + i % 28}; };
    long checksum = 0;
    RecordingDialogs dialogs;

    const double eot = MicrosecondsPerCall(kCalls, [&](int i) {
        return static_cast<int>(EoTDeclinationAtNoon(site(i), lang).printLines.size());
    }, checksum);
    const double riseSet = MicrosecondsPerCall(kCalls, [&](int i) {
        return static_cast<int>(RiseSetOfDay(site(i), i % 3, lang).printLines.size());
    }, checksum);
    const double position = MicrosecondsPerCall(kCalls, [&](int i) {
        return static_cast<int>(SunPositionAt(site(i), (i % 96) / 4.0, ClockKind::Zone, lang).printLines.size());
    }, checksum);
    const double azimuth = MicrosecondsPerCall(kCalls, [&](int i) {
        dialogs.clear();
        return static_cast<int>(SunAtAzimuth(site(i), -60 + i % 120, dialogs, lang).printLines.size());
    }, checksum);

    std::printf("sun-position window, one calculation with its print block (%d calls each):\n", kCalls);
    std::printf("  EoT and declination: %8.2f us\n", eot);
    std::printf("  rise and set:        %8.2f us\n", riseSet);
    std::printf("  position at a time:  %8.2f us\n", position);
    std::printf("  time for an azimuth: %8.2f us\n", azimuth);
    std::printf("checksum %ld\n", checksum);
    return 0;
}
