#pragma once
// The dial-parameter dialog: one page per dial family, of which only the page of the
// current dial-type letter is shown. Every control writes its field of the state at once;
// the close check re-reads and validates the number fields of the page shown.

#include "state/dial_state.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace zorva {

class FieldBindings;
class UserDialogs;

class ParameterDialog : public QWidget {
    Q_OBJECT
public:
    // In the order of the page control; help topics and English page captions follow it.
    enum class Page { Planar, Umbrella, Quadrant, Cylinder, Hidokai, Ring, Azimuth, Biazimuthal, MeanTime, Analemmatic, Bifilar };

    ParameterDialog(DialState& state, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~ParameterDialog() override;

    static Page PageFor(const DialState& s);
    Page currentPage() const { return page_; }
    // Help topic of the page shown.
    int helpTopic() const;
    // The caption of a page in a language.
    static QString PageCaption(Page page, Language lang);
    // The window title for the state's dial.
    static QString TitleFor(const DialState& s);

    // Validates the number fields of the page shown and the page's own rules. On success the
    // values are stored; on failure nothing of the check is stored, the focus is on the
    // offending field and the dialog stays open. The outcome is also emitted.
    bool closeCheck();
    bool lastCheckOk() const { return lastCheckOk_; }

    // Re-captions pages, groups, radio items and labels in the state's language.
    void applyLanguage();
    // Refills every control from the state and shows the page of the dial-type letter.
    void refill();

    // The own date-line list beside the planar pages.
    bool addDateLine(const QString& text);
    bool removeMarkedDateLine();
    void setSettingsPaths(const QString& settingsPath, const QString& dateLinesPath);
    // Shows the state's date-line list again, keeping the marked row where it can.
    void refillDateList();

    // During the wizard "Abbruch" is offered and closing leads on to the drawing.
    void setWizardMode(bool on);
    bool wizardMode() const { return wizardMode_; }
    // The menu offered on a right click (the wizard's or the options pop-up).
    void setPopupMenu(QMenu* menu) { popup_ = menu; }

signals:
    // The outcome of every close check (the main window keeps it as the last dialog's result).
    void closeChecked(bool ok);
    // "Abbruch": the main window cancels the wizard.
    void cancelRequested();
    void helpRequested(int topic);
    // The dialog agreed to close.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applyWizardCaptions();
    struct Builder;
    friend struct Builder;

    // One builder per page, in the order of the tabs; then the date lines and the buttons.
    void build();
    void addPage(Page page, QWidget* content);
    Builder builderFor(Page page);
    void addPlanarPage(Page page, Builder& b, QGridLayout* dimensions);
    void buildPlanarPage();
    void buildUmbrellaPage();
    void buildQuadrantPage();
    void buildCylinderPage();
    void buildHidokaiPage();
    void buildRingPage();
    void buildAzimuthPage();
    void buildBiazimuthalPage();
    void buildMeanTimePage();
    void buildAnalemmaticPage();
    void buildBifilarPage();
    void buildDateLines(QHBoxLayout& body);
    void buildButtons(QVBoxLayout& outer);
    void applyOpeningRules();
    void showPage(Page page);
    void fitToPage();
    void updateDependents();
    void onFieldWritten(const void* storage);
    // The numeral choices into zorva.conf beside the settings file.
    void savePreferences();
    bool pageRules(DialState& scratch);
    bool umbrellaRatioOk(const DialState& s);
    bool quadrantDiameterOk(const DialState& s);
    bool ringScaleOk(const DialState& s);
    QLineEdit* fieldNamed(const QString& name) const;

    DialState& state_;
    UserDialogs& dialogs_;
    FieldBindings* bindings_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::vector<QWidget*> pages_;
    QGroupBox* dateGroup_ = nullptr;
    QListWidget* dateList_ = nullptr;
    QLineEdit* dateEdit_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QMenu* popup_ = nullptr;
    Page page_ = Page::Planar;
    bool wizardMode_ = false;
    bool lastCheckOk_ = true;
    // The ring page asks about its scale once until one of its values changes again.
    bool ringQuestionPending_ = true;
    bool pageShown_ = false;
    QString settingsPath_;
    QString dateLinesPath_;

    struct Rule {
        QWidget* widget;
        std::function<bool(const DialState&)> when;
    };
    std::vector<Rule> enabledRules_;
    std::vector<Rule> visibleRules_;
};

}  // namespace zorva
