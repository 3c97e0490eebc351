// TForm1: the main window, holding one page per sign and the project summary.
#include "shell/main.h"

#include "shell/app_state.h"

namespace tablix {

TForm1::TForm1(AppState &state, QWidget *parent) : QMainWindow(parent), state(state)
{
    setObjectName(QStringLiteral("Form1"));
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("PageArea"));
    setCentralWidget(central);
    resize(800, 600);
    RefreshCaption();
}

void TForm1::RefreshCaption()
{
    setWindowTitle(MainWindowCaption(state.projectFileName));
}

} // namespace tablix
