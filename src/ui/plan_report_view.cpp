// PlanReportView: the cutting plan's window: bar diagrams with the saw order, the text report a tab away, labels.
#include "ui/plan_report_view.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/document/files_in_use.h"
#include "core/files/atomic_file.h"
#include "core/workshop/piece_labels.h"
#include "core/workshop/plan_drawing.h"
#include "ui/workshop_menu.h"

#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/report_layout.h"
#include "core/render/report_lines.h"
#include "ui/main_window.h"
#include "ui/printing.h"
#include "ui/remembered.h"
#include "ui/startup.h"
#include "ui/widgets/font_choice.h"
#include "ui/widgets/named.h"
#include "ui/widgets/paint_box.h"
#include "ui/widgets/scroll_bars.h"

namespace tablix {

namespace {

constexpr int kMargin = 5;

// The cost report's font, so that the two reports read alike.
QFont PlanFont()
{
    if (const std::optional<QFont> chosen = remembered::font(QStringLiteral("report")))
        return *chosen;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family(), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    return font;
}

int LineStep(int f)
{
    return std::max(1, int(std::lround(1.4 * f)));
}

// Lines in two columns, each in its style. Before each line `fits(y, height)` is asked whether
// `height` (the whole profile's block at its heading, else the line's) fits below y; it may move y
// to a new page, and false ends the drawing.
void DrawLines(QPainter &canvas, const AppState &state, const QStringList &lines, int tabColumn, int f,
               const std::function<bool(int &y, int height)> &fits)
{
    const QFont plain = canvas.font();
    QFont bold = plain;
    bold.setBold(true);
    int y = kMargin;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const PlanLineStyle style = PlanLineStyleOf(state, line);
        qsizetype block = 1;
        if (style == PlanLineStyle::Heading)
            while (i + block < lines.size() && !lines[i + block].isEmpty())
                ++block;
        if (!fits(y, int(block) * LineStep(f)))
            return;
        canvas.setFont(style == PlanLineStyle::Heading ? bold : plain);
        canvas.setPen(style == PlanLineStyle::Reached      ? QColor(0, 110, 0)
                      : style == PlanLineStyle::NotReached ? QColor(170, 0, 0)
                                                           : QColor(0, 0, 0));
        const ReportColumns columns = SplitReportColumns(line);
        const int baseline = y + canvas.fontMetrics().ascent();
        canvas.drawText(kMargin, baseline, columns.label);
        if (columns.hasValue)
            canvas.drawText(tabColumn, baseline, columns.value);
        y += LineStep(f);
    }
    canvas.setFont(plain);
}

constexpr double kCanvasMargin = 12; // drawing units around the diagrams

// The sheets offered, as the dialog lists them.
int SheetEntry(const QString &name)
{
    return name == QLatin1String("2x7") ? text::kLabelSheet2x7 : text::kLabelSheet3x8;
}

// A small dialog: one choice per sheet, the proposed one checked.
QString AskSheetDialog(QWidget *parent, const AppState &state, const QString &proposed)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("LabelSheetDialog"));
    dialog.setWindowTitle(QString(state.LanguageEntry(text::kMenuPieceLabels)).remove(QStringLiteral("...")));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(state.LanguageEntry(text::kLabelSheet), &dialog));
    QButtonGroup group(&dialog);
    std::vector<QString> names;
    for (const LabelSheet &sheet : LabelSheets()) {
        auto *button = new QRadioButton(state.LanguageEntry(SheetEntry(sheet.name)), &dialog);
        button->setObjectName(QStringLiteral("Sheet") + sheet.name);
        button->setChecked(sheet.name == proposed || (names.empty() && !LabelSheetNamed(proposed)));
        group.addButton(button, int(names.size()));
        names.push_back(sheet.name);
        layout->addWidget(button);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(state.LanguageEntry(text::kOk));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(state.LanguageEntry(text::kCancel));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted || group.checkedId() < 0)
        return {};
    return names[size_t(group.checkedId())];
}


} // namespace

