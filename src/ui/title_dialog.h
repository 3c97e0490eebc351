// TitleDialog: the title of a sign, typed by hand or taken automatically.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpacerItem;

namespace tablix {

struct AppState;
struct Windows;

class TitleDialog : public QDialog {
    Q_OBJECT
public:
    TitleDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // What the caller fills before exec(): the title (a leading "!" marks one set by hand, shown
    // without it and with the automatic box cleared). Edit1 and CheckBox1 may also be set directly.
    void SetTitleForEditing(const QString &title);
    QLineEdit *edit() const { return Edit1; }
    QCheckBox *automaticBox() const { return CheckBox1; }

    void CheckBox1Click();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    QSpacerItem *titleRoom;
    QLineEdit *Edit1;
    QCheckBox *CheckBox1;
    QPushButton *BitBtn1, *BitBtn2;
};

} // namespace tablix
