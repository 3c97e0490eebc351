// NumberEdit: the numeric edit of every dialog; a fixed number of decimals, at most 13 characters.
#include "ui/widgets/number_edit.h"

#include <QFocusEvent>
#include <QMessageBox>
#include <QValidator>
#include <charconv>
#include <cmath>

#include "core/number/number_format.h"
#include "core/number/real48.h"

namespace tablix {

namespace {

// Digits with at most one separator ("." or the locale's) and a bounded number of decimals.
class NumberValidator : public QValidator {
public:
    NumberValidator(int decimals, bool negative, QChar written, QWidget *edit)
        : QValidator(edit), edit(edit), decimals(decimals), negative(negative), written(written)
    {
    }

    State validate(QString &input, int &) const override
    {
        if (input.size() > NumberEdit::kMaxChars)
            return Invalid;
        // The edit's locale, which a validator does not follow by itself.
        const QString localePoint = edit->locale().decimalPoint();
        int i = 0;
        if (negative && input.startsWith(QLatin1Char('-')))
            ++i;
        bool separator = false;
        int digits = 0;
        int fraction = 0;
        for (; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c.isDigit() && c.unicode() < 128) {
                ++digits;
                if (separator && ++fraction > decimals)
                    return Invalid;
            } else if (c == QLatin1Char('.') || c == written || QString(c) == localePoint) {
                if (separator || decimals == 0)
                    return Invalid;
                separator = true;
            } else {
                return Invalid;
            }
        }
        return digits > 0 ? Acceptable : Intermediate;
    }

private:
    QWidget *edit;
    int decimals;
    bool negative;
    QChar written; // the separator the edit writes
};

} // namespace

NumberEdit::NumberEdit(int decimals, QWidget *parent) : QLineEdit(parent), places(decimals)
{
    setMaxLength(kMaxChars);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    updateValidator();
}

void NumberEdit::setDecimals(int decimals)
{
    places = decimals;
    updateValidator();
}

void NumberEdit::setAllowNegative(bool allow)
{
    negative = allow;
    updateValidator();
}

void NumberEdit::updateValidator()
{
    delete validator();
    setValidator(new NumberValidator(places, negative, separator, this));
}

void NumberEdit::setDecimalSeparator(QChar decimalSeparator)
{
    const long double shown = value();
    const bool empty = text().trimmed().isEmpty();
    separator = decimalSeparator;
    updateValidator();
    if (!empty)
        setValue(shown);
}

long double NumberEdit::value() const
{
    // Both "." and the locale's separator are accepted; the parse itself ignores the C library's
    // locale, so the stored bytes are the same whatever the environment.
    QString t = text().trimmed();
    t.replace(locale().decimalPoint(), QStringLiteral("."));
    t.replace(separator, QLatin1Char('.'));
    const QByteArray bytes = t.toLatin1();
    long double v = 0;
    const auto [end, error] = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), v);
    return error == std::errc() ? v : 0.0L;
}

void NumberEdit::setValue(long double value)
{
    QString t;
    for (int d = places; d >= 0; --d) {
        t = FormatFixed(value, 0, d, separator);
        if (t.size() <= kMaxChars)
            break;
    }
    // Only a value that no one could type (read from a damaged file) takes the exponent form.
    if (t.size() > kMaxChars)
        t = QString::number(double(value), 'g', 6);
    setText(t);
}

QSize NumberEdit::sizeHint() const
{
    // QLineEdit's hint is room for 17 "x" plus the frame and margins of the style; keep the frame
    // and margins, and make room for the longest number instead.
    QSize s = QLineEdit::sizeHint();
    const QFontMetrics fm = fontMetrics();
    const int frame = s.width() - fm.horizontalAdvance(QLatin1Char('x')) * 17;
    s.setWidth(fm.horizontalAdvance(QString(kMaxChars, QLatin1Char('0'))) + frame + 1);
    return s;
}

QSize NumberEdit::minimumSizeHint() const
{
    return sizeHint();
}

void NumberEdit::focusOutEvent(QFocusEvent *event)
{
    if (isModified() && !isReadOnly())
        setValue(value());
    QLineEdit::focusOutEvent(event);
}

} // namespace tablix
