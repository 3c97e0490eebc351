// The workshop's commands of the main window: the quote, the cut list, the cutting plan and the stock settings.
#include "ui/workshop_menu.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include "core/files/atomic_file.h"
#include "core/number/real48.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/quote.h"
#include "core/workshop/cutting_plan.h"
#include "core/workshop/stock.h"
#include "core/document/files_in_use.h"
#include "core/document/project_document.h"
#include "ui/main_window.h"
#include "ui/plan_progress.h"
#include "ui/plan_report_view.h"
#include "ui/quote_dialogs.h"
#include "ui/remembered.h"
#include "ui/startup.h"
#include "ui/printing.h"
#include "ui/stock_dialog.h"

namespace tablix {

namespace {


// The program asks about a file already there itself, after ".csv" has been added.
QString AskCsvName(QWidget *parent, const QString &proposed, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), proposed, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString WithCsvSuffix(const QString &chosen)
{
    return chosen.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? chosen : chosen + QStringLiteral(".csv");
}

// Entries of the stock file that name no profile are kept; the user hears of them, by name.
void TellUnknownStockEntries(QWidget *parent, const AppState &state, const StockSettings &stock)
{
    if (stock.unknown.empty())
        return;
    QStringList names; // one a line
    for (const auto &[name, value] : stock.unknown)
        names << name;
    ShowSplitMessage(parent, QMessageBox::Information, QStringLiteral("StockUnknownProfilesBox"),
                     state.LanguageEntry(text::kStockUnknownProfiles).arg(names.join(QLatin1Char('#'))));
}

} // namespace

void ShowSplitMessage(QWidget *parent, QMessageBox::Icon icon, const QString &objectName, const QString &text)
{
    QMessageBox box(icon, QStringLiteral("Tablix"), QString(), QMessageBox::Ok, parent);
    box.setObjectName(objectName);
    const qsizetype split = text.indexOf(QLatin1Char('#'));
    box.setText(text.left(split));
    if (split >= 0)
        box.setInformativeText(text.mid(split + 1).replace(QLatin1Char('#'), QLatin1Char('\n')));
    box.exec();
}

bool AskReplaceFile(QWidget *parent, const AppState &state, const QString &path)
{
    // Replacing is the step that cannot be undone: Enter keeps the file.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tablix"), QString(), QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("ReplaceFileBox"));
    QString question = state.LanguageEntry(text::kReplaceFileQuestion);
    question.replace(QStringLiteral("%1"), QDir::toNativeSeparators(path));
    const qsizetype split = question.indexOf(QLatin1Char('#'));
    box.setText(question.isEmpty() ? QDir::toNativeSeparators(path) : question.left(split));
    if (split >= 0)
        box.setInformativeText(question.mid(split + 1));
    for (const auto &[which, entry] : {std::pair{QMessageBox::Ok, text::kOk}, std::pair{QMessageBox::Cancel, text::kCancel}})
        if (!state.LanguageEntry(entry).isEmpty())
            box.button(which)->setText(state.LanguageEntry(entry));
    box.button(QMessageBox::Ok)->setObjectName(QStringLiteral("ReplaceButton"));
    box.button(QMessageBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

WorkshopMenu::WorkshopMenu(AppState &state, QWidget *window, QMenu *menu)
    : QObject(window), state(state), window(window)
{
    setObjectName(QStringLiteral("WorkshopMenu"));
    const auto add = [&](const char *name, auto handler) {
        auto *action = new QAction(window);
        action->setObjectName(QLatin1String(name));
        menu->addAction(action);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    quoteAction = add("quotePdf1", &WorkshopMenu::saveQuote);
    cutListAction = add("cutListCsv1", &WorkshopMenu::saveCutList);
    planAction = add("cuttingPlan1", &WorkshopMenu::showCuttingPlan);
    stockAction = add("stockSettings1", &WorkshopMenu::editStock);
    connect(menu, &QMenu::aboutToShow, this, &WorkshopMenu::LoadLanguageCaptions);
    LoadLanguageCaptions();
    replanTimer_ = new QTimer(this);
    replanTimer_->setSingleShot(true);
    replanTimer_->setInterval(300);
    connect(replanTimer_, &QTimer::timeout, this, &WorkshopMenu::Replan);
}

WorkshopMenu::~WorkshopMenu()
{
    if (replanCancel_)
        *replanCancel_ = true;
    JoinPlanners();
}

void WorkshopMenu::JoinPlanners()
{
    for (std::thread &t : planners_)
        if (t.joinable())
            t.join();
    planners_.clear();
}

PlanReportView *WorkshopMenu::planView() const
{
    return planView_;
}

void WorkshopMenu::followDocument(ProjectDocument *document)
{
    if (document)
        connect(document, &ProjectDocument::changed, this, &WorkshopMenu::planChanged);
}

void WorkshopMenu::planChanged()
{
    if (planView_)
        replanTimer_->start();
}

void WorkshopMenu::Replan()
{
    if (!planView_)
        return;
    // No message boxes while the user works elsewhere: a plan that cannot be made keeps the last.
    std::optional<CutList> list;
    try {
        list = BuildCutList(state);
    } catch (const FloatingPointOverflow &) {
    } catch (const CutListTooLarge &) {
    }
    const StockLoad stock = LoadStockSettingsOf(state.dataFolder);
    if (!list || !stock.settings)
        return;
    if (replanCancel_)
        *replanCancel_ = true;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    replanCancel_ = cancel;
    const int generation = ++replanGeneration_;
    const Planner planner = planner_;
    const StockSettings settings = *stock.settings;
    const CutList pieces = list->signsInUse > 0 ? *list : CutList{};
    planners_.emplace_back([this, cancel, generation, planner, settings, pieces] {
        PlanControl control;
        control.cancel = cancel.get();
        CuttingPlan plan = pieces.empty() ? CuttingPlan{} : planner ? planner(pieces, settings, control) : PlanCutList(pieces, settings, control);
        QMetaObject::invokeMethod(this, [this, generation, plan = std::move(plan)] {
            if (generation != replanGeneration_)
                return;
            JoinPlanners();
            if (planView_)
                planView_->setPlan(plan, QuoteProjectName(state, state.projectFilePath));
        }, Qt::QueuedConnection);
    });
}

void WorkshopMenu::LoadLanguageCaptions()
{
    quoteAction->setText(state.LanguageEntry(text::kMenuQuotePdf));
    cutListAction->setText(state.LanguageEntry(text::kMenuCutListCsv));
    planAction->setText(state.LanguageEntry(text::kMenuCuttingPlan));
    stockAction->setText(state.LanguageEntry(text::kMenuStockSettings));
}

WorkshopMenu::Outcome WorkshopMenu::saveQuote()
{
    // Asked before any dialog, so that a project with nothing to quote costs none.
    const QString projectName = QuoteProjectName(state, state.projectFilePath);
    std::optional<Quote> quote;
    try {
        quote = BuildQuote(state, projectName, QuoteDetails{});
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(window);
        return Outcome::Failed;
    }
    if (!quote) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Tablix"), state.LanguageEntry(text::kQuoteNoSignInUse),
                        QMessageBox::Ok, window);
        box.setObjectName(QStringLiteral("NoSignToQuoteBox"));
        box.exec();
        return Outcome::NoSignInUse;
    }

    // Without a data folder (a window under test) the shop is unknown and no number is kept.
    QString error;
    const ShopDetails shop = state.dataFolder.isEmpty() ? ShopDetails{} : ReadShopDetails(state.dataFolder, &error);
    if (!error.isEmpty())
        ShowIoError(window, error);
    const QString detailsPath = QuoteDetailsPath(state.projectFilePath);
    QuoteDetails last;
    if (!detailsPath.isEmpty()) {
        const QuoteDetailsLoad load = ReadQuoteDetails(detailsPath);
        if (load.details)
            last = *load.details;
        else
            ShowSplitMessage(window, QMessageBox::Warning, QStringLiteral("QuoteDetailsUnreadableBox"),
                             state.LanguageEntry(text::kQuoteDetailsUnreadable).arg(QDir::toNativeSeparators(detailsPath), load.error));
    }
    // The last quote's customer; a new number and today's dates.
    QuoteDetails proposed = last;
    proposed.number.clear();
    proposed.date = QDate();
    proposed.validUntil = QDate();
    proposed = CompletedQuoteDetails(proposed, shop, QDate::currentDate(), nullptr);
    const std::optional<QuoteDetails> asked =
        askDetails_ ? askDetails_(window, proposed, shop) : [&]() -> std::optional<QuoteDetails> {
            QuoteDetailsDialog dialog(state, proposed, shop, window);
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.details();
        }();
    if (!asked)
        return Outcome::Cancelled;
    bool numberTaken = false;
    const QuoteDetails details = CompletedQuoteDetails(*asked, shop, QDate::currentDate(), &numberTaken);
    numberTaken = numberTaken || details.number == proposed.number;
    try {
        quote = BuildQuote(state, projectName, details, shop);
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(window);
        return Outcome::Failed;
    }

    const QString folder = state.projectFilePath.isEmpty() ? QDir::homePath() : QFileInfo(state.projectFilePath).absolutePath();
    const QString chosen = (askFile_ ? askFile_ : AskPdfFileName)(window, QDir(folder).filePath(projectName + QStringLiteral(".pdf")),
                                                              QtFileFilter(state.LanguageEntry(text::kQuoteFileFilter)));
    if (chosen.isEmpty())
        return Outcome::Cancelled;

    error = OutputIsInputError(chosen, FilesInUse(state, true));
    const std::optional<QByteArray> pdf = error.isEmpty() && quote ? QuotePdf(state, *quote) : std::nullopt;
    if (error.isEmpty())
        error = QStringLiteral("PDF");
    if (!pdf || !WriteFileAtomically(chosen, *pdf, &error)) {
        ShowIoError(window, error + QStringLiteral("\n\n") + state.LanguageEntry(text::kNothingWrittenNote));
        return Outcome::Failed;
    }
    // The number is used once the quote that bears it exists; the details are the next quote's start.
    error.clear();
    if (numberTaken && !state.dataFolder.isEmpty())
        WriteNextQuoteNumber(state.dataFolder, std::min(shop.nextNumber, kMaxQuoteNumber - 1) + 1, &error);
    if (error.isEmpty() && !detailsPath.isEmpty())
        WriteQuoteDetails(detailsPath, details, &error);
    if (!error.isEmpty())
        ShowIoError(window, error);
    return Outcome::Written;
}

std::optional<CutList> WorkshopMenu::cutList()
{
    try {
        return BuildCutList(state);
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(window);
    } catch (const CutListTooLarge &) {
        ShowSplitMessage(window, QMessageBox::Warning, QStringLiteral("CutListTooLargeBox"),
                         state.LanguageEntry(text::kCutListTooLarge).arg(kMaxCutPieces));
    }
    return std::nullopt;
}

WorkshopMenu::Outcome WorkshopMenu::saveCutList()
{
    const std::optional<CutList> list = cutList();
    if (!list)
        return Outcome::Failed;
    if (list->signsInUse == 0) {
        ShowSplitMessage(window, QMessageBox::Information, QStringLiteral("NoSignToCutBox"),
                         state.LanguageEntry(text::kCutListNoSignInUse));
        return Outcome::NoSignInUse;
    }
    QString folder = state.projectFilePath.isEmpty() ? remembered::lastProjectFolder() : QFileInfo(state.projectFilePath).absolutePath();
    if (folder.isEmpty())
        folder = QDir::homePath();
    QString proposed = QDir(folder).filePath(QuoteProjectName(state, state.projectFilePath) + QStringLiteral(".csv"));
    const QString filter = QtFileFilter(state.LanguageEntry(text::kCutListFileFilter));
    QString path;
    for (;;) {
        const QString chosen = (askFile_ ? askFile_ : AskCsvName)(window, proposed, filter);
        if (chosen.isEmpty())
            return Outcome::Cancelled;
        path = WithCsvSuffix(chosen);
        if (!QFileInfo::exists(path) || AskReplaceFile(window, state, path))
            break;
        proposed = path;
    }
    QString error = OutputIsInputError(path, FilesInUse(state, true));
    if (!error.isEmpty() || !WriteFileAtomically(path, CutListCsv(*list, state.language), &error)) {
        ShowIoError(window, error + QStringLiteral("\n\n") + state.LanguageEntry(text::kNothingWrittenFileKept));
        return Outcome::Failed;
    }
    return Outcome::Written;
}

QPrinter &WorkshopMenu::printer()
{
    if (auto *main = qobject_cast<MainWindow *>(window)) {
        main->QueryPrinter();
        return main->printer();
    }
    if (!ownPrinter_)
        ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *ownPrinter_;
}

WorkshopMenu::Outcome WorkshopMenu::showCuttingPlan()
{
    const std::optional<CutList> list = cutList();
    if (!list)
        return Outcome::Failed;
    if (list->signsInUse == 0) {
        ShowSplitMessage(window, QMessageBox::Information, QStringLiteral("NoSignToCutBox"),
                         state.LanguageEntry(text::kPlanNoSignInUse));
        return Outcome::NoSignInUse;
    }
    const StockLoad stock = LoadStockSettingsOf(state.dataFolder);
    if (!stock.settings) {
        ShowSplitMessage(window, QMessageBox::Warning, QStringLiteral("StockUnreadableBox"),
                         state.LanguageEntry(text::kPlanStockUnreadable).arg(stock.error));
        return Outcome::Failed;
    }
    TellUnknownStockEntries(window, state, *stock.settings);
    const StockSettings settings = *stock.settings;
    const CutList pieces = *list;
    const CuttingPlan plan = RunPlanWithProgress(window, state, [&](const PlanControl &control) {
        return planner_ ? planner_(pieces, settings, control) : PlanCutList(pieces, settings, control);
    });
    if (!planView_) {
        planView_ = new PlanReportView(state, [this]() -> QPrinter & { return printer(); }, window);
        if (QWidget *top = window ? window->window() : nullptr)
            planView_->move(top->geometry().topLeft() + QPoint(40, 40));
    }
    planView_->setPlan(plan, QuoteProjectName(state, state.projectFilePath));
    planView_->show();
    planView_->raise();
    planView_->activateWindow();
    return Outcome::Shown;
}

WorkshopMenu::Outcome WorkshopMenu::editStock()
{
    // Without a cut list (nothing in use, or too large) only the defaults are offered.
    QStringList keys, labels;
    if (const std::optional<CutList> list = cutList()) {
        keys = list->profileKeys();
        labels = list->profiles();
    }
    StockDialog dialog(state, keys, labels, window);
    QString error;
    if (!dialog.load(&error))
        ShowSplitMessage(window, QMessageBox::Warning, QStringLiteral("StockUnreadableBox"),
                         state.LanguageEntry(text::kStockFileUnreadable).arg(error));
    else
        TellUnknownStockEntries(window, state, dialog.loaded());
    if (dialog.exec() != QDialog::Accepted)
        return Outcome::Cancelled;
    planChanged();
    return Outcome::Written;
}

} // namespace tablix
