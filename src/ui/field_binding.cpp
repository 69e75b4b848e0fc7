#include "ui/field_binding.h"

#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>

#include <cmath>

namespace zorva {

namespace {
const char* const kResourceTag = "resourceTag";
const char* const kItemFirst = "itemTagFirst";
const char* const kItemCount = "itemTagCount";
}  // namespace

IntAccess flagField(bool DialState::*field) {
    return {[field](const DialState& s) { return (s.*field) ? 1 : 0; },
            [field](DialState& s, int v) { s.*field = v != 0; },
            [field](const DialState& s) -> const void* { return &(s.*field); }};
}

IntAccess intField(int DialState::*field) {
    return {[field](const DialState& s) { return s.*field; }, [field](DialState& s, int v) { s.*field = v; },
            [field](const DialState& s) -> const void* { return &(s.*field); }};
}

IntAccess digitField(char DialState::*field) {
    return {[field](const DialState& s) {
                const char c = s.*field;
                return (c >= '0' && c <= '9') ? c - '0' : -1;
            },
            [field](DialState& s, int v) {
                if (v >= 0 && v <= 9) s.*field = static_cast<char>('0' + v);
            },
            [field](const DialState& s) -> const void* { return &(s.*field); }};
}

NumberAccess realField(double DialState::*field) {
    return {[field](const DialState& s) { return s.*field; }, [field](DialState& s, double v) { s.*field = v; },
            [field](const DialState& s) -> const void* { return &(s.*field); }};
}

NumberAccess integerField(int DialState::*field) {
    return {[field](const DialState& s) { return double(s.*field); },
            [field](DialState& s, double v) { s.*field = static_cast<int>(std::lround(v)); },
            [field](const DialState& s) -> const void* { return &(s.*field); }};
}


FieldBindings::FieldBindings(DialState& state, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), state_(state), dialogs_(dialogs) {}

void FieldBindings::add(Control c) {
    controls_.push_back(std::move(c));
    refreshControl(controls_.back());
}

void FieldBindings::bindCheck(QAbstractButton* box, IntAccess access, int onValue, int offValue) {
    add({.kind = Kind::Check, .object = box, .access = std::move(access), .onValue = onValue, .offValue = offValue});
    connect(box, &QAbstractButton::toggled, this, [this, box](bool on) {
        if (refreshing_) return;
        Control* c = find(box);
        if (!c) return;
        if (on) write(*c, c->onValue);
        else if (c->access.get(state_) == c->onValue) write(*c, c->offValue);
    });
}

void FieldBindings::choose(QObject* control, int index) {
    if (refreshing_) return;
    Control* c = find(control);
    if (!c) return;
    write(*c, c->values.isEmpty() ? index : c->values.value(index, index));
}

void FieldBindings::bindList(QComboBox* list, IntAccess access, QVector<int> values) {
    add({.kind = Kind::List, .object = list, .access = std::move(access), .values = std::move(values)});
    connect(list, &QComboBox::currentIndexChanged, this, [this, list](int index) {
        if (index >= 0) choose(list, index);
    });
}

void FieldBindings::bindRadio(QButtonGroup* group, IntAccess access, QVector<int> values) {
    add({.kind = Kind::Radio, .object = group, .access = std::move(access), .values = std::move(values)});
    connect(group, &QButtonGroup::idToggled, this, [this, group](int id, bool on) {
        if (on) choose(group, id);
    });
}

void FieldBindings::bindNumber(QLineEdit* edit, NumberAccess access, NumberSpec rule) {
    add({.kind = Kind::Number, .object = edit, .number = std::move(access), .rule = std::move(rule)});
    // Letters never make a number: they are refused as they are typed.
    if (!keys_) keys_ = new NumberKeyFilter(NumberKeyFilter::Allowed::AnyReal, nullptr, this);
    keys_->install(edit);
    // Read when the field is left or RETURN is pressed, but only after the user typed:
    // merely passing through a field must not bring up messages.
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
        if (reading_ || !edit->isModified()) return;
        readNumber(edit, state_);
    });
}

