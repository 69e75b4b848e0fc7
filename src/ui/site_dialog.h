#pragma once
// The site and year dialog: latitude, longitude and zone meridian in degrees, minutes and
// seconds with their hemispheres, and the reference year. Step 1 of the wizard.

#include "ui/wizard_dialog.h"

#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zorva {

class SiteDialog : public WizardDialog {
    Q_OBJECT
public:
    explicit SiteDialog(ChildHost& host, QWidget* parent = nullptr);

    bool closeCheck() override;
    void applyLanguage() override;
    void wizardNext() override;
    int helpTopic() const override { return 5; }

    // Splits an angle into whole degrees, minutes and seconds as shown in the fields;
    // 60 seconds are shown as 0 with one minute more.
    struct Dms { int degrees, minutes, seconds; };
    static Dms SplitAngle(double angle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool checkLeftField(QObject* field) override;
    void cancelClicked() override;

private:
    enum Row { Latitude, Longitude, Zone };
    enum Part { Degrees, Minutes, Seconds };
    struct Field {
        QLineEdit* edit = nullptr;
        int value = 0;
        int upper = 60;
        Row row = Latitude;
        Part part = Degrees;
    };

    QLineEdit* makeEdit(const QString& name, int width);
    void fillFromState();
    // Runs the range check of one field; false when it rejected the entry.
    bool checkField(Field& field);
    bool checkYear();
    // An emptied field on closing: says which value is missing; false then.
    bool reportMissingEntry();
    QString rowName(Row row) const;
    Field* fieldOf(QObject* edit);

    std::array<Field, 9> fields_;
    QLineEdit* yearEdit_ = nullptr;
    int year_ = 0;
    std::array<QLabel*, 3> rowLabels_{};
    QLabel* yearLabel_ = nullptr;
    QRadioButton* north_ = nullptr;
    QRadioButton* south_ = nullptr;
    QRadioButton* east_ = nullptr;
    QRadioButton* west_ = nullptr;
    QRadioButton* zoneEast_ = nullptr;
    QRadioButton* zoneWest_ = nullptr;
    // What the fields showed when the dialog opened: a row the user did not change keeps the
    // stored angle instead of its value rounded to whole seconds.
    std::array<int, 9> opening_{};
    std::array<bool, 3> openingNegative_{};
};

}  // namespace zorva
