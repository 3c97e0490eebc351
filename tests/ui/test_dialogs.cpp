// The dialogs that design a sign, driven by their control names as a user drives them.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "ui/construction_dialog.h"
#include "ui/other_infill_dialog.h"
#include "ui/widgets/layout_pictures.h"
#include "ui/widgets/number_edit.h"
#include "ui/notice_dialog.h"
#include "ui/number_entry_dialog.h"
#include "ui/title_dialog.h"
#include "ui/element_choice_dialog.h"
#include "ui/assumptions_dialog.h"
#include "core/render/report_lines.h"
#include "core/project/app_state.h"
#include "ui/stock_dialog.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"

using namespace tablix;
using fixtures::child;
using modal::click;
using modal::messageBox;
using modal::notice;

namespace {

LanguageTable gEnglish;

// Every dialog of the sign, wired as the program wires them.
struct Dialogs {
    fixtures::ComputedState state;
    Windows windows{state};
    AssumptionsDialog *assumptions = nullptr;
    ConstructionDialog *construction = nullptr;
    ElementChoiceDialog *elementChoice = nullptr;
    NoticeDialog *notice = nullptr;
    OtherInfillDialog *otherInfill = nullptr;
    TitleDialog *title = nullptr;
    NumberEntryDialog *numberEntry = nullptr;

    Dialogs()
    {
        state.parameters = fixtures::ShippedParameters();
        state.language = gEnglish;
        state.RefreshParameters();
        SignRecord &sign = state.currentSignRecord;
        sign.layout = Layout::SidePostsA;
        sign.signType = SignType::NarrowFrame;
        sign.width.set(120);
        sign.quantity.set(1);
        sign.priceLevel.set(100);
        assumptions = &windows.assumptions();
        construction = &windows.construction();
        elementChoice = &windows.elementChoice();
        notice = &windows.notice();
        otherInfill = &windows.otherInfill();
        title = &windows.titleDialog();
        numberEntry = &windows.numberEntry();
    }

    void setRows(std::initializer_list<int> codes)
    {
        std::fill(std::begin(state.currentSignRecord.rowElements), std::end(state.currentSignRecord.rowElements), 0);
        int i = 0;
        for (int c : codes)
            state.currentSignRecord.rowElements[i++] = std::uint8_t(c);
        state.LoadWorkingState();
    }

    // The construction dialog shown and activated, as exec() would show it.
    void openForm6()
    {
        construction->show();
        QVERIFY(QTest::qWaitForWindowExposed(construction));
        QCoreApplication::sendPostedEvents(); // the activation steps it queues on showing
    }

    std::vector<int> rows(int n) const { return std::vector<int>(state.workingRows.begin(), state.workingRows.begin() + n); }
};

QByteArray bytesOf(const SignRecord &r)
{
    return QByteArray(reinterpret_cast<const char *>(&r), sizeof r);
}

QByteArray bytesOf(const Real48 &v)
{
    return QByteArray(reinterpret_cast<const char *>(&v), sizeof v);
}

// Types into the edit as a user does: the old text selected, then the keys.
void typeInto(QWidget *edit, const QString &keys)
{
    static_cast<QLineEdit *>(edit)->selectAll();
    QTest::keyClicks(edit, keys);
}

} // namespace

class DialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { gEnglish = fixtures::ShippedLanguage(); }

    // ---- numeric edit ----

    void numericEditTakesOnlyNumbers()
    {
        NumberEdit edit(2);
        edit.setLocale(QLocale::c());
        QTest::keyClicks(&edit, QStringLiteral("-1a2.x345"));
        QCOMPARE(edit.text(), QStringLiteral("12.34")); // no sign, no letters, two decimals at most
        QCOMPARE(double(edit.value()), 12.34);

        edit.clear();
        QTest::keyClicks(&edit, QStringLiteral("12345678901234567"));
        QCOMPARE(edit.text().size(), NumberEdit::kMaxChars);

        edit.clear();
        QTest::keyClicks(&edit, QStringLiteral("1.2.3"));
        QCOMPARE(edit.text(), QStringLiteral("1.23"));

        NumberEdit whole(0);
        QTest::keyClicks(&whole, QStringLiteral("7.5"));
        QCOMPARE(whole.text(), QStringLiteral("75"));

        NumberEdit signedEdit(2);
        signedEdit.setAllowNegative(true);
        QTest::keyClicks(&signedEdit, QStringLiteral("-3-"));
        QCOMPARE(double(signedEdit.value()), -3.0);
    }

    void numericEditReadsTheLocaleSeparatorAndWritesFixedDecimals()
    {
        NumberEdit edit(2);
        edit.setLocale(QLocale(QLocale::Polish));
        QTest::keyClicks(&edit, QStringLiteral("1,5"));
        QCOMPARE(double(edit.value()), 1.5);
        edit.clear();
        QTest::keyClicks(&edit, QStringLiteral("2.25"));
        QCOMPARE(double(edit.value()), 2.25);

        for (const char *unfinished : {"", "-", "."}) {
            edit.setText(QLatin1String(unfinished));
            QCOMPARE(double(edit.value()), 0.0);
        }
        edit.setValue(1200);
        QCOMPARE(edit.text(), QStringLiteral("1200.00"));
        // Too long for two decimals: the decimals go before any digit of the whole part.
        edit.setValue(123456789012.25L);
        QCOMPARE(edit.text(), QStringLiteral("123456789012"));
        QCOMPARE(double(edit.value()), 123456789012.0);
    }

    // The stock dialog writes decimals as the language does and reads them back, "." too.
    void numericEditWritesTheLanguagesSeparator()
    {
        NumberEdit edit(2);
        edit.setValue(1.5);
        edit.setDecimalSeparator(QLatin1Char(','));
        QCOMPARE(edit.text(), QStringLiteral("1,50")); // what was shown is rewritten
        for (const char *typed : {"2,25", "2.25"}) {
            edit.clear();
            QTest::keyClicks(&edit, QLatin1String(typed));
            QCOMPARE(edit.text(), QLatin1String(typed));
            QCOMPARE(double(edit.value()), 2.25);
        }
        edit.clear();
        edit.setDecimalSeparator(QLatin1Char('.'));
        QVERIFY(edit.text().isEmpty()); // an empty field stays empty

        fixtures::ComputedState state;
        state.language = fixtures::ShippedLanguage(QStringLiteral("tablix_lng.pol"));
        StockDialog dialog(state, {QStringLiteral("element-1")}, {QStringLiteral("Profil A")});
        QCOMPARE(child<NumberEdit>(&dialog, "DefaultBarLength")->text(), QStringLiteral("600,00"));
        QCOMPARE(child<NumberEdit>(&dialog, "DefaultKerf")->text(), QStringLiteral("0,40"));
    }

    // Typed with either separator, under any locale, a number is stored as the same bytes.
    void typedNumbersGiveTheSameBytesWithEitherSeparator()
    {
        Real48 expected;
        expected.set(12.34L);
        for (const QString &typed : {QStringLiteral("12.34"), QStringLiteral("12,34")}) {
            Dialogs d;
            d.state.currentSignRecord.priceLevel = Real48{};
            for (QWidget *w : {static_cast<QWidget *>(d.assumptions), static_cast<QWidget *>(d.otherInfill),
                               static_cast<QWidget *>(d.numberEntry)})
                w->setLocale(QLocale(QLocale::Polish));

            d.assumptions->show();
            typeInto(child<NumberEdit>(d.assumptions, "pvlCalcEdit1"), typed);
            typeInto(child<NumberEdit>(d.assumptions, "pvlCalcEdit3"), typed);
            child(d.assumptions, "BitBtn1")->click();
            QCOMPARE(bytesOf(d.state.currentSignRecord.width), bytesOf(expected));
            QCOMPARE(bytesOf(d.state.currentSignRecord.priceLevel), bytesOf(expected));

            d.otherInfill->show();
            typeInto(child<NumberEdit>(d.otherInfill, "pvlCalcEdit1"), typed);
            typeInto(child<NumberEdit>(d.otherInfill, "pvlCalcEdit2"), typed);
            child(d.otherInfill, "BitBtn1")->click();
            QCOMPARE(bytesOf(d.state.currentSignRecord.infillHeight), bytesOf(expected));
            QCOMPARE(bytesOf(d.state.currentSignRecord.extraCost), bytesOf(expected));

            ModalAnswers scale({{QStringLiteral("Form13"), [&typed](QWidget *w) {
                                    typeInto(child<NumberEdit>(w, "pvlCalcEdit1"), typed);
                                    child(w, "BitBtn1")->click();
                                }}});
            const std::optional<Real48> answer = d.numberEntry->ask(NumberEntryDialog::Asks::ExportScale, Real48{});
            VERIFY_ANSWERED(scale);
            QVERIFY(answer);
            QCOMPARE(bytesOf(*answer), bytesOf(expected));
        }
    }

    // ---- notice ----

    void noticeSplitsAtTheFirstHash()
    {
        Dialogs d;
        QStringList seen;
        const auto answer = [&seen](const char *button) {
            return ModalAnswers::Step{QStringLiteral("Form8"), [&seen, button](QWidget *w) {
                                         seen << child<QLabel>(w, "Label1")->text() << child<QLabel>(w, "Label2")->text()
                                              << w->windowTitle();
                                         child(w, button)->click();
                                     }};
        };
        ModalAnswers script({answer("BitBtn2"), answer("BitBtn1")});
        QVERIFY(!d.notice->ask(QStringLiteral("first line#second # line")));
        QVERIFY(d.notice->ask(QStringLiteral("one line")));
        VERIFY_ANSWERED(script);
        const QString caption = gEnglish.LanguageEntry(text::kNoticeTitle);
        QCOMPARE(seen, QStringList({QStringLiteral("first line"), QStringLiteral("second # line"), caption,
                                    QStringLiteral("one line"), QString(), caption}));
    }

    // ---- construction ----

    void choosingAnElementAfterAGapAsksAndFillsTheGap()
    {
        Dialogs d;
        d.setRows({});
        d.openForm6();
        QString message;
        {
            ModalAnswers script({click("Form7", "RadioButton3"), notice(false)});
            child(d.construction, "Button5")->click();
            VERIFY_ANSWERED(script);
        }
        QCOMPARE(d.rows(6), std::vector<int>({0, 0, 0, 0, 0, 0}));

        ModalAnswers script({click("Form7", "RadioButton3"), notice(true, &message)});
        child(d.construction, "Button5")->click();
        VERIFY_ANSWERED(script);
        const QString expected = gEnglish.LanguageEntry(text::kFillRowsNotice) + QLatin1Char(' ') + d.state.ElementDescription(1)
                                 + QStringLiteral(" 5 ") + gEnglish.LanguageEntry(text::kFillRowsNoticeEnd);
        QCOMPARE(message, expected);
        QCOMPARE(d.rows(6), std::vector<int>({1, 1, 1, 1, 1, 0}));
        QCOMPARE(child(d.construction, "Button1")->text(), d.state.ElementDescription(1));
        QCOMPARE(child<QLineEdit>(d.construction, "Edit1")->text(), QStringLiteral("8.00")); // 5 x 16 mm
    }

    void aClosingElementInsideTheBlockMovesToItsEndOrTheEditIsUndone()
    {
        Dialogs d; // layout 2 takes closing elements
        d.setRows({1, 2, 3});
        d.openForm6();
        QString message;
        {
            ModalAnswers script({click("Form7", "RadioButton19"), notice(false)});
            child(d.construction, "Button2")->click();
            VERIFY_ANSWERED(script);
        }
        QCOMPARE(d.rows(4), std::vector<int>({1, 2, 3, 0}));

        ModalAnswers script({click("Form7", "RadioButton19"), notice(true, &message)});
        child(d.construction, "Button2")->click();
        VERIFY_ANSWERED(script);
        QVERIFY2(message.endsWith(QStringLiteral("row 2")), qPrintable(message));
        QCOMPARE(d.rows(4), std::vector<int>({1, 3, 9, 0}));
        // Nothing to mark on a closing element.
        QVERIFY(!child(d.construction, "CheckBox13")->isEnabled());
        QVERIFY(child(d.construction, "CheckBox12")->isEnabled());
    }

    void aClosingElementIsRemovedWhereTheFrameIsClosed()
    {
        Dialogs d;
        d.state.currentSignRecord.layout = Layout::ClosedFrameB;
        d.setRows({10, 18});
        QString message;
        ModalAnswers script({notice(true, &message)});
        d.openForm6();
        QTRY_VERIFY2(script.done(), qPrintable(script.report()));
        QCOMPARE(message, gEnglish.LanguageEntry(text::kClosingNotAllowedNotice));
        QCOMPARE(d.rows(2), std::vector<int>({10, 0}));
    }

    void cancelDiscardsTheRowEdits()
    {
        Dialogs d;
        d.setRows({1, 1});
        d.openForm6();
        {
            ModalAnswers script({click("Form7", "RadioButton5")});
            child(d.construction, "Button3")->click();
            VERIFY_ANSWERED(script);
        }
        QCOMPARE(d.rows(3), std::vector<int>({1, 1, 2}));
        child(d.construction, "BitBtn5")->click();
        QCOMPARE(d.construction->result(), int(QDialog::Rejected));
        QCOMPARE(d.rows(3), std::vector<int>({1, 1, 0}));
        QCOMPARE(int(d.state.currentSignRecord.rowElements[2]), 0);
    }

    void cancelLeavesTheSignAndTheWorkingStateAsTheyWereOpened()
    {
        Dialogs d;
        SignRecord &sign = d.state.currentSignRecord;
        sign.auxDimension.set(2);
        sign.infillHeight.set(10);
        sign.extraCost.set(5);
        sign.setTitle(QStringLiteral("120.00x6.40A"));
        sign.rowMarks[0] = 1;
        sign.lowerMarks[0] = 1;
        d.state.derived.FixedPricePercent.set(100);
        d.state.tabCaptions[0] = QStringLiteral("120.00x6.40A");
        d.setRows({1, 1, 1, 1});
        const QByteArray before = bytesOf(sign);
        const AppState opened = d.state;
        d.openForm6();

        // Every kind of change the dialog and the dialogs it opens can make.
        {
            ModalAnswers script({notice(true)});
            child(d.construction, "BitBtn1")->click(); // family B
            VERIFY_ANSWERED(script);
        }
        child(d.construction, "CheckBox12")->click(); // row mark of row 2
        child(d.construction, "CheckBox2")->click();  // lower mark of row 2
        {
            ModalAnswers script({click("Form7", "RadioButton20"), {QStringLiteral("Form9"), [](QWidget *w) {
                                     child<QLineEdit>(w, "pvlCalcEdit1")->setText(QStringLiteral("12.5"));
                                     child<QLineEdit>(w, "pvlCalcEdit2")->setText(QStringLiteral("-20"));
                                     child(w, "BitBtn1")->click();
                                 }}});
            child(d.construction, "Button5")->click();
            VERIFY_ANSWERED(script);
        }
        {
            ModalAnswers script({{QStringLiteral("Form5"), [](QWidget *w) {
                                     child<NumberEdit>(w, "pvlCalcEdit1")->setValue(200);
                                     child<NumberEdit>(w, "pvlCalcEdit3")->setValue(80);
                                     child(w, "BitBtn1")->click();
                                 }}});
            QTest::mouseDClick(child<QLabel>(d.construction, "Label3"), Qt::LeftButton);
            VERIFY_ANSWERED(script);
        }
        QVERIFY(bytesOf(sign) != before);
        QCOMPARE(d.rows(5), std::vector<int>({10, 10, 10, 10, 19}));

        child(d.construction, "BitBtn5")->click();
        QCOMPARE(d.construction->result(), int(QDialog::Rejected));
        QCOMPARE(bytesOf(sign), before);
        QCOMPARE(d.state.workingRows, opened.workingRows);
        QCOMPARE(d.state.undoRows, opened.undoRows);
        QCOMPARE(d.state.workingRowMarks, opened.workingRowMarks);
        QCOMPARE(d.state.workingLowerMarks, opened.workingLowerMarks);
        QCOMPARE(bytesOf(d.state.derived.FixedPricePercent), bytesOf(opened.derived.FixedPricePercent));
        QCOMPARE(d.state.tabCaptions[0], QStringLiteral("120.00x6.40A"));
    }

    void switchingTheFamilyAsksFirst()
    {
        Dialogs d;
        d.setRows({1, 20, 9});
        d.openForm6();
        {
            ModalAnswers script({notice(false)});
            child(d.construction, "BitBtn1")->click();
            VERIFY_ANSWERED(script);
        }
        QCOMPARE(int(d.state.currentSignRecord.layout), 2);

        QString message;
        {
            ModalAnswers script({notice(true, &message)});
            child(d.construction, "BitBtn1")->click();
            VERIFY_ANSWERED(script);
        }
        QCOMPARE(message, gEnglish.LanguageEntry(text::kSwitchFamilyNotice));
        QCOMPARE(int(d.state.currentSignRecord.layout), 4);
        QCOMPARE(d.rows(3), std::vector<int>({10, 21, 18}));
        QVERIFY(child<QLabel>(d.construction, "Image1")->isVisibleTo(d.construction));
        QVERIFY(!child<QLabel>(d.construction, "Image3")->isVisibleTo(d.construction));
        QCOMPARE(child(d.construction, "Button1")->text(), d.state.ElementDescription(10));
    }

    void lowerMarkBoxesShowAndStoreTheKeptMarks()
    {
        Dialogs d;
        d.state.currentSignRecord.auxDimension.set(3);
        d.setRows({1, 1, 1, 19, 1, 1, 1, 1, 1, 1, 1});
        d.openForm6();
        QWidget *f = d.construction;
        auto box = [f](int k) { return child<QCheckBox>(f, qPrintable(QStringLiteral("CheckBox%1").arg(k))); };
        QVERIFY(box(1)->isVisibleTo(f));
        QVERIFY(!box(4)->isEnabled());
        QVERIFY(!box(6)->isEnabled()); // marks stop before the infill row

        box(3)->click();
        const std::array<int, 10> expected = {1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
        for (int k = 1; k <= 10; ++k) {
            QCOMPARE(box(k)->isChecked(), expected[size_t(k - 1)] == 1);
            QCOMPARE(int(d.state.workingLowerMarks[size_t(k - 1)]), expected[size_t(k - 1)]);
        }

        box(2)->click(); // clearing a mark clears those below it
        for (int k = 1; k <= 10; ++k)
            QCOMPARE(int(d.state.workingLowerMarks[size_t(k - 1)]), k == 1 ? 1 : 0);

        // The row marks go with their rows: the infill row has none.
        QVERIFY(!box(14)->isEnabled());
        box(15)->click();
        QCOMPARE(int(d.state.workingRowMarks[4]), 1);

        child(f, "BitBtn4")->click();
        QCOMPARE(int(d.state.currentSignRecord.lowerMarks[0]), 1);
        QCOMPARE(int(d.state.currentSignRecord.lowerMarks[1]), 0);
        QCOMPARE(int(d.state.currentSignRecord.rowMarks[4]), 1);
    }

    void lowerMarksAreOfferedOnlyWithPosts()
    {
        Dialogs d;
        d.setRows({1, 1});
        d.openForm6();
        QVERIFY(!child(d.construction, "CheckBox1")->isVisibleTo(d.construction));
        QVERIFY(!child<QLabel>(d.construction, "Label2")->isVisibleTo(d.construction));
    }

    void theTotalHeightTurnsRedAbove299()
    {
        Dialogs d;
        auto *edit = child<QLineEdit>(d.construction, "Edit1");
        d.state.currentSignRecord.infillHeight.set(299.01L);
        d.setRows({19});
        d.openForm6();
        QCOMPARE(edit->text(), QStringLiteral("299.01"));
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::red));
        d.construction->hide();

        d.state.currentSignRecord.infillHeight.set(299);
        d.openForm6();
        QCOMPARE(edit->text(), QStringLiteral("299.00"));
        QVERIFY(edit->palette().color(QPalette::Text) != QColor(Qt::red));
    }

    void theFrameAllowanceCountsOnceTheSignHasRows()
    {
        Dialogs d;
        d.state.currentSignRecord.layout = Layout::ClosedFrameA;
        d.state.currentSignRecord.signType = SignType::WideFrame;
        d.setRows({});
        d.openForm6();
        auto *height = child<QLineEdit>(d.construction, "Edit1");
        QCOMPARE(height->text(), QStringLiteral("0.00"));
        // The rows being built count, while they are built and once stored: 1.6 + 2.5.
        ModalAnswers script({click("Form7", "RadioButton3")});
        child(d.construction, "Button1")->click();
        VERIFY_ANSWERED(script);
        QCOMPARE(height->text(), QStringLiteral("4.10"));
        child(d.construction, "BitBtn4")->click();
        d.openForm6();
        QCOMPARE(height->text(), QStringLiteral("4.10"));
        QCOMPARE(d.state.currentSignRecord.titleText(), QStringLiteral("120.00x4.10A"));
    }

    void okWritesTheRowsAndAnAutomaticTitleUnlessSetByHand()
    {
        Dialogs d;
        d.state.currentSignRecord.setTitle(QStringLiteral("old"));
        d.setRows({1, 1});
        d.openForm6();
        child(d.construction, "CheckBox11")->click();
        child(d.construction, "BitBtn4")->click();
        QCOMPARE(d.construction->result(), int(QDialog::Accepted));
        const SignRecord &sign = d.state.currentSignRecord;
        QCOMPARE(int(sign.rowElements[1]), 1);
        QCOMPARE(int(sign.rowMarks[0]), 1);
        QCOMPARE(sign.titleText(), QStringLiteral("120.00x3.20A"));
        QCOMPARE(d.state.tabCaptions[0], QStringLiteral("120.00x3.20A"));

        d.state.currentSignRecord.setTitle(QStringLiteral("!Shop front"));
        d.openForm6();
        child(d.construction, "BitBtn4")->click();
        QCOMPARE(d.state.currentSignRecord.titleText(), QStringLiteral("!Shop front"));
    }

    void aDoubleClickOnTheBackgroundOpensTheAssumptions()
    {
        Dialogs d;
        d.state.derived.FixedPricePercent.set(100);
        d.setRows({1, 1, 9});
        d.openForm6();
        QString message;
        ModalAnswers script({{QStringLiteral("Form5"), [](QWidget *w) {
                                 child(w, "RadioButton7")->click(); // type 3 takes no closing element
                                 child(w, "BitBtn1")->click();
                             }},
                            notice(true, &message)});
        QTest::mouseDClick(child<QLabel>(d.construction, "Label3"), Qt::LeftButton);
        VERIFY_ANSWERED(script);
        QCOMPARE(int(d.state.currentSignRecord.signType), 3);
        QCOMPARE(message, gEnglish.LanguageEntry(text::kClosingNotAllowedNotice));
        QCOMPARE(d.rows(3), std::vector<int>({1, 1, 0}));
        QCOMPARE(child<QLabel>(d.construction, "Label4")->text(), gEnglish.LanguageEntry(text::kClosingProfile));
    }

    void reportButtonsFillTheReportLines()
    {
        Dialogs d;
        d.setRows({1, 1, 5});
        QString title;
        const auto report = ModalAnswers::Step{QStringLiteral("Form11"), [&title](QWidget *w) {
                                                  title = w->windowTitle();
                                                  static_cast<QDialog *>(w)->reject();
                                              }};
        d.openForm6();
        ModalAnswers cost({report});
        child(d.construction, "BitBtn3")->click();
        VERIFY_ANSWERED(cost);
        QCOMPARE(title, gEnglish.LanguageEntry(text::kCostReportTitle));
        QCOMPARE(d.state.ViewText, ComputeSign(d.state).CostText);
        QVERIFY(ReportLineCount(d.state) > 3);

        ModalAnswers specification({report});
        child(d.construction, "BitBtn2")->click();
        VERIFY_ANSWERED(specification);
        QCOMPARE(title, gEnglish.LanguageEntry(text::kSpecificationReportTitle));
        QCOMPARE(d.state.ViewText, ComputeSign(d.state).SpecificationText);
    }

    void longDescriptionsAreElidedWithTheFullTextAsTooltip()
    {
        Dialogs d;
        const QString longWord = QStringLiteral("An extraordinarily long element name for one button");
        d.state.language.entries[text::kPanel1x13] = longWord;
        d.setRows({1});
        d.openForm6();
        auto *b = child<QPushButton>(d.construction, "Button1");
        QVERIFY(b->text() != d.state.ElementDescription(1));
        QVERIFY(b->text().endsWith(QChar(0x2026)));
        QCOMPARE(b->toolTip(), d.state.ElementDescription(1));
        QVERIFY(b->fontMetrics().horizontalAdvance(b->text()) < b->width());
    }

    // ---- profile choice ----

    void profileChoiceOffersWhatTheTypeAndLayoutAllow()
    {
        Dialogs d;
        QWidget *f = d.elementChoice;
        auto enabled = [f](const char *name) { return child(f, name)->isEnabled(); };
        const auto inspect = [](std::function<void()> checks) {
            return ModalAnswers::Step{QStringLiteral("Form7"), [checks](QWidget *w) {
                                         checks();
                                         child(w, "BitBtn1")->click();
                                     }};
        };

        bool presentChecked = false, closingOffered = false;
        ModalAnswers open({inspect([&] {
            presentChecked = child(f, "RadioButton21")->isChecked();
            closingOffered = enabled("RadioButton18") && enabled("RadioButton19") && enabled("RadioButton20");
        })});
        QVERIFY(!d.elementChoice->choose(21));
        VERIFY_ANSWERED(open);
        QVERIFY(presentChecked && closingOffered);

        d.state.currentSignRecord.layout = Layout::ClosedFrameA; // closed frame: no closing element
        int checked = -1;
        bool closedFrame = false;
        ModalAnswers special({inspect([&] {
            closedFrame = !enabled("RadioButton18") && !enabled("RadioButton19")
                          && !child<QLabel>(f, "Label9")->isEnabled() && enabled("RadioButton16")
                          && enabled("RadioButton20");
            checked = 0;
            for (int n = 1; n <= 22; ++n)
                checked += child(f, qPrintable(QStringLiteral("RadioButton%1").arg(n)))->isChecked();
        })});
        QVERIFY(!d.elementChoice->choose(35)); // special codes check nothing
        VERIFY_ANSWERED(special);
        QVERIFY(closedFrame);
        QCOMPARE(checked, 0);

        d.state.currentSignRecord.layout = Layout::ClosedFrameB;
        d.elementChoice->show();
        QVERIFY(!enabled("RadioButton18") && !enabled("RadioButton19"));
        d.elementChoice->hide();

        d.state.currentSignRecord.layout = Layout::SidePostsA;
        d.state.currentSignRecord.signType = SignType::DoubleSided;
        d.elementChoice->show();
        QVERIFY(!enabled("RadioButton18") && !enabled("RadioButton19"));
        QVERIFY(enabled("RadioButton14"));
        d.elementChoice->hide();

        d.state.currentSignRecord.signType = SignType::SpecialFrame;
        d.elementChoice->show();
        for (const char *name : {"RadioButton14", "RadioButton15", "RadioButton21", "RadioButton22", "RadioButton16",
                                 "RadioButton17", "RadioButton18", "RadioButton19", "RadioButton20"}) {
            QVERIFY2(!enabled(name), name);
            QCOMPARE(child(f, name)->toolTip(), gEnglish.LanguageEntry(text::kOnlySpecialProfiles));
        }
        // The four columns without a special profile are not shown at all.
        QVERIFY(!child(f, "RadioButton14")->isVisibleTo(f) && !child<QLabel>(f, "Label9")->isVisibleTo(f));
        QVERIFY(child(f, "RadioButton20")->isVisibleTo(f) && child(f, "RadioButton13")->isVisibleTo(f));
        QCOMPARE(child<QLabel>(f, "Label1")->text(), gEnglish.LanguageEntry(text::kSpecialProfile1).trimmed());
        QCOMPARE(child<QLabel>(f, "Label7")->text(), QString());
        d.elementChoice->hide();

        // Every choice that can be made has its heading; one that cannot says why.
        const std::pair<const char *, std::array<const char *, 2>> columns[] = {
            {"Label1", {"RadioButton2", "RadioButton3"}},   {"Label2", {"RadioButton4", "RadioButton5"}},
            {"Label3", {"RadioButton6", "RadioButton7"}},   {"Label4", {"RadioButton8", "RadioButton9"}},
            {"Label5", {"RadioButton10", "RadioButton11"}}, {"Label6", {"RadioButton12", "RadioButton13"}},
            {"Label7", {"RadioButton14", "RadioButton15"}}, {"Label10", {"RadioButton21", "RadioButton22"}},
            {"Label8", {"RadioButton16", "RadioButton17"}}, {"Label9", {"RadioButton18", "RadioButton19"}},
        };
        for (auto [layout, type] : {std::pair{1, 1}, {2, 1}, {2, 3}, {4, 4}, {2, 5}, {4, 6}, {2, 0}, {2, 9}}) {
            d.state.currentSignRecord.layout = Layout(std::uint8_t(layout));
            d.state.currentSignRecord.signType = SignType(std::uint8_t(type));
            d.elementChoice->show();
            const QString where = QStringLiteral("layout %1, sign type %2: ").arg(layout).arg(type);
            for (const auto &[heading, buttons] : columns)
                for (const char *name : buttons) {
                    QAbstractButton *b = child(f, name);
                    const QString what = where + QLatin1String(name);
                    QVERIFY2(!b->isEnabled() || !child<QLabel>(f, heading)->text().isEmpty(), qPrintable(what));
                    QVERIFY2(b->isEnabled() == b->toolTip().isEmpty(), qPrintable(what));
                }
            d.elementChoice->hide();
        }
        d.state.currentSignRecord.layout = Layout::ClosedFrameA;
        d.state.currentSignRecord.signType = SignType::NarrowFrame;
        d.elementChoice->show();
        QCOMPARE(child(f, "RadioButton19")->toolTip(),
                 gEnglish.LanguageEntry(text::kClosingNotAllowedNotice).section(QLatin1Char('#'), 0, 0));
        d.elementChoice->hide();
        d.state.currentSignRecord.layout = Layout::SidePostsA;
        d.state.currentSignRecord.signType = SignType::SpecialFrame;

        ModalAnswers script({click("Form7", "RadioButton2")});
        const std::optional<ElementChoice> choice = d.elementChoice->choose(0);
        VERIFY_ANSWERED(script);
        QVERIFY(choice);
        QCOMPARE(int(choice->code), 40);
        QCOMPARE(choice->description, d.state.ElementDescription(40));
    }

    void otherInfillClosesTheChoiceOnlyWhenConfirmed()
    {
        Dialogs d;
        d.state.currentSignRecord.infillHeight.set(10);
        bool stillChoosing = false;
        bool presentChecked = false;
        ModalAnswers script({click("Form7", "RadioButton20"),
                            {QStringLiteral("Form9"),
                             [](QWidget *w) {
                                 child<QLineEdit>(w, "pvlCalcEdit1")->setText(QStringLiteral("55"));
                                 child(w, "BitBtn2")->click();
                             }},
                            {QStringLiteral("Form7"),
                             [&](QWidget *w) {
                                 stillChoosing = w->isVisible();
                                 presentChecked = child(w, "RadioButton3")->isChecked();
                                 child(w, "RadioButton20")->click();
                             }},
                            {QStringLiteral("Form9"), [](QWidget *w) {
                                 child<QLineEdit>(w, "pvlCalcEdit1")->setText(QStringLiteral("12.5"));
                                 child<QLineEdit>(w, "pvlCalcEdit2")->setText(QStringLiteral("-20"));
                                 child(w, "BitBtn1")->click();
                             }}});
        const std::optional<ElementChoice> choice = d.elementChoice->choose(1);
        VERIFY_ANSWERED(script);
        QVERIFY(stillChoosing);
        QVERIFY(presentChecked);
        QVERIFY(choice);
        QCOMPARE(int(choice->code), 19);
        QCOMPARE(choice->description, gEnglish.LanguageEntry(text::kOtherInfill));
        QCOMPARE(double(d.state.currentSignRecord.infillHeight.get()), 12.5);
        QCOMPARE(double(d.state.currentSignRecord.extraCost.get()), -20.0);
    }

    void aValueTooLargeLeavesTheSignAsItWas()
    {
        Dialogs d;
        d.state.currentSignRecord.infillHeight.set(10);
        d.state.currentSignRecord.extraCost.set(5);
        d.otherInfill->show();
        child<NumberEdit>(d.otherInfill, "pvlCalcEdit1")->setValue(1e39L);
        child<NumberEdit>(d.otherInfill, "pvlCalcEdit2")->setText(QStringLiteral("7"));
        QString text;
        ModalAnswers script({messageBox(&text)});
        child(d.otherInfill, "BitBtn1")->click();
        VERIFY_ANSWERED(script);
        QCOMPARE(text, QStringLiteral("Floating point overflow"));
        QVERIFY(d.otherInfill->isVisible());
        // An extra amount beyond what a project may hold is refused before anything is stored.
        child<NumberEdit>(d.otherInfill, "pvlCalcEdit1")->setText(QStringLiteral("7"));
        child<NumberEdit>(d.otherInfill, "pvlCalcEdit2")->setValue(-2e9L);
        ModalAnswers refused({messageBox(&text, QStringLiteral("RefusedValueBox"))});
        child(d.otherInfill, "BitBtn1")->click();
        VERIFY_ANSWERED(refused);
        QVERIFY2(text.endsWith(QStringLiteral("the value may be at most 1000000000.")), qPrintable(text));
        QCOMPARE(double(d.state.currentSignRecord.infillHeight.get()), 10.0);
        QCOMPARE(double(d.state.currentSignRecord.extraCost.get()), 5.0);
    }

    // ---- assumptions ----

    void assumptionsRefuseAWidthOfZero()
    {
        Dialogs d;
        d.state.derived.FixedPricePercent.set(100);
        d.assumptions->show();
        QVERIFY(QTest::qWaitForWindowActive(d.assumptions));
        auto *width = child<NumberEdit>(d.assumptions, "pvlCalcEdit1");
        auto *quantity = child<NumberEdit>(d.assumptions, "pvlCalcEdit2");
        auto *posts = child<NumberEdit>(d.assumptions, "pvlCalcEdit4");
        auto *message = child<QLabel>(d.assumptions, "RefusalLabel");
        QVERIFY(!message->isVisibleTo(d.assumptions));
        QCOMPARE(width->text(), QStringLiteral("120.00"));
        const QString notAboveZero = gEnglish.LanguageEntry(text::kRefusedNotAboveZero);
        for (long double bad : {0.0L, -5.0L}) {
            width->setValue(bad);
            quantity->setFocus();
            child(d.assumptions, "BitBtn1")->click();
            QVERIFY(d.assumptions->isVisible());
            QCOMPARE(QApplication::focusWidget(), width);
            QCOMPARE(double(d.state.currentSignRecord.width.get()), 120.0);
            QVERIFY(message->isVisibleTo(d.assumptions));
            QCOMPARE(message->text(), gEnglish.LanguageEntry(text::kWidthLabel) + QStringLiteral(": ") + notAboveZero);
        }
        // The field is named by its label, whatever the label ends with.
        width->setValue(250);
        for (long double bad : {0.0L, -1.0L}) {
            quantity->setValue(bad);
            child(d.assumptions, "BitBtn1")->click();
            QVERIFY(d.assumptions->isVisible());
            QCOMPARE(QApplication::focusWidget(), quantity);
            QCOMPARE(message->text(), gEnglish.LanguageEntry(text::kQuantityLabel) + QStringLiteral(": ") + notAboveZero);
        }
        quantity->setValue(2);
        posts->setValue(-1);
        child(d.assumptions, "BitBtn1")->click();
        QCOMPARE(QApplication::focusWidget(), posts);
        QCOMPARE(message->text(), gEnglish.LanguageEntry(text::kPostCountLabelType1) + QStringLiteral(": ")
                                      + gEnglish.LanguageEntry(text::kRefusedNegative));
        QCOMPARE(double(d.state.currentSignRecord.width.get()), 120.0);

        // Shown again, the dialog starts without the old message.
        d.assumptions->hide();
        d.assumptions->show();
        QVERIFY(!message->isVisibleTo(d.assumptions));
    }

    void assumptionsRefuseAPercentageOfZeroUnlessItIsFixed()
    {
        Dialogs d;
        d.assumptions->show();
        QVERIFY(QTest::qWaitForWindowActive(d.assumptions));
        auto *percent = child<NumberEdit>(d.assumptions, "pvlCalcEdit3");
        QCOMPARE(child<QLabel>(d.assumptions, "Label7")->text(), gEnglish.LanguageEntry(text::kPercentUnit));
        percent->setValue(0);
        child(d.assumptions, "BitBtn1")->click();
        QVERIFY(d.assumptions->isVisible());
        QCOMPARE(QApplication::focusWidget(), percent);
        QVERIFY(child<QLabel>(d.assumptions, "RefusalLabel")->text().startsWith(QStringLiteral("Price level (%): ")));
        d.assumptions->hide();

        // Fixed by the parameters: hidden, and the fixed value is stored even after a new project
        // forgot it.
        d.state.parameters.priceListPercent.set(90);
        d.state.RefreshParameters();
        d.state.derived.FixedPricePercent = Real48{};
        d.assumptions->show();
        QVERIFY(!percent->isVisibleTo(d.assumptions));
        QVERIFY(!child<QLabel>(d.assumptions, "Label7")->isVisibleTo(d.assumptions));
        child(d.assumptions, "BitBtn1")->click();
        QVERIFY(!d.assumptions->isVisible());
        QCOMPARE(d.assumptions->result(), int(QDialog::Accepted));
        QCOMPARE(double(d.state.currentSignRecord.priceLevel.get()), 90.0);
    }

    void aNewSignStartsAtOnePieceAndOneHundredPercent()
    {
        Dialogs d;
        BlankSignRecord(d.state.currentSignRecord);
        d.state.currentSignRecord.width = Real48{};
        d.state.currentSignRecord.quantity = Real48{};
        d.state.currentSignRecord.priceLevel = Real48{};
        d.state.derived.FixedPricePercent = Real48{};
        d.assumptions->show();
        QCOMPARE(child<NumberEdit>(d.assumptions, "pvlCalcEdit2")->text(), QStringLiteral("1"));
        QCOMPARE(child<NumberEdit>(d.assumptions, "pvlCalcEdit3")->text(), QStringLiteral("100.00"));
        child<NumberEdit>(d.assumptions, "pvlCalcEdit1")->setValue(150);
        child(d.assumptions, "BitBtn1")->click();
        QCOMPARE(d.assumptions->result(), int(QDialog::Accepted));
        QCOMPARE(double(d.state.currentSignRecord.quantity.get()), 1.0);
        QCOMPARE(double(d.state.currentSignRecord.priceLevel.get()), 100.0);

        // A percentage chosen before is proposed again.
        d.state.derived.FixedPricePercent.set(85);
        d.assumptions->show();
        QCOMPARE(child<NumberEdit>(d.assumptions, "pvlCalcEdit3")->text(), QStringLiteral("85.00"));
        d.assumptions->reject();
    }

    void theOtherFamilysLayoutConvertsTheRows()
    {
        Dialogs d;
        d.state.derived.FixedPricePercent.set(100);
        d.state.currentSignRecord.setTitle(QStringLiteral("auto"));
        d.setRows({1, 20, 9});
        d.state.currentSignRecord.rowMarks[0] = 1;
        d.assumptions->show();
        child(d.assumptions, "RadioButton1")->click(); // layout 4, family B
        child(d.assumptions, "BitBtn1")->click();
        const SignRecord &sign = d.state.currentSignRecord;
        QCOMPARE(int(sign.layout), 4);
        QCOMPARE(d.rows(4), std::vector<int>({10, 21, 18, 0}));
        QCOMPARE(std::vector<int>(sign.rowElements, sign.rowElements + 4), std::vector<int>({10, 21, 18, 0}));
        QCOMPARE(int(sign.rowMarks[0]), 1);
        QVERIFY2(sign.titleText().endsWith(gEnglish.LanguageEntry(text::kFamilyB)), qPrintable(sign.titleText()));

        // Within a family the rows stay; back in family A they are what they were.
        d.assumptions->show();
        child(d.assumptions, "RadioButton2")->click(); // layout 3
        child(d.assumptions, "BitBtn1")->click();
        QCOMPARE(d.rows(3), std::vector<int>({10, 21, 18}));
        d.assumptions->show();
        child(d.assumptions, "RadioButton3")->click(); // layout 2
        child(d.assumptions, "BitBtn1")->click();
        QCOMPARE(d.rows(3), std::vector<int>({1, 20, 9}));
        QCOMPARE(std::vector<int>(sign.rowElements, sign.rowElements + 3), std::vector<int>({1, 20, 9}));
    }

    void typesWithoutPostsTakeOnlyLayoutsWithSidePosts()
    {
        Dialogs d;
        d.state.currentSignRecord.layout = Layout::ClosedFrameA;
        d.assumptions->show();
        QWidget *f = d.assumptions;
        QVERIFY(child(f, "RadioButton4")->isChecked());
        QVERIFY(child<QWidget>(f, "pvlCalcEdit4")->isEnabled());
        child(f, "RadioButton7")->click(); // type 3
        QVERIFY(child(f, "RadioButton3")->isChecked());
        QVERIFY(!child(f, "RadioButton4")->isEnabled() && !child(f, "RadioButton2")->isEnabled());
        QVERIFY(!child<QWidget>(f, "pvlCalcEdit4")->isEnabled());
        QVERIFY(!child<QLabel>(f, "LayoutPicture1")->isVisibleTo(f));
        QVERIFY(child<QLabel>(f, "LayoutPicture2")->isVisibleTo(f));

        child(f, "RadioButton6")->click(); // type 2 brings them back
        QVERIFY(child(f, "RadioButton4")->isEnabled());
        QCOMPARE(child<QLabel>(f, "Label4")->text(), gEnglish.LanguageEntry(text::kPostCountLabelType2));
    }

    void assumptionsStoreTheSignAndDropPostsForTypesThreeToSix()
    {
        Dialogs d;
        QWidget *f = d.assumptions;
        d.assumptions->show();
        child<NumberEdit>(f, "pvlCalcEdit1")->setValue(300);
        child<NumberEdit>(f, "pvlCalcEdit2")->setValue(4);
        child<NumberEdit>(f, "pvlCalcEdit3")->setValue(80);
        child<NumberEdit>(f, "pvlCalcEdit4")->setValue(3);
        child(f, "RadioButton1")->click(); // layout 4
        child(f, "RadioButton8")->click(); // type 4
        child(f, "BitBtn1")->click();
        const SignRecord &sign = d.state.currentSignRecord;
        QCOMPARE(double(sign.width.get()), 300.0);
        QCOMPARE(double(sign.quantity.get()), 4.0);
        QCOMPARE(double(sign.priceLevel.get()), 80.0);
        QCOMPARE(double(d.state.derived.FixedPricePercent.get()), 80.0);
        QCOMPARE(double(sign.auxDimension.get()), 0.0);
        QCOMPARE(int(sign.layout), 4);
        QCOMPARE(int(sign.signType), 4);
        QCOMPARE(sign.titleText(), QString()); // a sign without rows keeps its title

        d.setRows({1});
        d.assumptions->show();
        QVERIFY(!child(f, "RadioButton2")->isEnabled()); // reopened as type 4
        child(f, "BitBtn1")->click();
        QCOMPARE(d.state.currentSignRecord.titleText(), QStringLiteral("300.00x1.60B"));
    }

    void assumptionsOverflowKeepsTheDialogOpen()
    {
        Dialogs d;
        d.state.derived.FixedPricePercent.set(100);
        d.assumptions->show();
        child<NumberEdit>(d.assumptions, "pvlCalcEdit4")->setValue(1e39L);
        QString text;
        ModalAnswers script({messageBox(&text)});
        child(d.assumptions, "BitBtn1")->click();
        VERIFY_ANSWERED(script);
        QCOMPARE(text, QStringLiteral("Floating point overflow"));
        QVERIFY(d.assumptions->isVisible());
        QCOMPARE(double(d.state.currentSignRecord.width.get()), 120.0);
        // Width and quantity stop where a project file's check does.
        child<NumberEdit>(d.assumptions, "pvlCalcEdit4")->setValue(0);
        for (const char *edit : {"pvlCalcEdit1", "pvlCalcEdit2"}) {
            child<NumberEdit>(d.assumptions, "pvlCalcEdit1")->setValue(120);
            child<NumberEdit>(d.assumptions, "pvlCalcEdit2")->setValue(1);
            child<NumberEdit>(d.assumptions, edit)->setValue(100001);
            child(d.assumptions, "BitBtn1")->click();
            QVERIFY(d.assumptions->isVisible());
            QVERIFY2(child<QLabel>(d.assumptions, "RefusalLabel")->text().endsWith(QStringLiteral("the value may be at most 100000.")),
                     qPrintable(child<QLabel>(d.assumptions, "RefusalLabel")->text()));
        }
        QCOMPARE(double(d.state.currentSignRecord.width.get()), 120.0);
    }

    void enterMovesToTheNextField()
    {
        Dialogs d;
        d.state.derived.FixedPricePercent.set(100);
        d.assumptions->show();
        QVERIFY(QTest::qWaitForWindowActive(d.assumptions));
        auto *width = child<QWidget>(d.assumptions, "pvlCalcEdit1");
        width->setFocus();
        QTest::keyClick(width, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(d.assumptions, "pvlCalcEdit2"));
        QVERIFY(d.assumptions->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(!d.assumptions->isVisible()); // Ctrl+Enter is OK
    }

    void enterOnAValueOkWouldRefuseSaysWhyAndStays()
    {
        Dialogs d;
        d.state.derived.FixedPricePercent.set(100);
        d.assumptions->show();
        QVERIFY(QTest::qWaitForWindowActive(d.assumptions));
        auto *message = child<QLabel>(d.assumptions, "RefusalLabel");
        const struct {
            const char *field;
            const char *typed;
            int label, reason;
        } cases[] = {
            {"pvlCalcEdit1", "0", text::kWidthLabel, text::kRefusedNotAboveZero},
            {"pvlCalcEdit1", "", text::kWidthLabel, text::kRefusedNotAboveZero},
            {"pvlCalcEdit2", "0", text::kQuantityLabel, text::kRefusedNotAboveZero},
        };
        for (const auto &c : cases) {
            auto *edit = child<NumberEdit>(d.assumptions, c.field);
            edit->setFocus();
            edit->setText(QLatin1String(c.typed));
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), edit);
            QVERIFY(message->isVisibleTo(d.assumptions));
            QCOMPARE(message->text(), gEnglish.LanguageEntry(c.label) + QStringLiteral(": ") + gEnglish.LanguageEntry(c.reason));
            edit->setText(QStringLiteral("3"));
        }
        QCOMPARE(double(d.state.currentSignRecord.width.get()), 120.0);
        d.assumptions->reject();
    }

    // ---- number entry and title ----

    void numberEntryRefusesZeroAndAnswersOnlyOnOk()
    {
        Dialogs d;
        auto *edit = child<NumberEdit>(d.numberEntry, "pvlCalcEdit1");
        auto *unit = child<QLabel>(d.numberEntry, "Label3");
        QString shown, caption, shownUnit;
        bool refused = false;
        const auto type = [edit](const char *text) { edit->setText(QLatin1String(text)); };
        Real48 hundred;
        hundred.set(100);
        ModalAnswers scale({{QStringLiteral("Form13"), [&](QWidget *w) {
                                shown = edit->text();
                                type("0");
                                child(w, "BitBtn1")->click();
                                refused = w->isVisible();
                                type("150");
                                child(w, "BitBtn1")->click();
                            }}});
        const std::optional<Real48> answer = d.numberEntry->ask(NumberEntryDialog::Asks::ExportScale, hundred);
        VERIFY_ANSWERED(scale);
        QCOMPARE(shown, QStringLiteral("100.00"));
        QVERIFY(refused);
        QVERIFY(answer);
        QCOMPARE(double(answer->get()), 150.0);

        // A refusal says why, for 0 and for an empty field; Cancel answers nothing.
        QStringList reasons;
        ModalAnswers cancelled({{QStringLiteral("Form13"), [&](QWidget *w) {
                                    for (const char *typed : {"0", ""}) {
                                        type(typed);
                                        child(w, "BitBtn1")->click();
                                        reasons << (child<QLabel>(w, "RefusalLabel")->isVisibleTo(w)
                                                        ? child<QLabel>(w, "RefusalLabel")->text() : QString());
                                    }
                                    QCOMPARE(child<QPushButton>(w, "BitBtn2")->text(), gEnglish.LanguageEntry(text::kCancel));
                                    type("75");
                                    child(w, "BitBtn2")->click();
                                }}});
        QVERIFY(!d.numberEntry->ask(NumberEntryDialog::Asks::ExportScale, hundred));
        VERIFY_ANSWERED(cancelled);
        const QString why = gEnglish.LanguageEntry(text::kExportScaleLabel) + QStringLiteral(": ")
                            + gEnglish.LanguageEntry(text::kRefusedNotAboveZero);
        QCOMPARE(reasons, (QStringList{why, why}));

        // Escape or closing the window answers nothing, whatever the edit holds; the dialog
        // itself stores nothing anywhere.
        const QByteArray sign = bytesOf(d.state.currentSignRecord);
        const Real48 percent = d.state.derived.FixedPricePercent;
        ModalAnswers closed({{QStringLiteral("Form13"),
                              [&](QWidget *w) {
                                  caption = w->windowTitle();
                                  shownUnit = unit->text();
                                  type("85");
                                  QTest::keyClick(w, Qt::Key_Escape);
                              }},
                             {QStringLiteral("Form13"), [&](QWidget *w) {
                                  type("85");
                                  w->close();
                              }},
                             {QStringLiteral("Form13"), [&](QWidget *w) {
                                  type("85");
                                  child(w, "BitBtn1")->click();
                              }}});
        QVERIFY(!d.numberEntry->ask(NumberEntryDialog::Asks::PricePercent, hundred));
        QVERIFY(!d.numberEntry->ask(NumberEntryDialog::Asks::PricePercent, hundred));
        const std::optional<Real48> typed = d.numberEntry->ask(NumberEntryDialog::Asks::PricePercent, hundred);
        VERIFY_ANSWERED(closed);
        QCOMPARE(caption, gEnglish.LanguageEntry(text::kPricePercentTitle));
        QCOMPARE(shownUnit, gEnglish.LanguageEntry(text::kPercentUnit)); // a percentage, not money
        QVERIFY(typed && typed->get() == 85);
        QCOMPARE(bytesOf(d.state.currentSignRecord), sign);
        QCOMPARE(bytesOf(d.state.derived.FixedPricePercent), bytesOf(percent));
    }

    void titleDialogSwitchesBetweenTheAutomaticAndTheTypedTitle()
    {
        Dialogs d;
        d.setRows({1});
        auto *edit = child<QLineEdit>(d.title, "Edit1");
        auto *automatic = child<QCheckBox>(d.title, "CheckBox1");
        QStringList texts;
        bool ticked = true;
        ModalAnswers byHand({{QStringLiteral("Form10"), [&](QWidget *w) {
                                 texts << edit->text();
                                 ticked = automatic->isChecked();
                                 automatic->click();
                                 texts << edit->text();
                                 automatic->click();
                                 texts << edit->text();
                                 child(w, "BitBtn1")->click();
                             }}});
        const std::optional<TitleAnswer> answer = d.title->ask(QStringLiteral("!Shop front"));
        VERIFY_ANSWERED(byHand);
        QVERIFY(!ticked);
        QCOMPARE(texts, QStringList({QStringLiteral("Shop front"), d.state.AutoTitle(), QStringLiteral("Shop front")}));
        QVERIFY(answer && answer->text == QStringLiteral("Shop front") && !answer->automatic);

        // An automatic title: unticking offers the default typed title of the sign.
        d.state.currentSign = 3;
        ModalAnswers automaticTitle({{QStringLiteral("Form10"), [&](QWidget *w) {
                                         ticked = automatic->isChecked();
                                         automatic->click();
                                         texts = {edit->text()};
                                         child(w, "BitBtn2")->click();
                                     }}});
        QVERIFY(!d.title->ask(QStringLiteral("120.00x1.60A")));
        VERIFY_ANSWERED(automaticTitle);
        QVERIFY(ticked);
        QCOMPARE(texts, QStringList({gEnglish.LanguageEntry(text::kUntitledSign) + QStringLiteral("3")}));
    }

    void aTypedTitleIsKeptWhole()
    {
        Dialogs d;
        d.setRows({1});
        d.state.currentSignRecord.setTitle(d.state.AutoTitle());
        auto *edit = child<QLineEdit>(d.title, "Edit1");
        auto *automatic = child<QCheckBox>(d.title, "CheckBox1");
        QStringList texts;
        bool tickedWhileTyping = true;
        // Typed over the automatic title: the box clears itself and the text stays through a
        // tick and an untick.
        ModalAnswers typed({{QStringLiteral("Form10"), [&](QWidget *w) {
                                typeInto(edit, QStringLiteral("Shop front"));
                                tickedWhileTyping = automatic->isChecked();
                                automatic->click();
                                texts << edit->text();
                                automatic->click();
                                texts << edit->text();
                                child(w, "BitBtn1")->click();
                            }}});
        std::optional<TitleAnswer> answer = d.title->ask(d.state.currentSignRecord.titleText());
        VERIFY_ANSWERED(typed);
        QVERIFY(!tickedWhileTyping);
        QCOMPARE(texts, QStringList({d.state.AutoTitle(), QStringLiteral("Shop front")}));
        QVERIFY(answer && answer->text == QStringLiteral("Shop front") && !answer->automatic);

        // 19 characters fit beside the "!" of a title set by hand; nothing is cut after that.
        const QString longest = QStringLiteral("Front of the shop 1");
        ModalAnswers tooLong({{QStringLiteral("Form10"), [&](QWidget *w) {
                                  typeInto(edit, longest + QStringLiteral("23"));
                                  child(w, "BitBtn1")->click();
                              }}});
        answer = d.title->ask(d.state.currentSignRecord.titleText());
        VERIFY_ANSWERED(tooLong);
        QVERIFY(answer && !answer->automatic);
        QCOMPARE(answer->text, longest);
        QVERIFY(d.state.SetSignTitle(answer->text, answer->automatic));
        QCOMPARE(d.state.currentSignRecord.titleText(), QLatin1Char('!') + longest);

        // The next OK of the construction dialog keeps it, and so does the title dialog when
        // confirmed unchanged.
        d.openForm6();
        child(d.construction, "BitBtn4")->click();
        QCOMPARE(d.state.currentSignRecord.titleText(), QLatin1Char('!') + longest);
        ModalAnswers unchanged({modal::click(QStringLiteral("Form10"), "BitBtn1")});
        answer = d.title->ask(d.state.currentSignRecord.titleText());
        VERIFY_ANSWERED(unchanged);
        QVERIFY(answer && answer->text == longest && !answer->automatic);
    }

    // ---- pictures ----

    void layoutPicturesShowTheFamilyColour()
    {
        for (int layout = 1; layout <= 4; ++layout) {
            const QImage image = LayoutPicture(layout).toImage();
            QCOMPARE(image.size(), kLayoutPictureSize);
            const QColor family = layout <= 2 ? QColor(255, 255, 0) : QColor(128, 128, 128);
            int hits = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    hits += QColor(image.pixel(x, y)) == family;
            QVERIFY2(hits > 500, qPrintable(QStringLiteral("layout %1: %2 pixels").arg(layout).arg(hits)));
        }
    }

    void layoutPicturesNameTheirLayoutAndFamily()
    {
        Dialogs d;
        d.setRows({1});
        d.assumptions->show();
        d.openForm6();
        const QString frame = gEnglish.LanguageEntry(text::kClosedFrameLayout);
        const QString posts = gEnglish.LanguageEntry(text::kSidePostsLayout);
        const QString a = gEnglish.LanguageEntry(text::kFamilyA), b = gEnglish.LanguageEntry(text::kFamilyB);
        const QStringList expected = {frame + u' ' + a, posts + u' ' + a, frame + u' ' + b, posts + u' ' + b};
        for (int layout = 1; layout <= 4; ++layout) {
            const QString &tip = expected[layout - 1];
            QCOMPARE(child<QLabel>(d.assumptions, QStringLiteral("LayoutPicture%1").arg(layout))->toolTip(), tip);
            QCOMPARE(child(d.assumptions, QStringLiteral("RadioButton%1").arg(5 - layout))->toolTip(), tip);
            QCOMPARE(child<QLabel>(d.construction, QStringLiteral("Image%1").arg(5 - layout))->toolTip(), tip);
        }
        QCOMPARE(QSet<QString>(expected.begin(), expected.end()).size(), 4);
        QCOMPARE(LayoutToolTip(gEnglish, Layout(0)), QString());
    }
};

QTEST_MAIN(DialogTest)
#include "test_dialogs.moc"
