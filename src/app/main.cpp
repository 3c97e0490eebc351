// Program entry of the Tablix desktop program.
#include <QDir>
#include <memory>

#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/splash.h"
#include "ui/startup.h"
#include "ui/window_set.h"

int main(int argc, char **argv)
{
    tablix::TablixApplication app(argc, argv);

    // Before anything shows: a second start only brings the first one to the front.
    tablix::SingleInstance instance;
    if (!instance.claim())
        return 0;

    auto splash = std::make_unique<tablix::Splash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Tablix"));

    tablix::AppState state;
    if (!tablix::RunStartup(state, QDir::currentPath(), splash.get()))
        return 1;
    // Only the main window is made now; each dialog when it is first opened.
    tablix::Windows windows(state);
    tablix::MainWindow &form = windows.mainWindow();
    instance.setWindow(&form);
    form.show();
    form.activateWindow();
    splash.reset();
    return app.exec();
}
