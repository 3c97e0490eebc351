// TForm1: the main window, holding one page per sign and the project summary.
#pragma once

#include <QMainWindow>

namespace tablix {

struct AppState;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(AppState &state, QWidget *parent = nullptr);

    void RefreshCaption();

private:
    AppState &state;
};

} // namespace tablix
