#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace zorva {

QtTranslations::QtTranslations(QStringList folders) : folders_(std::move(folders)), translator_(new QTranslator) {
    if (folders_.isEmpty()) {
        folders_ << QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                 << QStringLiteral("/usr/share/qt6/translations");
        // An installation may carry the file beside the program.
        folders_ << QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    }
}

QtTranslations::~QtTranslations() {
    if (installed_) QCoreApplication::removeTranslator(translator_.get());
}

QString QtTranslations::germanFile() const {
    for (const QString& folder : folders_) {
        const QString path = folder + QStringLiteral("/qtbase_de.qm");
        if (QFileInfo(path).isReadable()) return path;
    }
    return {};
}

bool QtTranslations::apply(Language lang) {
    if (installed_) {
        QCoreApplication::removeTranslator(translator_.get());
        installed_ = false;
    }
    if (lang == Language::English) return true;
    const QString file = germanFile();
    if (file.isEmpty() || !translator_->load(file)) return false;
    installed_ = QCoreApplication::installTranslator(translator_.get());
    return installed_;
}

}  // namespace zorva
