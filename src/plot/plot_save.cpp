#include "plot/plot_save.h"

#include "plot/hpgl_to_dxf.h"
#include "state/safe_save.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <unistd.h>

namespace zorva {
namespace {

}  // namespace

QString DrawingSavedText(const QString& fileName, Language language) {
    const bool en = language == Language::English;
    return (en ? QStringLiteral("\r\n       File ") : QStringLiteral("\r\n       Datei ")) + QFileInfo(fileName).fileName() +
           (en ? QStringLiteral(" saved!     ") : QStringLiteral(" gespeichert!     "));
}

namespace {

void reportWriteError(UserDialogs& dialogs, Language language, const QString& fileName, const QString& reason) {
    dialogs.inform(caption(CaptionKind::Error, language),
                   message(53, language) + QStringLiteral("\r\n") + fileName + QStringLiteral(" (") + reason +
                       QLatin1Char(')'),
                   Icon::Error);
}

// Plots into the chosen HPGL file; the previous file survives a failed plot.
bool WriteHpgl(const QString& fileName, int p, const PlotWriter& writer, UserDialogs& dialogs, Language language) {
    SafeSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        reportWriteError(dialogs, language, fileName, file.errorText(language));
        return false;
    }
    try {
        PlotStream stream(file, p);
        writer(stream);
    } catch (const PlotWriteError& e) {
        file.cancel();
        // A refused write carries the device's reason; a refused construction its own.
        reportWriteError(dialogs, language, fileName, file.error().failed() ? file.errorText(language) : e.reason());
        return false;
    }
    if (!file.commit()) {
        reportWriteError(dialogs, language, fileName, file.errorText(language));
        return false;
    }
    return true;
}

// The intermediate plot of a DXF save: an unnamed file, so that a killed process leaves
// nothing in the temporary folder; a named temporary file where the system has none.
class IntermediatePlot {
public:
    bool open() {
        const int fd = ::open(QFile::encodeName(QDir::tempPath()).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0) {
            path_ = QStringLiteral("/proc/self/fd/%1").arg(fd);
            if (QFileInfo::exists(path_) && unnamed_.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle))
                return true;
            ::close(fd);
        }
        path_.clear();
        return named_.open();
    }
    QFileDevice& device() { return path_.isEmpty() ? static_cast<QFileDevice&>(named_) : unnamed_; }
    QString path() const { return path_.isEmpty() ? named_.fileName() : path_; }
    QString errorText() const { return named_.errorString(); }
    QString label() const { return named_.fileTemplate(); }

private:
    QFile unnamed_;
    QTemporaryFile named_{QDir::tempPath() + QStringLiteral("/zorva-XXXXXX.plt")};
    QString path_;
};

// Plots into an intermediate file (gone when this returns) and converts it.
bool WriteDxf(const QString& fileName, int p, int lineWeight, const PlotWriter& writer, UserDialogs& dialogs,
              Language language, QStringList& messages) {
    IntermediatePlot plot;
    if (!plot.open()) {
        reportWriteError(dialogs, language, plot.label(), plot.errorText());
        return false;
    }
    try {
        PlotStream stream(plot.device(), p);
        writer(stream);
    } catch (const PlotWriteError& e) {
        reportWriteError(dialogs, language, plot.label(), e.reason());
        return false;
    }
    if (!plot.device().flush()) {
        reportWriteError(dialogs, language, plot.label(), plot.device().errorString());
        return false;
    }
    const DxfConversion conversion =
        ConvertPlotToDxf(plot.path(), fileName, lineWeight, kPlotUnitsPerMm * p, dialogs, language);
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
        dialogs.inform(caption(CaptionKind::Information, language), DrawingSavedText(fileName, language),
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
