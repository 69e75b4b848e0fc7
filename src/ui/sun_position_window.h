#pragma once
// The sun-position window: EoT and declination of a day, rise and set of sun, twilight and
// moon, the sun's position at a time and the time of a given azimuth, with the print list
// that every calculation extends.

#include "astro/sun_position_report.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QPrinter;
class QPushButton;

namespace zorva {

struct DialState;
class UserDialogs;

// Lines of plain text sent to a printer in "Courier" 11 pt. The job opens with the first
// lines and stays open, so that later lines continue on the same page, until finish()
// ejects the page.
class TextPrintJob {
public:
    explicit TextPrintJob(QPrinter& printer);
    ~TextPrintJob();
    TextPrintJob(const TextPrintJob&) = delete;
    TextPrintJob& operator=(const TextPrintJob&) = delete;

    bool isOpen() const;
    // False when the printer refuses to start the job; nothing is written then.
    bool write(const QStringList& lines);
    void finish();
    QPrinter& printer() { return printer_; }

private:
    QPrinter& printer_;
    std::unique_ptr<QPainter> painter_;
    int y_ = 0;  // top of the next line, device pixels
};

// Calculation modes of the window (the main window's calcMode).
enum SunWindowMode { kModeRiseSet = 1, kModePosition = 2, kModeAzimuthTime = 4, kModeEoT = 8 };

class SunPositionWindow : public QWidget {
    Q_OBJECT
public:
    // Modes 16 and 32 (the graphs) show the EoT panel.
    SunPositionWindow(DialState& state, UserDialogs& dialogs, int calcMode, QWidget* parent = nullptr);
    ~SunPositionWindow() override;

    int calcMode() const { return mode_; }

    // "Berechnung": takes every field as its exit rule leaves it, asks the zone-meridian
    // question when due, computes, shows the results and appends the block to the print list.
    void calculate();

    const QStringList& printList() const { return printList_; }
    // Drops the last block (back to and with its opening rule and the blank line before it).
    void removeLastBlock();

    // The printer the print entries use; the window keeps its own until one is given.
    void setPrinter(QPrinter* printer);
    // Asked once before the first job on the window's own printer (the printer dialog);
    // false cancels the print and keeps the list.
    void setPrinterChooser(std::function<bool(QPrinter&)> chooser) { printerChooser_ = std::move(chooser); }
    // "Drucken  mit LF": the list, then the page is ejected; the list is emptied.
    void printWithFormFeed();
    // "Drucken  ohne LF": the list goes on the open page; the list is emptied.
    void printWithoutFormFeed();
    // "Druck Seite": ejects the page of an open job.
    void finishPrintPage();
    // "Drucken..." of the main window: asks whether to eject the page (Yes), keep it (No)
    // or drop the last block instead of printing (Cancel).
    void printFromMainWindow();

    // Opens the tables window (calcMode 1, 8, 16 or 32 and the year-table kind). Until one
    // is given the table and graph entries are disabled.
    using TableOpener = std::function<void(int calcMode, int yearTableKind)>;
    void setTableOpener(TableOpener opener);
    // Stores the preferences after "sunrise over the terrain" changed.
    void setPreferencesSaver(std::function<void()> saver) { preferencesSaver_ = std::move(saver); }

    // Close check: a pending zone-meridian question is asked again; No keeps the window open.
    bool closeCheck();
    // Re-captions the window and refreshes shown results in the current language.
    void applyLanguage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class FieldKind { Real, Integer, Time };
    struct Field {
        QLineEdit* edit = nullptr;
        FieldKind kind = FieldKind::Real;
    };

    void buildUi();
    // "(kein Horizontprofil geladen)" beside the option while it has nothing to go by.
    void updateTerrainHint();
    QLineEdit* addEdit(const char* name, FieldKind kind);
    void loadFields();
    // Left: the focus left the field. Taken: a calculation or a table takes its value.
    enum class Exit { Left, Taken };
    bool leaveField(QLineEdit* edit, Exit how);
    // Says what is wrong with the entry of `edit` (`range`: what the field accepts) and puts
    // the focus back.
    void rejectEntry(QLineEdit* edit, const QString& range);
    bool leaveAllFields();
    bool askZoneQuestion();
    ReportSite site() const;
    void showResults(bool appendToPrintList);
    void clearResults();
    void printList(bool formFeed);
    void openTables(int calcMode, int yearTableKind);
    void updateTableEntries();
    Field* fieldOf(QObject* object);

    DialState& state_;
    UserDialogs& dialogs_;
    int mode_;
    bool resultsShown_ = false;
    bool reporting_ = false;
    QPointer<QLineEdit> reportedEdit_;  // the rejected entry last reported, said only once
    QString reportedText_;
    QStringList printList_;

    std::unique_ptr<QPrinter> ownPrinter_;
    QPrinter* printer_ = nullptr;
    std::unique_ptr<TextPrintJob> job_;
    std::function<bool(QPrinter&)> printerChooser_;
    bool printerChosen_ = false;
    TableOpener tableOpener_;

    std::vector<Field> fields_;
    QLineEdit* latitudeEdit_ = nullptr;
    QLineEdit* longitudeEdit_ = nullptr;
    QLineEdit* zoneEdit_ = nullptr;
    QLineEdit* yearEdit_ = nullptr;
    QLineEdit* monthEdit_ = nullptr;
    QLineEdit* dayEdit_ = nullptr;
    QLineEdit* timeEdit_ = nullptr;
    QLineEdit* azimuthEdit_ = nullptr;
    double azimuth_ = 0.0;

    QButtonGroup* clockKind_ = nullptr;
    QButtonGroup* twilightKind_ = nullptr;
    QPushButton* calculateButton_ = nullptr;
    QPushButton* tablesButton_ = nullptr;
    QPushButton* graphButton_ = nullptr;
    QPushButton* altitudeGraphButton_ = nullptr;
    QPushButton* moreTablesButton_ = nullptr;
    QMenu* moreTablesMenu_ = nullptr;
    QMenu* popup_ = nullptr;

    // Result labels of the four panels.
    QLabel* eotLabel_ = nullptr;
    QLabel* eotDeclinationLabel_ = nullptr;
    QLabel* riseEotLabel_ = nullptr;
    QLabel* riseDeclinationLabel_ = nullptr;
    QLabel* sunriseLabel_ = nullptr;
    QCheckBox* overTerrainCheck_ = nullptr;
    QLabel* noProfileLabel_ = nullptr;
    std::function<void()> preferencesSaver_;
    QLabel* sunsetLabel_ = nullptr;
    QLabel* twilightBeginLabel_ = nullptr;
    QLabel* twilightEndLabel_ = nullptr;
    QLabel* moonriseLabel_ = nullptr;
    QLabel* moonsetLabel_ = nullptr;
    QLabel* altitudeLabel_ = nullptr;
    QLabel* azimuthLabel_ = nullptr;
    QLabel* positionEotLabel_ = nullptr;
    QLabel* positionDeclinationLabel_ = nullptr;
    QLabel* reachedAtLabel_ = nullptr;
    QLabel* reachedAltitudeLabel_ = nullptr;
    std::vector<QLabel*> results_;

    // Every captioned control with its string resource, for the language switch.
    std::vector<std::pair<QPointer<QObject>, int>> captions_;
};

}  // namespace zorva
