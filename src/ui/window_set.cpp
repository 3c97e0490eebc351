// The windows of the program: each made when first needed, then kept; windows reach each other here.
#include "ui/window_set.h"

#include "ui/about_box.h"
#include "ui/assumptions_dialog.h"
#include "ui/construction_dialog.h"
#include "ui/element_choice_dialog.h"
#include "ui/language_chooser.h"
#include "ui/main_window.h"
#include "ui/notice_dialog.h"
#include "ui/number_entry_dialog.h"
#include "ui/other_infill_dialog.h"
#include "ui/parameter_editor.h"
#include "ui/price_list_window.h"
#include "ui/report_view.h"
#include "ui/title_dialog.h"
#include "core/document/project_document.h"

namespace tablix {

Windows::Windows(AppState &state) : state(state), document_(std::make_unique<ProjectDocument>(state)) {}

// Dialogs go before the main window (reverse order of declaration).
Windows::~Windows() = default;

MainWindow &Windows::mainWindow()
{
    if (!mainWindow_)
        mainWindow_ = std::make_unique<MainWindow>(state, *this);
    return *mainWindow_;
}

template <class Window> Window &Windows::dialog(std::unique_ptr<Window> &slot)
{
    if (!slot) {
        QWidget *owner = &mainWindow();
        slot = std::make_unique<Window>(state, *this, owner);
    }
    return *slot;
}

ParameterEditor &Windows::parameterEditor() { return dialog(parameterEditor_); }

LanguageChooser &Windows::languageChooser()
{
    if (!languageChooser_)
        languageChooser_ = std::make_unique<LanguageChooser>(state, &mainWindow());
    return *languageChooser_;
}

AboutBox &Windows::aboutBox()
{
    if (!aboutBox_)
        aboutBox_ = std::make_unique<AboutBox>(state, &mainWindow());
    return *aboutBox_;
}

AssumptionsDialog &Windows::assumptions() { return dialog(assumptions_); }
ConstructionDialog &Windows::construction() { return dialog(construction_); }
ElementChoiceDialog &Windows::elementChoice() { return dialog(elementChoice_); }
NoticeDialog &Windows::notice() { return dialog(notice_); }
OtherInfillDialog &Windows::otherInfill() { return dialog(otherInfill_); }
TitleDialog &Windows::titleDialog() { return dialog(titleDialog_); }
ReportView &Windows::reportView() { return dialog(reportView_); }
PriceListWindow &Windows::priceList() { return dialog(priceList_); }
NumberEntryDialog &Windows::numberEntry() { return dialog(numberEntry_); }

int Windows::madeCount() const
{
    return int(bool(mainWindow_)) + bool(parameterEditor_) + bool(languageChooser_) + bool(aboutBox_)
           + bool(assumptions_) + bool(construction_) + bool(elementChoice_) + bool(notice_) + bool(otherInfill_)
           + bool(titleDialog_) + bool(reportView_) + bool(priceList_) + bool(numberEntry_);
}

} // namespace tablix
