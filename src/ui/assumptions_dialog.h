// AssumptionsDialog: the basic data of a sign: layout, sign type, width, quantity, price percentage, posts.
#pragma once

#include <QDialog>
#include <array>

#include "core/project/sign_kinds.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace tablix {

struct AppState;
class Windows;
class NumberEdit;

class AssumptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Hands the project width, quantity, priceLevel, auxDimension, layout, signType and (for a
    // sign in use) the automatic title of the current sign, and FixedPricePercent; nothing on Cancel.
    AssumptionsDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    void signTypeChosen(SignType signType);
    void okClicked();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Nothing is stored; the message names the field by its label and says why, and the focus
    // goes to the offending edit.
    void refuse(NumberEdit *edit, QLabel *label, int reasonEntry, const QString &limit = {});
    // The entry saying why OK would refuse the field's value; 0 when it is taken.
    int refusalOf(const NumberEdit *edit) const;

    AppState &state;
    Windows &windows;
    std::array<QRadioButton *, 5> layoutButtons{}; // by layout 1..4
    std::array<QLabel *, 5> pictures{};            // by layout 1..4
    std::array<QRadioButton *, 7> typeButtons{};   // by sign type 1..6
    // The auxiliary dimension: the posts of sign types 1 and 2.
    QLabel *widthLabel, *quantityLabel, *percentLabel, *auxLabel;
    QLabel *widthUnit, *quantityUnit, *percentUnit, *auxUnit;
    NumberEdit *widthEdit, *quantityEdit, *percentEdit, *auxEdit;
    QLabel *refusalLabel;
    QPushButton *okButton, *cancelButton;
};

} // namespace tablix
