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

    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    QSpacerItem *titleRoom;
    QLabel *Label1, *Label2, *Label3, *Label4;
    NumberEdit *pvlCalcEdit1;
    NumberEdit *pvlCalcEdit2;
    QPushButton *BitBtn1, *BitBtn2;
};

} // namespace tablix
