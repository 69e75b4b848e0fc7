#pragma once
// Reading our plot files with programs of their own: hp2xx for HPGL, python3-ezdxf for DXF.

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace zorva::test {

// hp2xx draws `plot` into `png` without a complaint: no error, warning or unknown command,
// and the only remark it may make is about the pens above its eight (the plots use up to 12).
// `dotsAllowed`: its remark on a chord of no length (the last of an arc it cuts into chords)
// is let pass.
void ExpectHp2xxDrawsWithoutComplaint(const QString& plot, const QString& png, const std::string& what,
                                      bool dotsAllowed = false);

// Debian's interpreter with ezdxf first (a python3 earlier on the PATH may lack Debian's
// modules); empty when there is none.
QString PythonWithEzdxf();

// What ezdxf finds in a DXF file: its audit's errors, the model space's entities and their
// extents in drawing units (millimetres).
struct DxfSummary {
    int errors = -1;
    int entities = 0;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};
// One summary per file, in their order; fails the test when the reader cannot run.
std::vector<DxfSummary> ReadDxfSummaries(const QString& python, const QStringList& files);
// Each file reads without an error, has more than `entities` entities and lies on the
// sheet of 403.925 x 275.95 mm, give or take `slackMm`.
void ExpectDxfFilesOnTheSheet(const QString& python, const QStringList& files, int entities, double slackMm);

}  // namespace zorva::test
