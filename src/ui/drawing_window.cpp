#include "ui/drawing_window.h"

#include "dials/canvas_painter.h"
#include "dials/dial_render.h"
#include "dials/dial_constructions.h"
#include "dials/planar_dial.h"
#include "dials/ring_dial.h"
#include "plot/plot_save.h"
#include "state/dial_state.h"
#include "state/safe_save.h"
#include "text/bilingual.h"
#include "text/named_texts.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/file_chooser.h"
#include "ui/file_output_panel.h"
#include "ui/hollander_panel.h"
#include "ui/polar_style_panel.h"
#include "ui/quadrant_legend_strip.h"
#include "ui/shadow_controls.h"
#include "ui/sun_position_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace zorva {
namespace {

// The second view of the dial (a table to print) and the caption of its button.
DialView SheetViewOf(const DialState& s) {
    const DialConstruction* c = ConstructionFor(s);
    return c ? c->sheet : nullptr;
}
int SheetButtonCaption(const DialState& s) {
    const DialConstruction* c = ConstructionFor(s);
    return c && c->sheetButton ? c->sheetButton : kCorrectionTableButton;
}

// Texts of this window, German and English.
using Text = BilingualText;
constexpr Text kDraw{"&Zeichnen", "&Draw"};
constexpr Text kGrid{" + &Netz", " + &Grid"};
constexpr Text kZoomIn{"Zoom ", "Zoom "};
constexpr Text kZoomOut{"Zoom", "Zoom"};
constexpr Text kPrint{"&Drucken", "&Print"};
constexpr Text kAngles{"Std.linien", "Hour Lines"};
constexpr Text kClose{"&Schließen", "&Close"};
constexpr Text kSaveHpgl{"HPGL...", "HPGL..."};
constexpr Text kSaveDxf{"DXF...", "DXF..."};
constexpr Text kSaveHpglHint{"Zeichnung als HPGL-Datei speichern", "Save the drawing as an HPGL file"};
constexpr Text kSaveDxfHint{"Zeichnung als DXF-Datei speichern", "Save the drawing as a DXF file"};
constexpr Text kSaveSvg{"SVG...", "SVG..."};
constexpr Text kSaveSvgHint{"Zeichnung als SVG-Datei im Maßstab 1:1 speichern (Laser, CNC)",
                            "Save the drawing as an SVG file at true scale (laser, CNC)"};
constexpr Text kMenuSaveSvg{"Speichern als SVG-Datei", "Save as SVG File"};
constexpr Text kSvgFilter{"SVG-Dateien (*.svg)|*.svg", "SVG Files (*.svg)|*.svg"};
constexpr Text kStyleInfo{"&StabInfo", "&Style Info"};
constexpr Text kConeInfo{"&Info", "&Info"};
constexpr Text kConeGraphic{"Grafik zeigen", "Show Graphic"};
constexpr Text kConeNote{"Zusatzinformationen beachten! (Buttons <Info> und <Grafik zeigen> anklicken)",
                         "Mind the additional information! (Click the buttons <Info> and <Show Graphic>)"};
constexpr Text kHalfRing{"Der Halbring ist länger als der Druckbereich!", "The half ring is longer than the printable area!"};
constexpr Text kRingName{"Ringsonnenuhr", " Ring Sundial"};
constexpr Text kMenuSaveHpgl{"Speichern als HPGL-Datei", "Save as HPGL File"};
constexpr Text kMenuSaveDxf{"Speichern als dxf-Datei", "Save as DXF File"};
constexpr Text kMenuStyleInfo{"Polstab Informationen", "Polar Style Information"};
constexpr Text kColours{"Farben", "Colors"};
constexpr Text kMenuColours{"Farben ändern", "Change Colors"};
constexpr Text kMapBox{"unterlegen", "underlay"};
constexpr Text kMapCoast{"Küsten", "Coasts"};
constexpr Text kMapBorders{"Grenzen", "Borders"};
constexpr Text kMenuDraw{"Zeichnung ausführen", "Draw the Dial"};
constexpr Text kMenuGrid{"Zeichnung mit Netz", "Draw with Grid"};
constexpr Text kMenuZoomIn{"Zoom +", "Zoom +"};
constexpr Text kMenuZoomOut{"Zoom -", "Zoom -"};
constexpr Text kMenuPrint{"Drucken", "Print"};
constexpr Text kMenuA4{"Bildschirmanzeige wie im Ausdruck", "Screen Display like the Printout"};
constexpr Text kMenuA3{"         ....... wie in gespeicherter Datei", "         ....... like the Saved File"};
constexpr Text kMenuToStyleFoot{"Stundenlinien bis zum Fußpunkt", "Hour Lines up to the Foot Point"};
constexpr Text kMenuPoleTriangle{"Poldreieck zeichnen", "Draw Pole Triangle"};
constexpr Text kMenuClose{"Schliessen", "Close"};
constexpr Text kPositioning{"Zeiger mit (linkem) Mausklick positionieren  -  <Alt>+linker Mausklick positioniert den Text!",
                            "Left mouseclick fixes the gnomon position - <Alt>+left mouseclick marks text position!"};
constexpr Text kTextPosition{"<Alt>+linke Maustaste markiert die Textposition in gespeicherter/gedruckter Datei!",
                             "<Alt>+left mouseclick marks the text position for saved or printed constructions!"};
constexpr Text kImageHint{"Zeigerposition mit linkem Mausklick festlegen", "Left mouseclick fixes the gnomon position"};

QString TextIn(Language lang, const Text& t) { return t.in(lang); }

// Shows a text of the window on its control: a button's or check box's text, a menu entry,
// a group's title, or a tool tip.
void ShowCaption(QObject* control, const QString& text, bool toolTip) {
    if (toolTip) static_cast<QWidget*>(control)->setToolTip(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(control)) b->setText(text);
    else if (auto* a = qobject_cast<QAction*>(control)) a->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(control)) g->setTitle(text);
}

