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
// The directory of the small fixture files.
inline QString dataPath(const QString& name) { return QStringLiteral(ZORVA_TEST_DATA "/") + name; }
}
