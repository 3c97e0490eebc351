// NumberEdit: the numeric edit of every dialog; a fixed number of decimals, at most 13 characters.
#pragma once

#include <QLineEdit>

namespace tablix {

class FloatingPointOverflow;

class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kMaxChars = 13;

    explicit NumberEdit(int decimals = 2, QWidget *parent = nullptr);

    int decimals() const { return places; }
    void setDecimals(int decimals);
    // Off by default: a "-" cannot be typed.
    bool allowsNegative() const { return negative; }
    void setAllowNegative(bool allow);
    // What setValue writes between the whole and the decimal digits ("." by default); typing
    // accepts it besides "." and the locale's.
    void setDecimalSeparator(QChar separator);

    // The number typed; an empty or unfinished text ("", "-", ".") reads as 0.
    long double value() const;
    // Written with FormatFixed; a value too long for the edit loses decimals first.
    void setValue(long double value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    void updateValidator();

    int places;
    bool negative = false;
    QChar separator = QLatin1Char('.');
};

} // namespace tablix
