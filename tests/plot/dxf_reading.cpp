#include "dxf_reading.h"

#include <QFile>
#include <QTemporaryDir>

namespace zorva::test {

QByteArray DxfEntity::value(const char* code) const {
    for (const auto& [c, v] : groups)
        if (c.trimmed() == code) return v;
    return {};
}

double DxfEntity::number(const char* code) const { return value(code).trimmed().toDouble(); }

std::vector<DxfEntity> Conversion::ofType(const char* name) const {
    std::vector<DxfEntity> out;
    for (const auto& e : entities)
        if (e.name == name) out.push_back(e);
    return out;
}

std::vector<std::vector<QByteArray>> Conversion::polylines() const {
    std::vector<std::vector<QByteArray>> out;
    bool open = false;
    for (const auto& e : entities) {
        if (e.name == "POLYLINE") {
            out.emplace_back();
            open = true;
        } else if (e.name == "VERTEX" && open) {
            out.back().push_back(e.value("10") + ',' + e.value("20"));
        } else if (e.name == "SEQEND") {
            open = false;
        }
    }
    return out;
}

std::vector<DxfEntity> ReadEntities(const QByteArray& dxf) {
    QByteArray text = dxf;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    const QList<QByteArray> lines = text.split('\n');
    std::vector<DxfEntity> out;
    qsizetype i = lines.indexOf("ENTITIES");
    if (i < 0) return out;
    i += 2;  // the code line that introduces the first entity
    while (i < lines.size() && lines[i] != "ENDSEC") {
        DxfEntity e;
        e.name = lines[i++];
        while (i + 1 < lines.size() && lines[i].trimmed() != "0") {
            e.groups.emplace_back(lines[i], lines[i + 1]);
            i += 2;
        }
        ++i;  // closing code line
        out.push_back(std::move(e));
    }
    return out;
}

Conversion ConvertText(const QByteArray& plot, double divisor, int lineWeight, Language language) {
    Conversion c;
    QTemporaryDir dir;
    c.plotPath = dir.filePath(QStringLiteral("test.plt"));
    const QString dxfPath = dir.filePath(QStringLiteral("test.dxf"));
    QFile f(c.plotPath);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(plot);
        f.close();
    }
    c.result = ConvertPlotToDxf(c.plotPath, dxfPath, lineWeight, divisor, c.dialogs, language);
    QFile d(dxfPath);
    c.fileExists = d.exists();
    if (d.open(QIODevice::ReadOnly)) c.dxf = d.readAll();
    c.entities = ReadEntities(c.dxf);
    return c;
}

}  // namespace zorva::test
