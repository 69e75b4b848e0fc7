#pragma once
// The tables window: the month table of rise and set times, the four year tables, the
// equation-of-time graph and the sun-position diagram, on screen, printed, and saved as
// text/CSV (tables) or as plot/DXF files (graphs).

#include "astro/tables.h"
#include "dials/solar_graphs.h"
#include "ui/child_window.h"
#include "ui/lazy_printer.h"

#include <QStringList>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QStackedWidget;
class QGridLayout;

namespace zorva {

class HorizonPanel;

// Window modes, the main window's calcMode.
enum TablesWindowMode { kTablesMonth = 1, kTablesYear = 8, kTablesEotGraph = 16, kTablesSunPath = 32 };

// Lines of a table drawn in a fixed-pitch font fitted to the widget: the font shrinks from
// 12 points until the widest line and 44 lines fit. The first line is bold; the table is
// framed, with a rule under its heading.
class TableView : public QWidget {
    Q_OBJECT
public:
    explicit TableView(QWidget* parent = nullptr);
    void setLines(const QStringList& lines);
    const QStringList& lines() const { return lines_; }
    // The point size the lines are drawn in at the widget's present size.
    int fittedPointSize() const;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList lines_;
};

// A graph drawn by a function into the widget's area.
class GraphView : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter&, const QRectF&)>;
    explicit GraphView(QWidget* parent = nullptr);
    void setPainter(Painter painter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painter painter_;
};

class TablesWindow : public ChildWindow {
    Q_OBJECT
public:
    TablesWindow(ChildHost& host, const OpenRequest& request, QWidget* parent = nullptr);
    ~TablesWindow() override;

    void applyLanguage() override;
    void coloursChanged() override { rebuild(); }
    bool canPrint() const override { return true; }
    // "Drucken": the printer setup on `printer`, then printContents.
    void print(QPrinter& printer) override;
    // Tables: the transit table in landscape, the others in portrait; graphs at the print
    // sizes for the page's orientation. The printer is left in portrait. Failures: message 42.
    void printContents(QPrinter& printer);
    // 800 plus the mode: 801 month table, 808 year tables, 816 EoT graph, 832 sun-position diagram.
    int helpTopic() const override { return 800 + mode_; }

    int calcMode() const { return mode_; }
    YearTableKind yearTableKind() const { return kind_; }
    // The pop-up menu's switches between tables and graphs.
    void showMode(int calcMode, int yearTableKind);

    // The list the export saves and the lines the window draws.
    const QStringList& tableLines() const { return lines_; }
    QStringList displayedLines() const;

    // "Tabelle speichern": the save dialog with its two filters, then the text or CSV file.
    void saveTable();
    // The window's own print button and pop-up entry: print on the window's printer.
    void print() { print(printer()); }
    // The graph's save buttons show the options; their OK validates the factor and saves.
    void showGraphOptions(PlotFormat format);
    bool confirmGraphSave();

    // "neues Höhenprofil laden": the open dialog, then the profile into the state; the site
    // takes the profile's coordinates (message 70) when they differ.
    bool loadHorizonProfile();
    // "PVGIS-Horizont importieren ...": a horizon file of the PV information service (CSV or
    // JSON) as the profile, taken like a loaded one; its own site when it names one.
    bool importPvgisHorizon();
    // The result line under the sun-position diagram (empty while not shown).
    QString sunlightLabelText() const;
    HorizonPanel* horizonPanel() const { return horizonPanel_; }

    // For tests: what stands in for the printer setup dialog, and the printer used.
    void setPrinterSetup(std::function<bool(QPrinter&)> setup) { printer_.replaceSetUp(std::move(setup)); }
    QPrinter& printer();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildUi();
    void buildPopup();
    void rebuild();
    void updateControls();
    GraphKind graphKind() const;
    SunPathExtras sunPathExtras(bool print = false) const;
    void fillPlaneFields();
    void readPlaneField(QLineEdit* edit);
    void setShowHorizonProfile(bool on);
    void adoptProfile(const HorizonProfile& profile);
    void printTable(QPainter& painter, const QRectF& page);

    int mode_ = kTablesMonth;
    YearTableKind kind_ = YearTableKind::Declination;
    QStringList lines_;
    double factor_ = 1.0;
    bool mirror_ = false;
    PlotFormat pendingFormat_ = PlotFormat::Hpgl;

    QLabel* heading_ = nullptr;
    QWidget* twilightBox_ = nullptr;
    QButtonGroup* twilightGroup_ = nullptr;
    QLabel* monthLabel_ = nullptr;
    QComboBox* monthCombo_ = nullptr;
    QCheckBox* overTerrainCheck_ = nullptr;
    QWidget* yearKindBox_ = nullptr;
    QButtonGroup* yearKindGroup_ = nullptr;
    QWidget* planePanel_ = nullptr;
    QCheckBox* planeSunlightCheck_ = nullptr;
    QCheckBox* horizonCheck_ = nullptr;
    QLineEdit* planeLatitude_ = nullptr;
    QLineEdit* planeLongitude_ = nullptr;
    QLineEdit* planeDeviation_ = nullptr;
    QLineEdit* planeInclination_ = nullptr;
    QLabel* sunlightLabel_ = nullptr;
    HorizonPanel* horizonPanel_ = nullptr;
    QCheckBox* longitudeCheck_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* saveTableButton_ = nullptr;
    QPushButton* saveHpglButton_ = nullptr;
    QPushButton* saveDxfButton_ = nullptr;
    QFrame* graphOptions_ = nullptr;
    QLineEdit* factorEdit_ = nullptr;
    QLabel* factorLabel_ = nullptr;
    QCheckBox* mirrorCheck_ = nullptr;
    QCheckBox* correctionCheck_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    TableView* tableView_ = nullptr;
    GraphView* graphView_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* saveTableAction_ = nullptr;

    WindowPrinter printer_{this};
    bool updating_ = false;
    bool planeFieldsFilled_ = false;
};

}  // namespace zorva
