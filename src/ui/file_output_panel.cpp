#include "ui/file_output_panel.h"

#include "dials/dial_constructions.h"
#include "dials/dial_render.h"
#include "state/dial_state.h"
#include "text/bilingual.h"
#include "text/texts.h"
#include "text/user_dialogs.h"
#include "ui/file_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zorva {
namespace {

using Text = BilingualText;
constexpr Text kFileName{"Datei&name:", "File &name:"};
constexpr Text kCoordinates{"Koordinaten der Konstruktion", "Co-ordinates of the construction"};
constexpr Text kWeight{"Stärke der Konstruktionslinien", "Width of the construction lines"};
constexpr Text kNext{"&Weiter  >", "&Next  >"};
constexpr Text kCancel{"&Abbrechen", "&Cancel"};
constexpr Text kHpglFilter{"HPGL-Dateien (*.plt)|*.plt|Alle Dateien (*.*)|*.*", "HPGL files (*.plt)|*.plt|All files (*.*)|*.*"};
constexpr Text kDxfFilter{"DXF-Dateien (*.dxf)|*.dxf|Alle Dateien (*.*)|*.*", "DXF files (*.dxf)|*.dxf|All files (*.*)|*.*"};

constexpr int kMaxNameLength = 60;

}  // namespace

FileOutputPanel::FileOutputPanel(DialState& state, UserDialogs& dialogs, FileChooser& files, QWidget* parent)
    : OverlayPanel("fileOutputPanel", parent), state_(state), dialogs_(dialogs), files_(files) {

    nameLabel_ = new QLabel(this);
    name_ = new QLineEdit(QStringLiteral("zor.plt"), this);
    name_->setObjectName(QStringLiteral("plotFileName"));
    name_->setMaxLength(kMaxNameLength);
    nameLabel_->setBuddy(name_);
    // Leaving the name or pressing Enter in it goes on to "Weiter".
    connect(name_, &QLineEdit::returnPressed, this, [this] { next_->setFocus(); });

    coordinates_ = new QGroupBox(this);
    coordinates_->setObjectName(QStringLiteral("coordinateOutput"));
    auto* items = new QVBoxLayout(coordinates_);
    for (int i = 0; i < 3; ++i) {
        coordinateItems_[i] = new QRadioButton(coordinates_);
        coordinateItems_[i]->setObjectName(QStringLiteral("coordinateOutput%1").arg(i));
        items->addWidget(coordinateItems_[i]);
    }
    coordinateItems_[0]->setChecked(true);

    weightLabel_ = new QLabel(this);
    weight_ = new QComboBox(this);
    weight_->setObjectName(QStringLiteral("lineWeight"));
    weight_->addItems({QString(), QString(), QString()});
    weightLabel_->setBuddy(weight_);

    next_ = new QPushButton(this);
    next_->setObjectName(QStringLiteral("nextButton"));
    cancel_ = newCloseButton("cancelButton");
    connect(next_, &QPushButton::clicked, this, [this] { proceed(); });
    // Escape in the panel is its "Abbrechen".
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, cancel_, &QPushButton::click);

    auto* layout = new QGridLayout(this);
    layout->addWidget(nameLabel_, 0, 0);
    layout->addWidget(name_, 0, 1);
    layout->addWidget(weightLabel_, 1, 0);
    layout->addWidget(weight_, 1, 1);
    layout->addWidget(coordinates_, 0, 2, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(next_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons, 2, 0, 1, 2);
    applyLanguage();
}

void FileOutputPanel::applyLanguage() {
    const Language l = state_.language;
    const auto tr = [l](const Text& t) { return t.in(l); };
    nameLabel_->setText(tr(kFileName));
    coordinates_->setTitle(tr(kCoordinates));
    for (int i = 0; i < 3; ++i) coordinateItems_[i]->setText(label(31 + i, l));
    weightLabel_->setText(tr(kWeight));
    for (int i = 0; i < 3; ++i) weight_->setItemText(i, label(39 + i, l));
    next_->setText(tr(kNext));
    cancel_->setText(tr(kCancel));
}

