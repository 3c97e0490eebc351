// NumberEntryDialog: asks for one number, the export scale or the price percentage (numberEntryMode).
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QSpacerItem;

namespace tablix {

struct AppState;
struct Windows;
class NumberEdit;

class NumberEntryDialog : public QDialog {
    Q_OBJECT
public:
    NumberEntryDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // Runs after a value has been stored; by default every main window is repainted.
    std::function<void()> RepaintMainWindow;

    void BitBtn1Click();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // False when the value is refused or does not fit; nothing is stored then.
    bool storeValue();

    AppState &state;
    QSpacerItem *titleRoom;
    QLabel *Label1, *Label3;
    NumberEdit *pvlCalcEdit1;
    QPushButton *BitBtn1;
};

} // namespace tablix
