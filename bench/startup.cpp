// Time from starting the program to its first painted main window, the anchor being a bare Qt
// program that shows an empty main window the same way (this program itself with --bare),
// both started and measured the same way in the same run. The start must stay under 0.3 s.
// Each start runs with a fresh, empty settings folder and leaves at its first paint
// (ZORVA_EXIT_AT_FIRST_PAINT), so nothing but the start is measured.
#include "app/exit_at_first_paint.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int Bare(int argc, char** argv) {
    QApplication app(argc, argv);
    zorva::ExitAtFirstPaint exitAtFirstPaint;
    app.installEventFilter(&exitAtFirstPaint);
    QMainWindow window;
    window.showMaximized();
    return QApplication::exec();
}

// Median wall time in milliseconds of `runs` starts of `program`.
double MedianStartMs(const QString& program, const QStringList& args, int runs) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir home;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        env.insert(QStringLiteral("ZORVA_EXIT_AT_FIRST_PAINT"), QStringLiteral("1"));
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")) && !env.contains(QStringLiteral("DISPLAY")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer t;
        t.start();
        p.start(program, args);
        if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            std::fprintf(stderr, "%s did not start and end cleanly\n", qPrintable(program));
            return -1;
        }
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--bare") return Bare(argc, argv);
    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString zorva = QCoreApplication::applicationDirPath() + QStringLiteral("/zorva");
    constexpr int kRuns = 15;
    const double bare = MedianStartMs(self, {QStringLiteral("--bare")}, kRuns);
    const double ours = MedianStartMs(zorva, {}, kRuns);
    if (bare < 0 || ours < 0) return 2;
    std::printf("start to the first painted main window, median of %d starts:\n"
                "  bare Qt main window (anchor) %.0f ms\n  zorva                       %.0f ms (%.2fx the anchor; goal under 300 ms)\n",
                kRuns, bare, ours, ours / bare);
    return ours < 300 ? 0 : 1;
}
