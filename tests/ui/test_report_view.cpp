// The report view: its menu, the drawing switch and printing to a PDF file.
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "ui/notice_dialog.h"
#include "core/engine/compute_sign.h"
#include "ui/report_view.h"
#include "core/render/report_lines.h"
#include "core/params/language.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"
#include "core/render/report_layout.h"
#include "ui/main_window.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"

using namespace tablix;

namespace {

int PdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString bytes = QString::fromLatin1(file.readAll());
    return int(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

} // namespace

class ReportViewTest : public QObject {
    Q_OBJECT

    fixtures::ComputedState state;
    Windows windows{state};
    ReportView *reportView = nullptr;
    QTemporaryDir dir;
    int dialogsOpened = 0;

    template <typename T = QAction> T *child(const char *name) { return fixtures::child<T>(reportView, name); }

    // A designed sign, its cost text split into the report lines.
    void costReport()
    {
        SignRecord &sign = state.currentSignRecord;
        sign.layout = Layout::SidePostsA;
        sign.signType = SignType::NarrowFrame;
        sign.width.set(120);
        sign.quantity.set(2);
        sign.priceLevel.set(100);
        std::fill(std::begin(sign.rowElements), std::end(sign.rowElements), 0);
        const int rows[] = {1, 3, 5, 3, 1, 12};
        for (size_t i = 0; i < std::size(rows); ++i)
            sign.rowElements[i] = std::uint8_t(rows[i]);
        sign.setTitle(QStringLiteral("!Pharmacy front"));
        state.LoadWorkingState();
        fixtures::Compute(state);
        state.ViewText = state.results.CostText;
        SplitViewText(state);
    }

    // The designed sign with `lines` two-column lines of its own.
    void longReport(int lines, int labelLength = 12)
    {
        costReport();
        QString text;
        for (int a = 1; a <= lines; ++a)
            text += QStringLiteral("L%1").arg(a).leftJustified(labelLength, QLatin1Char('.')) +
                    QStringLiteral("\t%1.00\r").arg(a * 3);
        state.ViewText = text;
        SplitViewText(state);
    }

    // Prints through the injected dialog into a fresh PDF file; returns its path.
    QString printToPdf(bool confirm = true)
    {
        const QString path = dir.filePath(QStringLiteral("print%1.pdf").arg(++dialogsOpened));
        reportView->PrintDialog = [path, confirm](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageOrientation(QPageLayout::Portrait);
            return confirm;
        };
        child("drukuj1")->trigger();
        return path;
    }

private slots:
    void initTestCase()
    {
        state.language = fixtures::ShippedLanguage();
        state.parameters = fixtures::ShippedParameters();
        state.RefreshParameters();
        QVERIFY(dir.isValid());
        reportView = &windows.reportView();
    }

    void init()
    {
        state.reportShowsDrawing = true;
        costReport();
        reportView->resize(710, 569);
        reportView->show();
        QVERIFY(QTest::qWaitForWindowExposed(reportView));
    }

    void cleanup()
    {
        reportView->hide();
    }

    void drawingSwitchFollowsTheFlagAndSurvivesClosing()
    {
        auto *rysunek = child<QMenu>("Rysunek1");
        QCOMPARE(rysunek->title(), QStringLiteral("+ ") + state.LanguageEntry(text::kMenuDrawing));
        QVERIFY(child("Tak1")->isChecked());
        const QSize withDrawing = reportView->paintBox()->size();

        child("Nie1")->trigger();
        QCOMPARE(state.reportShowsDrawing, false);
        QCOMPARE(rysunek->title(), QStringLiteral("- ") + state.LanguageEntry(text::kMenuDrawing));
        QVERIFY(child("Nie1")->isChecked());
        QVERIFY(!child("Tak1")->isChecked());
        QVERIFY(reportView->paintBox()->height() < withDrawing.height());

        reportView->hide();
        reportView->show();
        QCOMPARE(state.reportShowsDrawing, false);
        QCOMPARE(rysunek->title(), QStringLiteral("- ") + state.LanguageEntry(text::kMenuDrawing));
        QVERIFY(child("Nie1")->isChecked());

        child("Tak1")->trigger();
        QCOMPARE(reportView->paintBox()->size(), withDrawing);
    }

    void switchingToTheShownDrawingDoesNotMeasure()
    {
        const QSize before = reportView->paintBox()->size();
        longReport(40);
        child("Tak1")->trigger();
        QCOMPARE(reportView->paintBox()->size(), before);
        child("Nie1")->trigger();
        QVERIFY(reportView->paintBox()->height() > before.height());
    }

