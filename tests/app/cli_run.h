#pragma once
// Runs one zorva-cli command line in-process and captures what it prints.

#include "app/cli/cli.h"

#include <QByteArray>
#include <QFile>
#include <QTextStream>

namespace zorva::cli::testing_support {

struct CliRun {
    int status;
    QString out;
    QString err;
};

inline CliRun run(const QStringList& args) {
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = Run(args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

// A file the command wrote, or nothing when there is none.
inline QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace zorva::cli::testing_support
