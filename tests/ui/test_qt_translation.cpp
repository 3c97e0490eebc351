// Qt's own dialogs and buttons speak the language of the chosen language file, at start-up and
// after a switch.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/params/parameters.h"
#include "core/project/app_state.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "ui/number_entry_dialog.h"
#include "ui/qt_translation.h"
#include "ui/widgets/number_edit.h"
#include "ui/window_set.h"
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
            QCOMPARE(shown.value(0), QStringLiteral("Zachowaj jako"));
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

    // The dialogs a Polish user meets on the way out of the program: saving, printing, and the
    // export scale refused. Saved as pictures when TABLIX_SHOTS names a folder.
    void saveAndPrintDialogsAndTheRefusedScaleInPolish()
    {
        const QString shots = qEnvironmentVariable("TABLIX_SHOTS");
        const auto keep = [&shots](QWidget &w, const char *name) {
            if (!shots.isEmpty())
                QVERIFY(w.grab().save(QDir(shots).filePath(QLatin1String(name))));
        };
        AppState state = StateIn(QStringLiteral("tablix_lng.pol"));
        state.RefreshParameters();
        QVERIFY(InstallQtTranslation(state));

        // A folder as a sign maker's looks.
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Archiwum")));
        for (const char *name : {"Apteka Centralna.tab", "Sklep na rogu.tab", "Urząd Gminy.tab"})
            QVERIFY(fixtures::WriteBytes(QDir(folder.path()).filePath(QString::fromUtf8(name)), QByteArray(3920, '\0')));
        QFileDialog save(nullptr, QString(), folder.path(), QStringLiteral("Projekt Tablix (*.tab)"));
        save.setOption(QFileDialog::DontUseNativeDialog);
        save.setAcceptMode(QFileDialog::AcceptSave);
        save.selectFile(QStringLiteral("Witryna.tab"));
        save.resize(720, 440);
        save.show();
        QVERIFY(QTest::qWaitForWindowExposed(&save));
        QCOMPARE(save.windowTitle(), QStringLiteral("Zachowaj jako"));
        keep(save, "save-dialog-pl.png");

        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(folder.path()).filePath(QStringLiteral("Sklep na rogu.pdf")));
        QPrintDialog print(&printer);
        print.show();
        QVERIFY(QTest::qWaitForWindowExposed(&print));
        QStringList buttons;
        for (const QAbstractButton *b : print.findChildren<QAbstractButton *>())
            buttons << b->text().remove(QLatin1Char('&'));
        QVERIFY2(buttons.contains(QStringLiteral("Wydrukuj")) && buttons.contains(QStringLiteral("Anuluj")),
                 qPrintable(buttons.join(QLatin1Char('|'))));
        keep(print, "print-dialog-pl.png");

        Windows windows(state);
        NumberEntryDialog &scale = windows.numberEntry();
        QString refusal;
        ModalAnswers answers({{QStringLiteral("Form13"), [&](QWidget *w) {
                                   fixtures::child<NumberEdit>(w, "pvlCalcEdit1")->setText(QStringLiteral("0"));
                                   fixtures::child(w, "BitBtn1")->click();
                                   refusal = fixtures::child<QLabel>(w, "RefusalLabel")->text();
                                   keep(*w, "export-scale-refused-pl.png");
                                   fixtures::child(w, "BitBtn2")->click();
                               }}});
        QVERIFY(!scale.ask(NumberEntryDialog::Asks::ExportScale, state.exportScale));
        VERIFY_ANSWERED(answers);
        QCOMPARE(refusal, QStringLiteral("Skala: wartość musi być większa od 0."));
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
