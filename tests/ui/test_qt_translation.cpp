// Qt's own dialogs and buttons speak the language of the chosen language file, at start-up and
// after a switch.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/params/parameters.h"
#include "core/project/app_state.h"
#include "support/fixtures.h"
#include "ui/qt_translation.h"
#include "ui/startup.h"

using namespace tablix;

namespace {

// The state as the chosen language file leaves it.
AppState StateIn(const QString &languageFile)
{
    AppState state;
    state.parameters = fixtures::ShippedParameters();
    state.parameters.setLanguageFile(languageFile);
    state.language = fixtures::ShippedLanguage(languageFile);
    return state;
}

// The texts of Qt's own save dialog: its caption, accept and cancel buttons and name label.
QStringList SaveDialogTexts()
{
    QFileDialog dialog(nullptr, QString(), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.show();
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    if (!buttons || !buttons->button(QDialogButtonBox::Cancel))
        return {};
    const auto *name = dialog.findChild<QLabel *>(QStringLiteral("fileNameLabel"));
    return {dialog.windowTitle(), buttons->buttons().value(0)->text(), buttons->button(QDialogButtonBox::Cancel)->text(),
            name ? name->text() : QString()};
}

} // namespace

class QtTranslationTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { InstallQtTranslation(QString()); }

    void fileDialogAndMessageBoxFollowTheLanguageFile()
    {
        const QStringList english = SaveDialogTexts();
        QCOMPARE(english.value(0), QStringLiteral("Save As"));
        QCOMPARE(english.value(2), QStringLiteral("Cancel"));

        // Polish, then back to English, then Polish again: each switch replaces the last.
        for (const char *file : {"tablix_lng.pol", "tablix_lng.eng", "tablix_lng.pol"}) {
            const bool polish = QByteArray(file).endsWith("pol");
            QCOMPARE(InstallQtTranslation(StateIn(QLatin1String(file))), polish);
            const QStringList shown = SaveDialogTexts();
            if (!polish) {
                QCOMPARE(shown, english);
                continue;
            }
            QCOMPARE(shown.value(0), QStringLiteral("Zapisz jako"));
            QCOMPARE(shown.value(2), QStringLiteral("Anuluj"));
            for (qsizetype i = 0; i < shown.size(); ++i)
                QVERIFY2(shown[i] != english[i], qPrintable(shown[i]));
            QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Tak"));
        }
    }

    void aMissingTranslationLeavesQtsEnglish()
    {
        QVERIFY(!InstallQtTranslation(QStringLiteral("qq")));
        QCOMPARE(SaveDialogTexts().value(2), QStringLiteral("Cancel"));
        QVERIFY(InstallQtTranslation(QStringLiteral("pl")));
        QVERIFY(!InstallQtTranslation(QStringLiteral("qq"))); // and removes the one before
        QCOMPARE(SaveDialogTexts().value(2), QStringLiteral("Cancel"));
    }

    void startupLoadsTheTranslationOfTheChosenFile()
    {
        QTemporaryDir dir;
        ParameterRecord p = fixtures::ShippedParameters();
        p.setLanguageFile(QStringLiteral("tablix_lng.pol"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.pol")),
                                     fixtures::ReadBytes(fixtures::DataFile(QStringLiteral("tablix_lng.pol")))));
        AppState state;
        QVERIFY(RunStartup(state, dir.path()));
        QCOMPARE(SaveDialogTexts().value(2), QStringLiteral("Anuluj"));
    }
};

QTEST_MAIN(QtTranslationTest)
#include "test_qt_translation.moc"