// The diagrams at the window's zoom; only the rows in the exposed part are painted.
class PlanCanvas : public QWidget {
public:
    explicit PlanCanvas(QWidget *parent = nullptr) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }
    const PlanDrawing *drawing = nullptr;
    double zoom = 1;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        if (!drawing)
            return;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(zoom, zoom);
        painter.translate(kCanvasMargin, kCanvasMargin);
        const QRectF exposed = QRectF(event->rect()).adjusted(-2, -2, 2, 2);
        drawing->paint(painter, exposed.top() / zoom - kCanvasMargin, exposed.bottom() / zoom - kCanvasMargin);
    }
};

PlanLineStyle PlanLineStyleOf(const AppState &state, const QString &line)
{
    const ReportColumns columns = SplitReportColumns(line);
    const QString &profile = state.LanguageEntry(text::kPlanProfile);
    if (!columns.hasValue && !profile.isEmpty() && line.startsWith(profile))
        return PlanLineStyle::Heading;
    if (!columns.hasValue || columns.label != state.LanguageEntry(text::kPlanLowerBound))
        return PlanLineStyle::Plain;
    const QString &reached = state.LanguageEntry(text::kPlanBoundReached);
    const QString &notReached = state.LanguageEntry(text::kPlanBoundNotReached);
    if (!reached.isEmpty() && columns.value.endsWith(reached))
        return PlanLineStyle::Reached;
    if (!notReached.isEmpty() && columns.value.endsWith(notReached))
        return PlanLineStyle::NotReached;
    return PlanLineStyle::Plain;
}

