#include "plot/plot_save.h"

#include "plot/hpgl_to_dxf.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace zorva {
namespace {

void reportWriteError(UserDialogs& dialogs, Language language, const QString& fileName, const QString& reason) {
    dialogs.inform(caption(CaptionKind::Error, language),
                   message(53, language) + QStringLiteral("\r\n") + fileName + QStringLiteral(" (") + reason +
                       QLatin1Char(')'),
                   Icon::Error);
}

// Plots into the chosen HPGL file; the previous file survives a failed plot.
bool WriteHpgl(const QString& fileName, int p, const PlotWriter& writer, UserDialogs& dialogs, Language language) {
    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    if (QFileInfo(fileName).isDir() || !file.open(QIODevice::WriteOnly)) {
        reportWriteError(dialogs, language, fileName, file.errorString());
        return false;
    }
    try {
        PlotStream stream(file, p);
        writer(stream);
    } catch (const PlotWriteError& e) {
        file.cancelWriting();
        reportWriteError(dialogs, language, fileName, e.reason());
        return false;
    }
    if (!file.commit()) {
        reportWriteError(dialogs, language, fileName, file.errorString());
        return false;
    }
    return true;
}

// Plots into a unique temporary file (removed when this returns) and converts it.
bool WriteDxf(const QString& fileName, int p, int lineWeight, const PlotWriter& writer, UserDialogs& dialogs,
              Language language, QStringList& messages) {
    QTemporaryFile plot(QDir::tempPath() + QStringLiteral("/zorva-XXXXXX.plt"));
    if (!plot.open()) {
        reportWriteError(dialogs, language, plot.fileTemplate(), plot.errorString());
        return false;
    }
    try {
        PlotStream stream(plot, p);
        writer(stream);
    } catch (const PlotWriteError& e) {
        reportWriteError(dialogs, language, plot.fileName(), e.reason());
        return false;
    }
    plot.close();
    const DxfConversion conversion =
        ConvertPlotToDxf(plot.fileName(), fileName, lineWeight, kPlotUnitsPerMm * p, dialogs, language);
    messages = conversion.messages;
    return conversion.converted;
}

}  // namespace

int ResolutionFactor(const PlotSaveRequest& request) {
    return request.format == PlotFormat::Dxf && request.highResolution ? 25 : 1;
}

QString ConeFileName(const QString& fileName) {
    const QFileInfo info(fileName);
    QString name = info.fileName();
    name.insert(std::max<qsizetype>(0, name.size() - 4), QStringLiteral("Cone"));
    const QString folder = fileName.left(fileName.size() - info.fileName().size());
    return folder + name;
}

PlotSaveResult SavePlot(const PlotSaveRequest& request, const PlotWriter& writeDrawing, UserDialogs& dialogs,
                        Language language, const PlotWriter& writeCone) {
    PlotSaveResult result;
    const int p = ResolutionFactor(request);
    const auto writeOne = [&](const QString& fileName, const PlotWriter& writer) {
        if (request.format == PlotFormat::Hpgl) return WriteHpgl(fileName, p, writer, dialogs, language);
        return WriteDxf(fileName, p, request.lineWeight, writer, dialogs, language, result.conversionMessages);
    };
    const auto savedBox = [&](const QString& fileName) {
        dialogs.inform(caption(CaptionKind::Information, language),
                       QStringLiteral("\r\n       File ") + QFileInfo(fileName).fileName() +
                           QStringLiteral(" saved!     "),
                       Icon::Information);
    };

    if (!writeOne(request.fileName, writeDrawing)) return result;
    if (!writeCone) {
        if (request.format == PlotFormat::Hpgl) savedBox(request.fileName);
        result.ok = true;
        return result;
    }

    const QString cone = ConeFileName(request.fileName);
    dialogs.inform(caption(CaptionKind::Achtung, language),
                   QStringLiteral("\r\n") +
                       (language == Language::English ? QStringLiteral("Cone cross section and unfolded cone in file ")
                                                      : QStringLiteral("Kegelkonstruktion (Querschnitt, Mantel) in Datei ")) +
                       QStringLiteral(" \"") + QFileInfo(cone).fileName() + QStringLiteral("\" !!!"),
                   Icon::Warning);
    if (!writeOne(cone, writeCone)) return result;
    if (request.format == PlotFormat::Hpgl) savedBox(cone);
    result.secondFileName = cone;
    result.ok = true;
    return result;
}

}  // namespace zorva
