#include "ui/file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace zorva {

QString QtFilterFromTable(const QString& tableFilter) {
    const QStringList parts = tableFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            patterns << ((t == QLatin1String("*.*") || t == QLatin1String("*.")) ? QStringLiteral("*") : t);
        }
        patterns.removeDuplicates();
        // Qt reads the patterns from the last parenthesis, so the description's own list is replaced.
        static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(trailingList);
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtFileChooser::saveFileName(const QString& title, const QString& proposedPath, const QString& filter,
                                    const QString& defaultSuffix) {
    QFileDialog dialog(parent_, title, proposedPath, QtFilterFromTable(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedPath);
    // Offer the filter that matches the proposed extension.
    const QStringList filters = dialog.nameFilters();
    for (const QString& f : filters)
        if (!defaultSuffix.isEmpty() && f.contains(QStringLiteral("*.") + defaultSuffix)) {
            dialog.selectNameFilter(f);
            break;
        }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString QtFileChooser::openFileName(const QString& title, const QString& directory, const QString& filter) {
    return QFileDialog::getOpenFileName(parent_, title, directory, QtFilterFromTable(filter));
}

namespace {

// The extension of the first pattern of each filter of a table-form filter ("*.TXT" -> "txt").
QStringList FilterSuffixes(const QString& tableFilter) {
    const QStringList parts = tableFilter.split(QLatin1Char('|'));
    QStringList suffixes;
    for (int i = 1; i < parts.size(); i += 2) {
        const QString first = parts[i].split(QLatin1Char(';')).value(0).trimmed();
        suffixes << (first.startsWith(QStringLiteral("*.")) ? first.mid(2).toLower() : QString());
    }
    return suffixes;
}

}  // namespace

QString FileChooser::saveFileNameWithFilter(const QString& title, const QString& proposedPath, const QString& filter,
                                            const QStringList&, int& filterIndex) {
    const QStringList suffixes = FilterSuffixes(filter);
    const QString chosen = saveFileName(title, proposedPath, filter, suffixes.value(filterIndex));
    const int match = suffixes.indexOf(QFileInfo(chosen).suffix().toLower());
    if (match >= 0) filterIndex = match;
    return chosen;
}

QString QtFileChooser::saveFileNameWithFilter(const QString& title, const QString& proposedPath, const QString& filter,
                                              const QStringList& namesPerFilter, int& filterIndex) {
    QFileDialog dialog(parent_, title, proposedPath, QtFilterFromTable(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(proposedPath);
    const QStringList filters = dialog.nameFilters();
    if (filterIndex >= 0 && filterIndex < filters.size()) dialog.selectNameFilter(filters[filterIndex]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& selected) {
        const int i = filters.indexOf(selected);
        if (i >= 0 && i < namesPerFilter.size()) dialog.selectFile(namesPerFilter[i]);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const int chosenFilter = filters.indexOf(dialog.selectedNameFilter());
    if (chosenFilter >= 0) filterIndex = chosenFilter;
    return dialog.selectedFiles().first();
}

}  // namespace zorva
