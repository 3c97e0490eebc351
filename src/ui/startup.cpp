#include "ui/startup.h"

#include <QDir>
#include <QMessageBox>
#include <QTimer>

#include "ui/language_chooser.h"
#include "core/params/startup_data.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

void ShowOpenError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kOpenErrorCaption), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("OpenErrorBox"));
    box.exec();
}

} // namespace

bool RunStartup(AppState &state, const QString &workdir, QWidget *splash)
{
    const StartupLoadResult result = LoadParametersAndLanguage(state, workdir);
    if (result.failure == StartupFailure::None)
        return true;
    if (splash)
        splash->hide();
    if (result.failure == StartupFailure::LanguageMissing) {
        // The chooser writes its choice into the parameter file, so the next start uses it.
        const ParameterLoad parameters =
            LoadParameterFile(QDir(workdir).filePath(QString::fromLatin1(kParameterFileName)));
        if (parameters.record) {
            state.parameters = *parameters.record;
            LanguageChooser chooser(state, nullptr, workdir);
            chooser.setStartupMode(true);
            chooser.exec();
        }
    }
    ShowOpenError(result.message);
    return false;
}

void ShowFloatingPointOverflow(QWidget *parent)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tablix"), FloatingPointOverflow().what(), QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("OverflowBox"));
    box.exec();
}

void ShowIoError(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, QStringLiteral("Tablix"), message);
}

TablixApplication::TablixApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TablixApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const FloatingPointOverflow &) {
        // Shown once the failed event is over: the event may have been a paint.
        if (!overflowBoxPending_) {
            overflowBoxPending_ = true;
            QTimer::singleShot(0, this, [this] {
                ShowFloatingPointOverflow(activeWindow());
                overflowBoxPending_ = false;
            });
        }
        return false;
    }
}

} // namespace tablix
