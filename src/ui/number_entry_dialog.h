// NumberEntryDialog: asks for one number, the export scale or the price percentage.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QSpacerItem;

namespace tablix {

struct AppState;
class Windows;
class NumberEdit;

class NumberEntryDialog : public QDialog {
    Q_OBJECT
public:
    enum class Asks { PricePercent, ExportScale };

    NumberEntryDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // Asks for the number and stores it however the dialog is closed; false when nothing was
    // stored (a refused value keeps the old one).
    bool ask(Asks what);

    // Runs after a value has been stored; by default every main window is repainted.
    std::function<void()> RepaintMainWindow;

    void okClicked();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // False when the value is refused or does not fit; nothing is stored then.
    bool storeValue();

    AppState &state;
    Asks asks_ = Asks::PricePercent;
    bool stored_ = false;
    QSpacerItem *titleRoom;
    QLabel *promptLabel, *unitLabel;
    NumberEdit *valueEdit;
    QPushButton *okButton;
};

} // namespace tablix
