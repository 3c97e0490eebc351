// The main window's "quote as PDF" command: the file written, a project with nothing to quote, a failed write.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
#include "core/render/quote_details.h"
#include "ui/main_window.h"
#include "ui/quote_dialogs.h"
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
    std::vector<QuoteDetails> proposals; // what the details dialog was offered
    QuoteDetails answer;                 // what it answers, over the proposal's empty fields

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
        menu->setDetailsDialog([this](QWidget *, const QuoteDetails &proposed, const ShopDetails &) {
            proposals.push_back(proposed);
            QuoteDetails d = proposed;
            if (!answer.customerName.isEmpty())
                d.customerName = answer.customerName;
            return std::optional<QuoteDetails>(d);
        });
        form->show();
    }

    void init()
    {
        asked = 0;
        proposals.clear();
        answer = {};
    }

    void commandStandsInTheProjectMenuInTheLanguage()
    {
        auto *projectMenu = form->findChild<QMenu *>(QStringLiteral("m1"));
        QVERIFY(projectMenu);
        auto *action = form->findChild<QAction *>(QStringLiteral("quotePdf1"));
        QVERIFY(projectMenu->actions().contains(action));
        QCOMPARE(action->text(), state.LanguageEntry(text::kMenuQuotePdf));
    }

    void writesTheQuoteAndKeepsItsDetailsForTheNext()
    {
        openProject(3);
        const QString pdf = dir.filePath(QStringLiteral("hall.pdf"));
        answerFile(pdf);
        answer.customerName = QStringLiteral("Town Hall");
        trigger(form);
        QCOMPARE(asked, 1);
        QCOMPARE(proposals.size(), size_t(1));
        QCOMPARE(proposals[0].date, QDate::currentDate());
        QVERIFY(fixtures::ReadBytes(pdf).startsWith("%PDF"));
        // The details stay beside the project; the next quote starts from its customer with a new date.
        const QuoteDetailsLoad kept = ReadQuoteDetails(dir.filePath(QStringLiteral("hall.quote.json")));
        QVERIFY(kept.details);
        QCOMPARE(kept.details->customerName, QStringLiteral("Town Hall"));
        answer = {};
        trigger(form);
        QCOMPARE(proposals.size(), size_t(2));
        QCOMPARE(proposals[1].customerName, QStringLiteral("Town Hall"));

        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) reads the quote");
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("Town Hall")), qPrintable(text));
        QVERIFY(QRegularExpression(QStringLiteral("Project total +[0-9,]+\\.[0-9]{2} EUR")).match(text).hasMatch());
        for (int k = 1; k <= 3; ++k)
            QVERIFY(text.contains(QStringLiteral("Hall %1").arg(k)));
    }

    void damagedDetailsAreToldAndLeftAlone()
    {
        openProject(1);
        const QString details = dir.filePath(QStringLiteral("hall.quote.json"));
        QVERIFY(fixtures::WriteBytes(details, "{broken"));
        answerFile(QString()); // cancelled after the details
        QString message;
        ModalAnswers answers({modal::messageBox(&message, QStringLiteral("QuoteDetailsUnreadableBox"))});
        trigger(form);
        VERIFY_ANSWERED(answers);
        QVERIFY2(message.contains(QStringLiteral("hall.quote.json")), qPrintable(message));
        QCOMPARE(proposals.size(), size_t(1));
        QVERIFY(proposals[0].customerName.isEmpty());
        QCOMPARE(fixtures::ReadBytes(details), QByteArray("{broken"));
        QFile::remove(details);
    }

    void shopDetailsRefuseABadValueNamingItsField()
    {
        QTemporaryDir data;
        state.dataFolder = data.path();
        ShopDetailsDialog dialog(state, form);
        QVERIFY(dialog.load(nullptr));
        dialog.field(text::kShopTaxRate)->setText(QStringLiteral("23 %"));
        QString message;
        ModalAnswers answers({modal::messageBox(&message, QStringLiteral("RefusedValueBox"))});
        dialog.okClicked();
        VERIFY_ANSWERED(answers);
        QVERIFY2(message.contains(state.LanguageEntry(text::kShopTaxRate)), qPrintable(message));
        QVERIFY(!QFile::exists(data.filePath(QStringLiteral("tablix.ini"))));
        dialog.field(text::kShopTaxRate)->setText(QStringLiteral("23"));
        dialog.field(text::kShopName)->setText(QStringLiteral("Kowalski"));
        dialog.okClicked();
        QCOMPARE(ReadShopDetails(data.path()).taxRate, std::optional<int>(2300));
        QCOMPARE(ReadShopDetails(data.path()).name, QStringLiteral("Kowalski"));
        if (const QString out = qEnvironmentVariable("TABLIX_GRAB_DIR"); !out.isEmpty()) {
            dialog.show();
            dialog.grab().save(QDir(out).filePath(QStringLiteral("shop-details.png")));
            QuoteDetails proposed;
            proposed.customerName = QStringLiteral("Bakery Nowak");
            proposed.date = QDate(2024, 3, 9);
            QuoteDetailsDialog details(state, proposed, ShopDetails{}, form);
            details.show();
            details.grab().save(QDir(out).filePath(QStringLiteral("quote-details.png")));
        }
        // The customer's details: a date of validity before the quote's own is refused, naming the field.
        QuoteDetails early;
        early.date = QDate(2024, 3, 9);
        early.validUntil = QDate(2024, 3, 1);
        QuoteDetailsDialog details(state, early, ShopDetails{}, form);
        QVERIFY(details.findChild<QLabel *>(QStringLiteral("QuoteNoShopHint")));
        ModalAnswers refusedDate({modal::messageBox(&message, QStringLiteral("RefusedValueBox"))});
        details.findChild<QPushButton *>(QStringLiteral("OkButton"))->click();
        VERIFY_ANSWERED(refusedDate);
        QVERIFY2(message.contains(state.LanguageEntry(text::kQuoteValidUntil)), qPrintable(message));
        QCOMPARE(details.result(), int(QDialog::Rejected));
        state.dataFolder.clear();
        auto *command = form->findChild<QAction *>(QStringLiteral("shopDetails1"));
        QVERIFY(command);
        QVERIFY(form->findChild<QMenu *>(QStringLiteral("c21"))->actions().contains(command));
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
