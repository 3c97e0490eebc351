// OtherInfillDialog: the height of an other-infill row and an extra amount for the sign.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpacerItem;

namespace tablix {

struct AppState;
class Windows;
class NumberEdit;

class OtherInfillDialog : public QDialog {
    Q_OBJECT
public:
    OtherInfillDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    void okClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    Windows &windows;
    QSpacerItem *titleRoom;
    QLabel *heightLabel, *extraCostLabel, *heightUnit, *extraCostUnit;
    NumberEdit *heightEdit;
    NumberEdit *extraCostEdit;
    QPushButton *okButton, *cancelButton;
};

} // namespace tablix
