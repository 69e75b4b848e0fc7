#pragma once
// Shared helpers of the tests.

#include "text/recording_dialogs.h"

#include <QString>
#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace zorva::test {
// The small fixture files, and the build tree with the programs under test. Kept out of the
// headers so that test objects do not depend on where the tree is checked out (cache hits).
QString dataPath(const QString& name);
QString binaryPath(const QString& name);
}
