#pragma once
// The drawing window: shows the dial of the state, lets the user place the gnomon and the
// text block, zooms, and prints at true scale. It owns no construction: every request is
// dispatched by the dial-type letter to the constructions of src/dials.

#include "dials/dial_render.h"
#include "dials/dial_request.h"
#include "dials/hour_line_angles.h"
#include "dials/live_shadow.h"
#include "ui/child_window.h"
#include "ui/lazy_printer.h"

#include <QImage>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QAction;

namespace zorva {

struct DialState;
class FileOutputPanel;
class HollanderPanel;
class PolarStylePanel;
class QuadrantLegendStrip;
class ShadowControls;
struct WindowPlacement;

// Image1: the image the dial is drawn into, with the text block's outline on top.
class DrawingCanvas : public QWidget {
    Q_OBJECT
public:
    explicit DrawingCanvas(QWidget* parent = nullptr);
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    // The image size for the widget's size: its width, 0.68 of it high at most.
    static QSize ImageSizeFor(QSize widgetSize);
    void setTextBlock(const QRect& outline) {
        textBlock_ = outline;
        update();
    }
    // The sun's shadow drawn over the image on every repaint; the image itself is kept, so a
    // new shadow costs one copy of the image and a few strokes.
    void setShadow(const CastShadow& shadow, const std::array<Rgb, 12>& colours, double unitsPerMm) {
        shadow_ = shadow;
        colours_ = colours;
        unitsPerMm_ = unitsPerMm;
        update();
    }
    const CastShadow& shadow() const { return shadow_; }
    // Paints what the widget shows (image, shadow, text block) onto `painter`.
    void paintContents(QPainter& painter) const;

signals:
    void pressed(QPoint position, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void wheelTurned(int delta);
    void hovered(QPoint position);
    void imageResized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage image_;
    QRect textBlock_;
    CastShadow shadow_;
    std::array<Rgb, 12> colours_{};
    double unitsPerMm_ = 1.0;
};

class DrawingWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit DrawingWindow(ChildHost& host, QWidget* parent = nullptr);
    ~DrawingWindow() override;

    void applyLanguage() override;
    void coloursChanged() override;
    int helpTopic() const override { return 9; }
    bool canPrint() const override { return true; }
    // "Drucken..." of the main window: the checks, the printer set-up, then the page.
    void print(QPrinter& printer) override;

    // --- commands, public for the tests
    // "&Zeichnen" (zoom back to 1, no grid) and " + &Netz" (with the grid).
    void drawCommand(bool withGrid);
    // Draws again with the current zoom, grid and positions.
    void redraw();
    void zoomIn();
    void zoomOut();
    // A mouse-wheel step: the zoom grows by delta/2000; larger downward steps are ignored.
    void wheelZoom(int delta);
    void placeGnomon(QPoint position);
    void placeTextBlock(QPoint position);
    void moveOrigin(int dx, int dy);
    // "&Print": the same on the window's own printer.
    void print();
    // The page itself, on a printer that is set up already; false after a failure.
    bool printTo(QPrinter& printer);
    // Replaces the printer set-up dialog (tests); returns false when it was dismissed.
    void setPrinterSetup(std::function<bool(QPrinter&)> setup) { printer_.replaceSetUp(std::move(setup)); }

    // "Std.linien": shows or hides the table of hour-line angles (computing the plane's lit range).
    void toggleAngleTable();
    bool angleTableShown() const;
    QStringList angleTableLines() const;

    // "save" / "speichern..." (and their menu entries): the file-output panel for an HPGL
    // plot or a DXF file; "&StabInfo": the polar-style information.
    void openFileOutput(bool hpgl, bool fromButton);
    // "SVG...": the printout as an SVG file at true scale, as zorva-cli writes it.
    bool saveSvg();
    FileOutputPanel* fileOutputPanel() const { return filePanel_; }
    void showPolarStyle();
    PolarStylePanel* polarStylePanel() const { return stylePanel_; }
    // "Grafik zeigen" of the cone-shadow dial: its cone, cut and unrolled.
    void showConeGraphic();
    HollanderPanel* hollanderPanel() const { return hollanderPanel_; }
    // " Altit&ude correction " / " Close " of the ring dial: the correction table instead of
    // the drawing, on the screen and the printer.
    void toggleCorrectionTable();
    bool correctionTableShown() const { return correctionTable_; }
    // Gnomon and text block as the plot takes them; the gnomon counts only once placed by the user.
    WindowPlacement placement() const;

