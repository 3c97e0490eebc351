// TForm2: the parameter editor, every technical and commercial constant in five panels.
#pragma once

#include <QDialog>

namespace tablix {

struct AppState;
struct Windows;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2(AppState &state, Windows &windows, QWidget *parent = nullptr);

private:
    AppState &state;
    Windows &windows;
};

} // namespace tablix
