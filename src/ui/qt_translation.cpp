// Qt's own translation, so that its file and print dialogs and standard buttons speak the language
// of the chosen language file.
#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "core/params/language.h"
#include "core/project/app_state.h"

namespace tablix {

namespace {

// The translator lives as a child of the application, found again by its name at a switch.
const QString kTranslatorName = QStringLiteral("QtBaseTranslation");

} // namespace

bool InstallQtTranslation(const QString &code)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return false;
    if (auto *old = application->findChild<QTranslator *>(kTranslatorName, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (code.isEmpty() || code == QLatin1String("en"))
        return false;
    auto *translator = new QTranslator(application);
    translator->setObjectName(kTranslatorName);
    if (!translator->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool InstallQtTranslation(const AppState &state)
{
    return InstallQtTranslation(QtLanguageCode(state.language, state.parameters.languageFile()));
}

} // namespace tablix
