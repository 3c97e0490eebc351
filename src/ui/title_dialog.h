// TitleDialog: the title of a sign, typed by hand or taken automatically.
#pragma once

#include <QDialog>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpacerItem;

namespace tablix {

struct AppState;
class Windows;

// What the user confirmed: the text, and whether the title stays automatic.
struct TitleAnswer {
    QString text;
    bool automatic = true;
};

class TitleDialog : public QDialog {
    Q_OBJECT
public:
    TitleDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // Shows the title for editing (a leading "!" marks one set by hand, shown without it and with
    // the automatic box cleared); nothing when cancelled.
    std::optional<TitleAnswer> ask(const QString &title);
    void SetTitleForEditing(const QString &title);

    void automaticClicked();
    void titleTyped();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    QSpacerItem *titleRoom;
    QLineEdit *titleEdit;
    QCheckBox *automaticBox;
    QPushButton *okButton, *cancelButton;
    // The title typed by hand (or the default one), for unticking the automatic box.
    QString manualTitleText;
};

} // namespace tablix
