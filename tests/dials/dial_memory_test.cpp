// One process drawing thousands of different dials (a batch run of zorva-cli, a long GUI
// session) must not grow: every cache on the way is bounded.
#include "dials/dial_render.h"
#include "state/dial_state.h"
#include "state/settings_file.h"
#include "text/recording_dialogs.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

namespace zorva {
namespace {

// Peak resident set of the process so far, kB.
long PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

// A dial unlike the one before: another family, site, size and scale, so that texts come
// in other sizes and at other angles each time.
DialState VariedDial(QRandomGenerator& rng) {
    static const char* const kCodes[] = {"h", "v", "i", "sh", "sv", "si", "q0", "z0", "z1", "k", "a", "m0"};
    DialState s = StartupState();
    ApplyDialCode(s, QString::fromLatin1(kCodes[rng.bounded(int(std::size(kCodes)))]));
    s.latitude = (rng.bounded(2) ? 1 : -1) * (10.0 + rng.bounded(60.0));
    s.longitude = rng.bounded(360.0) - 180.0;
    s.zoneMeridian = std::round(s.longitude / 15.0) * 15.0;
    s.referenceYear = 1900 + rng.bounded(200);
    s.gnomonLength = 10.0 + rng.bounded(90.0);
    s.wallDeclination = rng.bounded(160.0) - 80.0;
    s.planeInclination = 10.0 + rng.bounded(150.0);
    s.zoomFactor = 0.5 + rng.bounded(3.0);
    s.babylonianHours = rng.bounded(2);
    s.italianHours = rng.bounded(2);
    s.temporalHours = rng.bounded(2);
    s.meanTimeLines = rng.bounded(2);
    return s;
}

TEST(DialMemory, TwoThousandDifferentDialsKeepAFlatPeak) {
    QRandomGenerator rng(2026);
    RecordingDialogs dialogs;
    dialogs.answerAll = false;
    const auto draw = [&] {
        const DialState s = VariedDial(rng);
        const QSize size(300 + rng.bounded(700), 200 + rng.bounded(500));
        dialogs.clear();
        const QImage image = RenderDialImage(s, size, dialogs);
        ASSERT_EQ(image.size(), size);
    };
    const auto start = std::chrono::steady_clock::now();
    constexpr int kWarmUp = 300, kDials = 2000;
    for (int i = 0; i < kWarmUp; ++i) draw();
    const long warm = PeakResidentKb();
    for (int i = kWarmUp; i < kDials; ++i) {
        draw();
        if (i % 200 == 0) std::printf("  %d dials: peak %ld kB\n", i, PeakResidentKb());
    }
    const long peak = PeakResidentKb();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("  peak after %d dials %ld kB, after %d dials %ld kB (%.1f s)\n", kWarmUp, warm, kDials, peak, seconds);
    ASSERT_GT(warm, 0);
    // Flat: what the first dials needed is enough for all the others (a few MB of slack for
    // a larger image among the later ones).
    EXPECT_LT(peak - warm, 24 * 1024) << "grew from " << warm << " kB to " << peak << " kB";
}

}  // namespace
}  // namespace zorva
