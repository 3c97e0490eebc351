// The start-up path: the boxes a user sees when data are missing, and the main window otherwise.
#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QPushButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "core/params/parameters.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/startup.h"
#include "ui/window_set.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"

using namespace tablix;

class StartupTest : public QObject {
    Q_OBJECT

    // Runs the start-up, answers the windows before the open-error box with `before` and returns the
    // box's caption and text; the caption tells what the answers missed.
    static std::pair<QString, QString> startupBox(const QString &workdir, bool *ok,
                                                  std::vector<ModalAnswers::Step> before = {})
    {
        QString caption, text;
        before.push_back({QStringLiteral("OpenErrorBox"), [&](QWidget *w) {
                              caption = w->windowTitle();
                              text = static_cast<QMessageBox *>(w)->text();
                              static_cast<QMessageBox *>(w)->accept();
                          }});
        ModalAnswers answers(std::move(before));
        AppState state;
        *ok = RunStartup(state, workdir);
        if (!answers.done())
            caption = answers.report();
        return {caption, text};
    }

private slots:
    void missingParameterFileShowsTheOpenErrorBox()
    {
        QTemporaryDir dir;
        bool ok = true;
        const auto [caption, text] = startupBox(dir.path(), &ok);
        QVERIFY(!ok);
        QCOMPARE(caption, QStringLiteral("Open Error"));
        QCOMPARE(text, QStringLiteral("Parameters absent.Reinstall program!"));
    }

    void shortParameterFileNamesTheFileAndItsSize()
    {
        QTemporaryDir dir;
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), QByteArray(10, '\0')));
        bool ok = true;
        const auto [caption, text] = startupBox(dir.path(), &ok);
        QVERIFY(!ok);
        QCOMPARE(caption, QStringLiteral("Open Error"));
        QVERIFY2(text.contains(QLatin1String("Tablix_pro.dan")) && text.contains(QLatin1String("10")), qPrintable(text));
    }

    void missingLanguageFileAsksForARestart()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.xyz"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.pol")), "P=Polski\n"));
        bool ok = true;
        const auto [caption, text] = startupBox(dir.path(), &ok, {modal::reject(QStringLiteral("Form3"))});
        QVERIFY(!ok);
        QCOMPARE(caption, QStringLiteral("Open Error"));
        QCOMPARE(text, QStringLiteral("Restart program!"));
    }

    // The chooser comes first, without a cancel button; its choice is kept for the next start
    // and the restart box follows.
    void missingLanguageFileOffersTheChooserFirst()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.xyz"));
        p.priceListPercent.set(80);
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.pol")), "P=Polski\n1=Projekt\n"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.eng")), "E=English\n1=Project\n"));

        QStringList seen;
        QString prompt;
        bool cancelShown = true;
        QString restart;
        ModalAnswers answers({{QStringLiteral("Form3"),
                               [&](QWidget *modal) {
                                   auto *combo = fixtures::child<QComboBox>(modal, "ComboBox1");
                                   prompt = combo->placeholderText();
                                   seen << QStringLiteral("chooser:") + QString::number(combo->currentIndex()) +
                                               QLatin1Char(':') + combo->itemText(0) + QLatin1Char(',') +
                                               combo->itemText(1);
                                   cancelShown = fixtures::child(modal, "BitBtn2")->isVisible();
                                   combo->setCurrentIndex(combo->findText(QStringLiteral("Polski")));
                                   fixtures::child(modal, "BitBtn1")->click();
                               }},
                              modal::messageBox(&restart, QStringLiteral("OpenErrorBox"))});
        AppState state;
        QVERIFY(!RunStartup(state, dir.path()));
        VERIFY_ANSWERED(answers);
        seen << restart;
        QCOMPARE(seen, (QStringList{QStringLiteral("chooser:-1:English,Polski"), QStringLiteral("Restart program!")}));
        QCOMPARE(prompt, QStringLiteral("Choose language version"));
        QVERIFY(!cancelShown);

        QFile written(dir.filePath(QStringLiteral("Tablix_pro.dan")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        const auto record = ParseParameterRecord(written.readAll(), QString(), nullptr);
        QVERIFY(record);
        QCOMPARE(record->languageFile(), QStringLiteral("tablix_lng.pol"));
        QCOMPARE(record->priceListPercent.get(), 80.0L);
    }

    // With no language file at all the chooser does not open empty: a box in both languages names
    // the folder searched, and the start ends with the restart box.
    void noLanguageFileAtAllNamesTheFolderSearched()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.eng"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QString notice;
        bool ok = true;
        const auto [caption, text] =
            startupBox(dir.path(), &ok, {modal::messageBox(&notice, QStringLiteral("NoLanguageFileBox"))});
        QVERIFY(!ok);
        QCOMPARE(caption, QStringLiteral("Open Error"));
        QCOMPARE(text, QStringLiteral("Restart program!"));
        const QString folder = QDir::toNativeSeparators(QDir(dir.path()).absolutePath());
        QCOMPARE(notice, QStringLiteral("No language file (tablix_lng.*) was found in the folder %1.\n\n"
                                        "Nie znaleziono pliku języka (tablix_lng.*) w folderze %1.")
                             .arg(folder));
    }

    void completeDataGiveTheCaptionedMainWindow()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.eng"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.eng")), "E=English\n"));
        AppState state;
        QVERIFY(RunStartup(state, dir.path()));
        state.currentSignRecord.width.set(100); // no sign dialogs open by themselves
        state.MarkProjectSaved();                // as a project opened so
        Windows windows(state);
        MainWindow &form = windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::qWait(20);
        QCOMPARE(windows.madeCount(), 1); // the dialogs are made when first opened
        QVERIFY(!form.isWindowModified()); // "[*]" marks where unsaved changes would show
        QCOMPARE(form.windowTitle().remove(QStringLiteral("[*]")), QStringLiteral("TABLIX - ") + QString::fromUtf8(kMakerContactLine) + QLatin1Char(' '));
        QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
