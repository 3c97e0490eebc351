// ElementChoiceDialog: the choice of the element for one row, a grid of the two profile families.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tablix {

struct AppState;
class Windows;

// The element the user chose, with the words that describe it.
struct ElementChoice {
    std::uint8_t code = 0;
    QString description;
};

class ElementChoiceDialog : public QDialog {
    Q_OBJECT
public:
    // Reads layout and signType of the current sign.
    ElementChoiceDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // Shows the grid with the row's present element checked; nothing when cancelled.
    std::optional<ElementChoice> choose(std::uint8_t present);

    // The code the choice button of form number `number` chooses for the current sign type; -1
    // when there is no such button.
    int CodeOfButton(int number) const;

    void choiceClicked(int number);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Codes 30..45 check no button.
    void checkElement(int code);

    AppState &state;
    Windows &windows;
    std::uint8_t present_ = 0;
    ElementChoice choice_;
    std::array<QRadioButton *, 23> choiceButtons{}; // by form number 1..22
    std::array<QLabel *, 11> columnHeadings{};      // by form number 1..10
    QLabel *familyA, *familyB;
    QButtonGroup *group;
    QPushButton *cancelButton;
};

} // namespace tablix
