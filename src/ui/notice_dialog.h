// NoticeDialog: the notice, a yes/no question; a "#" in its text starts the second line.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpacerItem;

namespace tablix {

struct AppState;
class Windows;

class NoticeDialog : public QDialog {
    Q_OBJECT
public:
    NoticeDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // Shows the question and tells whether the user agreed.
    bool ask(const QString &message);

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppState &state;
    QSpacerItem *titleRoom;
    QLabel *firstLine;
    QLabel *secondLine;
    QPushButton *okButton;
    QPushButton *cancelButton;
    QString message_;
};

} // namespace tablix
