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

    // The current project's profiles, in its cut list's order: their keys, under which the file
    // keeps them, and their labels in the current language, which the dialog shows.
    StockDialog(AppState &state, const QStringList &keys, const QStringList &labels, QWidget *parent = nullptr);

    // The stock file of the data folder, or the defaults when there is none. False when the file
    // is there but cannot be used: `error` says why, the defaults are shown and the file is left
    // alone until OK.
    bool load(QString *error);
    // The file's entries that name no profile: kept as they are.
    const StockSettings &loaded() const { return loaded_; }

    QString path() const;
    // The defaults' edit (row -1) or a profile row's; a profile's empty edit takes the default.
    NumberEdit *edit(int row, Field field) const;
    int profileRows() const;

    // The settings the edits hold, the file's other profiles kept: a profile keeps only the fields
    // typed in its row, an emptied field follows the default again. Nothing, and `refused` the
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
    QStringList keys_;
    QStringList profiles_; // the labels
    StockSettings loaded_; // the profiles not in this project are written back as they were
    NumberEdit *defaults_[3] = {};
    QTableWidget *table_ = nullptr;
    QLabel *defaultsLabel_ = nullptr, *profilesLabel_ = nullptr;
    QLabel *fieldLabels_[3] = {};
    QPushButton *useDefaultsButton_ = nullptr, *okButton_ = nullptr, *cancelButton_ = nullptr;
};

} // namespace tablix
