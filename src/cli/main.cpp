// tablix-cli: the headless tool for scripts and checks.
#include <QCoreApplication>

#include "cli/tool.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return tablix::RunTool(args);
}
