// ParameterEditor: the parameter editor, every technical and commercial constant in five panels.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "core/params/parameters.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tablix {

struct AppState;
class Windows;
class NumberEdit;

class ParameterEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEdits = 98; // by form number 1..98; edit 7 mirrors areaBandLimit3

    // Reads the parameter file on every activation; OK rewrites it and refreshes the derived state,
    // Cancel leaves both as activation found them.
    ParameterEditor(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // The edit of the given form number.
    NumberEdit *edit(int number) const { return edits[size_t(number)]; }
    // The field's name as the editor shows it: its row, and its column or band where it has one.
    QString fieldName(int number) const;

    void okClicked();
    // Leaving an edit: the band limits caption the next band (the third is mirrored into edit 7);
    // the price-list percentage chooses the unit captions.
    void firstLimitEdited();
    void secondLimitEdited();
    void thirdLimitEdited();
    void priceListPercentEdited();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadParameters();
    // True when the key was an Enter that moved the focus.
    bool enterMovesFocus(QKeyEvent *event);
    void setCaptions(bool alternative);
    void fitToCaptions();
    void closeAfterLoadFailure(const QString &message);
    // Says why the value cannot be used and puts the focus on it.
    void refuse(QWidget *where, const QString &field, const QString &reason);

    AppState &state;
    Windows &windows;
    std::array<NumberEdit *, kEdits + 1> edits{};
    // The text each edit showed after activation; an edit left as it was keeps the exact stored value.
    std::array<QString, kEdits + 1> shownText;
    ParameterRecord shownRecord{};

    // Row label and unit label of each edit that has them, by edit number.
    std::array<QLabel *, kEdits + 1> rowLabel{};
    std::array<QLabel *, kEdits + 1> unitLabel{};
    QLabel *costItem3SecondLine = nullptr, *costItem4SecondLine = nullptr;
    QLabel *secondBandLabel = nullptr, *thirdBandLabel = nullptr;
    QLabel *headingLimits = nullptr, *headingValues = nullptr;
    std::array<QLabel *, 2> headingPriceB{}, headingPriceA{}, headingHeight{};
    QLabel *arconaHeading = nullptr;
    QLabel *crossSection = nullptr;
    QLabel *currencyLabel = nullptr;
    QLineEdit *currencyEdit = nullptr;
    QString shownCurrency;
    QPushButton *okButton = nullptr, *cancelButton = nullptr;
};

} // namespace tablix