    void longReportPrintsOnSeveralPages()
    {
        longReport(150);
        reportView->hide();
        reportView->show();
        const QString path = printToPdf();
        QCOMPARE(PdfPages(path), 3);
        // TABLIX_GRAB_DIR keeps the printout for a look at its pages.
        if (const QString grab = qEnvironmentVariable("TABLIX_GRAB_DIR"); !grab.isEmpty())
            QFile::copy(path, grab + QStringLiteral("/long-report.pdf"));
        QVERIFY(state.printerDpiY > 0);
        QVERIFY(state.printerPageHeight > 0);

        longReport(40);
        reportView->hide();
        reportView->show();
        QCOMPARE(PdfPages(printToPdf()), 1);
    }

    void emptySignStillRunsAPrintJob()
    {
        state.workingRows[0] = 0;
        QCOMPARE(PdfPages(printToPdf()), 1);
    }

    void signWithoutRowsShowsItsLinesReadably()
    {
        // Its own columns, nothing cut off, and no drawing, however the window was sized before.
        std::fill(std::begin(state.currentSignRecord.rowElements), std::end(state.currentSignRecord.rowElements), 0);
        state.LoadWorkingState();
        const QString note = QStringLiteral("This sign has no rows yet.");
        const QString label = QStringLiteral("Price per sign");
        state.ViewText = note + QStringLiteral("\r") + label + QStringLiteral("\t0.00 EUR\r");
        SplitViewText(state);
        reportView->hide();
        reportView->show();
        reportView->resize(600, 400);
        QTRY_VERIFY(reportView->paintBox()->width() > 100);

        QWidget *box = reportView->paintBox();
        const QFontMetrics metrics(box->font());
        const int f = FontPixelHeight(box->font());
        const ReportLayout &layout = reportView->layout();
        QVERIFY(layout.reportTabColumn >= 5 + metrics.horizontalAdvance(label) + 15);
        QVERIFY(box->width() >= 5 + metrics.horizontalAdvance(note));
        QVERIFY(box->width() >= layout.reportTabColumn + metrics.horizontalAdvance(QStringLiteral("0.00 EUR")));
        QVERIFY(box->height() >= ReportLineY(2, f, 2 * f + 5) + f);

        const QImage page = box->grab().toImage();
        if (const QString grab = qEnvironmentVariable("TABLIX_GRAB_DIR"); !grab.isEmpty())
            reportView->grab().save(grab + QStringLiteral("/report-without-rows.png"));
        const auto ink = [&page](int x1, int x2, int y1, int y2) {
            for (int y = y1; y < y2; ++y)
                for (int x = x1; x < x2; ++x)
                    if (qGray(page.pixel(x, y)) < 128)
                        return true;
            return false;
        };
        const int top = 2 * f + 5; // no drawing above the lines
        const int line2 = ReportLineY(2, f, top);
        QVERIFY(ink(5, 5 + metrics.horizontalAdvance(note), ReportLineY(1, f, top), line2));
        QVERIFY(ink(5, 5 + metrics.horizontalAdvance(label), line2, line2 + f));
        QVERIFY(!ink(5 + metrics.horizontalAdvance(label) + 2, layout.reportTabColumn - 1, line2, line2 + f));
        QVERIFY(ink(layout.reportTabColumn, box->width(), line2, line2 + f));
        QVERIFY(!ink(0, box->width(), 2 * f, top - 1));
    }

    void cancelledDialogPrintsNothingAndKeepsPrinterValues()
    {
        state.printerDpiY = 123;
        state.printerPageHeight = 4567;
        const QString path = printToPdf(false);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(state.printerDpiY, 123);
        QCOMPARE(state.printerPageHeight, 4567);
    }

    void tooWideReportAsksFirst()
    {
        longReport(3, 900);
        reportView->hide();
        reportView->show();

        QString question;
        {
            ModalAnswers answers({modal::notice(false, &question)});
            const QString declined = printToPdf();
            VERIFY_ANSWERED(answers);
            QCOMPARE(question.section(QLatin1Char('#'), 0, 0),
                     state.LanguageEntry(text::kTooWideNotice).section(QLatin1Char('#'), 0, 0));
            QVERIFY(!QFile::exists(declined));
        }

        ModalAnswers answers({modal::notice(true)});
        QCOMPARE(PdfPages(printToPdf()), 1);
        VERIFY_ANSWERED(answers);
    }

    void unwritableOutputIsReportedAndNothingIsWritten()
    {
        QString caption;
        ModalAnswers answers({{QStringLiteral("QMessageBox"), [&caption](QWidget *w) {
                                   caption = w->windowTitle();
                                   w->close();
                               }}});
        reportView->PrintDialog = [](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QStringLiteral("/nonexistent-dir/report.pdf"));
            return true;
        };
        child("drukuj1")->trigger();
        VERIFY_ANSWERED(answers);
        QCOMPARE(caption, state.LanguageEntry(text::kPrintErrorCaption));
        QVERIFY(reportView->isVisible());
    }
};

QTEST_MAIN(ReportViewTest)
#include "test_report_view.moc"
