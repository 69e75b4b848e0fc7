#pragma once
// Runs one zorva-cli command line in-process and captures what it prints.

#include "app/cli/cli.h"

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

}  // namespace zorva::cli::testing_support
