// Printouts and the views they come from: the summary page's scrolling, font and printout, the
// margin and footer of every printed page, the report view's scrolling and font, and the messages
// of failed printouts, exports and parameter files in the user's language.
#include <QFontDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>
#include <memory>
#include <stdexcept>

#include "core/engine/compute_sign.h"
#include "core/params/language_entries.h"
#include "core/params/parameters.h"
#include "core/project/app_state.h"
#include "core/render/report_lines.h"
#include "core/render/summary.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "ui/export_command.h"
#include "ui/main_window.h"
#include "ui/parameter_editor.h"
#include "ui/printing.h"
#include "ui/report_view.h"
#include "ui/summary_page.h"
#include "ui/widgets/paint_box.h"
#include "ui/window_set.h"

using namespace tablix;
using fixtures::child;

namespace {

// ---- the printout as a reader sees it, through poppler's tools ----

bool HavePdfTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

QByteArray Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

// The text of every page, in order.
QStringList PdfPages(const QString &path)
{
    QStringList pages = QString::fromUtf8(Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path,
                                                                            QStringLiteral("-")}))
                            .split(QLatin1Char('\f'));
    pages.removeLast(); // after the last page's form feed
    return pages;
}

// Ink on page `page` outside the printable area shrunk by the margin, as text; empty when none.
QString InkOutsideTheMargin(const QString &path, int page, const QPrinter &printer)
{
    constexpr int dpi = 50;
    const QString stem = path + QStringLiteral(".page");
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                     QString::number(page), QStringLiteral("-singlefile"), path, stem});
    const QImage picture(stem + QStringLiteral(".png"));
    if (picture.isNull())
        return QStringLiteral("no picture");
    const double m = kPrintMarginMm * 72.0 / 25.4;
    const QRectF inside = printer.pageLayout().paintRect(QPageLayout::Point).adjusted(m, m, -m, -m);
    const double s = dpi / 72.0;
    // A pixel of give for anti-aliased edges.
    const QRect allowed = QRectF(inside.topLeft() * s, inside.size() * s).toAlignedRect().adjusted(-1, -1, 1, 1);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (!allowed.contains(x, y) && qGray(picture.pixel(x, y)) < 250)
                return QStringLiteral("page %1: ink at %2,%3").arg(page).arg(x).arg(y);
    return QString();
}

std::function<bool(QPrinter &)> PdfTo(const QString &path)
{
    return [path](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        return true;
    };
}

// ---- scroll bars as a user sees them ----

QRect Part(QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

// At the page's top the thumb is at the top of its track, and it is what looks like a thumb:
// darker than the track below it.
void VerifyThumbAtTop(QScrollBar *bar)
{
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->value(), 0);
    const QRect thumb = Part(bar, QStyle::SC_ScrollBarSlider);
    const QRect track = Part(bar, QStyle::SC_ScrollBarGroove);
    QVERIFY2(thumb.top() <= track.top() + 2, qPrintable(QString::number(thumb.top())));
    QVERIFY(thumb.bottom() < track.bottom() - 10);
    const QImage picture = bar->grab().toImage();
    const int thumbGrey = qGray(picture.pixel(thumb.center()));
    const int trackGrey = qGray(picture.pixel(bar->width() / 2, (thumb.bottom() + track.bottom()) / 2));
    QVERIFY2(thumbGrey + 40 < trackGrey, qPrintable(QStringLiteral("thumb %1, track %2").arg(thumbGrey).arg(trackGrey)));
}

void DragThumb(QScrollBar *bar, int distance)
{
    const QPoint from = Part(bar, QStyle::SC_ScrollBarSlider).center();
    const QPoint to = from + QPoint(0, distance);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, to);
}

