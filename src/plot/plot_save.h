#pragma once
// Saving a drawing as a plot file or as DXF: the one place that opens, names, closes,
// converts and deletes plot files. Constructions only write into the PlotStream they get.

#include "plot/plot_stream.h"
#include "text/language.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace zorva {

class UserDialogs;

enum class PlotFormat { Hpgl, Dxf };

struct PlotSaveRequest {
    QString fileName;              // the file the user chose
    PlotFormat format = PlotFormat::Hpgl;
    bool highResolution = false;   // the writer can plot at 25-fold resolution for DXF
    int lineWeight = 1;            // plotLineWeight, 1..3
};

using PlotWriter = std::function<void(PlotStream&)>;

struct PlotSaveResult {
    bool ok = false;               // every file was written (and converted)
    QStringList conversionMessages;  // the message list of the last DXF conversion
    QString secondFileName;        // the cone file, when one was written
};

// p of the plot: 25 when a high-resolution writer plots for DXF, else 1.
int ResolutionFactor(const PlotSaveRequest& request);
// The second file of the cone-shadow dial: "Cone" before the last four characters of the
// name ("dial.dxf" -> "dialCone.dxf"), in the same folder.
QString ConeFileName(const QString& fileName);

// The box text that tells a drawing file was saved: "Datei NAME gespeichert!".
QString DrawingSavedText(const QString& fileName, Language language);

// HPGL: the writer plots straight into the chosen file (replaced only when complete).
// DXF: the writer plots into a unique temporary file, which is converted into the chosen file
// with the divisor 40 × p and deleted. With `writeCone`, a second plot follows into
// ConeFileName(fileName), announced by a box. Failures are reported through `dialogs`.
PlotSaveResult SavePlot(const PlotSaveRequest& request, const PlotWriter& writeDrawing, UserDialogs& dialogs,
                        Language language, const PlotWriter& writeCone = {});

}  // namespace zorva
