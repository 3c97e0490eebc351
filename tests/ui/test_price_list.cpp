// The price list window and its two commands.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "support/fixtures.h"
#include "support/modal_answers.h"

#include "ui/number_entry_dialog.h"
#include "core/params/language.h"
#include "core/number/number_format.h"
#include "ui/price_list_window.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

using namespace tablix;

class PriceListWindowTest : public QObject {
    Q_OBJECT

    AppState state;
    Windows windows{state};
    PriceListWindow *priceList = nullptr;

    QString editText(QWidget *window, int number)
    {
        return fixtures::child<QLineEdit>(window, QStringLiteral("Edit%1").arg(number))->text();
    }

private slots:
    void initTestCase()
    {
        state.language = fixtures::ShippedLanguage();
        state.parameters = fixtures::ShippedParameters();
        for (int k = 0; k < 23; ++k) {
            state.parameters.elementRows[k].priceB.set(100 + k);
            state.parameters.elementRows[k].priceA.set(12.5L + k);
        }
        state.RefreshParameters();
        priceList = &windows.priceList();
    }

    void listPricesShowTheParameterValues()
    {
        QString header, first, second, label;
        ModalAnswers answers({{QStringLiteral("Form12"), [&](QWidget *w) {
                                   header = fixtures::child<QLabel>(w, "naglowek")->text();
                                   label = fixtures::child<QLabel>(w, "Label5")->text();
                                   first = editText(w, 9);   // row 14, family B
                                   second = editText(w, 10); // row 14, family A
                                   fixtures::child(w, "BitBtn1")->click();
                               }}});
        priceList->ShowListPrices();
        VERIFY_ANSWERED(answers);
        QCOMPARE(header, state.LanguageEntry(text::kListPricesHeader));
        QCOMPARE(label, state.LanguageEntry(text::kClosingProfile).trimmed());
        QCOMPARE(first, QStringLiteral("114.00"));
        QCOMPARE(second, QStringLiteral("26.50"));
    }

    void aPercentageIsAskedForAndApplied()
    {
        QString header, price;
        ModalAnswers answers({{QStringLiteral("Form13"),
                               [](QWidget *entry) {
                                   fixtures::child<QLineEdit>(entry, "pvlCalcEdit1")->setText(QStringLiteral("80"));
                                   fixtures::child(entry, "BitBtn1")->click();
                               }},
                              {QStringLiteral("Form12"), [&](QWidget *list) {
                                   header = fixtures::child<QLabel>(list, "naglowek")->text();
                                   price = editText(list, 1); // 100 at 80 percent
                                   fixtures::child(list, "BitBtn1")->click();
                               }}});
        priceList->ShowPercentPrices();
        VERIFY_ANSWERED(answers);
        QCOMPARE(price, QStringLiteral("80.00"));
        QVERIFY2(header.startsWith(state.LanguageEntry(text::kPercentPricesHeader))
                 && header.contains(QLatin1String("80.00")), qPrintable(header));
    }

    void aFixedPercentageIsTakenWithoutAsking()
    {
        state.parameters.priceListPercent.set(50);
        state.RefreshParameters();
        QString header, price;
        ModalAnswers answers({{QStringLiteral("Form12"), [&](QWidget *list) {
                                   header = fixtures::child<QLabel>(list, "naglowek")->text();
                                   price = editText(list, 2); // row 0, family A: 12.5 at 50 percent
                                   fixtures::child(list, "BitBtn1")->click();
                               }}});
        priceList->ShowPercentPrices();
        VERIFY_ANSWERED(answers);
        QCOMPARE(header, state.LanguageEntry(text::kPercentPricesHeader));
        QCOMPARE(price, QStringLiteral("6.25"));
    }
};

QTEST_MAIN(PriceListWindowTest)
#include "test_price_list.moc"
