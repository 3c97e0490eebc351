// Program entry of the Tablix desktop program.
#include <QApplication>
#include <QDir>
#include <memory>

#include "shell/app_state.h"
#include "shell/main.h"
#include "shell/splash.h"
#include "shell/startup.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    auto splash = std::make_unique<tablix::TSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Tablix"));

    tablix::AppState state;
    if (!tablix::RunStartup(state, QDir::currentPath(), splash.get()))
        return 1;
    tablix::TForm1 form(state);
    form.show();
    splash.reset();
    return app.exec();
}