PlanReportView::PlanReportView(AppState &state, std::function<QPrinter &()> printer, QWidget *parent)
    : QWidget(parent, Qt::Window), state(state), printer_(std::move(printer))
{
    setObjectName(QStringLiteral("PlanReport"));
    setAttribute(Qt::WA_DeleteOnClose);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    menuBar = Named<QMenuBar>(this, QStringLiteral("PlanMenu"));
    closeAction = Named<QAction>(this, QStringLiteral("ok1"));
    closeAction->setShortcut(QKeySequence(Qt::Key_Escape));
    printAction = Named<QAction>(this, QStringLiteral("drukuj1"));
    printAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    menuBar->addAction(closeAction);
    menuBar->addAction(printAction);
    optionsMenu = Named<QMenu>(menuBar, QStringLiteral("Options1"));
    menuBar->addMenu(optionsMenu);
    fontAction = Named<QAction>(optionsMenu, QStringLiteral("Font1"));
    printerSetupAction = Named<QAction>(optionsMenu, QStringLiteral("PrintSetup1"));
    optionsMenu->addAction(fontAction);
    optionsMenu->addAction(printerSetupAction);
    labelsAction = Named<QAction>(this, QStringLiteral("pieceLabels1"));
    menuBar->insertAction(optionsMenu->menuAction(), labelsAction);
    connect(labelsAction, &QAction::triggered, this, &PlanReportView::saveLabels);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    connect(printAction, &QAction::triggered, this, &PlanReportView::printReport);
    connect(fontAction, &QAction::triggered, this, &PlanReportView::chooseFont);
    connect(printerSetupAction, &QAction::triggered, this, &PlanReportView::setUpPrinter);

    scrollArea = Named<QScrollArea>(this, QStringLiteral("ScrollBox1"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setBackgroundRole(QPalette::Window);
    MarkScrollThumbs(scrollArea);
    box_ = Named<PaintBox>(nullptr, QStringLiteral("PaintBox1"));
    box_->setAutoFillBackground(true);
    box_->setFont(PlanFont());
    box_->onPaint = [this](QPainter &painter) {
        painter.fillRect(box_->rect(), Qt::white);
        painter.setFont(box_->font());
        DrawLines(painter, this->state, lines_, tabColumn_, FontPixelHeight(box_->font()), [](int &, int) { return true; });
    };
    scrollArea->setWidget(box_);

    diagramArea = Named<QScrollArea>(this, QStringLiteral("DiagramScroll"));
    diagramArea->setFrameShape(QFrame::NoFrame);
    diagramArea->setBackgroundRole(QPalette::Window);
    canvas_ = new PlanCanvas;
    canvas_->setObjectName(QStringLiteral("PlanCanvas"));
    diagramArea->setWidget(canvas_);
    diagramArea->viewport()->installEventFilter(this);

    toolBar = Named<QToolBar>(this, QStringLiteral("PlanTools"));
    zoomOutAction = Named<QAction>(this, QStringLiteral("zoomOut1"));
    zoomInAction = Named<QAction>(this, QStringLiteral("zoomIn1"));
    fitAction = Named<QAction>(this, QStringLiteral("fitWidth1"));
    zoomInAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomOutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    fitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    for (QAction *a : {zoomOutAction, zoomInAction, fitAction}) {
        a->setShortcutContext(Qt::WindowShortcut);
        toolBar->addAction(a);
    }
    connect(zoomInAction, &QAction::triggered, this, [this] { setZoom(zoom_ * 1.25); });
    connect(zoomOutAction, &QAction::triggered, this, [this] { setZoom(zoom_ / 1.25); });
    connect(fitAction, &QAction::triggered, this, &PlanReportView::fitWidth);

    tabs_ = Named<QTabWidget>(this, QStringLiteral("PlanTabs"));
    tabs_->addTab(diagramArea, QString());
    tabs_->addTab(scrollArea, QString());
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        for (QAction *a : {zoomOutAction, zoomInAction, fitAction})
            a->setEnabled(tab == 0);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(toolBar);
    layout->addWidget(tabs_);

    PrintDialog = SystemPrintDialog(this);
    PrintSetupDialog = SystemPageSetupDialog(this);
    AskLabelSheet = [this](QWidget *parent, const QString &proposed) { return AskSheetDialog(parent, this->state, proposed); };
    AskLabelFile = AskPdfFileName;
    resize(1040, 640);
}

PlanReportView::~PlanReportView() = default;

QWidget *PlanReportView::canvas() const
{
    return canvas_;
}

void PlanReportView::setPlan(const CuttingPlan &plan, const QString &project)
{
    plan_ = plan;
    project_ = project;
    drawing_ = std::make_unique<PlanDrawing>(plan_, state.language, project_);
    canvas_->drawing = drawing_.get();
    setReport(state.LanguageEntry(text::kPlanTitle) + QStringLiteral(" – ") + project_, CuttingPlanReport(plan_, state.language));
    Resize();
}

void PlanReportView::languageChanged()
{
    if (drawing_)
        setPlan(plan_, project_);
    Caption();
}

void PlanReportView::Resize()
{
    const double height = drawing_ ? drawing_->height() : 0;
    canvas_->zoom = zoom_;
    canvas_->resize(int(std::ceil((PlanDrawing::kWidth + 2 * kCanvasMargin) * zoom_)), int(std::ceil((height + 2 * kCanvasMargin) * zoom_)));
    canvas_->update();
}

void PlanReportView::setZoom(double zoom)
{
    zoom = std::clamp(zoom, 0.2, 8.0);
    if (zoom == zoom_)
        return;
    // The point at the top of the view stays there.
    const double top = diagramArea->verticalScrollBar()->value() / zoom_;
    zoom_ = zoom;
    Resize();
    diagramArea->verticalScrollBar()->setValue(int(top * zoom_));
}

void PlanReportView::fitWidth()
{
    const int scrollBar = diagramArea->verticalScrollBar()->isVisible() ? 0 : diagramArea->verticalScrollBar()->sizeHint().width();
    setZoom((diagramArea->viewport()->width() - scrollBar) / (PlanDrawing::kWidth + 2 * kCanvasMargin));
}

void PlanReportView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!fitted_) {
        fitted_ = true;
        QTimer::singleShot(0, this, &PlanReportView::fitWidth);
    }
}

