// The price list window and its two commands; its pictures and the about box's, drawn for the screen.
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
#include "core/engine/compute_sign.h"
#include "ui/about_box.h"
#include "ui/price_list_window.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

using namespace tablix;

class PriceListWindowTest : public QObject {
    Q_OBJECT

    fixtures::ComputedState state;
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
        QString header, price, unit;
        ModalAnswers answers({{QStringLiteral("Form13"),
                               [&unit](QWidget *entry) {
                                   unit = fixtures::child<QLabel>(entry, "Label3")->text();
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
        // A percentage, not an amount of money.
        QCOMPARE(unit, state.LanguageEntry(text::kPercentUnit));
        QCOMPARE(header, state.LanguageEntry(text::kPercentPricesHeader) + u'\n'
                             + state.LanguageEntry(text::kPricePercentLabel) + QStringLiteral("80.00 %"));
    }

    // A read-only window: the percentage asked for changes nothing in the project, and a
    // number entry closed without OK shows no list.
    void askingAPercentageLeavesTheProjectAsItWas()
    {
        const ParameterRecord parameters = state.parameters;
        state.parameters = fixtures::ShippedParameters();
        state.RefreshParameters();
        SignRecord &sign = state.currentSignRecord;
        sign = fixtures::SignWith(5, QStringLiteral("sign"));
        sign.layout = Layout::SidePostsA;
        sign.signType = SignType::NarrowFrame;
        sign.width.set(150);
        sign.rowElements[1] = 5;
        sign.rowElements[2] = 6;
        sign.auxDimension.set(2);
        sign.quantity.set(1);
        sign.priceLevel.set(100);
        state.derived.FixedPricePercent.set(100);
        state.LoadWorkingState();
        fixtures::Compute(state);
        const QString costBefore = FormatFixed(state.results.costTotal.get(), 0, 2);
        const QByteArray before(reinterpret_cast<const char *>(&sign), sizeof sign);

        QString price;
        ModalAnswers answers({{QStringLiteral("Form13"),
                               [](QWidget *entry) {
                                   fixtures::child<QLineEdit>(entry, "pvlCalcEdit1")->setText(QStringLiteral("80"));
                                   fixtures::child(entry, "BitBtn1")->click();
                               }},
                              {QStringLiteral("Form12"),
                               [&](QWidget *list) {
                                   price = editText(list, 2);
                                   fixtures::child(list, "BitBtn1")->click();
                               }},
                              {QStringLiteral("Form13"), [](QWidget *entry) {
                                   fixtures::child<QLineEdit>(entry, "pvlCalcEdit1")->setText(QStringLiteral("60"));
                                   QTest::keyClick(entry, Qt::Key_Escape);
                               }}});
        priceList->ShowPercentPrices();
        priceList->ShowPercentPrices(); // no list after Escape
        VERIFY_ANSWERED(answers);
        QCOMPARE(price, FormatFixed(state.parameters.elementRows[0].priceA.get() * 0.8L, 0, 2));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&sign), sizeof sign), before);
        QCOMPARE(state.derived.FixedPricePercent.get(), 100.0L);
        fixtures::Compute(state);
        QCOMPARE(FormatFixed(state.results.costTotal.get(), 0, 2), costBefore);
        qInfo("cost before and after asking for 80 percent: %s, %s", qPrintable(costBefore),
              qPrintable(FormatFixed(state.results.costTotal.get(), 0, 2)));

        // The next time, the percentage asked for last is proposed.
        QString proposed;
        ModalAnswers again({{QStringLiteral("Form13"), [&proposed](QWidget *entry) {
                                proposed = fixtures::child<QLineEdit>(entry, "pvlCalcEdit1")->text();
                                static_cast<QDialog *>(entry)->reject();
                            }}});
        priceList->ShowPercentPrices();
        VERIFY_ANSWERED(again);
        QCOMPARE(proposed, QStringLiteral("80.00"));
        state.parameters = parameters;
        state.RefreshParameters();
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

    // Sharp on a scaled screen: drawn with as many pixels as the screen shows, at their logical size.
    // The suite runs once more at a scale of 2 (TABLIX_EXPECT_PIXEL_RATIO tells the ratio to expect).
    void picturesFollowTheScreensPixelRatio()
    {
        qreal ratio = 0;
        QList<QPixmap> pictures;
        ModalAnswers answers({{QStringLiteral("Form12"),
                               [&](QWidget *list) {
                                   ratio = list->devicePixelRatioF();
                                   for (int n = 1; n <= 23; ++n)
                                       pictures << fixtures::child<QLabel>(list, QStringLiteral("Picture%1").arg(n))->pixmap();
                                   fixtures::child(list, "BitBtn1")->click();
                               }},
                              {QStringLiteral("AboutBox"), [&](QWidget *about) {
                                   pictures << fixtures::child<QLabel>(about, "ProgramIcon")->pixmap();
                                   fixtures::child(about, "OKButton")->click();
                               }}});
        priceList->ShowListPrices();
        windows.aboutBox().exec();
        VERIFY_ANSWERED(answers);
        if (qEnvironmentVariableIsSet("TABLIX_EXPECT_PIXEL_RATIO"))
            QCOMPARE(ratio, qEnvironmentVariable("TABLIX_EXPECT_PIXEL_RATIO").toDouble());
        QCOMPARE(pictures.size(), 24);
        for (const QPixmap &picture : pictures) {
            QCOMPARE(picture.devicePixelRatio(), ratio);
            const QSizeF logical = picture.deviceIndependentSize();
            QVERIFY(logical == QSizeF(36, 18) || logical == QSizeF(64, 64));
            QCOMPARE(QSizeF(picture.size()), logical * ratio);
            // Something is drawn: not one colour all over.
            const QImage image = picture.toImage();
            bool drawn = false;
            for (int y = 0; y < image.height() && !drawn; ++y)
                for (int x = 0; x < image.width() && !drawn; ++x)
                    drawn = image.pixel(x, y) != image.pixel(0, 0);
            QVERIFY(drawn);
        }
    }
};

QTEST_MAIN(PriceListWindowTest)
#include "test_price_list.moc"
