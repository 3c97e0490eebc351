// AssumptionsDialog: the basic data of a sign: layout, sign type, width, quantity, price percentage, posts.
#pragma once

#include <QDialog>
#include <array>

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
    // Writes width, quantity, priceLevel, auxDimension, layout, signType and (for a sign in use)
    // the automatic title of the current sign, and FixedPricePercent; nothing on Cancel.
    AssumptionsDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    void SignTypeClick(int signType);
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRadioButton *layoutButton(int layout) const;
    // Nothing is stored; the focus goes to the offending edit.
    void refuse(NumberEdit *edit);

    AppState &state;
    std::array<QRadioButton *, 11> RadioButton{}; // 1..10
    std::array<QLabel *, 5> pictures{};            // by layout 1..4
    std::array<QLabel *, 9> Label{};               // 1..8
    NumberEdit *pvlCalcEdit1, *pvlCalcEdit2, *pvlCalcEdit3, *pvlCalcEdit4;
    QPushButton *BitBtn1, *BitBtn2;
};

} // namespace tablix