// A command offered by a button and a menu entry is offered by both or by neither.
void EnableCommand(QPushButton* button, QAction* action, bool on) {
    button->setEnabled(on);
    action->setEnabled(on);
}

const QString kHintPurple = QStringLiteral("color: #800080; background: palette(tooltip-base);");
const QString kHintNavy = QStringLiteral("color: #000080; background: #00FFFF;");
const QString kHintSilver = QStringLiteral("color: #000000; background: #C0C0C0;");
const QString kHintRed = QStringLiteral("color: #FF0000; background: palette(window);");

}  // namespace

// ---------------------------------------------------------------- canvas

DrawingCanvas::DrawingCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("drawingImage"));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(200, 140);
}

QSize DrawingCanvas::ImageSizeFor(QSize widgetSize) {
    const int width = std::max(100, widgetSize.width());
    const int height = std::max(68, std::min(static_cast<int>(0.68 * width), widgetSize.height()));
    return {width, height};
}

void DrawingCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    paintContents(p);
}

void DrawingCanvas::paintContents(QPainter& p) const {
    p.drawImage(0, 0, image_);
    if (ShadowToDraw(shadow_)) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        CanvasPainter canvas(p, colours_, QRectF(0, 0, image_.width(), image_.height()));
        DrawCastShadow(canvas, shadow_, unitsPerMm_);
        p.restore();
    }
    if (!textBlock_.isNull()) {
        p.setPen(QPen(Qt::blue, 1, Qt::DashLine));
        p.drawRect(textBlock_);
    }
}

void DrawingCanvas::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->position().toPoint(), event->button(), event->modifiers());
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent* event) { emit hovered(event->position().toPoint()); }

void DrawingCanvas::wheelEvent(QWheelEvent* event) {
    emit wheelTurned(event->angleDelta().y());
    event->accept();
}

void DrawingCanvas::resizeEvent(QResizeEvent*) {
    const QSize size = ImageSizeFor(this->size());
    if (size == image_.size()) return;
    image_ = QImage(size, QImage::Format_RGB32);
    image_.fill(Qt::white);
    emit imageResized();
}

// ---------------------------------------------------------------- window

// A control and the text it shows in the chosen language.
struct DrawingWindow::Caption {
    QObject* control;
    const Text* text;
    bool toolTip;
};

