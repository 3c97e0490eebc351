// TForm11: the report view, the cost or specification text of the current sign, and its printout.
#include "output/Txtview1.h"

#include "shell/app_state.h"
#include "shell/windows.h"

namespace tablix {

TForm11::TForm11(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form11"));
}

void TForm11::ShowReport(const QString &title)
{
    setWindowTitle(title);
    exec();
}

} // namespace tablix
