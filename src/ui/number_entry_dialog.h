// NumberEntryDialog: asks for one number, the export scale or the price percentage.
#pragma once

#include <QDialog>

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


    void okClicked();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // False when the value is refused or does not fit; nothing is stored then.
    bool storeValue();

    AppState &state;
    Windows &windows;
    Asks asks_ = Asks::PricePercent;
    bool stored_ = false;
    QSpacerItem *titleRoom;
    QLabel *promptLabel, *unitLabel;
    NumberEdit *valueEdit;
    QPushButton *okButton;
};

} // namespace tablix
