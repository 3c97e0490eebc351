// tablix-cli: the headless tool for scripts and checks.
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

#include "cli/quote_command.h"
#include "cli/tool.h"

int main(int argc, char **argv)
{
    // Text in a PDF needs fonts, and fonts need a GUI application, though never a display; the
    // other commands stay free of the platform's start-up and its messages.
    std::unique_ptr<QCoreApplication> app;
    QStringList words;
    for (int k = 1; k < argc; ++k)
        words << QString::fromLocal8Bit(argv[k]);
    if (tablix::cli::NeedsFonts(words)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return tablix::RunTool(args);
}
