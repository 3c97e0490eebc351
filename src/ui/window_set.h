// Every window of the program: created once at start-up, in a fixed order, and reused.
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

// Windows reach each other through this set.
struct Windows {
    MainWindow *mainWindow = nullptr;
    ParameterEditor *parameterEditor = nullptr;
    LanguageChooser *languageChooser = nullptr;
    AboutBox *aboutBox = nullptr;
    AssumptionsDialog *assumptions = nullptr;
    ConstructionDialog *construction = nullptr;
    ElementChoiceDialog *elementChoice = nullptr;
    NoticeDialog *notice = nullptr;
    OtherInfillDialog *otherInfill = nullptr;
    TitleDialog *titleDialog = nullptr;
    ReportView *reportView = nullptr;
    PriceListWindow *priceList = nullptr;
    NumberEntryDialog *numberEntry = nullptr;
};

// Owns the windows; destroys them in reverse order of creation.
class WindowSet {
public:
    explicit WindowSet(AppState &state);
    ~WindowSet();
    WindowSet(const WindowSet &) = delete;
    WindowSet &operator=(const WindowSet &) = delete;

    Windows &windows() { return w; }

private:
    Windows w;
};

} // namespace tablix