bool PlanReportView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == diagramArea->viewport() && event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int steps = wheel->angleDelta().y();
            if (steps != 0)
                setZoom(zoom_ * std::pow(1.25, steps / 120.0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool PlanReportView::saveLabels()
{
    const QString remembered = remembered::labelSheet();
    const QString chosen = AskLabelSheet ? AskLabelSheet(this, remembered.isEmpty() ? QStringLiteral("3x8") : remembered) : QString();
    const std::optional<LabelSheet> sheet = LabelSheetNamed(chosen);
    if (!sheet)
        return false;
    remembered::saveLabelSheet(sheet->name);
    QString folder = state.projectFilePath.isEmpty() ? remembered::lastProjectFolder() : QFileInfo(state.projectFilePath).absolutePath();
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString path = AskLabelFile ? AskLabelFile(this, QDir(folder).filePath(project_ + QStringLiteral("-labels.pdf")),
                                                     QtFileFilter(state.LanguageEntry(text::kLabelFileFilter)))
                                      : QString();
    if (path.isEmpty())
        return false;
    QString error = OutputIsInputError(path, FilesInUse(state, true));
    const std::optional<QByteArray> pdf =
        error.isEmpty() ? PieceLabelsPdf(PieceLabelsOf(plan_), *sheet, project_, state.language) : std::nullopt;
    if (error.isEmpty() && !pdf)
        error = QStringLiteral("PDF");
    if (!pdf || !WriteFileAtomically(path, *pdf, &error)) {
        ShowIoError(this, error + QStringLiteral("\n\n") + state.LanguageEntry(text::kNothingWrittenNote));
        return false;
    }
    return true;
}

QWidget *PlanReportView::paintBox() const
{
    return box_;
}

void PlanReportView::setReport(const QString &title, const QString &text)
{
    title_ = title;
    lines_ = text.split(QLatin1Char('\r'));
    while (!lines_.isEmpty() && lines_.constLast().isEmpty())
        lines_.removeLast();
    Caption();
    Measure();
}

void PlanReportView::Caption()
{
    setWindowTitle(title_);
    closeAction->setText(state.LanguageEntry(text::kOk));
    printAction->setText(state.LanguageEntry(text::kPrint));
    optionsMenu->setTitle(state.LanguageEntry(text::kMenuOptions));
    fontAction->setText(state.LanguageEntry(text::kMenuFont));
    printerSetupAction->setText(state.LanguageEntry(text::kMenuPrinterSetup));
    labelsAction->setText(state.LanguageEntry(text::kMenuPieceLabels));
    zoomInAction->setText(state.LanguageEntry(text::kZoomIn));
    zoomOutAction->setText(state.LanguageEntry(text::kZoomOut));
    fitAction->setText(state.LanguageEntry(text::kFitWidth));
    tabs_->setTabText(0, state.LanguageEntry(text::kPlanDiagrams));
    tabs_->setTabText(1, state.LanguageEntry(text::kPlanText));
}

void PlanReportView::Measure()
{
    QFont bold = box_->font();
    bold.setBold(true);
    const QFontMetrics metrics(box_->font(), box_);
    const QFontMetrics boldMetrics(bold, box_);
    int label = 0;
    for (const QString &line : lines_) {
        const ReportColumns columns = SplitReportColumns(line);
        if (columns.hasValue)
            label = std::max(label, metrics.horizontalAdvance(columns.label));
    }
    tabColumn_ = kMargin + label + 15;
    int width = 100;
    for (const QString &line : lines_) {
        const ReportColumns columns = SplitReportColumns(line);
        width = std::max(width, columns.hasValue ? tabColumn_ + metrics.horizontalAdvance(columns.value)
                                                 : kMargin + boldMetrics.horizontalAdvance(line));
    }
    const int f = FontPixelHeight(box_->font());
    box_->resize(width + 5 * kMargin, 2 * kMargin + int(lines_.size()) * LineStep(f) + f);
    box_->update();
}

void PlanReportView::chooseFont()
{
    const std::optional<QFont> font = ChooseFixedPitchFont(this, box_->font(), fontAction->text());
    if (!font)
        return;
    box_->setFont(*font);
    remembered::saveFont(QStringLiteral("report"), *font);
    Measure();
}

void PlanReportView::setUpPrinter()
{
    AskForPrinter(state, printer_, PrintSetupDialog);
}

void PlanReportView::printReport()
{
    if (tabs_->currentIndex() == 0 && drawing_)
        printDiagrams();
    else
        printText();
}

void PlanReportView::printDiagrams()
{
    QPrinter *printer = AskForPrinter(state, printer_, PrintDialog);
    if (!printer || !drawing_)
        return;
    printer->setDocName(QStringLiteral("TABLIX"));
    const PlanDrawing *drawing = drawing_.get();
    const PrintPass pass = [drawing](QPainter &canvas, const PrintedPage &frame, const std::function<bool()> &newPage) {
        const double scale = frame.body.width() / PlanDrawing::kWidth;
        const auto pages = drawing->paginate(frame.body.height() / scale);
        canvas.setRenderHint(QPainter::Antialiasing);
        for (size_t n = 0; n < pages.size(); ++n) {
            if (n > 0 && !newPage())
                return false;
            canvas.save();
            canvas.translate(frame.body.topLeft());
            canvas.scale(scale, scale);
            drawing->paintRows(canvas, pages[n].first, pages[n].second);
            canvas.restore();
        }
        return true;
    };
    ShowPrintOutcome(this, state, PrintPages(*printer, state, box_->font(), pass));
}

void PlanReportView::printText()
{
    QPrinter *printer = AskForPrinter(state, printer_, PrintDialog);
    if (!printer)
        return;
    const QFont font = box_->font();
    const int f = FontPixelHeight(font);
    const int contentWidth = box_->width();
    const long double ratio = PrintRatio(state.printerDpiY, box_->logicalDpiY());
    printer->setDocName(QStringLiteral("TABLIX"));
    const PrintPass pass = [this, font, f, contentWidth, ratio](QPainter &canvas, const PrintedPage &frame,
                                                                const std::function<bool()> &newPage) {
        // The screen's layout, scaled to the printer and narrowed to the body when it is wider.
        double scale = std::min(double(ratio), double(frame.body.width()) / std::max(1, contentWidth));
        if (!(scale > 0))
            scale = 1;
        const int pageHeight = std::max(1, int(frame.body.height() / scale));
        canvas.save();
        const auto place = [&] {
            QTransform transform = QTransform::fromTranslate(frame.body.x(), frame.body.y());
            transform.scale(scale, scale);
            canvas.setTransform(transform);
            canvas.setClipRect(QRectF(0, 0, frame.body.width() / scale, frame.body.height() / scale));
        };
        place();
        QFont printed = font;
        printed.setPixelSize(f);
        canvas.setFont(printed);
        bool started = true;
        // A profile's block starts a new page when it does not fit, unless it fills a page itself.
        DrawLines(canvas, state, lines_, tabColumn_, f, [&](int &y, int height) {
            if (y + height <= pageHeight || y == kMargin || (height > pageHeight - kMargin && y + LineStep(f) <= pageHeight))
                return true;
            started = newPage();
            place();
            y = kMargin;
            return started;
        });
        canvas.restore();
        return started;
    };
    ShowPrintOutcome(this, state, PrintPages(*printer, state, font, pass));
}

} // namespace tablix
