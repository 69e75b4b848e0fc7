#pragma once
// The dial-type dialog: the dial-type letter with its sub-kind, and the few dimensions every
// kind needs at once. Step 2 of the wizard.

#include "state/added_dials.h"
#include "ui/wizard_dialog.h"

#include <map>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zorva {

class TypeDialog : public WizardDialog {
    Q_OBJECT
public:
    explicit TypeDialog(ChildHost& host, QWidget* parent = nullptr);

    bool closeCheck() override;
    void applyLanguage() override;
    int helpTopic() const override { return 6; }

    // Items of the list of kinds, in their fixed order.
    enum Item {
        Horizontal, Vertical, Inclined, Umbrella, Quadrant, Azimuth, Cylinder, Hidokai, Ring, Biazimuthal, Hollander,
        Analemmatic, Bifilar
    };
    static constexpr int kItemCount = 13;
    // The item that shows a stored letter (other letters show the horizontal dial).
    static Item ItemForLetter(char letter, bool umbrella);
    // Dial diameter of the Habermel dials (quadrant kinds 1 and 2) for a gnomon of h mm.
    static double HabermelDiameter(int quadrantKind, double gnomon, double latitude, double obliquity);

    int itemCount() const;  // items offered (nine without expert mode)

protected:
    bool checkLeftField(QObject* field) override;
    void restoreOpeningState() override;

private:
    enum class Gnomon { Hidden, Planar, Shepherd, PolarCylinder, Habermel, Hidokai };
    enum FieldId { GnomonField, DeclinationField, InclinationField, RingField, RadiusField, MonthScaleField };
    struct Snapshot {
        AddedKind addedKind;
        bool analemmaticVertical, bifilarVertical;
        char dialType;
        bool umbrellaDial;
        int cylinderKind, quadrantKind, azimuthKind, legendOffset;
        double gnomonLength, cylinderGnomon, cylinderRadius, quadrantGnomon, wallDeclination, planeInclination,
            ringDiameter;
        int shepherdGnomon, hidokaiGnomon, monthScaleLength;
    };

    QLineEdit* makeEdit(const QString& name);
    void keepWidthForEveryKind();
    // The plane of an added kind changed: level or wall.
    void addedPlaneChanged();
    QGroupBox* makeChoiceGroup(const QString& name, const std::vector<QRadioButton*>& buttons, QButtonGroup*& group);
    void applyExpertRules();
    void selectFromState();
    void itemChosen(int item);
    void subChoiceChanged();
    void updateVisibility();
    void fillFields();
    Gnomon gnomonKind() const;
    // Reads one field into the state; `closing` uses the close check's ranges.
    bool readField(FieldId id, bool closing);
    bool readGnomon(bool closing);
    bool habermelHeightOk();
    QString nameOf(QLabel* label) const;

    // Sets a field's text from the state and remembers it: a text the user did not touch is
    // not read back, so that a value is never rounded to the digits shown.
    void show(QLineEdit* edit, const QString& text);
    bool untouched(const QLineEdit* edit) const;

    Snapshot opening_{};
    std::map<const QLineEdit*, QString> shown_;
    QGroupBox* kindGroup_ = nullptr;
    QLabel* picture_ = nullptr;
    QWidget* choicesPanel_ = nullptr;
    QButtonGroup* items_ = nullptr;
    std::vector<QRadioButton*> itemButtons_;
    QGroupBox* umbrellaBox_ = nullptr;
    QButtonGroup* umbrellaPlane_ = nullptr;
    QGroupBox* addedPlaneBox_ = nullptr;
    QButtonGroup* addedPlane_ = nullptr;
    QGroupBox* cylinderBox_ = nullptr;
    QButtonGroup* cylinderKinds_ = nullptr;
    QGroupBox* quadrantBox_ = nullptr;
    QButtonGroup* quadrantKinds_ = nullptr;
    QGroupBox* azimuthBox_ = nullptr;
    QButtonGroup* azimuthKinds_ = nullptr;

    QLabel* gnomonLabel_ = nullptr;
    QLineEdit* gnomonEdit_ = nullptr;
    QLabel* declinationLabel_ = nullptr;
    QLabel* eastNegativeLabel_ = nullptr;
    QLineEdit* declinationEdit_ = nullptr;
    QLabel* inclinationLabel1_ = nullptr;
    QLabel* inclinationLabel2_ = nullptr;
    QLineEdit* inclinationEdit_ = nullptr;
    QLabel* ringLabel_ = nullptr;
    QLineEdit* ringEdit_ = nullptr;
    QLabel* radiusLabel_ = nullptr;
    QLineEdit* radiusEdit_ = nullptr;
    QLabel* monthScaleLabel_ = nullptr;
    QLineEdit* monthScaleEdit_ = nullptr;
    QLabel* oldValueLabel_ = nullptr;
};

}  // namespace zorva
