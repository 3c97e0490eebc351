// The windows of the program: each made when first needed, then kept; windows reach each other here.
#pragma once

#include <memory>

namespace tablix {

struct AppState;
class MainWindow;
class ParameterEditor;
class LanguageChooser;
class AboutBox;
class AssumptionsDialog;
class ConstructionDialog;
class ElementChoiceDialog;
class NoticeDialog;
class OtherInfillDialog;
class TitleDialog;
class ReportView;
class PriceListWindow;
class NumberEntryDialog;
class ProjectDocument;

// The dialogs belong to the main window, which they centre on and stay above; asking for one
// makes the main window first.
class Windows {
public:
    explicit Windows(AppState &state);
    ~Windows();
    Windows(const Windows &) = delete;
    Windows &operator=(const Windows &) = delete;

    // The project: every window changes it through this.
    ProjectDocument &document() { return *document_; }
    MainWindow &mainWindow();
    ParameterEditor &parameterEditor();
    LanguageChooser &languageChooser();
    AboutBox &aboutBox();
    AssumptionsDialog &assumptions();
    ConstructionDialog &construction();
    ElementChoiceDialog &elementChoice();
    NoticeDialog &notice();
    OtherInfillDialog &otherInfill();
    TitleDialog &titleDialog();
    ReportView &reportView();
    PriceListWindow &priceList();
    NumberEntryDialog &numberEntry();

    // How many windows have been made so far (start-up makes only the main window).
    int madeCount() const;

private:
    template <class Window> Window &dialog(std::unique_ptr<Window> &slot);

    AppState &state;
    std::unique_ptr<ProjectDocument> document_;
    // Declared first, destroyed last: the dialogs leave its children before it goes.
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<ParameterEditor> parameterEditor_;
    std::unique_ptr<LanguageChooser> languageChooser_;
    std::unique_ptr<AboutBox> aboutBox_;
    std::unique_ptr<AssumptionsDialog> assumptions_;
    std::unique_ptr<ConstructionDialog> construction_;
    std::unique_ptr<ElementChoiceDialog> elementChoice_;
    std::unique_ptr<NoticeDialog> notice_;
    std::unique_ptr<OtherInfillDialog> otherInfill_;
    std::unique_ptr<TitleDialog> titleDialog_;
    std::unique_ptr<ReportView> reportView_;
    std::unique_ptr<PriceListWindow> priceList_;
    std::unique_ptr<NumberEntryDialog> numberEntry_;
};

} // namespace tablix
