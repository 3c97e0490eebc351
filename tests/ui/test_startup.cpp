// The start-up path: the boxes a user sees when data are missing, and the main window otherwise.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "core/params/parameters.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"
#include "ui/startup.h"
#include "ui/window_set.h"

using namespace tablix;

class StartupTest : public QObject {
    Q_OBJECT

    // Runs the start-up, answers the box that appears and returns its caption and text. A
    // language chooser that appears first is closed without a choice.
    static std::pair<QString, QString> startupBox(const QString &workdir, bool *ok)
    {
        QString caption, text;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                caption = box->windowTitle();
                text = box->text();
                box->accept();
            } else if (auto *chooser = qobject_cast<QDialog *>(modal)) {
                chooser->reject();
            }
        });
        poll.start(20);
        AppState state;
        *ok = RunStartup(state, workdir);
        return {caption, text};
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
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
        writeFile(dir.filePath(QStringLiteral("Tablix_pro.dan")), QByteArray(10, '\0'));
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
        writeFile(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p));
        bool ok = true;
        const auto [caption, text] = startupBox(dir.path(), &ok);
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
        writeFile(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p));
        writeFile(dir.filePath(QStringLiteral("tablix_lng.pol")), "P=Polski\n1=Projekt\n");
        writeFile(dir.filePath(QStringLiteral("tablix_lng.eng")), "E=English\n1=Project\n");

        QStringList seen;
        QString prompt;
        bool cancelShown = true;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                seen << box->text();
                box->accept();
            } else if (modal && modal->objectName() == QLatin1String("Form3")) {
                auto *combo = modal->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
                prompt = combo->placeholderText();
                seen << QStringLiteral("chooser:") + QString::number(combo->currentIndex()) + QLatin1Char(':') +
                            combo->itemText(0) + QLatin1Char(',') + combo->itemText(1);
                cancelShown = modal->findChild<QPushButton *>(QStringLiteral("BitBtn2"))->isVisible();
                combo->setCurrentIndex(combo->findText(QStringLiteral("Polski")));
                modal->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
            }
        });
        poll.start(20);
        AppState state;
        QVERIFY(!RunStartup(state, dir.path()));
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

    void completeDataGiveTheCaptionedMainWindow()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.eng"));
        writeFile(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p));
        writeFile(dir.filePath(QStringLiteral("tablix_lng.eng")), "E=English\n");
        AppState state;
        QVERIFY(RunStartup(state, dir.path()));
        state.currentSignRecord.width.set(100); // no sign dialogs open by themselves
        Windows windows(state);
        MainWindow &form = windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::qWait(20);
        QCOMPARE(windows.madeCount(), 1); // the dialogs are made when first opened
        QCOMPARE(form.windowTitle(), QStringLiteral("TABLIX - ") + QString::fromUtf8(kMakerContactLine) + QLatin1Char(' '));
        QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