DrawingWindow::DrawingWindow(ChildHost& host, QWidget* parent) : ChildWindow(ChildKind::DrawingWindow, host, parent) {
    setObjectName(QStringLiteral("drawingWindow"));
    setFocusPolicy(Qt::StrongFocus);

    const auto caption = [this](QObject* control, const Text& text, bool toolTip = false) {
        captions_.push_back({control, &text, toolTip});
    };
    auto* buttons = new QVBoxLayout;
    // `text` null: the caption depends on the dial (styleInfoButton, correctionTableButton).
    auto makeButton = [&](const char* name, const Text* text) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setFocusPolicy(Qt::NoFocus);
        b->installEventFilter(this);
        buttons->addWidget(b);
        if (text) caption(b, *text);
        return b;
    };
    drawButton_ = makeButton("drawButton", &kDraw);
    gridButton_ = makeButton("gridButton", &kGrid);
    zoomInButton_ = makeButton("zoomInButton", &kZoomIn);
    zoomOutButton_ = makeButton("zoomOutButton", &kZoomOut);
    zoomInButton_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    zoomOutButton_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    printButton_ = makeButton("printButton", &kPrint);
    angleButton_ = makeButton("angleTableButton", &kAngles);
    hpglButton_ = makeButton("saveHpglButton", &kSaveHpgl);
    dxfButton_ = makeButton("saveDxfButton", &kSaveDxf);
    svgButton_ = makeButton("saveSvgButton", &kSaveSvg);
    caption(hpglButton_, kSaveHpglHint, true);
    caption(dxfButton_, kSaveDxfHint, true);
    caption(svgButton_, kSaveSvgHint, true);
    styleInfoButton_ = makeButton("styleInfoButton", nullptr);
    coneGraphicButton_ = makeButton("coneGraphicButton", &kConeGraphic);
    correctionButton_ = makeButton("correctionTableButton", nullptr);
    colourButton_ = makeButton("colourButton", &kColours);
    // Coast lines and borders under the planar dials, offered while the map overlay is allowed.
    mapBox_ = new QGroupBox(this);
    mapBox_->setObjectName(QStringLiteral("mapBox"));
    auto* mapLayout = new QVBoxLayout(mapBox_);
    mapCoastBox_ = new QCheckBox(mapBox_);
    mapCoastBox_->setObjectName(QStringLiteral("mapCoast"));
    mapBordersBox_ = new QCheckBox(mapBox_);
    mapBordersBox_->setObjectName(QStringLiteral("mapBorders"));
    mapLayout->addWidget(mapCoastBox_);
    mapLayout->addWidget(mapBordersBox_);
    buttons->addWidget(mapBox_);
    caption(mapBox_, kMapBox);
    caption(mapCoastBox_, kMapCoast);
    caption(mapBordersBox_, kMapBorders);
    shadowControls_ = new ShadowControls(this);
    buttons->addWidget(shadowControls_);
    connect(shadowControls_, &ShadowControls::changed, this, &DrawingWindow::updateShadow);
    // A switch of the drawing: a dial on the screen is drawn again with it.
    const auto switchOf = [this](bool DialState::*flag) {
        return [this, flag](bool on) {
            state().*flag = on;
            if (drawn_) redraw();
        };
    };
    connect(mapCoastBox_, &QCheckBox::clicked, this, switchOf(&DialState::mapCoast));
    connect(mapBordersBox_, &QCheckBox::clicked, this, switchOf(&DialState::mapBorders));
    buttons->addStretch(1);
    closeButton_ = makeButton("closeButton", &kClose);
    connect(drawButton_, &QPushButton::clicked, this, [this] { drawCommand(false); });
    connect(gridButton_, &QPushButton::clicked, this, [this] { drawCommand(true); });
    connect(zoomInButton_, &QPushButton::clicked, this, &DrawingWindow::zoomIn);
    connect(zoomOutButton_, &QPushButton::clicked, this, &DrawingWindow::zoomOut);
    connect(printButton_, &QPushButton::clicked, this, [this] { print(); });
    connect(angleButton_, &QPushButton::clicked, this, &DrawingWindow::toggleAngleTable);
    connect(hpglButton_, &QPushButton::clicked, this, [this] { openFileOutput(true, true); });
    connect(dxfButton_, &QPushButton::clicked, this, [this] { openFileOutput(false, true); });
    connect(svgButton_, &QPushButton::clicked, this, [this] { saveSvg(); });
    connect(styleInfoButton_, &QPushButton::clicked, this, &DrawingWindow::showPolarStyle);
    connect(coneGraphicButton_, &QPushButton::clicked, this, &DrawingWindow::showConeGraphic);
    connect(correctionButton_, &QPushButton::clicked, this, &DrawingWindow::toggleCorrectionTable);
    connect(colourButton_, &QPushButton::clicked, this, [this] { this->host().showColourPalette(); });
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);

    canvas_ = new DrawingCanvas(this);
    caption(canvas_, kImageHint, true);
    canvas_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(canvas_, &DrawingCanvas::pressed, this, [this](QPoint pos, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
        if (button == Qt::RightButton) {
            rightClick_ = pos;
        } else if (button == Qt::LeftButton && placesGnomon()) {
            if (mods & Qt::AltModifier)
                placeTextBlock(pos);
            else
                placeGnomon(pos);
        }
    });
    connect(canvas_, &DrawingCanvas::wheelTurned, this, &DrawingWindow::wheelZoom);
    connect(canvas_, &DrawingCanvas::hovered, this, [this](QPoint) {
        if (placesGnomon()) hint_->setStyleSheet(kHintSilver);
    });
    connect(canvas_, &DrawingCanvas::imageResized, this, &DrawingWindow::imageResized);
    connect(canvas_, &QWidget::customContextMenuRequested, this, &DrawingWindow::contextMenu);

    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("hintStrip"));
    hint_->setAutoFillBackground(true);
    quadrantLegend_ = new QuadrantLegendStrip(this);

    angleTable_ = new QPlainTextEdit(this);
    angleTable_->setObjectName(QStringLiteral("angleTable"));
    angleTable_->setReadOnly(true);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    angleTable_->setFont(courier);
    angleTable_->hide();

    filePanel_ = new FileOutputPanel(state(), host.dialogs(), host.files(), this);
    filePanel_->setWindow({[this]() -> std::optional<WindowPlacement> { return placement(); },
                           [this] { return originInsideActiveArea(); },
                           [this]() -> const HourLineAngles* { return &angles_; },
                           [this](const QStringList& lines) { return printLines(lines); }});
    stylePanel_ = new PolarStylePanel(state(), this);
    stylePanel_->setPrinter([this](const QStringList& lines) { return printLines(lines); });
    hollanderPanel_ = new HollanderPanel(state(), this);

    auto* right = new QVBoxLayout;
    right->addWidget(canvas_, 1);
    right->addWidget(angleTable_, 1);
    right->addWidget(hint_);
    right->addWidget(quadrantLegend_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(right, 1);

    menu_ = new QMenu(this);
    auto add = [&](const char* name, const Text& text) {
        QAction* a = menu_->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        caption(a, text);
        return a;
    };
    drawAction_ = add("drawAction", kMenuDraw);
    gridAction_ = add("gridAction", kMenuGrid);
    zoomInAction_ = add("zoomInAction", kMenuZoomIn);
    zoomOutAction_ = add("zoomOutAction", kMenuZoomOut);
    printAction_ = add("printAction", kMenuPrint);
    hpglAction_ = add("saveHpglAction", kMenuSaveHpgl);
    dxfAction_ = add("saveDxfAction", kMenuSaveDxf);
    svgAction_ = add("saveSvgAction", kMenuSaveSvg);
    styleInfoAction_ = add("styleInfoAction", kMenuStyleInfo);
    connect(hpglAction_, &QAction::triggered, this, [this] { openFileOutput(true, false); });
    connect(dxfAction_, &QAction::triggered, this, [this] { openFileOutput(false, false); });
    connect(svgAction_, &QAction::triggered, this, [this] { saveSvg(); });
    connect(styleInfoAction_, &QAction::triggered, this, &DrawingWindow::showPolarStyle);
    menu_->addSeparator();
    a4Action_ = add("a4Action", kMenuA4);
    a3Action_ = add("a3Action", kMenuA3);
    a4Action_->setCheckable(true);
    a3Action_->setCheckable(true);
    toStyleFootAction_ = add("toStyleFootAction", kMenuToStyleFoot);
    poleTriangleAction_ = add("poleTriangleAction", kMenuPoleTriangle);
    toStyleFootAction_->setCheckable(true);
    poleTriangleAction_->setCheckable(true);
    colourAction_ = add("colourAction", kMenuColours);
    connect(colourAction_, &QAction::triggered, this, [this] { this->host().showColourPalette(); });
    menu_->addSeparator();
    closeAction_ = add("closeAction", kMenuClose);
    connect(drawAction_, &QAction::triggered, this, [this] { drawCommand(false); });
    connect(gridAction_, &QAction::triggered, this, [this] { drawCommand(true); });
    connect(zoomInAction_, &QAction::triggered, this, &DrawingWindow::zoomIn);
    connect(zoomOutAction_, &QAction::triggered, this, &DrawingWindow::zoomOut);
    connect(printAction_, &QAction::triggered, this, [this] { print(); });
    // The layout switches only choose the scale; the drawing follows on the next redraw.
    const auto screenLike = [this](bool printout) {
        return [this, printout] {
            this->host().setScreenLikePrintout(printout);
            if (drawn_) redraw();
        };
    };
    connect(a4Action_, &QAction::triggered, this, screenLike(true));
    connect(a3Action_, &QAction::triggered, this, screenLike(false));
    connect(toStyleFootAction_, &QAction::triggered, this, switchOf(&DialState::linesToStyleFoot));
    connect(poleTriangleAction_, &QAction::triggered, this, switchOf(&DialState::drawPoleTriangle));
    connect(closeAction_, &QAction::triggered, this, &QWidget::close);

    applyLanguage();
    resize(1000, 760);
}