void FieldBindings::write(Control& c, int value) {
    c.access.set(state_, value);
    const void* storage = c.access.storage(state_);
    refreshStorage(storage);
    emit fieldWritten(storage);
}

void FieldBindings::refreshControl(const Control& c) {
    const bool wasRefreshing = refreshing_;
    refreshing_ = true;
    switch (c.kind) {
        case Kind::Check: {
            auto* box = static_cast<QAbstractButton*>(c.object);
            box->setChecked(c.access.get(state_) == c.onValue);
            break;
        }
        case Kind::List: {
            auto* list = static_cast<QComboBox*>(c.object);
            const int v = c.access.get(state_);
            int index = c.values.isEmpty() ? v : int(c.values.indexOf(v));
            if (index < 0 && !c.values.isEmpty()) {
                // A value between the offered ones shows the nearest item.
                int best = 0;
                for (int i = 1; i < c.values.size(); ++i)
                    if (std::abs(c.values[i] - v) < std::abs(c.values[best] - v)) best = i;
                index = best;
            }
            index = std::clamp(index, 0, std::max(0, list->count() - 1));
            list->setCurrentIndex(index);
            break;
        }
        case Kind::Radio: {
            auto* group = static_cast<QButtonGroup*>(c.object);
            const int v = c.access.get(state_);
            const int id = c.values.isEmpty() ? v : int(c.values.indexOf(v));
            QAbstractButton* target = group->button(id);
            if (target) {
                target->setChecked(true);
            } else if (QAbstractButton* checked = group->checkedButton()) {
                // No item stands for the value: show none selected.
                group->setExclusive(false);
                checked->setChecked(false);
                group->setExclusive(true);
            }
            break;
        }
        case Kind::Number: {
            auto* edit = static_cast<QLineEdit*>(c.object);
            edit->setText(numberText(edit, state_));
            break;
        }
    }
    refreshing_ = wasRefreshing;
}

void FieldBindings::refreshStorage(const void* storage) {
    for (const Control& c : controls_) {
        const void* own = c.kind == Kind::Number ? c.number.storage(state_) : c.access.storage(state_);
        if (own == storage) refreshControl(c);
    }
}

void FieldBindings::refreshAll() {
    for (const Control& c : controls_) refreshControl(c);
}

FieldBindings::Control* FieldBindings::find(QObject* object) {
    for (Control& c : controls_)
        if (c.object == object) return &c;
    return nullptr;
}

QString FieldBindings::numberText(QLineEdit* edit, const DialState& s) const {
    for (const Control& c : controls_) {
        if (c.object != edit) continue;
        const double v = c.number.get(s);
        if (c.rule.check == NumberCheck::IntRange) return QString::number(std::lround(v));
        return RealToText(c.rule.decimals + 2, c.rule.decimals, v).trimmed();
    }
    return {};
}

QString FieldBindings::valueName(const Control& c) const {
    QString name = c.rule.nameLabel ? c.rule.nameLabel->text() : c.rule.name;
    name = StripAccelerators(name);
    // "name =value": the name never runs into the typed value.
    if (!name.isEmpty() && !name.endsWith(QLatin1Char(' '))) name += QLatin1Char(' ');
    return name;
}

bool FieldBindings::readNumber(QLineEdit* edit, DialState& target) {
    Control* c = find(edit);
    if (!c || c->kind != Kind::Number) return true;
    reading_ = true;
    const bool ok = readInto(*c, target);
    reading_ = false;
    edit->setModified(false);
    return ok;
}

