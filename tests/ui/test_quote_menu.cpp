// The main window's "quote as PDF" command: the file written, a project with nothing to quote, a failed write.
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/summary.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "ui/main_window.h"
#include "ui/window_set.h"
#include "ui/workshop_menu.h"

using namespace tablix;

class QuoteMenuTest : public QObject {
    Q_OBJECT

    AppState state;
    std::unique_ptr<Windows> windows;
    MainWindow *form = nullptr;
    WorkshopMenu *menu = nullptr;
    QTemporaryDir dir;
    int asked = 0;

    // A project of `count` signs in use, opened from hall.tab.
    void openProject(int count)
    {
        SignSlotArray signs{};
        for (auto &s : signs)
            BlankSignRecord(s);
        for (int k = 0; k < count; ++k) {
            signs[size_t(k)] = fixtures::SignWith(1, QStringLiteral("Hall %1").arg(k + 1));
            signs[size_t(k)].quantity.set(k + 1);
            signs[size_t(k)].priceLevel.set(100);
        }
        state.OpenProject(signs, dir.filePath(QStringLiteral("hall.tab")));
        state.LoadWorkingState();
        form->SyncPages();
    }

    // The file dialog answers with `name` and counts how often it was asked.
    void answerFile(const QString &name)
    {
        menu->setFileDialog([this, name](QWidget *, const QString &proposed, const QString &filter) {
            ++asked;
            QTest::qCompare(proposed, dir.filePath(QStringLiteral("hall.pdf")), "proposed", "hall.pdf", __FILE__, __LINE__);
            QTest::qVerify(filter.contains(QStringLiteral("*.pdf")), "filter", "", __FILE__, __LINE__);
            return name;
        });
    }

    static void trigger(QWidget *form)
    {
        auto *action = form->findChild<QAction *>(QStringLiteral("quotePdf1"));
        QVERIFY(action);
        action->trigger();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        state.parameters = fixtures::ShippedParameters();
        state.language = fixtures::ShippedLanguage();
        state.RefreshParameters();
        windows = std::make_unique<Windows>(state);
        form = &windows->mainWindow();
        menu = form->findChild<WorkshopMenu *>(QStringLiteral("WorkshopMenu"));
        QVERIFY(menu);
        form->show();
    }

    void init() { asked = 0; }

    void commandStandsInTheProjectMenuInTheLanguage()
    {
        auto *projectMenu = form->findChild<QMenu *>(QStringLiteral("m1"));
        QVERIFY(projectMenu);
        auto *action = form->findChild<QAction *>(QStringLiteral("quotePdf1"));
        QVERIFY(projectMenu->actions().contains(action));
        QCOMPARE(action->text(), state.LanguageEntry(text::kMenuQuotePdf));
    }

    void writesTheQuoteWithTheSummarysTotal()
    {
        openProject(3);
        const QString pdf = dir.filePath(QStringLiteral("hall.pdf"));
        answerFile(pdf);
        trigger(form);
        QCOMPARE(asked, 1);
        QVERIFY(fixtures::ReadBytes(pdf).startsWith("%PDF"));
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) reads the quote");
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("Quote: hall")), qPrintable(text));
        const QString summaryTotal =
            QRegularExpression(QStringLiteral("= ([0-9]+\\.[0-9]{2}) ")).match(SummaryTexts(state).constLast()).captured(1);
        QCOMPARE(QRegularExpression(QStringLiteral("Project total +([0-9.]+)")).match(text).captured(1), summaryTotal);
        for (int k = 1; k <= 3; ++k)
            QVERIFY(text.contains(QStringLiteral("Hall %1").arg(k)));
    }

    void projectWithoutASignIsRefusedBeforeAnyDialog()
    {
        openProject(0);
        answerFile(dir.filePath(QStringLiteral("empty.pdf")));
        QString message;
        ModalAnswers answers({modal::messageBox(&message, QStringLiteral("NoSignToQuoteBox"))});
        trigger(form);
        QTRY_VERIFY2(answers.done(), qPrintable(answers.report()));
        // Coming back to the window asks for nothing.
        QCoreApplication::sendPostedEvents();
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(message, state.LanguageEntry(text::kQuoteNoSignInUse));
        QCOMPARE(asked, 0);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("empty.pdf"))));
    }

    void failedWriteKeepsTheOldFileAndSaysSo()
    {
        openProject(2);
        const QString folder = dir.filePath(QStringLiteral("taken"));
        QVERIFY(QDir().mkpath(folder));
        // A folder of that name cannot be replaced by the PDF.
        answerFile(folder);
        QString message;
        ModalAnswers answers({modal::messageBox(&message)});
        trigger(form);
        VERIFY_ANSWERED(answers);
        QVERIFY2(message.endsWith(state.LanguageEntry(text::kNothingWrittenNote)), qPrintable(message));
        QVERIFY(QFileInfo(folder).isDir());

        // Cancelling the dialog writes nothing and says nothing.
        answerFile(QString());
        trigger(form);
        QCOMPARE(asked, 2);
    }

    void cleanupTestCase()
    {
        windows.reset();
    }
};

QTEST_MAIN(QuoteMenuTest)
#include "test_quote_menu.moc"
