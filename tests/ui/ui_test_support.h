#pragma once
// A main window wired to a recorder and scripted file dialogs, for driving the windows offscreen.

#include "state/dial_state.h"
#include "support/test_support.h"
#include "text/recording_dialogs.h"
#include "ui/file_chooser.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <functional>
#include <memory>

namespace zorva::test {

struct ScriptedFiles : FileChooser {
    std::deque<QString> answers;  // empty text = cancelled
    QStringList titles, filters, proposals;
    QString next() {
        if (answers.empty()) return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
    QString saveFileName(const QString& title, const QString& proposed, const QString& filter, const QString&) override {
        titles << title;
        filters << filter;
        proposals << proposed;
        return next();
    }
    QString openFileName(const QString& title, const QString&, const QString& filter) override {
        titles << title;
        filters << filter;
        return next();
    }
    // The filter the user picks in a save dialog that asks for one (none queued: keep it).
    std::deque<int> filterAnswers;
    QStringList namesPerFilter;
    QString saveFileNameWithFilter(const QString& title, const QString& proposed, const QString& filter,
                                   const QStringList& names, int& filterIndex) override {
        titles << title;
        filters << filter;
        proposals << proposed;
        namesPerFilter = names;
        if (!filterAnswers.empty()) {
            filterIndex = filterAnswers.front();
            filterAnswers.pop_front();
        }
        return next();
    }
};

// Runs queued events until `done` holds or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
    for (int waited = 0; waited < ms; waited += 5) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (done()) return true;
        QTest::qWait(5);
    }
    return done();
}

inline void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

class UiTest : public ::testing::Test {
protected:
    void SetUp() override { makeWindow(); }
    void TearDown() override { window.reset(); }

    void makeWindow(const std::function<void(ChildRegistry&)>& extra = {}) {
        window.reset();
        ChildRegistry registry;
        RegisterStandardChildren(registry);
        if (extra) extra(registry);
        window = std::make_unique<MainWindow>(state, dialogs, files, std::move(registry));
        window->resize(1100, 800);
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        Settle();
    }

    template <class T>
    T* find(const QString& name) const {
        ChildWindow* c = window->activeChild();
        return c ? c->findChild<T*>(name) : nullptr;
    }
    QLineEdit* edit(const QString& name) const { return find<QLineEdit>(name); }
    // Replaces a field's text as a user would: select all, type.
    void type(const QString& field, const QString& text) {
        QLineEdit* e = edit(field);
        ASSERT_NE(e, nullptr) << field.toStdString();
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    void click(const QString& name) {
        auto* b = find<QAbstractButton>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        // Radio buttons and check boxes react only on their mark and text, at the left.
        const bool marked = b->inherits("QRadioButton") || b->inherits("QCheckBox");
        QTest::mouseClick(b, Qt::LeftButton, {}, marked ? QPoint(8, b->height() / 2) : QPoint());
        Settle();
    }
    QWidget* focused() const { return QApplication::focusWidget(); }

    DialState state = StartupState();
    RecordingDialogs dialogs;
    ScriptedFiles files;
    std::unique_ptr<MainWindow> window;
};

}  // namespace zorva::test
