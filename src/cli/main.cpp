// tablix-cli: the headless tool for scripts and checks.
#include <QGuiApplication>

#include "cli/tool.h"

int main(int argc, char **argv)
{
    // Text on a drawing needs fonts, and fonts need a GUI application; the tool never shows a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return tablix::RunTool(args);
}
