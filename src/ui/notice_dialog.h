// NoticeDialog: the notice, a yes/no question whose text the caller prepares in elementText.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpacerItem;

namespace tablix {

struct AppState;
struct Windows;

class NoticeDialog : public QDialog {
    Q_OBJECT
public:
    NoticeDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    QSpacerItem *titleRoom;
    QLabel *Label1;
    QLabel *Label2;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
};

// Puts the message into elementText, shows the notice and tells whether the user agreed.
bool AskNotice(AppState &state, Windows &windows, const QString &message);

} // namespace tablix
