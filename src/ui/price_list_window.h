// PriceListWindow: the price list, every element's two prices as list prices or at a percentage.
#pragma once

#include <QDialog>

#include "core/number/real48.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tablix {

struct AppState;
class Windows;

class PriceListWindow : public QDialog {
    Q_OBJECT
public:
    PriceListWindow(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // The main window's two commands: list prices, and prices at a percentage (asked for in the
    // number entry unless the parameters fix it; closing the number entry without OK shows no list).
    void ShowListPrices();
    void ShowPercentPrices();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    Windows &windows;
    long double priceListFactor = 1;
    Real48 askedPercent_; // the last percentage asked for, proposed next time; 0 before the first
    QString heading_;
    QLabel *headingLabel, *familyBHeadings[2], *familyAHeadings[2];
    QLabel *rowLabels[23];
    QLabel *pictureLabels[23]; // the element's picture before its label
    QLineEdit *priceEdits[46]; // by form number - 1
    QPushButton *okButton;
};

} // namespace tablix
