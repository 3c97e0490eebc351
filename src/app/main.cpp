// Program entry of the Tablix desktop program.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "core/params/data_folder.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/splash.h"
#include "ui/startup_probe.h"
#include "ui/startup.h"
#include "ui/window_set.h"

int main(int argc, char **argv)
{
    // The name gives the configuration folder (~/.config/tablix) and the settings file.
    QCoreApplication::setApplicationName(QStringLiteral("tablix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TABLIX_VERSION));

    // Help and version are printed without a display.
    if (tablix::AsksForTextOnly(argc, argv)) {
        QCoreApplication core(argc, argv);
        return tablix::ShowTextOptions(core);
    }

    tablix::TablixApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(tablix::kApplicationId));
    QGuiApplication::setWindowIcon(tablix::ProgramIcon());
    const tablix::CommandLine line = tablix::ParseCommandLine(QCoreApplication::arguments());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "tablix: %s\n\n%s", qPrintable(line.error), qPrintable(tablix::CommandLineHelp()));
        return 1;
    }

    // Before anything shows: a second start hands its project to the first one and ends.
    tablix::SingleInstance instance;
    if (!instance.claim(line.file.isEmpty() ? QStringList() : QStringList{line.file}))
        return 0;

    auto splash = std::make_unique<tablix::Splash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    tablix::AppState state;
    const tablix::DataFolderChoice folder = tablix::ChooseDataFolder(tablix::CurrentDataFolderPlaces(line.workdir));
    if (!tablix::RunStartup(state, folder, splash.get()))
        return 1;
    // Only the main window is made now; each dialog when it is first opened.
    tablix::Windows windows(state);
    tablix::MainWindow &form = windows.mainWindow();
    instance.setWindow(&form);
    QObject::connect(&instance, &tablix::SingleInstance::filesReceived, &form, [&form](const QStringList &files) {
        for (const QString &file : files)
            tablix::OpenProjectWhenFree(form, file);
    });
    tablix::ProbeStartup(form);
    form.show();
    form.activateWindow();
    splash.reset();
    if (!line.file.isEmpty())
        QTimer::singleShot(0, &form, [&form, file = line.file] { tablix::OpenProjectWhenFree(form, file); });
    else
        form.AskForSignData(); // the first sign's basic data

    return app.exec();
}
