#include "text/field_readers.h"

#include "text/number_format.h"
#include "text/texts.h"
#include "text/user_dialogs.h"

namespace zorva {

void FieldReader::readReal(EditField& edit, double& value, bool& error) const {
    const QString text = edit.text();
    if (text.isEmpty()) {
        edit.setText(RealToText(7, 2, value));
        return;
    }
    double v = 0;
    if (!ParseReal(text.trimmed(), v)) {
        dialogs.inform(caption(CaptionKind::Warning, lang), message(4, lang), Icon::Warning);
        edit.setFocus();
        edit.setText(QString());
        error = true;
        return;
    }
    value = v;
}

void FieldReader::readRealInRange(EditField& edit, double& value, const QString& name, bool& error,
                                  double upper, double lower) const {
    QString filtered;
    for (QChar c : edit.text()) {
        if (c == QLatin1Char(',')) filtered += QLatin1Char('.');
        else if (c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.') ||
                 (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            filtered += c;
    }
    double v = 0;
    if (!ParseReal(filtered, v)) {
        dialogs.inform(caption(CaptionKind::Warning, lang), message(4, lang), Icon::Warning);
        edit.setText(RealToText(8, 2, value));
        edit.setFocus();
        error = true;
        return;
    }
    if (v > upper || v < lower) {
        const QString text = name + QLatin1Char('=') + filtered + QStringLiteral("\r\n") + message(13, lang) +
                             QStringLiteral(" [") + RealToText(8, 2, lower) + QStringLiteral(", ...,") +
                             RealToText(7, 1, upper) + QStringLiteral("] !");
        dialogs.inform(caption(CaptionKind::Warning, lang), text, Icon::Warning);
        edit.setFocus();
        error = true;
        return;
    }
    value = v;
}

void FieldReader::readIntInRange(EditField& edit, int lower, int upper, bool& error, const QString& name,
                                 int& value, IntBox box) const {
    const QString text = edit.text();
    if (text.isEmpty()) {
        edit.setText(QString::number(value));
        return;
    }
    long long v = 0;
    if (ParseInt(text.trimmed(), v) && v >= lower && v <= upper) {
        value = static_cast<int>(v);
        return;
    }
    QString msg = name + QLatin1Char('=') + text + message(13, lang) + QStringLiteral(" [") +
                  QString::number(lower) + QStringLiteral("..") + QString::number(upper) + QStringLiteral("] !");
    if (box == IntBox::OkCancel) {
        dialogs.ask(caption(CaptionKind::Problem, lang), msg, Buttons::OkCancel, Icon::Warning);
        error = true;
        edit.setFocus();
        return;
    }
    msg += lang == Language::English ? QStringLiteral("\n\r     Enter again?")
                                     : QStringLiteral("\n\r     Nochmals eingeben?");
    if (dialogs.ask(caption(CaptionKind::Question, lang), msg, Buttons::YesNo, Icon::Question) == Answer::Yes) {
        error = true;
        edit.setFocus();
    } else {
        error = false;
    }
}

}  // namespace zorva
