// The whole state of a running Tablix: parameters, texts, the project and the working rows.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/project/sign_record.h"

namespace tablix {

// "TABLIX - ", the maker's line of the language table, then the project's file name.
QString MainWindowCaption(const LanguageTable &language, const QString &projectFileName);

struct AppState {
    // The folder of the parameter file, the language files and tablix.ini; empty means the
    // current directory.
    QString dataFolder;

    // Parameters and texts
    ParameterRecord parameters{};
    DerivedParameters derived;
    LanguageTable language;

    // The project
    SignSlotArray SignSlots{};
    SignRecord currentSignRecord{};
    int currentSign = 1;
    int signCount = 1;
    bool pageChangeEnabled = true;
    QString projectFileName; // the file's name without its folder, as the caption shows it
    QString projectFilePath; // where the project was opened from or last saved; empty for a new project
    std::array<QString, kMaxSigns> tabCaptions;

    // Working rows of the current sign
    std::array<std::uint8_t, kMaxRows> workingRows{};
    std::array<std::uint8_t, kMaxRows> undoRows{};
    std::array<std::uint8_t, kMaxRows> workingRowMarks{};
    std::array<std::uint8_t, kLowerMarks> workingLowerMarks{};

    // Report lines; a line holding the single character 0 is unused and ends the list.
    QString ViewText;
    std::array<QString, 500> ReportLines;
    bool reportShowsDrawing = true;

    // Printer resolution (dots per inch) and printable page size in dots, queried by the main
    // window when printing first needs them and after the printer setup.
    int printerDpiX = 0;
    int printerDpiY = 0;
    int printerPageWidth = 0;
    int printerPageHeight = 0;

    // Export scale in percent, kept while the program runs.
    Real48 exportScale;

    // The project as last opened, saved or started; a new blank page counts as a change too.
    QByteArray savedProjectContent;
    int savedSignCount = 1;

    AppState();

    const QString &LanguageEntry(int n) const { return language.LanguageEntry(n); }

    // Sign list; signs are numbered 1..20.
    SignRecord &slot(int k) { return SignSlots[size_t(k - 1)]; }
    const SignRecord &slot(int k) const { return SignSlots[size_t(k - 1)]; }
    void SaveCurrentSign();
    void SelectSign(int k);
    void ResetCurrentSign();
    bool summaryTabVisible() const { return signCount >= 2; }
    bool NewSign();    // false when the command does not apply
    bool CopySign();
    bool DeleteSign(); // after the user has confirmed
    void RebuildPages();
    void NewProject(); // after the user has confirmed
    // The entered text becomes the title; `automatic` false marks it as set by hand.
    bool SetSignTitle(const QString &text, bool automatic);
    void RefreshTabCaptions();
    // A project read whole from a file replaces the open one.
    void OpenProject(const SignSlotArray &signs, const QString &fileName);

    // What the user made of the project: its bytes with the current sign in its slot.
    QByteArray ProjectContent() const;
    // Whether the project differs from what was last opened, saved or started.
    bool ProjectModified() const;
    void MarkProjectSaved();
    bool HoldsSignInUse() const;

    // Derived parameter state, after loading or saving the parameters.
    void RefreshParameters();

    // Working rows and element codes
    void LoadWorkingRows();
    // Rows, marks and lower marks of the current sign, as the engine reads them.
    void LoadWorkingState();
    QString ElementDescription(int code) const;
    long double StackHeight() const;
    QString AutoTitle() const;
};

} // namespace tablix
