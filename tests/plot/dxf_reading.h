#pragma once
// Runs the converter on plot text and reads back what it wrote, for the converter tests.

#include "plot/hpgl_to_dxf.h"
#include "text/recording_dialogs.h"

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace zorva::test {

struct DxfEntity {
    QByteArray name;
    std::vector<std::pair<QByteArray, QByteArray>> groups;  // code line (as written), value
    // The value of the first group whose trimmed code is `code`; empty when absent.
    QByteArray value(const char* code) const;
    double number(const char* code) const;
};

struct Conversion {
    DxfConversion result;
    bool fileExists = false;
    QByteArray dxf;                  // the DXF file's bytes
    std::vector<DxfEntity> entities;  // the ENTITIES section
    RecordingDialogs dialogs;
    QString plotPath;
    std::vector<DxfEntity> ofType(const char* name) const;
    // Vertices of each POLYLINE as "x,y" texts in order.
    std::vector<std::vector<QByteArray>> polylines() const;
};

Conversion ConvertText(const QByteArray& plot, double divisor = 40, int lineWeight = 1,
                       Language language = Language::German);
// Splits a DXF file at its line ends and parses the entities section.
std::vector<DxfEntity> ReadEntities(const QByteArray& dxf);

}  // namespace zorva::test
