#pragma once
// Qt's own texts (the buttons of message boxes, the file, colour, font and print dialogs) in
// the program's language. Qt ships them as "qtbase_<lang>.qm"; without that file Qt's texts
// stay English and everything else keeps working.

#include "text/language.h"

#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;

namespace zorva {

class QtTranslations {
public:
    // `folders` empty: Qt's own translations folder and the usual system places.
    explicit QtTranslations(QStringList folders = {});
    ~QtTranslations();

    // Installs the translation of `lang` (removes it for English); false when the file for a
    // language other than English is missing or unreadable.
    bool apply(Language lang);
    // The file used for German, or empty when none was found.
    QString germanFile() const;

private:
    QStringList folders_;
    std::unique_ptr<QTranslator> translator_;
    bool installed_ = false;
};

}  // namespace zorva
