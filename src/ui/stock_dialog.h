// StockDialog: the stock bar length, saw kerf and trim, by default and for the project's profiles.
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

#include "core/workshop/stock.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace tablix {

struct AppState;
class NumberEdit;

class StockDialog : public QDialog {
    Q_OBJECT
public:
    enum Field { BarLength, Kerf, Trim };

    // `profiles` are the current project's, in its cut list's order.
    StockDialog(AppState &state, const QStringList &profiles, QWidget *parent = nullptr);

    // The stock file of the data folder, or the defaults when there is none. False when the file
    // is there but cannot be used: `error` says why, the defaults are shown and the file is left
    // alone until OK.
    bool load(QString *error);

    QString path() const;
    // The defaults' edit (row -1) or a profile row's; a profile's empty edit takes the default.
    NumberEdit *edit(int row, Field field) const;
    int profileRows() const;

    // The settings the edits hold, the file's other profiles kept; nothing, and `refused` the
    // message for the user, when a value cannot be used.
    std::optional<StockSettings> edited(QString *refused) const;

    void okClicked();
    // Empties the selected profile rows, so that they take the defaults.
    void useDefaults();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void display(const StockSettings &settings);
    void showDefaultsAsHints();
    QString refusal(const QString &where, const StockProfile &stock) const;

    AppState &state;
    QStringList profiles_;
    StockSettings loaded_; // the profiles not in this project are written back as they were
    NumberEdit *defaults_[3] = {};
    QTableWidget *table_ = nullptr;
    QLabel *defaultsLabel_ = nullptr, *profilesLabel_ = nullptr;
    QLabel *fieldLabels_[3] = {};
    QPushButton *useDefaultsButton_ = nullptr, *okButton_ = nullptr, *cancelButton_ = nullptr;
};

} // namespace tablix
