#pragma once
// The site and year dialog: latitude, longitude and zone meridian in degrees, minutes and
// seconds with their hemispheres, and the reference year. Step 1 of the wizard.

#include "ui/child_window.h"

#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zorva {

class NumberKeyFilter;

class SiteDialog : public ChildWindow {
    Q_OBJECT
public:
    explicit SiteDialog(ChildHost& host, QWidget* parent = nullptr);

    bool closeCheck() override;
    void applyLanguage() override;
    void wizardNext() override;
    int helpTopic() const override { return 5; }
    void cancelByKey() override;

    // Splits an angle into whole degrees, minutes and seconds as shown in the fields;
    // 60 seconds are shown as 0 with one minute more.
    struct Dms { int degrees, minutes, seconds; };
    static Dms SplitAngle(double angle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    void closeClicked();
    void cancelClicked();

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
    QPushButton* closeButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    NumberKeyFilter* keys_ = nullptr;
    bool checking_ = false;
    // A field rejected its entry when the user left it for the close button: that click is
    // not a request to close (a message box would have swallowed it).
    bool rejectedOnLeave_ = false;
    // What the fields showed when the dialog opened: a row the user did not change keeps the
    // stored angle instead of its value rounded to whole seconds.
    std::array<int, 9> opening_{};
    std::array<bool, 3> openingNegative_{};
    bool wizard_ = false;
};

}  // namespace zorva