QString FileOutputPanel::FileNameFor(const QString& text, bool hpgl) {
    QString name = text.trimmed().left(kMaxNameLength);
    const QString extension = hpgl ? QStringLiteral("plt") : QStringLiteral("dxf");
    // The extension belongs to the file's name, not to a folder in front of it.
    const qsizetype slash = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > slash + 1) name.truncate(dot);
    else if (dot == name.size() - 1 && dot >= 0) name.chop(1);
    if (name.isEmpty() || name.endsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('\\')))
        name += QStringLiteral("zor");
    return name + QLatin1Char('.') + extension;
}

bool FileOutputPanel::planarLetter() const { return IsPlanarDial(state_); }

int FileOutputPanel::coordinateChoice() const {
    for (int i = 0; i < 3; ++i)
        if (coordinateItems_[i]->isChecked()) return i;
    return 0;
}

bool FileOutputPanel::open(bool hpgl, bool fromButton) {
    hpgl_ = hpgl;
    const Language l = state_.language;
    const char t = state_.dialType;
    if ((t == 'c' || t == 'h' || t == 'i' || t == 'v') && fromButton && window_.originInside && !window_.originInside() &&
        dialogs_.ask(caption(CaptionKind::Achtung, l), message(15, l), Buttons::YesNo) == Answer::Yes) {
        hide();
        emit closed();
        return false;
    }
    weight_->setCurrentIndex(std::clamp(state_.plotLineWeight, 1, 3) - 1);
    name_->setText(FileNameFor(name_->text(), hpgl));
    // Coordinates exist for the planar dials (and their umbrella variants) only.
    coordinates_->setEnabled(planarLetter());
    if (!planarLetter()) coordinateItems_[0]->setChecked(true);
    show();
    name_->setFocus();
    return true;
}

bool FileOutputPanel::proceed() {
    if (!CanSavePlot(state_)) return false;
    const Language l = state_.language;
    const QString name = FileNameFor(name_->text(), hpgl_);
    name_->setText(name);
    // Proposed in the folder of the last plot file.
    QString proposed = name;
    const QFileInfo last(state_.plotFileName);
    if (QFileInfo(name).isRelative() && !state_.plotFileName.isEmpty() && last.isAbsolute())
        proposed = last.absoluteDir().filePath(name);
    const QString chosen = files_.saveFileName(caption(CaptionKind::SaveDrawing, l), proposed,
                                               (hpgl_ ? kHpglFilter : kDxfFilter).in(l),
                                               hpgl_ ? QStringLiteral("plt") : QStringLiteral("dxf"));
    if (chosen.isEmpty()) return false;

    PlanarSaveRequest request;
    request.fileName = chosen;
    request.format = hpgl_ ? PlotFormat::Hpgl : PlotFormat::Dxf;
    request.lineWeight = weight_->currentIndex() + 1;
    request.coordinates = static_cast<CoordinateOutput>(coordinateChoice());
    request.gridMm = AskPlotGrid(dialogs_, l);
    if (window_.placement) request.placement = window_.placement();
    if (window_.angles) request.angles = window_.angles();

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    PlanarSaveResult result;
    if (planarLetter()) {
        result = SavePlanarDial(state_, request, dialogs_);
    } else {
        PlotSaveRequest save;
        save.fileName = chosen;
        save.format = request.format;
        save.highResolution = true;
        save.lineWeight = request.lineWeight;
        result.ok = SaveDialPlot(state_, save, dialogs_).ok;
    }
    QGuiApplication::restoreOverrideCursor();
    if (!result.ok) return false;

    // The state changes only after the output has succeeded.
    state_.plotFileName = chosen;
    state_.plotLineWeight = request.lineWeight;
    name_->setText(QFileInfo(chosen).fileName());
    if (request.coordinates == CoordinateOutput::Printer && window_.printListing) window_.printListing(result.listing);
    hide();
    emit closed();
    return true;
}

}  // namespace zorva