// A wheel notch over `page` inside `area`: the page lets it pass, so it reaches the area's view as
// a real wheel's event does (a synthetic one does not travel up by itself).
void WheelDown(QWidget *page, QAbstractScrollArea *area)
{
    const auto notch = [](QWidget *widget) {
        const QPoint at = widget->rect().center();
        QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
        return wheel.isAccepted();
    };
    QVERIFY(!notch(page));
    notch(area->viewport());
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int printouts = 0;

    // The program over a project of `count` narrow signs of eight rows (tall drawings), the summary
    // page active.
    struct Program {
        fixtures::ComputedState state;
        std::unique_ptr<Windows> windows;
        MainWindow *form = nullptr;
        SummaryPage *summary = nullptr;

        Program(int count, QSize size, const QString &language = QStringLiteral("tablix_lng.eng"))
        {
            state.parameters = fixtures::ShippedParameters();
            state.language = fixtures::ShippedLanguage(language);
            state.RefreshParameters();
            SignSlotArray signs = state.SignSlots;
            for (int k = 1; k <= count; ++k) {
                SignRecord &sign = signs[size_t(k - 1)];
                sign = fixtures::SignWith(1, QStringLiteral("Sign %1").arg(k));
                sign.width.set(25);
                for (int row = 1; row < 8; ++row)
                    sign.rowElements[size_t(row)] = std::uint8_t(row % 2 ? 3 : 1);
                sign.quantity.set(k % 3 == 0 ? 3 : 1);
                sign.priceLevel.set(100);
            }
            state.OpenProject(signs, QString());
            state.RefreshTabCaptions();
            windows = std::make_unique<Windows>(state);
            form = &windows->mainWindow();
            form->resize(size);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            child<QTabWidget>(form, "PageControl1")->setCurrentIndex(20);
            summary = child<SummaryPage>(form, "TabSheet21");
        }

        // The report view, shown, over the first sign's cost text and `extra` lines of its own.
        ReportView &costReport(int extra)
        {
            child<QTabWidget>(form, "PageControl1")->setCurrentIndex(0);
            fixtures::Compute(state);
            state.ViewText = state.results.CostText;
            for (int a = 1; a <= extra; ++a)
                state.ViewText += QStringLiteral("Line %1\t%2.00\r").arg(a).arg(a * 7);
            SplitViewText(state);
            ReportView &view = windows->reportView();
            view.show();
            [&view] { QVERIFY(QTest::qWaitForWindowExposed(&view)); }();
            return view;
        }
    };

    // Runs `print` with the print dialog sending the printout to a new PDF file; every page keeps
    // inside the margin and ends with its footer. The pages' texts, or nothing when the printout
    // cannot be read here.
    QStringList printAndRead(Program &p, const std::function<void(std::function<bool(QPrinter &)>)> &print,
                             const char *keep)
    {
        const AppState &state = p.state;
        const QString path = dir.filePath(QStringLiteral("printout%1.pdf").arg(++printouts));
        print(PdfTo(path));
        // TABLIX_GRAB_DIR keeps the printout for a look at its pages.
        if (const QString grab = qEnvironmentVariable("TABLIX_GRAB_DIR"); !grab.isEmpty())
            QFile::copy(path, grab + QLatin1Char('/') + QLatin1String(keep));
        const QStringList pages = PdfPages(path);
        const QString date = FooterDate(state, QDate::currentDate());
        for (int k = 1; k <= pages.size(); ++k) {
            const QString last = pages[k - 1].trimmed().section(QLatin1Char('\n'), -1);
            if (!last.contains(date) || !last.contains(FooterPageNumber(state, k, int(pages.size()))))
                QTest::qFail(qPrintable(QStringLiteral("page %1 ends with \"%2\"").arg(k).arg(last)), __FILE__, __LINE__);
            if (const QString ink = InkOutsideTheMargin(path, k, p.form->printer()); !ink.isEmpty())
                QTest::qFail(qPrintable(ink), __FILE__, __LINE__);
        }
        return pages;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void pageFrameAndFooter()
    {
        const QFont font(QStringLiteral("DejaVu Sans Mono"));
        // A4 at 600 dpi: 10 mm is 237 dots, the footer's 8 points 67.
        const PrintedPage a4 = LayOutPrintedPage(4760, 6814, 600, 600, font);
        QCOMPARE(a4.body.topLeft(), QPoint(237, 237));
        QCOMPARE(a4.body.right(), 4760 - 237 - 1);
        QCOMPARE(a4.footer.bottom(), 6814 - 237 - 1);
        QVERIFY(a4.footer.top() > a4.body.bottom() + a4.footer.height() / 2);
        QCOMPARE(a4.footerFont.pixelSize(), 67);
        QCOMPARE(LayOutPrintedPage(2000, 3000, 300, 150, font).body.topLeft(), QPoint(119, 60));
        // A page smaller than its margins still has a body and a footer.
        for (const QSize tiny : {QSize(10, 10), QSize(0, 0), QSize(-5, 3)}) {
            const PrintedPage p = LayOutPrintedPage(tiny.width(), tiny.height(), 600, 0, font);
            QVERIFY(p.body.width() >= 1 && p.body.height() >= 1 && p.footer.height() >= 1);
        }

        fixtures::ComputedState state;
        state.language = fixtures::ShippedLanguage(QStringLiteral("tablix_lng.pol"));
        QCOMPARE(FooterDate(state, QDate(2024, 3, 5)), QStringLiteral("05.03.2024"));
        QCOMPARE(FooterPageNumber(state, 2, 7), QStringLiteral("Strona 2 z 7"));
        state.language = fixtures::ShippedLanguage();
        QCOMPARE(FooterDate(state, QDate(2024, 3, 5)), QStringLiteral("2024-03-05"));
        QCOMPARE(FooterPageNumber(state, 2, 7), QStringLiteral("Page 2 of 7"));
        // A file without them still dates and numbers its pages.
        state.language.entries[text::kPrintFooterDateFormat].clear();
        state.language.entries[text::kPrintFooterPage] = QStringLiteral("Page");
        QCOMPARE(FooterDate(state, QDate(2024, 3, 5)), QStringLiteral("2024-03-05"));
        QCOMPARE(FooterPageNumber(state, 2, 7), QStringLiteral("2 / 7"));
    }

    void summaryScrollsLikeEveryScrollBar()
    {
        Program p(12, QSize(640, 400));
        PaintBox *box = p.summary->paintBox();
        QCOMPARE(box->objectName(), QStringLiteral("PaintBox21"));
        QCOMPARE(FontPixelHeight(box->font()), 11);
        QCOMPARE(p.summary->palette().color(QPalette::Window), QColor(255, 255, 202));
        QScrollBar *down = child<QScrollBar>(p.summary, "ScrollBar2");
        QTRY_VERIFY(down->isVisible());
        QTRY_VERIFY(!child<QScrollBar>(p.summary, "ScrollBar1")->isVisible());
        VerifyThumbAtTop(down);

        // The thumb dragged down takes the page up with it.
        DragThumb(down, 60);
        QVERIFY(down->value() > 0);
        QCOMPARE(box->y(), -down->value());

        p.summary->ResetScroll();
        WheelDown(box, p.summary);
        QVERIFY(down->value() > 0);
        QCOMPARE(box->y(), -down->value());

        // A resize keeps the place; the range ends with the content.
        down->setValue(150);
        p.form->resize(p.form->width() + 40, p.form->height() + 30);
        QTRY_COMPARE(p.summary->viewport()->width(), 640 + 40 - down->width());
        QCOMPARE(box->y(), -150);
        down->setValue(down->maximum());
        QCOMPARE(box->y() + box->height(), p.summary->viewport()->height());

        // Content that fits: no bars, the paint box is the page.
        p.form->resize(1000, 2400);
        QTRY_VERIFY(!down->isVisible());
        QCOMPARE(box->geometry(), QRect(QPoint(0, 0), p.summary->viewport()->size()));
    }

    void reportViewScrollsLikeEveryScrollBar()
    {
        Program p(1, QSize(900, 600));
        ReportView &view = p.costReport(60);
        view.resize(710, 400);
        auto *area = child<QScrollArea>(&view, "ScrollBox1");
        QScrollBar *down = area->verticalScrollBar();
        QTRY_VERIFY(down->isVisible());
        VerifyThumbAtTop(down);

        WheelDown(view.paintBox(), area);
        QVERIFY(down->value() > 0);
        DragThumb(down, 50);
        const int dragged = down->value();
        QVERIFY(dragged > 0);
        QCOMPARE(view.paintBox()->mapTo(area->viewport(), QPoint(0, 0)).y(), -dragged);

        const int viewHeight = area->viewport()->height();
        view.resize(view.width(), view.height() + 20);
        QTRY_COMPARE(area->viewport()->height(), viewHeight + 20);
        QCOMPARE(down->value(), dragged);
        view.hide();
    }

    void fontDialogsOpenOnTheFontInUse()
    {
        // Confirmed as it opened, the dialog changes nothing (it used to select "Oblique").
        Program p(3, QSize(900, 600));
        QFont shown;
        const ModalAnswers::Step accept{QStringLiteral("QFontDialog"), [&shown](QWidget *w) {
                                            shown = static_cast<QFontDialog *>(w)->currentFont();
                                            static_cast<QDialog *>(w)->accept();
                                        }};
        const auto confirm = [&accept](QAction *command) {
            ModalAnswers answers({accept});
            command->trigger();
            QVERIFY2(answers.done(), qPrintable(answers.report()));
        };
        QWidget *summaryBox = p.summary->paintBox();
        const QFont summaryFont = summaryBox->font();
        confirm(child<QAction>(p.form, "font1"));
        QCOMPARE(shown.family(), QFontInfo(summaryFont).family());
        QVERIFY(!shown.italic());
        QCOMPARE(shown.weight(), QFont::Normal);
        QCOMPARE(summaryBox->font(), summaryFont);

        ReportView &view = p.costReport(0);
        const QFont reportFont = view.paintBox()->font();
        const QSize laidOut = view.paintBox()->size();
        confirm(child<QAction>(&view, "Font1"));
        QVERIFY(!shown.italic());
        QCOMPARE(view.paintBox()->font(), reportFont);
        QCOMPARE(view.paintBox()->size(), laidOut);
        view.hide();
    }

    void summaryPrintsWhatThePageShows()
    {
        if (!HavePdfTools())
            QSKIP("pdftotext and pdftoppm (poppler-utils) read the printout");
        Program p(12, QSize(900, 600));
        const QStringList shown = SummaryTexts(p.state);
        const int currentSign = p.state.currentSign;
        const QStringList pages = printAndRead(
            p,
            [&p](auto dialog) {
                p.summary->PrintDialog = dialog;
                child<QAction>(p.form, "drukuj1")->trigger();
            },
            "summary-printout.pdf");
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));

        // Every text of the page in order, a block never split from its title.
        const QString all = pages.join(QLatin1Char(' ')).simplified();
        qsizetype at = 0;
        for (const QString &line : shown) {
            at = all.indexOf(line.simplified(), at);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("\"%1\" missing or out of order").arg(line)));
        }
        static const QRegularExpression title(QStringLiteral("Sign (\\d+)\\s*\\n"));
        for (const QString &page : pages)
            for (const QRegularExpressionMatch &t : title.globalMatch(page))
                QVERIFY2(page.indexOf(p.state.LanguageEntry(text::kSummaryAreaLabel), t.capturedEnd()) >= 0,
                         qPrintable(QStringLiteral("sign %1 split from its price").arg(t.captured(1))));
        QCOMPARE(p.state.currentSign, currentSign);
        QCOMPARE(SummaryTexts(p.state), shown);
    }

    void reportPrintoutKeepsItsMarginAndNumbersItsPages()
    {
        if (!HavePdfTools())
            QSKIP("pdftotext and pdftoppm (poppler-utils) read the printout");
        Program p(1, QSize(900, 600));
        p.state.reportShowsDrawing = true;
        ReportView &view = p.costReport(150);
        const QStringList pages = printAndRead(
            p,
            [&view](auto dialog) {
                view.PrintDialog = dialog;
                child<QAction>(&view, "drukuj1")->trigger();
            },
            "report-printout.pdf");
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        // Nothing lost at the page breaks.
        const QString all = pages.join(QLatin1Char(' ')).simplified();
        for (int a = 1; a <= 150; ++a)
            QVERIFY2(all.contains(QStringLiteral("Line %1 %2.00").arg(a).arg(a * 7)), qPrintable(QString::number(a)));
        view.hide();
    }

    // A printout to a file replaces it only when painted whole; a failed or broken one leaves the
    // old file and no temporary, and the printer still names the user's file.
    void printoutToAFileReplacesItOnlyWhenWhole()
    {
        fixtures::ComputedState state;
        state.language = fixtures::ShippedLanguage();
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("keep.pdf"));
        QVERIFY(fixtures::WriteBytes(file, QByteArray(4000, 'k')));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        const QFont font(QStringLiteral("DejaVu Sans Mono"));
        const auto onlyTheFile = [&folder] {
            return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden) == QStringList{QStringLiteral("keep.pdf")};
        };

        const PrintPass fails = [](QPainter &, const PrintedPage &, const std::function<bool()> &) { return false; };
        QCOMPARE(PrintPages(printer, state, font, fails).outcome, PrintOutcome::FileNotWritten);
        const PrintPass throws = [](QPainter &, const PrintedPage &, const std::function<bool()> &) -> bool {
            throw std::runtime_error("overflow");
        };
        bool thrown = false;
        try {
            PrintPages(printer, state, font, throws);
        } catch (const std::runtime_error &) {
            thrown = true;
        }
        QVERIFY(thrown);
        QCOMPARE(fixtures::ReadBytes(file), QByteArray(4000, 'k'));
        QCOMPARE(printer.outputFileName(), file);
        QVERIFY(onlyTheFile());

        const PrintPass draws = [](QPainter &canvas, const PrintedPage &frame, const std::function<bool()> &) {
            canvas.drawText(frame.body, QStringLiteral("Tablix"));
            return true;
        };
        QCOMPARE(PrintPages(printer, state, font, draws).outcome, PrintOutcome::Printed);
        const QByteArray pdf = fixtures::ReadBytes(file);
        QVERIFY(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
        QCOMPARE(printer.outputFileName(), file);
        QVERIFY(onlyTheFile());
    }

    void failuresSpeakTheUsersLanguage()
    {
        Program p(2, QSize(900, 600), QStringLiteral("tablix_lng.pol"));
        const auto entry = [&p](int n) { return p.state.LanguageEntry(n); };
        QString caption, message;
        const auto keep = [&caption, &message](const QString &window) {
            return ModalAnswers::Step{window, [&caption, &message](QWidget *w) {
                                          caption = w->windowTitle();
                                          message = static_cast<QMessageBox *>(w)->text();
                                          w->close();
                                      }};
        };
        const auto run = [](std::vector<ModalAnswers::Step> steps, const std::function<void()> &command) {
            ModalAnswers answers(std::move(steps));
            command();
            QVERIFY2(answers.done(), qPrintable(answers.report()));
        };

        // Printing to a folder that is not there, from the summary and from the report.
        const auto unwritable = [](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QStringLiteral("/nonexistent-dir/printout.pdf"));
            return true;
        };
        p.summary->PrintDialog = unwritable;
        run({keep(QStringLiteral("PrintErrorBox"))}, [&p] { child<QAction>(p.form, "drukuj1")->trigger(); });
        QCOMPARE(caption, QStringLiteral("Błąd drukowania"));
        QCOMPARE(message, entry(text::kPrintNotStarted));
        ReportView &view = p.costReport(0);
        view.PrintDialog = unwritable;
        caption.clear();
        run({keep(QStringLiteral("PrintErrorBox"))}, [&view] { child<QAction>(&view, "drukuj1")->trigger(); });
        QCOMPARE(caption, entry(text::kPrintErrorCaption));
        view.hide();

        // An export of a sign without a size, then one into a folder that is a file.
        const ModalAnswers::Step scale{QStringLiteral("Form13"), [](QWidget *w) { child(w, "BitBtn1")->click(); }};
        const auto exportTo = [&p](const QString &name) {
            return [&p, name] {
                ExportCurrentSign(p.state, *p.windows, p.form, [name](QWidget *, const QString &, const QString &) {
                    return std::optional<ExportChoice>(ExportChoice{name, false});
                });
            };
        };
        p.state.currentSignRecord.width.set(0);
        run({scale, keep(QStringLiteral("QMessageBox"))}, exportTo(dir.filePath(QStringLiteral("none.plt"))));
        QCOMPARE(message, entry(text::kExportWithoutSize));
        p.state.currentSignRecord.width.set(100);
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("blocked")), "x"));
        run({scale, keep(QStringLiteral("QMessageBox"))}, exportTo(dir.filePath(QStringLiteral("blocked/x.plt"))));
        QVERIFY2(message.endsWith(QStringLiteral("\n\n") + entry(text::kNothingWrittenNote)), qPrintable(message));

        // The parameter file missing, then not writable.
        const QString previous = QDir::currentPath();
        QTemporaryDir work;
        QVERIFY(QDir::setCurrent(work.path()));
        const QString parameterFile = work.filePath(QString::fromLatin1(kParameterFileName));
        ParameterEditor &editor = p.windows->parameterEditor();
        run({keep(QStringLiteral("LoadErrorBox"))}, [&editor] { editor.exec(); });
        QVERIFY2(message.startsWith(entry(text::kParametersNotRead) + QStringLiteral("\n\n")), qPrintable(message));
        QVERIFY(message.contains(parameterFile));
        QVERIFY(fixtures::WriteBytes(parameterFile, SerializeParameterRecord(p.state.parameters)));
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QVERIFY(QFile::remove(parameterFile) && QDir(work.path()).mkdir(QString::fromLatin1(kParameterFileName)));
        run({keep(QStringLiteral("SaveErrorBox"))}, [&editor] { child(&editor, "BitBtn1")->click(); });
        editor.hide();
        QVERIFY(QDir::setCurrent(previous));
        QVERIFY2(message.startsWith(entry(text::kParametersNotSaved) + QStringLiteral("\n\n")), qPrintable(message));
        QVERIFY(message.contains(parameterFile));
    }
};

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
