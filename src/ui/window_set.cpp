#include "ui/window_set.h"

#include "ui/construction_dialog.h"
#include "ui/other_infill_dialog.h"
#include "ui/notice_dialog.h"
#include "ui/number_entry_dialog.h"
#include "ui/title_dialog.h"
#include "ui/element_choice_dialog.h"
#include "ui/assumptions_dialog.h"
#include "ui/export_command.h"
#include "ui/report_view.h"
#include "ui/parameter_editor.h"
#include "ui/language_chooser.h"
#include "ui/price_list_window.h"
#include "ui/about_box.h"
#include "core/project/app_state.h"
#include "ui/main_window.h"

namespace tablix {

WindowSet::WindowSet(AppState &state)
{
    w.mainWindow = new MainWindow(state);
    // The dialogs belong to the main window, which they centre on and stay above.
    w.parameterEditor = new ParameterEditor(state, w, w.mainWindow);
    w.languageChooser = new LanguageChooser(state, w.mainWindow);
    w.aboutBox = new AboutBox(state, w.mainWindow);
    w.assumptions = new AssumptionsDialog(state, w, w.mainWindow);
    w.construction = new ConstructionDialog(state, w, w.mainWindow);
    w.elementChoice = new ElementChoiceDialog(state, w, w.mainWindow);
    w.notice = new NoticeDialog(state, w, w.mainWindow);
    w.otherInfill = new OtherInfillDialog(state, w, w.mainWindow);
    w.titleDialog = new TitleDialog(state, w, w.mainWindow);
    w.reportView = new ReportView(state, w, w.mainWindow);
    w.priceList = new PriceListWindow(state, w, w.mainWindow);
    w.numberEntry = new NumberEntryDialog(state, w, w.mainWindow);

    MainWindowDialogs dialogs;
    dialogs.languageChooser = w.languageChooser;
    dialogs.aboutBox = w.aboutBox;
    dialogs.assumptions = w.assumptions;
    dialogs.construction = w.construction;
    dialogs.notice = w.notice;
    dialogs.titleDialog = w.titleDialog;
    w.mainWindow->setDialogs(dialogs);
    w.construction->ShowReportView = [this](const QString &title) { w.reportView->ShowReport(title); };
    w.mainWindow->commands().c2111 = [this] {
        if (w.parameterEditor->exec() == QDialog::Accepted)
            w.mainWindow->ParametersChanged();
    };
    w.mainWindow->commands().c2231 = [this, &state] { ExportCurrentSign(state, w, w.mainWindow, DefaultExportFileDialog()); };
    w.mainWindow->commands().c21211 = [this] { w.priceList->ShowListPrices(); };
    w.mainWindow->commands().c21221 = [this] { w.priceList->ShowPercentPrices(); };
}

WindowSet::~WindowSet()
{
    // Reverse order of creation; each dialog leaves its parent's children as it goes.
    delete w.numberEntry;
    delete w.priceList;
    delete w.reportView;
    delete w.titleDialog;
    delete w.otherInfill;
    delete w.notice;
    delete w.elementChoice;
    delete w.construction;
    delete w.assumptions;
    delete w.aboutBox;
    delete w.languageChooser;
    delete w.parameterEditor;
    delete w.mainWindow;
}

} // namespace tablix
