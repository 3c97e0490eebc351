// The workshop's commands of the main window: the quote as a PDF, written from the summary's totals.
#include "ui/workshop_menu.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include "core/number/atomic_file.h"
#include "core/number/real48.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/quote.h"
#include "ui/main_window.h"
#include "ui/startup.h"

namespace tablix {

namespace {

QString AskPdfName(QWidget *parent, const QString &proposed, const QString &filter)
{
    // A dialog of our own, so that ".pdf" is added before Qt asks about replacing a file.
    QFileDialog dialog(parent, QString(), QFileInfo(proposed).absolutePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QFileInfo(proposed).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

WorkshopMenu::WorkshopMenu(AppState &state, QWidget *window, QMenu *menu)
    : QObject(window), state(state), window(window), askFile_(AskPdfName)
{
    setObjectName(QStringLiteral("WorkshopMenu"));
    quoteAction = new QAction(window);
    quoteAction->setObjectName(QStringLiteral("quotePdf1"));
    menu->addAction(quoteAction);
    connect(quoteAction, &QAction::triggered, this, [this] { saveQuote(); });
    connect(menu, &QMenu::aboutToShow, this, &WorkshopMenu::LoadLanguageCaptions);
    LoadLanguageCaptions();
}

void WorkshopMenu::LoadLanguageCaptions()
{
    quoteAction->setText(state.LanguageEntry(text::kMenuQuotePdf));
}

WorkshopMenu::Outcome WorkshopMenu::saveQuote()
{
    // Asked before the file name, so that a project with nothing to quote costs no dialog.
    const QString projectName = QuoteProjectName(state, state.projectFilePath);
    std::optional<Quote> quote;
    try {
        quote = BuildQuote(state, projectName, QDate::currentDate());
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

    const QString folder = state.projectFilePath.isEmpty() ? QDir::homePath() : QFileInfo(state.projectFilePath).absolutePath();
    const QString chosen = askFile_(window, QDir(folder).filePath(projectName + QStringLiteral(".pdf")),
                                    QtFileFilter(state.LanguageEntry(text::kQuoteFileFilter)));
    if (chosen.isEmpty())
        return Outcome::Cancelled;

    const std::optional<QByteArray> pdf = QuotePdf(state, *quote);
    QString error = QStringLiteral("PDF");
    if (!pdf || !WriteFileAtomically(chosen, *pdf, &error)) {
        ShowIoError(window, error + QStringLiteral("\n\n") + state.LanguageEntry(text::kNothingWrittenNote));
        return Outcome::Failed;
    }
    return Outcome::Written;
}

} // namespace tablix