    const QImage& image() const;
    bool drawn() const { return drawn_; }
    QString hintText() const;
    // The legend strip under a quadrant drawing (hidden for the other dials).
    QuadrantLegendStrip* quadrantLegend() const { return quadrantLegend_; }
    // The caption " Konstruktion einer " + the dial's name.
    static QString CaptionFor(const DialState& state);
    // The sun's shadow over the drawing: toggle, date, time, animation and status.
    ShadowControls* shadowControls() const { return shadowControls_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    void presetPlacement();
    void render();
    // What the window asks every construction for: its image, placements and options.
    DialRequest screenRequest() const;
    // The page placement of this window's gnomon, text and grid; `shadow` must outlive it.
    PrintPlacement pagePlacement(const std::optional<ShadowMoment>& shadow) const;
    // Computes the shadow of the controls' moment and lays it over the kept image.
    void updateShadow();
    bool placesGnomon() const;
    bool originInsideActiveArea() const;
    QRect textBlockOutline() const;
    void showHint(const QString& text, const QString& style);
    void showPositioningHint();
    void imageResized();
    // The plot and DXF commands (buttons and menu entries).
    void enableFileOutput(bool on);
    // The sheet button's caption: the sheet's name, or the way back while it is shown.
    void captionSheetButton();
    void updateTextBlock();
    void contextMenu(QPoint position);

    DrawingCanvas* canvas_ = nullptr;
    QLabel* hint_ = nullptr;
    QuadrantLegendStrip* quadrantLegend_ = nullptr;
    QPlainTextEdit* angleTable_ = nullptr;
    QPushButton* angleButton_ = nullptr;
    QPushButton* drawButton_ = nullptr;
    QPushButton* gridButton_ = nullptr;
    QPushButton* zoomInButton_ = nullptr;
    QPushButton* zoomOutButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* hpglButton_ = nullptr;
    QPushButton* svgButton_ = nullptr;
    QPushButton* dxfButton_ = nullptr;
    QPushButton* styleInfoButton_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    QGroupBox* mapBox_ = nullptr;
    ShadowControls* shadowControls_ = nullptr;
    QCheckBox* mapCoastBox_ = nullptr;
    QCheckBox* mapBordersBox_ = nullptr;
    QAction* hpglAction_ = nullptr;
    QAction* dxfAction_ = nullptr;
    QAction* svgAction_ = nullptr;
    QAction* styleInfoAction_ = nullptr;
    QAction* colourAction_ = nullptr;
    FileOutputPanel* filePanel_ = nullptr;
    PolarStylePanel* stylePanel_ = nullptr;
    HollanderPanel* hollanderPanel_ = nullptr;
    QPushButton* coneGraphicButton_ = nullptr;
    QPushButton* correctionButton_ = nullptr;
    bool correctionTable_ = false;
    bool originByUser_ = false;
    // Prints text lines in Courier on the window's printer (listing, polar-style text).
    bool printLines(const QStringList& lines);
    void placePanels();
    // The texts of the window's controls, shown again in the other language.
    struct Caption;
    std::vector<Caption> captions_;
    QMenu* menu_ = nullptr;
    QAction* drawAction_ = nullptr;
    QAction* gridAction_ = nullptr;
    QAction* zoomInAction_ = nullptr;
    QAction* zoomOutAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* a4Action_ = nullptr;
    QAction* a3Action_ = nullptr;
    QAction* toStyleFootAction_ = nullptr;
    QAction* poleTriangleAction_ = nullptr;
    QAction* closeAction_ = nullptr;
    WindowPrinter printer_{this};

    HourLineAngles angles_;
    bool activated_ = false;
    bool drawn_ = false;
    bool grid_ = false;
    QSize activeSize_;  // the image size at activation
    QPoint rightClick_;
};

}  // namespace zorva