bool FieldBindings::readInto(Control& c, DialState& target) {
    auto* edit = static_cast<QLineEdit*>(c.object);
    LineEditField field(edit);
    const Language lang = state_.language;
    const FieldReader reader{dialogs_, lang};
    const double old = c.number.get(target);
    double v = old;
    bool error = false;

    if (edit->text().trimmed().isEmpty()) {
        // An empty field brings back the value it had.
        edit->setText(numberText(edit, target));
        return true;
    }
    auto parse = [&](double& out) {
        QString t = edit->text().trimmed();
        t.replace(QLatin1Char(','), QLatin1Char('.'));
        if (ParseReal(t, out)) return true;
        dialogs_.inform(caption(CaptionKind::Warning, lang), message(4, lang), Icon::Warning);
        edit->setText(numberText(edit, target));
        edit->setFocus();
        return false;
    };

    switch (c.rule.check) {
        case NumberCheck::Real:
            reader.readReal(field, v, error);
            if (!error && !std::isfinite(v)) error = true;
            break;
        case NumberCheck::RealRange:
            reader.readRealInRange(field, v, valueName(c), error, c.rule.upper, c.rule.lower);
            break;
        case NumberCheck::IntRange: {
            int iv = static_cast<int>(std::lround(old));
            reader.readIntInRange(field, int(c.rule.lower), int(c.rule.upper), error, valueName(c), iv);
            v = iv;
            break;
        }
        case NumberCheck::Declination:
            if (!parse(v)) {
                error = true;
            } else if (std::fabs(v) > 180.0) {
                dialogs_.inform(caption(CaptionKind::Problem, lang), message(0, lang), Icon::Warning);
                edit->setText(numberText(edit, target));
                edit->setFocus();
                error = true;
            } else if (std::fabs(v) == 180.0) {
                v = v > 0 ? 179.9999 : -179.9999;
            }
            break;
        case NumberCheck::Inclination:
            if (!parse(v)) {
                error = true;
            } else if (!(v > 0.0 && v <= 175.0)) {
                dialogs_.inform(caption(CaptionKind::Error, lang), message(3, lang), Icon::Error);
                edit->setText(numberText(edit, target));
                edit->setFocus();
                error = true;
            }
            break;
        case NumberCheck::Percent:
            if (!parse(v)) {
                error = true;
            } else if (v < -100.0 || v > 200.0) {
                dialogs_.inform(caption(CaptionKind::Error, lang), message(10, lang), Icon::Error);
                edit->setFocus();
                error = true;
            }
            break;
    }
    if (error) return false;

    c.number.set(target, v);
    if (&target == &state_) {
        const void* storage = c.number.storage(state_);
        refreshStorage(storage);
        emit fieldWritten(storage);
    } else {
        edit->setText(numberText(edit, target));
    }
    return true;
}

QVector<QLineEdit*> FieldBindings::numberFieldsIn(const QWidget* root) const {
    QVector<QLineEdit*> out;
    for (const Control& c : controls_) {
        if (c.kind != Kind::Number) continue;
        auto* edit = static_cast<QLineEdit*>(c.object);
        if (root->isAncestorOf(edit) && edit->isVisibleTo(root) && edit->isEnabledTo(root)) out << edit;
    }
    return out;
}

void setResourceTag(QObject* widget, int resourceNumber) { widget->setProperty(kResourceTag, resourceNumber); }

void setItemTags(QComboBox* list, int first, int count) {
    list->setProperty(kItemFirst, first);
    list->setProperty(kItemCount, count);
}

void ApplyResourceCaptions(QWidget* root, Language lang) {
    QList<QObject*> objects = root->findChildren<QObject*>();
    objects.prepend(root);
    for (QObject* o : objects) {
        const QVariant tag = o->property(kResourceTag);
        if (tag.isValid() && tag.toInt() != 0) {
            const QString text = resourceText(tag.toInt(), lang);
            if (auto* b = qobject_cast<QAbstractButton*>(o)) b->setText(text);
            else if (auto* l = qobject_cast<QLabel*>(o)) l->setText(text);
            else if (auto* g = qobject_cast<QGroupBox*>(o)) g->setTitle(text);
        }
        if (auto* list = qobject_cast<QComboBox*>(o)) {
            const QVariant first = list->property(kItemFirst);
            if (first.isValid()) {
                const int count = std::min(list->property(kItemCount).toInt(), list->count());
                for (int i = 0; i < count; ++i) list->setItemText(i, resourceText(first.toInt() + i, lang));
            }
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(o)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QVariant pageTag = tabs->widget(i)->property(kResourceTag);
                if (pageTag.isValid() && pageTag.toInt() != 0)
                    tabs->setTabText(i, resourceText(pageTag.toInt(), lang));
            }
        }
    }
}

}  // namespace zorva
