// ParameterEditor: the parameter editor, every technical and commercial constant in five panels.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "core/params/parameters.h"

class QLabel;
class QPushButton;

namespace tablix {

struct AppState;
class Windows;
class NumberEdit;

class ParameterEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEdits = 98; // pvlCalcEdit1..98; pvlCalcEdit7 mirrors areaBandLimit3

    // Reads the parameter file on every activation; OK rewrites it and refreshes the derived state,
    // Cancel leaves both as activation found them.
    ParameterEditor(AppState &state, Windows &windows, QWidget *parent = nullptr);

    NumberEdit *edit(int number) const { return pvlCalcEdit[size_t(number)]; }

    void BitBtn1Click();
    void pvlCalcEdit4Exit();
    void pvlCalcEdit5Exit();
    void pvlCalcEdit6Exit();
    void pvlCalcEdit57Exit();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormActivate();
    // True when the key was an Enter that moved the focus.
    bool FormKeyUp(QKeyEvent *event);
    void setCaptions(bool alternative);
    void fitToCaptions();
    void closeAfterLoadFailure(const QString &message);

    AppState &state;
    Windows &windows;
    std::array<NumberEdit *, kEdits + 1> pvlCalcEdit{};
    // The text each edit showed after activation; an edit left as it was keeps the exact stored value.
    std::array<QString, kEdits + 1> shownText;
    ParameterRecord shownRecord{};

    // Row label and unit label of each edit that has them, by edit number.
    std::array<QLabel *, kEdits + 1> rowLabel{};
    std::array<QLabel *, kEdits + 1> unitLabel{};
    QLabel *reserveLabel91 = nullptr, *reserveLabel92 = nullptr;
    QLabel *bandLabel2 = nullptr, *bandLabel3 = nullptr;
    QLabel *headingLimits = nullptr, *headingValues = nullptr;
    std::array<QLabel *, 2> headingPriceB{}, headingPriceA{}, headingHeight{};
    QLabel *arconaHeading = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn2 = nullptr;
};

} // namespace tablix
