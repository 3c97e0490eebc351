// ElementChoiceDialog: the choice of the element for one row, a grid of the two profile families.
#pragma once

#include <QDialog>
#include <array>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tablix {

struct AppState;
struct Windows;

class ElementChoiceDialog : public QDialog {
    Q_OBJECT
public:
    // Reads and writes chosenElement and elementText; reads layout and signType of the sign.
    ElementChoiceDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // The code RadioButton`number` chooses for the current sign type; -1 when there is no such button.
    int CodeOfButton(int number) const;

    void RadioButtonClick(int number);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Codes 30..45 check no button.
    void checkElement(int code);

    AppState &state;
    Windows &windows;
    std::array<QRadioButton *, 23> RadioButton{}; // 1..22
    std::array<QLabel *, 11> Label{};             // 1..10
    QLabel *familyA, *familyB;
    QButtonGroup *group;
    QPushButton *BitBtn1;
};

} // namespace tablix