DrawingWindow::~DrawingWindow() = default;

const QImage& DrawingWindow::image() const { return canvas_->image(); }

QString DrawingWindow::hintText() const { return hint_->text(); }

QString DrawingWindow::CaptionFor(const DialState& s) {
    const Language lang = s.language;
    const char t = s.dialType;
    QString name;
    if (s.addedKind == AddedKind::Analemmatic) name = TextOf(TextId::AnalemmaticTitle, lang);
    else if (s.addedKind == AddedKind::Bifilar) name = TextOf(TextId::BifilarTitle, lang);
    else if (s.umbrellaDial && (t == 'h' || t == 'i' || t == 'v')) name = title(3, lang);
    else if (t == 'a') name = title(9, lang);
    else if (t == 'c') name = title(10, lang);
    else if (t == 'h') name = title(5, lang);
    else if (t == 'i') name = title(6, lang);
    else if (t == 'k') name = title(27, lang);
    else if (t == 'm') name = title(12, lang);
    else if (t == 'q') name = title(7, lang);
    else if (t == 'r') name = TextIn(lang, kRingName);
    else if (t == 'v') name = title(4, lang);
    else if (t == 'z') name = title(8, lang) + title(14 + std::clamp(s.cylinderKind, 0, 2), lang);
    return title(2, lang) + name;
}

