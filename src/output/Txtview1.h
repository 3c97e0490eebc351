// TForm11: the report view, the cost or specification text of the current sign, and its printout.
#pragma once

#include <QDialog>

namespace tablix {

struct AppState;
struct Windows;

class TForm11 : public QDialog {
    Q_OBJECT
public:
    TForm11(AppState &state, Windows &windows, QWidget *parent = nullptr);

    // Shows ReportLines, as just split, modally under `title`.
    void ShowReport(const QString &title);

private:
    AppState &state;
    Windows &windows;
};

} // namespace tablix
