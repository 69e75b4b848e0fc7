#pragma once
// The drawing window's file-output panel: line weight, file name and the output of the
// construction's coordinates; "Weiter" asks for the file and saves the planar dial as an
// HPGL plot or as DXF.

#include "dials/hour_line_angles.h"
#include "dials/planar_plot.h"
#include "ui/overlay_panel.h"

#include <QStringList>

#include <functional>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zorva {

struct DialState;
class FileChooser;
class UserDialogs;

class FileOutputPanel : public OverlayPanel {
    Q_OBJECT
public:
    // What the panel needs from its drawing window.
    struct Window {
        std::function<std::optional<WindowPlacement>()> placement;  // gnomon and text positions
        std::function<bool()> originInside;                         // the gnomon foot lies on the image
        std::function<const HourLineAngles*()> angles;              // the window's hour-line angles
        std::function<bool(const QStringList&)> printListing;       // the coordinates on the printer
    };

    FileOutputPanel(DialState& state, UserDialogs& dialogs, FileChooser& files, QWidget* parent = nullptr);

    void setWindow(Window window) { window_ = std::move(window); }
    void applyLanguage();

    // "save" (HPGL) and "speichern..." (DXF): shows the panel. From a button, a gnomon foot
    // outside the image is asked about first; Yes closes the panel and false is returned.
    bool open(bool hpgl, bool fromButton);
    // "Weiter": the save dialog, the grid question and the file. True when it was saved.
    bool proceed();
    bool plotToHpgl() const { return hpgl_; }

    // The name in the panel's field turned into a plot or DXF file name: at most 60
    // characters, its extension replaced or appended, "zor" when empty.
    static QString FileNameFor(const QString& text, bool hpgl);

private:
    bool planarLetter() const;
    int coordinateChoice() const;

    DialState& state_;
    UserDialogs& dialogs_;
    FileChooser& files_;
    Window window_;
    bool hpgl_ = true;

    QLabel* nameLabel_ = nullptr;
    QLineEdit* name_ = nullptr;
    QGroupBox* coordinates_ = nullptr;
    QRadioButton* coordinateItems_[3] = {};
    QLabel* weightLabel_ = nullptr;
    QComboBox* weight_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zorva
