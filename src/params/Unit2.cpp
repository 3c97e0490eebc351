// TForm2: the parameter editor, every technical and commercial constant in five panels.
#include "params/Unit2.h"

#include "shell/app_state.h"
#include "shell/windows.h"

namespace tablix {

TForm2::TForm2(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form2"));
}

} // namespace tablix