void DrawingWindow::applyLanguage() {
    const Language lang = state().language;
    for (const Caption& c : captions_) ShowCaption(c.control, TextIn(lang, *c.text), c.toolTip);
    styleInfoButton_->setText(TextIn(lang, state().dialType == 'm' ? kConeInfo : kStyleInfo));
    captionSheetButton();
    if (!quadrantLegend_->isHidden()) quadrantLegend_->showFor(state());
    shadowControls_->applyLanguage(state().language);
    filePanel_->applyLanguage();
    stylePanel_->applyLanguage();
    hollanderPanel_->applyLanguage();
    setWindowTitle(CaptionFor(state()));
    if (activated_ && placesGnomon()) showPositioningHint();
}

bool DrawingWindow::placesGnomon() const {
    const char t = state().dialType;
    // The analemmatic dial centres itself on the sheet.
    if (state().addedKind == AddedKind::Analemmatic) return false;
    return t == 'c' || t == 'h' || t == 'i' || t == 'm' || t == 'v' || (t == 'z' && state().cylinderKind == 2);
}

void DrawingWindow::showEvent(QShowEvent* event) {
    ChildWindow::showEvent(event);
    if (activated_) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->showMaximized();
    // Once the layout has given the image its size.
    QTimer::singleShot(0, this, [this] {
        if (!activated_) activate();
    });
}

void DrawingWindow::activate() {
    activated_ = true;
    const DialState& s = state();
    const char t = s.dialType;
    setWindowTitle(CaptionFor(s));
    // Grid, zoom and the planar switches are offered only where they mean something.
    const bool planar = IsPlanarDial(s);
    mapBox_->setVisible(s.mapOverlay && (planar || t == 'c'));
    mapCoastBox_->setChecked(s.mapCoast);
    mapBordersBox_->setChecked(s.mapBorders);
    EnableCommand(gridButton_, gridAction_, placesGnomon());
    EnableCommand(zoomInButton_, zoomInAction_, placesGnomon());
    EnableCommand(zoomOutButton_, zoomOutAction_, placesGnomon());
    toStyleFootAction_->setEnabled(planar && !s.umbrellaDial);
    angleButton_->setEnabled(planar && !s.umbrellaDial);
    // Plot and DXF files are written for the dials whose construction has a plot twin.
    enableFileOutput(CanSavePlot(s));
    // The cone-shadow dial shows its own information and graphic instead.
    EnableCommand(styleInfoButton_, styleInfoAction_, (planar && !s.umbrellaDial) || t == 'm');
    styleInfoButton_->setText(TextIn(s.language, t == 'm' ? kConeInfo : kStyleInfo));
    coneGraphicButton_->setVisible(t == 'm');
    // The quadrants' legend strip under the drawing: how to read the instrument, its colours.
    if (t == 'q') quadrantLegend_->showFor(s);
    else quadrantLegend_->hide();
    correctionButton_->setVisible(SheetViewOf(s) != nullptr);
    correctionTable_ = false;
    captionSheetButton();
    filePanel_->hide();
    stylePanel_->hide();
    hollanderPanel_->hide();
    if (planar) angles_ = ComputeHourLineAngles(s, false);
    poleTriangleAction_->setEnabled(planar);
    toStyleFootAction_->setChecked(s.linesToStyleFoot);
    poleTriangleAction_->setChecked(s.drawPoleTriangle);
    a4Action_->setChecked(host().screenLikePrintout());
    a3Action_->setChecked(!host().screenLikePrintout());

    // A new window draws at true scale, whatever zoom the previous one was left at.
    state().zoomFactor = 1.0;
    // A draw command that came before the window settled keeps its dial; only an empty window
    // asks for the gnomon's place.
    if (placesGnomon() && !drawn_) presetPlacement();
    else render();
    setFocus();
}

void DrawingWindow::presetPlacement() {
    DialState& st = state();
    activeSize_ = canvas_->image().size();
    canvas_->image().fill(Qt::white);
    showPositioningHint();
    originByUser_ = false;
    const GnomonPlacement g = DefaultGnomonPlacement(st, activeSize_.width(), activeSize_.height());
    st.originX = g.originX;
    st.originY = g.originY;
    st.centreX = g.centreX;
    st.centreY = g.centreY;
    QPainter p(&canvas_->image());
    p.setPen(Qt::black);
    p.drawRect(QRectF(st.originX - 4, st.originY - 4, 8, 8));
    p.drawText(QPointF(st.originX - 130, st.originY + 30), message(43, st.language));
    canvas_->update();
}

void DrawingWindow::showPositioningHint() {
    showHint(TextIn(state().language, kPositioning), kHintPurple);
}

void DrawingWindow::showHint(const QString& text, const QString& style) {
    hint_->setText(text);
    hint_->setStyleSheet(style);
}

