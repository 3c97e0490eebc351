// NumberEntryDialog: asks for one number, the export scale or the price percentage.
#pragma once

#include <QDialog>
#include <optional>

#include "core/number/real48.h"

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

    // Asks for the number, starting from `shown`; the value confirmed with OK, nothing when the
    // dialog is closed another way (Escape, the close button). Stores nothing itself.
    std::optional<Real48> ask(Asks what, Real48 shown);

    void okClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    Asks asks_ = Asks::PricePercent;
    Real48 shown_;
    std::optional<Real48> answer_;
    QSpacerItem *titleRoom;
    QLabel *promptLabel, *unitLabel, *refusalLabel;
    NumberEdit *valueEdit;
    QPushButton *okButton, *cancelButton;
};

} // namespace tablix
