// The start-up path: the boxes a user sees when data are missing, and the main window otherwise.
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "params/parameters.h"
#include "shell/app_state.h"
#include "shell/main.h"
#include "shell/startup.h"

using namespace tablix;

class StartupTest : public QObject {
    Q_OBJECT

    // Runs the start-up, answers the box that appears and returns its caption and text.
    static std::pair<QString, QString> startupBox(const QString &workdir, bool *ok)
    {
        QString caption, text;
        QTimer::singleShot(50, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                caption = box->windowTitle();
                text = box->text();
                box->accept();
            }
        });
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

    void completeDataGiveTheCaptionedMainWindow()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.eng"));
        writeFile(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p));
        writeFile(dir.filePath(QStringLiteral("tablix_lng.eng")), "E=English\n");
        AppState state;
        QVERIFY(RunStartup(state, dir.path()));
        TForm1 form(state);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QStringLiteral("TABLIX - ") + QString::fromUtf8(kMakerContactLine) + QLatin1Char(' '));
        QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