bool DrawingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter && activated_ && IsPlanarDial(state())) {
        if (watched == drawButton_ || watched == gridButton_) {
            showPositioningHint();
        } else if (watched == printButton_ || watched == hpglButton_ || watched == dxfButton_) {
            showHint(TextIn(state().language, kTextPosition), kHintNavy);
        }
    }
    return ChildWindow::eventFilter(watched, event);
}

void DrawingWindow::drawCommand(bool withGrid) {
    // A draw shows the drawing, not the angle table.
    if (angleTableShown()) toggleAngleTable();
    state().zoomFactor = 1.0;
    grid_ = withGrid;
    render();
}

void DrawingWindow::redraw() { render(); }

void DrawingWindow::coloursChanged() {
    // A drawing on the screen is drawn again in the new colours; an empty canvas stays empty.
    if (drawn_) redraw();
}

void DrawingWindow::render() {
    DialState& s = state();
    canvas_->setTextBlock({});
    QImage& image = canvas_->image();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    DialResult result;
    {
        QPainter painter(&image);
        CanvasPainter canvas(painter, s.colours, QRectF(0, 0, image.width(), image.height()));
        const DialRequest r = screenRequest();
        if (correctionTable_) {
            canvas.fillRect(0, 0, image.width(), image.height(), colour::kWhite);
            result = SheetViewOf(s)(DialContext(s), r, canvas, host().dialogs());
        } else {
            result = DrawDialOnScreen(s, r, canvas, host().dialogs());
        }
    }
    QGuiApplication::restoreOverrideCursor();
    s.zoomFactor = result.zoomFactor;
    if (s.dialType == 'm' && result.drawn)
        showHint(TextIn(s.language, kConeNote), kHintRed);
    drawn_ = true;
    updateShadow();
    canvas_->update();
}

PrintPlacement DrawingWindow::pagePlacement(const std::optional<ShadowMoment>& shadow) const {
    const DialState& s = state();
    PrintPlacement placement;
    placement.screen = {s.originX, s.originY, s.centreX, s.centreY};
    // Window positions are pixels of the image as it is now.
    placement.drawSize = canvas_->image().size();
    placement.grid = grid_;
    if (shadow && !correctionTable_) placement.shadow = &*shadow;
    return placement;
}

DialRequest DrawingWindow::screenRequest() const {
    DialRequest r = ScreenRequestFor(pagePlacement(std::nullopt));
    r.sheetA3 = !host().screenLikePrintout();
    const QScreen* screen = QGuiApplication::primaryScreen();
    r.wideScreen = !screen || screen->size().width() >= 1000;
    if (IsPlanarDial(state())) r.angles = &angles_.table;
    return r;
}

void DrawingWindow::updateShadow() {
    const DialState& s = state();
    shadowControls_->setZoneMeridian(s.zoneMeridian);
    const std::optional<ShadowMoment> moment = shadowControls_->moment();
    CastShadow shadow;
    if (moment && drawn_ && !correctionTable_) {
        const DialRequest r = screenRequest();
        shadow = ShadowOnDial(DialContext(s), r, *moment);
        shadowControls_->setStatus(ShadowStatusText(shadow, *moment, s.language));
        canvas_->setShadow(shadow, s.colours, UnitsPerMmOf(r));
        return;
    }
    if (moment) shadowControls_->setStatus({});
    canvas_->setShadow(shadow, s.colours, 1.0);
}

void DrawingWindow::zoomIn() {
    if (!zoomInButton_->isEnabled()) return;
    state().zoomFactor *= state().zoomStep;
    render();
}

void DrawingWindow::zoomOut() {
    if (!zoomOutButton_->isEnabled()) return;
    state().zoomFactor /= state().zoomStep;
    render();
}

void DrawingWindow::wheelZoom(int delta) {
    if (!zoomInButton_->isEnabled()) return;
    if (delta >= -299) state().zoomFactor *= 1.0 + delta / 2000.0;
    render();
}

void DrawingWindow::placeGnomon(QPoint position) {
    originByUser_ = true;
    state().originX = position.x();
    state().originY = position.y();
    render();
}

void DrawingWindow::placeTextBlock(QPoint position) {
    state().centreX = position.x();
    state().centreY = position.y();
    canvas_->setTextBlock(textBlockOutline());
}

QRect DrawingWindow::textBlockOutline() const {
    const char t = state().dialType;
    const int width = canvas_->image().width();
    const double share = (t == 'c' || t == 'm') ? 0.29 : (t == 'v' ? 0.30 : 0.33);
    return QRect(static_cast<int>(state().centreX), static_cast<int>(state().centreY), static_cast<int>(width * share),
                 width / 14);
}

void DrawingWindow::moveOrigin(int dx, int dy) {
    if (!placesGnomon()) return;
    originByUser_ = true;
    state().originX += dx;
    state().originY += dy;
    render();
}

void DrawingWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::AltModifier) {
        switch (event->key()) {
        case Qt::Key_Left: moveOrigin(-30, 0); return;
        case Qt::Key_Right: moveOrigin(30, 0); return;
        case Qt::Key_Up: moveOrigin(0, -30); return;
        case Qt::Key_Down: moveOrigin(0, 30); return;
        case Qt::Key_PageUp: moveOrigin(0, -90); return;
        case Qt::Key_PageDown: moveOrigin(0, 90); return;
        default: break;
        }
    }
    if (mods & Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Plus) {
            zoomIn();
            return;
        }
        if (event->key() == Qt::Key_Minus) {
            zoomOut();
            return;
        }
    }
    ChildWindow::keyPressEvent(event);
}

void DrawingWindow::imageResized() {
    placePanels();
    if (!activated_) return;
    // A resize must not lose the dial the user has drawn; before that the presets follow the size.
    if (drawn_)
        render();
    else if (placesGnomon())
        presetPlacement();
}

void DrawingWindow::contextMenu(QPoint position) {
    rightClick_ = position;
    menu_->popup(canvas_->mapToGlobal(position));
}

bool DrawingWindow::originInsideActiveArea() const {
    const double x = state().originX, y = state().originY;
    return !(x < 1 || y < 1 || x > activeSize_.width() || y > activeSize_.height());
}

void DrawingWindow::toggleAngleTable() {
    if (!angleButton_->isEnabled()) return;
    if (angleTableShown()) {
        angleTable_->hide();
        canvas_->show();
        return;
    }
    angles_ = ComputeHourLineAngles(state(), true);
    angleTable_->setPlainText(angleTableLines().join(QLatin1Char('\n')));
    canvas_->hide();
    angleTable_->show();
}

bool DrawingWindow::angleTableShown() const { return !angleTable_->isHidden(); }

QStringList DrawingWindow::angleTableLines() const { return HourLineAngleTableLines(state(), angles_); }

void DrawingWindow::print() { print(*printer_); }

void DrawingWindow::print(QPrinter& printer) {
    DialState& s = state();
    const Language lang = s.language;
    const char t = s.dialType;
    if (angleTableShown()) {
        // The table instead of the drawing.
        if (!printer_.setUp(printer)) return;
        QPainter painter;
        if (!painter.begin(&printer)) {
            host().dialogs().inform(caption(CaptionKind::Error, lang), message(23, lang), Icon::Error);
            return;
        }
        QFont courier(QStringLiteral("Courier New"), 11);
        courier.setStyleHint(QFont::Monospace);
        painter.setFont(courier);
        const int step = painter.fontMetrics().height();
        int y = step;
        for (const QString& line : angleTableLines()) {
            painter.drawText(QPoint(0, y), line);
            y += step;
        }
        if (!painter.end()) host().dialogs().inform(caption(CaptionKind::Error, lang), message(42, lang), Icon::Error);
        return;
    }
    if (placesGnomon() && t != 'm') {
        if (!originInsideActiveArea() &&
            host().dialogs().ask(caption(CaptionKind::Achtung, lang), message(15, lang), Buttons::YesNo) == Answer::Yes)
            return;
    } else if (std::abs(s.latitude) > 65 && s.temporalHours) {
        host().dialogs().inform(caption(CaptionKind::Warning, lang), message(64, lang), Icon::Warning);
        return;
    }
    printer.setPageOrientation(QPageLayout::Landscape);
    if (printer_.setUp(printer)) printTo(printer);
    printer.setPageOrientation(QPageLayout::Portrait);
}

bool DrawingWindow::printTo(QPrinter& printer) {
    DialState& s = state();
    const Language lang = s.language;
    QPainter painter;
    if (!painter.begin(&printer)) {
        host().dialogs().inform(caption(CaptionKind::Error, lang), message(23, lang), Icon::Error);
        return false;
    }
    // The unprintable margins in 0.1 mm; the painter's origin is the printable corner.
    const QMarginsF m = printer.pageLayout().margins(QPageLayout::Millimeter);
    const PrintArea area = FitPrintableArea(10 * m.left(), 10 * m.right(), 10 * m.top(), 10 * m.bottom());
    MapTenthMillimetres(painter, printer.logicalDpiX(), printer.logicalDpiY());
    // A half ring longer than the page is printed as far as it goes, after a warning.
    if (s.dialType == 'r' && !correctionTable_ && RingLongerThanPrintArea(s, area.width))
        host().dialogs().inform(caption(CaptionKind::Warning, lang),
                                TextIn(lang, kHalfRing), Icon::Warning);
    // The shadow the window shows is printed with the dial.
    const std::optional<ShadowMoment> shadow = shadowControls_->moment();
    const PrintPlacement placement = pagePlacement(shadow);
    DrawDialOnPage(painter, area, s, placement, host().dialogs(),
                   correctionTable_ ? SheetViewOf(s) : nullptr);
    if (!painter.end()) {
        host().dialogs().inform(caption(CaptionKind::Error, lang), message(42, lang), Icon::Error);
        return false;
    }
    return true;
}

