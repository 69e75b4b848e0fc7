#include "app/cli/cli.h"

#include <QGuiApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // A file-size limit then fails the write (and the save reports it) instead of killing us.
    std::signal(SIGXFSZ, SIG_IGN);
    // The whole command line belongs to the program: Qt would take -platform, -style,
    // -display, --reverse and more out of argv (and abort on some values) before the
    // commands see them. Qt gets the program name only; the arguments are decoded here as
    // Qt decodes them.
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

    // Rendering (PNG, PDF, SVG) needs a QGuiApplication; no window is ever shown, so a
    // platform from the environment could only fail (no display) or abort.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a runtime folder Qt warns on stderr, which belongs to the program's messages.
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        const std::string dir = "/tmp/zorva-runtime-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
    }
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 ? argv[0] : const_cast<char*>("zorva-cli"), nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return zorva::cli::Run(args, out, err);
}
