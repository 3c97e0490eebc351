// Printouts and the views they come from: the summary page's scrolling, font and printout, the
// margin and footer of every printed page, the report view's scrolling and font, and the messages
// of failed printouts, exports and parameter files in the user's language.
#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
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

#include "core/engine/compute_sign.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/report_lines.h"
#include "core/render/summary.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "core/params/parameters.h"
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

constexpr double kPointsPerMm = 72.0 / 25.4;

// ---- the printout as a reader sees it (poppler's tools) ----

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

// The text of page `page` (1-based), or of every page for 0.
QString PdfText(const QString &path, int page = 0)
{
    QStringList arguments{QStringLiteral("-layout")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    arguments << path << QStringLiteral("-");
    return QString::fromUtf8(Run(QStringLiteral("pdftotext"), arguments));
}

struct PdfWord {
    int page = 0;
    QRectF box; // points, from the page's top left corner
    QString text;
};

struct PdfLayout {
    QSizeF pageSize; // points
    QList<PdfWord> words;
    int pages = 0;
};

PdfLayout PdfWords(const QString &path)
{
    PdfLayout layout;
    const QString html = QString::fromUtf8(Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}));
    static const QRegularExpression pageTag(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression wordTag(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    qsizetype at = 0;
    for (;;) {
        const QRegularExpressionMatch pageMatch = pageTag.match(html, at);
        if (!pageMatch.hasMatch())
            break;
        ++layout.pages;
        layout.pageSize = QSizeF(pageMatch.captured(1).toDouble(), pageMatch.captured(2).toDouble());
        const qsizetype end = html.indexOf(QStringLiteral("</page>"), pageMatch.capturedEnd());
        auto words = wordTag.globalMatch(html.mid(pageMatch.capturedEnd(), end - pageMatch.capturedEnd()));
        while (words.hasNext()) {
            const QRegularExpressionMatch w = words.next();
            layout.words.append({layout.pages,
                                 QRectF(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                                        QPointF(w.captured(3).toDouble(), w.captured(4).toDouble())),
                                 w.captured(5)});
        }
        at = end;
    }
    return layout;
}

// Page `page` as a picture of `dpi` dots per inch.
QImage PdfPicture(const QString &path, int page, int dpi)
{
    const QString stem = path + QStringLiteral(".page");
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                     QString::number(page), QStringLiteral("-l"), QString::number(page),
                                     QStringLiteral("-singlefile"), path, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// What must stay blank: the page outside the printable area shrunk by the margin, in points.
QRectF InsideMargin(const QPrinter &printer)
{
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
    const double m = kPrintMarginMm * kPointsPerMm;
    return printable.adjusted(m, m, -m, -m);
}

// The first non-white pixel outside `inside` (points) on the picture, as text; empty when none.
QString InkOutside(const QImage &picture, const QRectF &inside, int dpi)
{
    const double s = dpi / 72.0;
    // One pixel of give for anti-aliased edges.
    const QRect allowed = QRectF(inside.x() * s, inside.y() * s, inside.width() * s, inside.height() * s)
                              .toAlignedRect()
                              .adjusted(-1, -1, 1, 1);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (!allowed.contains(x, y) && qGray(picture.pixel(x, y)) < 250)
                return QStringLiteral("ink at (%1, %2) outside %3,%4 %5x%6")
                    .arg(x)
                    .arg(y)
                    .arg(allowed.x())
                    .arg(allowed.y())
                    .arg(allowed.width())
                    .arg(allowed.height());
    return QString();
}

// A print dialog that confirms and sends the printout to `path` on A4.
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

QRect ScrollBarPart(QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

QRect Thumb(QScrollBar *bar)
{
    return ScrollBarPart(bar, QStyle::SC_ScrollBarSlider);
}

// The thumb starts at the top of the bar when the page is at its top, and it is the part that
// looks like a thumb: darker than the track left below it.
void VerifyThumbAtTop(QScrollBar *bar)
{
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->value(), 0);
    const QRect thumb = Thumb(bar);
    const QRect track = ScrollBarPart(bar, QStyle::SC_ScrollBarGroove);
    QVERIFY2(thumb.top() <= track.top() + 2, qPrintable(QStringLiteral("thumb at %1").arg(thumb.top())));
    QVERIFY(thumb.bottom() < track.bottom() - 10);
    const QImage picture = bar->grab().toImage();
    const int thumbGrey = qGray(picture.pixel(thumb.center()));
    const int trackGrey = qGray(picture.pixel(bar->width() / 2, (thumb.bottom() + track.bottom()) / 2));
    QVERIFY2(thumbGrey + 40 < trackGrey, qPrintable(QStringLiteral("thumb %1, track %2").arg(thumbGrey).arg(trackGrey)));
}

// Drags the thumb `distance` pixels down with the mouse.
void DragThumb(QScrollBar *bar, int distance)
{
    const QPoint from = Thumb(bar).center();
    const QPoint to = from + QPoint(0, distance);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, to);
}

// One notch of the mouse wheel towards the user over `page`, inside the scroll area `area`: the page
// lets it pass, so it reaches the area's view as a real wheel's event does (a synthetic one does not
// travel up by itself).
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

// Accepts the font dialog as it opened, keeping the font it showed.
ModalAnswers::Step AcceptFontDialog(QFont *shown)
{
    return {QStringLiteral("QFontDialog"), [shown](QWidget *w) {
                auto *dialog = static_cast<QFontDialog *>(w);
                *shown = dialog->currentFont();
                dialog->accept();
            }};
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int printouts = 0;

    // The program's windows over a project of `count` signs of eight rows each, the summary page
    // active, in a window `size` large.
    struct Program {
        AppState state;
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
        QScrollBar *bar(const char *name) const { return child<QScrollBar>(summary, name); }
    };

    QString nextPdf() { return dir.filePath(QStringLiteral("printout%1.pdf").arg(++printouts)); }

    // A report view over the first sign's cost text, `extra` more lines at its end.
    static ReportView &CostReport(Program &p, int extra)
    {
        child<QTabWidget>(p.form, "PageControl1")->setCurrentIndex(0);
        ComputeSign(p.state);
        p.state.ViewText = p.state.results.CostText;
        for (int a = 1; a <= extra; ++a)
            p.state.ViewText += QStringLiteral("Line %1\t%2.00\r").arg(a).arg(a * 7);
        SplitViewText(p.state);
        return p.windows->reportView();
    }

    // Every word on every page lies inside the margin, and so does every drawn pixel of the pages
    // in `pictured`; every page ends with its footer.
    void verifyPages(const QString &path, const QPrinter &printer, int expectedPages, QList<int> pictured)
    {
        const PdfLayout layout = PdfWords(path);
        QCOMPARE(layout.pages, expectedPages);
        const QRectF inside = InsideMargin(printer);
        for (const PdfWord &w : layout.words)
            QVERIFY2(inside.adjusted(-0.5, -0.5, 0.5, 0.5).contains(w.box),
                     qPrintable(QStringLiteral("page %1: \"%2\" at %3,%4-%5,%6 outside the margin")
                                    .arg(w.page)
                                    .arg(w.text)
                                    .arg(w.box.left())
                                    .arg(w.box.top())
                                    .arg(w.box.right())
                                    .arg(w.box.bottom())));
        for (int page : pictured) {
            const QImage picture = PdfPicture(path, page, 50);
            QVERIFY(!picture.isNull());
            const QString ink = InkOutside(picture, inside, 50);
            QVERIFY2(ink.isEmpty(), qPrintable(QStringLiteral("page %1: %2").arg(page).arg(ink)));
        }
    }

    void verifyFooters(const QString &path, const AppState &state, int pages)
    {
        const QString date = FooterDate(state, QDate::currentDate());
        for (int k = 1; k <= pages; ++k) {
            const QString text = PdfText(path, k);
            const QStringList lines = text.trimmed().split(QLatin1Char('\n'));
            const QString last = lines.isEmpty() ? QString() : lines.last();
            QVERIFY2(last.contains(date) && last.contains(FooterPageNumber(state, k, pages)),
                     qPrintable(QStringLiteral("page %1 ends with \"%2\"").arg(k).arg(last)));
        }
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void pageFrameKeepsItsMarginOnAnyPage()
    {
        const QFont font(QStringLiteral("DejaVu Sans Mono"));
        // A4 at 600 dpi: 10 mm is 237 dots.
        const PrintedPage a4 = LayOutPrintedPage(4760, 6814, 600, 600, font);
        QCOMPARE(a4.body.left(), 237);
        QCOMPARE(a4.body.top(), 237);
        QCOMPARE(a4.body.right(), 4760 - 237 - 1);
        QCOMPARE(a4.footer.bottom(), 6814 - 237 - 1);
        QVERIFY(a4.footer.top() > a4.body.bottom() + a4.footer.height() / 2);
        QCOMPARE(a4.footerFont.pixelSize(), 67); // 8 points
        // Other resolutions across and down.
        const PrintedPage wide = LayOutPrintedPage(2000, 3000, 300, 150, font);
        QCOMPARE(wide.body.left(), 119);
        QCOMPARE(wide.body.top(), 60);
        // A page smaller than its margins still has a body and a footer, and nothing breaks.
        for (const QSize tiny : {QSize(10, 10), QSize(0, 0), QSize(-5, 3)}) {
            const PrintedPage p = LayOutPrintedPage(tiny.width(), tiny.height(), 600, 0, font);
            QVERIFY(p.body.width() >= 1 && p.body.height() >= 1);
            QVERIFY(p.footer.height() >= 1);
        }
    }

    void footerTextsComeFromTheLanguage()
    {
        AppState state;
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
        QScrollBar *down = p.bar("ScrollBar2");
        QTRY_VERIFY(down->isVisible());
        QTRY_VERIFY(!p.bar("ScrollBar1")->isVisible());
        VerifyThumbAtTop(down);
        QCOMPARE(box->y(), 0);

        // The thumb dragged down takes the page up with it, pixel for pixel of the range.
        DragThumb(down, 60);
        QVERIFY(down->value() > 0);
        QCOMPARE(box->y(), -down->value());
        QVERIFY(Thumb(down).top() > 40);

        // The wheel scrolls the page.
        p.summary->ResetScroll();
        WheelDown(box, p.summary);
        QVERIFY(down->value() > 0);
        QCOMPARE(box->y(), -down->value());

        // A resize keeps the place, and the end of the range is the end of the content.
        down->setValue(150);
        p.form->resize(p.form->width() + 40, p.form->height() + 30);
        QTRY_COMPARE(p.summary->viewport()->width(), 640 + 40 - down->width());
        QCOMPARE(down->value(), 150);
        QCOMPARE(box->y(), -150);
        down->setValue(down->maximum());
        QCOMPARE(box->y() + box->height(), p.summary->viewport()->height());

        // Content that fits: no bars, the paint box is the page.
        p.form->resize(1000, 2400);
        QTRY_VERIFY(!down->isVisible());
        QCOMPARE(box->size(), p.summary->viewport()->size());
        QCOMPARE(box->pos(), QPoint(0, 0));
    }

    void reportViewScrollsLikeEveryScrollBar()
    {
        Program p(1, QSize(900, 600));
        ReportView &view = CostReport(p, 60);
        view.resize(710, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto *area = child<QScrollArea>(&view, "ScrollBox1");
        QScrollBar *down = area->verticalScrollBar();
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
        Program p(3, QSize(900, 600));
        // The summary's font, confirmed as the dialog shows it: nothing changes.
        QWidget *summaryBox = p.summary->paintBox();
        const QFont before = summaryBox->font();
        QFont shown;
        {
            ModalAnswers answers({AcceptFontDialog(&shown)});
            child<QAction>(p.form, "font1")->trigger();
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(shown.family(), QFontInfo(before).family());
        QVERIFY(!shown.italic());
        QCOMPARE(shown.weight(), QFont::Normal);
        QCOMPARE(summaryBox->font(), before);

        ReportView &view = CostReport(p, 0);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QFont reportFont = view.paintBox()->font();
        const QSize laidOut = view.paintBox()->size();
        {
            ModalAnswers answers({AcceptFontDialog(&shown)});
            child<QAction>(&view, "Font1")->trigger();
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(!shown.italic());
        QCOMPARE(view.paintBox()->font(), reportFont);
        QVERIFY(!QFontInfo(view.paintBox()->font()).italic());
        QCOMPARE(view.paintBox()->size(), laidOut);

        // A size chosen in the dialog is taken, in the same style.
        {
            ModalAnswers answers({{QStringLiteral("QFontDialog"), [](QWidget *w) {
                                       auto *dialog = static_cast<QFontDialog *>(w);
                                       QFont bigger = dialog->currentFont();
                                       bigger.setPointSizeF(bigger.pointSizeF() * 2);
                                       dialog->setCurrentFont(bigger);
                                       dialog->accept();
                                   }}});
            child<QAction>(&view, "Font1")->trigger();
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(FontPixelHeight(view.paintBox()->font()) > FontPixelHeight(reportFont) * 3 / 2);
        QVERIFY(!QFontInfo(view.paintBox()->font()).italic());
        view.hide();
    }

    void summaryPrintsWhatThePageShows()
    {
        if (!HavePdfTools())
            QSKIP("pdftotext and pdftoppm (poppler-utils) are needed to read the printout");
        Program p(12, QSize(900, 600));
        const QStringList shown = SummaryTexts(p.state);
        const int currentSign = p.state.currentSign;
        const QString path = nextPdf();
        p.summary->PrintDialog = PdfTo(path);
        child<QAction>(p.form, "drukuj1")->trigger();
        QVERIFY(QFile::exists(path));
        // TABLIX_GRAB_DIR keeps the printout for a look at its pages.
        if (const QString grab = qEnvironmentVariable("TABLIX_GRAB_DIR"); !grab.isEmpty())
            QFile::copy(path, grab + QStringLiteral("/summary-printout.pdf"));

        // Every block, whole on its page, then the total, in order.
        const PdfLayout layout = PdfWords(path);
        QVERIFY2(layout.pages >= 2, qPrintable(QString::number(layout.pages)));
        QString all;
        for (int k = 1; k <= layout.pages; ++k)
            all += PdfText(path, k);
        const auto squeeze = [](QString text) { return text.simplified(); };
        qsizetype at = 0;
        for (const QString &line : shown) {
            const qsizetype found = squeeze(all).indexOf(squeeze(line), at);
            QVERIFY2(found >= 0, qPrintable(QStringLiteral("\"%1\" missing or out of order").arg(line)));
            at = found + 1;
        }
        for (int k = 1; k <= layout.pages; ++k) {
            const QString page = PdfText(path, k);
            // A block's title and its first price line share a page.
            static const QRegularExpression title(QStringLiteral("Sign (\\d+)\\s*\\n"));
            auto titles = title.globalMatch(page);
            while (titles.hasNext()) {
                const QRegularExpressionMatch t = titles.next();
                QVERIFY2(page.indexOf(p.state.LanguageEntry(text::kSummaryAreaLabel), t.capturedEnd()) >= 0,
                         qPrintable(QStringLiteral("sign %1 split from its price on page %2").arg(t.captured(1)).arg(k)));
            }
        }
        QPrinter &printer = p.form->printer();
        verifyPages(path, printer, layout.pages, {1, layout.pages});
        verifyFooters(path, p.state, layout.pages);
        // The page and the project are as they were.
        QCOMPARE(p.state.currentSign, currentSign);
        QCOMPARE(SummaryTexts(p.state), shown);

    }

    void reportPrintoutKeepsItsMarginAndNumbersItsPages()
    {
        if (!HavePdfTools())
            QSKIP("pdftotext and pdftoppm (poppler-utils) are needed to read the printout");
        Program p(1, QSize(900, 600));
        p.state.reportShowsDrawing = true;
        ReportView &view = CostReport(p, 150);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QString path = nextPdf();
        view.PrintDialog = PdfTo(path);
        child<QAction>(&view, "drukuj1")->trigger();
        if (const QString grab = qEnvironmentVariable("TABLIX_GRAB_DIR"); !grab.isEmpty())
            QFile::copy(path, grab + QStringLiteral("/report-printout.pdf"));
        const PdfLayout layout = PdfWords(path);
        QVERIFY2(layout.pages >= 3, qPrintable(QString::number(layout.pages)));
        verifyPages(path, p.form->printer(), layout.pages, {1, 2});
        verifyFooters(path, p.state, layout.pages);
        // Nothing lost at the page breaks.
        const QString all = PdfText(path).simplified();
        for (int a = 1; a <= 150; ++a)
            QVERIFY2(all.contains(QStringLiteral("Line %1 %2.00").arg(a).arg(a * 7)), qPrintable(QString::number(a)));
        view.hide();
    }

    void printFailuresSpeakTheUsersLanguage()
    {
        Program p(2, QSize(900, 600), QStringLiteral("tablix_lng.pol"));
        const auto unwritable = [](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QStringLiteral("/nonexistent-dir/printout.pdf"));
            return true;
        };
        QString caption, message;
        const auto keep = [&caption, &message](QWidget *w) {
            caption = w->windowTitle();
            message = static_cast<QMessageBox *>(w)->text();
            w->close();
        };
        p.summary->PrintDialog = unwritable;
        {
            ModalAnswers answers({{QStringLiteral("PrintErrorBox"), keep}});
            child<QAction>(p.form, "drukuj1")->trigger();
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(caption, p.state.LanguageEntry(text::kPrintErrorCaption));
        QCOMPARE(caption, QStringLiteral("Błąd drukowania"));
        QCOMPARE(message, p.state.LanguageEntry(text::kPrintNotStarted));

        ReportView &view = CostReport(p, 0);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.PrintDialog = unwritable;
        caption.clear();
        {
            ModalAnswers answers({{QStringLiteral("PrintErrorBox"), keep}});
            child<QAction>(&view, "drukuj1")->trigger();
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(caption, QStringLiteral("Błąd drukowania"));
        view.hide();
    }

    void failureMessagesSpeakTheUsersLanguage()
    {
        Program p(1, QSize(900, 600), QStringLiteral("tablix_lng.pol"));
        const auto entry = [&p](int n) { return p.state.LanguageEntry(n); };
        const auto typeScale = ModalAnswers::Step{QStringLiteral("Form13"), [](QWidget *w) {
                                                      child(w, "BitBtn1")->click();
                                                  }};
        const auto chooses = [](const QString &name) {
            return [name](QWidget *, const QString &, const QString &) -> std::optional<ExportChoice> {
                return ExportChoice{name, false};
            };
        };
        QString message;

        // An export of a sign without a size, then one into a folder that is a file.
        p.state.currentSignRecord.width.set(0);
        {
            ModalAnswers answers({typeScale, modal::messageBox(&message)});
            QCOMPARE(ExportCurrentSign(p.state, *p.windows, p.form, chooses(dir.filePath(QStringLiteral("none.plt")))),
                     ExportOutcome::NothingToExport);
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(message, entry(text::kExportWithoutSize));
        p.state.currentSignRecord.width.set(100);
        const QString blocked = dir.filePath(QStringLiteral("blocked"));
        QVERIFY(fixtures::WriteBytes(blocked, "x"));
        {
            ModalAnswers answers({typeScale, modal::messageBox(&message)});
            QCOMPARE(ExportCurrentSign(p.state, *p.windows, p.form, chooses(blocked + QStringLiteral("/x.plt"))),
                     ExportOutcome::Failed);
            VERIFY_ANSWERED(answers);
        }
        QVERIFY2(message.endsWith(QStringLiteral("\n\n") + entry(text::kNothingWrittenNote)), qPrintable(message));

        // The parameter file missing, then not writable.
        const QString previous = QDir::currentPath();
        QTemporaryDir work;
        QVERIFY(QDir::setCurrent(work.path()));
        const QString parameterFile = work.filePath(QString::fromLatin1(kParameterFileName));
        ParameterEditor &editor = p.windows->parameterEditor();
        {
            ModalAnswers answers({modal::messageBox(&message, QStringLiteral("LoadErrorBox"))});
            QCOMPARE(editor.exec(), int(QDialog::Rejected));
            VERIFY_ANSWERED(answers);
        }
        QVERIFY2(message.startsWith(entry(text::kParametersNotRead) + QStringLiteral("\n\n")), qPrintable(message));
        QVERIFY(message.contains(parameterFile));
        QVERIFY(fixtures::WriteBytes(parameterFile, SerializeParameterRecord(p.state.parameters)));
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QVERIFY(QFile::remove(parameterFile) && QDir(work.path()).mkdir(QString::fromLatin1(kParameterFileName)));
        {
            ModalAnswers answers({modal::messageBox(&message, QStringLiteral("SaveErrorBox"))});
            child(&editor, "BitBtn1")->click();
            VERIFY_ANSWERED(answers);
        }
        editor.hide();
        QVERIFY(QDir::setCurrent(previous));
        QVERIFY2(message.startsWith(entry(text::kParametersNotSaved) + QStringLiteral("\n\n")), qPrintable(message));
        QVERIFY(message.contains(parameterFile));
    }
};

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
