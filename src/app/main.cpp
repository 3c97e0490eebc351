// Program entry of the Tablix desktop program.
#include <QDir>
#include <memory>

#include "shell/app_state.h"
#include "shell/main.h"
#include "shell/single_instance.h"
#include "shell/splash.h"
#include "shell/startup.h"
#include "shell/windows.h"

int main(int argc, char **argv)
{
    tablix::TablixApplication app(argc, argv);

    // Before anything shows: a second start only brings the first one to the front.
    tablix::SingleInstance instance;
    if (!instance.claim())
        return 0;

    auto splash = std::make_unique<tablix::TSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Tablix"));

    tablix::AppState state;
    if (!tablix::RunStartup(state, QDir::currentPath(), splash.get()))
        return 1;
    tablix::WindowSet windows(state);
    tablix::TForm1 *form = windows.windows().form1;
    instance.setWindow(form);
    form->show();
    form->activateWindow();
    splash.reset();
    return app.exec();
}
