#include "shell/startup.h"

#include <QMessageBox>

#include "params/startup_data.h"
#include "shell/app_state.h"

namespace tablix {

bool RunStartup(AppState &state, const QString &workdir, QWidget *splash)
{
    const StartupLoadResult result = LoadParametersAndLanguage(state, workdir);
    if (result.failure == StartupFailure::None)
        return true;
    if (splash)
        splash->hide();
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kOpenErrorCaption), result.message, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("OpenErrorBox"));
    box.exec();
    return false;
}

} // namespace tablix
