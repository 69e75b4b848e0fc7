#include "test_support.h"

namespace zorva::test {

QString dataPath(const QString& name) { return QStringLiteral(ZORVA_TEST_DATA "/") + name; }

// An empty name gives the folder itself.
QString binaryPath(const QString& name) {
    return name.isEmpty() ? QStringLiteral(ZORVA_BINARY_DIR) : QStringLiteral(ZORVA_BINARY_DIR "/") + name;
}

}  // namespace zorva::test
