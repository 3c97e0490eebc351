// TForm9: the height of an other-infill row and an extra amount for the sign.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpacerItem;

namespace tablix {

struct AppState;
struct Windows;
class PvlCalcEdit;

class TForm9 : public QDialog {
    Q_OBJECT
public:
    TForm9(AppState &state, Windows &windows, QWidget *parent = nullptr);

    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    QSpacerItem *titleRoom;
    QLabel *Label1, *Label2, *Label3, *Label4;
    PvlCalcEdit *pvlCalcEdit1;
    PvlCalcEdit *pvlCalcEdit2;
    QPushButton *BitBtn1, *BitBtn2;
};

} // namespace tablix
