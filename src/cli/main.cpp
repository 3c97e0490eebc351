// tablix-cli: the headless tool for scripts and checks.
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/quote_command.h"
#include "cli/tool.h"

namespace {

QtMessageHandler qtHandler = nullptr;

// A GUI application without a desktop session notes the missing runtime folder, which a tool
// run from a script has no use for.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    if (qtHandler)
        qtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char **argv)
{
    // Text on the PDF drawing needs fonts, and fonts need a GUI application (which never shows
    // a window here); every other command runs without one.
    bool fonts = false;
    for (int i = 1; i < argc; ++i)
        fonts = fonts || std::strcmp(argv[i], "pdf") == 0 || std::strcmp(argv[i], "labels") == 0 || std::strncmp(argv[i], "--pdf", 5) == 0
                || tablix::cli::NeedsFonts({QString::fromLocal8Bit(argv[i])});
    std::unique_ptr<QCoreApplication> app;
    if (fonts) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qtHandler = qInstallMessageHandler(quietHandler);
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return tablix::RunTool(args);
}
