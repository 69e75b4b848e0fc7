#pragma once
// The open and save file dialogs behind an interface, so tests can answer them.

#include <QString>
#include <QStringList>

class QWidget;

namespace zorva {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // filter in the tables' form "Text (*.a)|*.a|Other|*.b"; empty result = cancelled.
    virtual QString saveFileName(const QString& title, const QString& proposedPath, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual QString openFileName(const QString& title, const QString& directory, const QString& filter) = 0;
    // A save dialog where the chosen filter matters: `filterIndex` is the filter shown first
    // and, on return, the one chosen; switching to filter i proposes namesPerFilter[i].
    // The default asks saveFileName and takes the filter whose pattern the name matches.
    virtual QString saveFileNameWithFilter(const QString& title, const QString& proposedPath, const QString& filter,
                                           const QStringList& namesPerFilter, int& filterIndex);
};

class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
    QString saveFileName(const QString& title, const QString& proposedPath, const QString& filter,
                         const QString& defaultSuffix) override;
    QString openFileName(const QString& title, const QString& directory, const QString& filter) override;
    QString saveFileNameWithFilter(const QString& title, const QString& proposedPath, const QString& filter,
                                   const QStringList& namesPerFilter, int& filterIndex) override;

private:
    QWidget* parent_;
};

// "Text (*.a)|*.a|All (*.*)|*.*" -> "Text (*.a);;All (*)". The patterns after each "|" are what
// counts; "*.*" and "*." mean every file, as they did where the tables were written.
QString QtFilterFromTable(const QString& tableFilter);

}  // namespace zorva