void DrawingWindow::toggleCorrectionTable() {
    if (!SheetViewOf(state())) return;
    correctionTable_ = !correctionTable_;
    // While the table is shown there is no drawing to save; printing prints the table.
    enableFileOutput(!correctionTable_ && CanSavePlot(state()));
    if (correctionTable_) filePanel_->hide();
    captionSheetButton();
    render();
}

void DrawingWindow::enableFileOutput(bool on) {
    EnableCommand(hpglButton_, hpglAction_, on);
    EnableCommand(dxfButton_, dxfAction_, on);
}

void DrawingWindow::captionSheetButton() {
    // While the sheet is shown the button goes back to the drawing (" Close ").
    correctionButton_->setText(resourceText(correctionTable_ ? 719 : SheetButtonCaption(state()), state().language));
}

void DrawingWindow::openFileOutput(bool hpgl, bool fromButton) {
    if (!CanSavePlot(state()) || correctionTable_) return;
    if (angleTableShown()) toggleAngleTable();
    stylePanel_->hide();
    placePanels();
    filePanel_->open(hpgl, fromButton);
    filePanel_->raise();
}

bool DrawingWindow::saveSvg() {
    DialState& s = state();
    const Language lang = s.language;
    if (angleTableShown()) toggleAngleTable();
    // Proposed beside the last plot file, with its name.
    const QFileInfo last(s.plotFileName.isEmpty() ? QStringLiteral("zor.plt") : s.plotFileName);
    const QString proposed = (last.isAbsolute() ? last.absoluteDir().filePath(last.completeBaseName())
                                                : last.completeBaseName()) +
                             QStringLiteral(".svg");
    const QString path = host().files().saveFileName(caption(CaptionKind::SaveDrawing, lang), proposed,
                                                     TextIn(lang, kSvgFilter),
                                                     QStringLiteral("svg"));
    if (path.isEmpty()) return false;
    // The page of the printout (and of zorva-cli while the gnomon is where a fresh window
    // puts it): gnomon and text where this window has them.
    const std::optional<ShadowMoment> shadow = shadowControls_->moment();
    const PrintPlacement placement = pagePlacement(shadow);
    SaveError error;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = RenderDialSvg(s, placement, path, host().dialogs(), &error, correctionTable_ ? SheetViewOf(s) : nullptr);
    QGuiApplication::restoreOverrideCursor();
    if (!ok) {
        host().dialogs().inform(caption(CaptionKind::Error, lang),
                                message(53, lang) + QStringLiteral("\r\n") + path + QStringLiteral("\r\n") +
                                    SaveErrorText(error, lang),
                                Icon::Error);
        return false;
    }
    host().dialogs().inform(caption(CaptionKind::Information, lang), DrawingSavedText(path, lang), Icon::Information);
    return true;
}

void DrawingWindow::showPolarStyle() {
    if (state().dialType == 'm') {
        filePanel_->hide();
        placePanels();
        hollanderPanel_->showInformation();
        return;
    }
    if (!IsPlanarDial(state()) || state().umbrellaDial) return;
    filePanel_->hide();
    placePanels();
    stylePanel_->showInformation();
    stylePanel_->raise();
}

void DrawingWindow::showConeGraphic() {
    if (state().dialType != 'm') return;
    filePanel_->hide();
    placePanels();
    hollanderPanel_->showGraphic();
}

void DrawingWindow::placePanels() {
    // The panels lie over the lower part of the drawing: the image, and with it every
    // position the user gave in its pixels, keeps its size while they are open.
    const QRect area = canvas_->geometry();
    const int fileHeight = std::min(area.height(), filePanel_->sizeHint().height());
    filePanel_->setGeometry(area.left(), area.bottom() + 1 - fileHeight, area.width(), fileHeight);
    const int styleHeight = std::min(area.height(), std::max(area.height() / 2, stylePanel_->sizeHint().height()));
    stylePanel_->setGeometry(area.left(), area.bottom() + 1 - styleHeight, area.width(), styleHeight);
    hollanderPanel_->setGeometry(area);
}

WindowPlacement DrawingWindow::placement() const {
    const DialState& s = state();
    WindowPlacement p;
    p.imageSize = canvas_->image().size();
    p.origin = QPointF(s.originX, s.originY);
    p.text = QPointF(s.centreX, s.centreY);
    p.originFixed = originByUser_;
    return p;
}

bool DrawingWindow::printLines(const QStringList& lines) {
    if (!printer_.setUp(*printer_)) return false;
    TextPrintJob job(*printer_);
    if (!job.write(lines)) {
        host().dialogs().inform(caption(CaptionKind::Error, state().language), message(42, state().language), Icon::Error);
        return false;
    }
    job.finish();
    return true;
}

}  // namespace zorva
