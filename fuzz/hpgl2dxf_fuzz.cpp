// libFuzzer target: any bytes as a plot file must convert without a crash, undefined
// behaviour, runaway memory or an endless loop, and a converted DXF must be whole.
#include "plot/hpgl_to_dxf.h"
#include "text/user_dialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

class SilentDialogs : public zorva::UserDialogs {
public:
    void inform(const QString&, const QString&, zorva::Icon) override { ++boxes; }
    zorva::Answer ask(const QString&, const QString&, zorva::Buttons, zorva::Icon) override {
        return zorva::Answer::Cancel;
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return {}; }
    int boxes = 0;
};

// A DXF file is a sequence of (group code, value) line pairs; a value that broke into two
// lines (a line break inside a label, say) would shift every later code.
bool WellFormed(const QByteArray& dxf) {
    QByteArray text = dxf;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || !lines.back().isEmpty()) return false;
    lines.removeLast();
    if (lines.size() % 2 != 0 || lines.back() != "EOF") return false;
    for (qsizetype i = 0; i < lines.size(); i += 2) {
        bool ok = false;
        lines[i].trimmed().toInt(&ok);
        if (!ok) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In memory where possible: every save syncs the DXF file to its disk.
    static QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/zorva-fuzz-XXXXXX")
                                                                      : QString());
    static const QString plotPath = dir.filePath(QStringLiteral("in.plt"));
    static const QString dxfPath = dir.filePath(QStringLiteral("out.dxf"));

    // The first byte picks the divisor and the line weight.
    double divisor = 40;
    int lineWeight = 1;
    if (size > 0) {
        divisor = (data[0] & 1) ? 1000 : 40;
        lineWeight = 1 + (data[0] >> 1) % 3;
        ++data;
        --size;
    }
    {
        QFile plot(plotPath);
        if (!plot.open(QIODevice::WriteOnly)) std::abort();
        plot.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    SilentDialogs dialogs;
    const zorva::DxfConversion result = ConvertPlotToDxf(plotPath, dxfPath, lineWeight, divisor, dialogs);
    if (result.messages.size() > 1000) std::abort();
    if (result.dxfWritten) {
        QFile dxf(dxfPath);
        if (!dxf.open(QIODevice::ReadOnly) || !WellFormed(dxf.readAll())) std::abort();
    }
    QFile::remove(dxfPath);
    return 0;
}
