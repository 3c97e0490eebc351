// A bare Qt main window, started as Tablix starts: the yardstick of the start-up figures.
#include <QApplication>
#include <QMainWindow>

#include "ui/startup_probe.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare main window"));
    window.resize(1000, 700);
    tablix::ProbeStartup(window);
    window.show();
    return app.exec();
}
