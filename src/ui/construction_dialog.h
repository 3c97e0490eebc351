// ConstructionDialog: the construction of the current sign, row by row, with its marks, height and reports.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "core/project/sign_record.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace tablix {

struct AppState;
class Windows;

class ConstructionDialog : public QDialog {
    Q_OBJECT
public:
    // Edits the working rows and marks; writes them into the current sign only on OK. Cancel leaves
    // the sign and the working state as they were when the dialog opened.
    ConstructionDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    void rowClicked(int row);        // 1..60
    void rowMarkClicked(int row);    // 1..60
    void lowerMarkClicked(int mark); // 1..10
    void switchFamily();
    void showSpecificationReport();
    void showCostReport();
    void okClicked();
    void reject() override; // Cancel, also Esc and closing the window
    // Ends the edit: OK makes it one step of the project, anything else puts the project back.
    void done(int result) override;

    void EditRow(int row);
    void NormalizeRows();
    void UpdateLowerMarks();
    // The stack height plus the frame allowance, as the height edit shows it.
    long double DisplayedHeight() const;

protected:
    void showEvent(QShowEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void startEditing();
    void onActivated();
    void setCaptions();
    void sizeRowColumns();
    void showLowerMarks();
    // The steps of a repaint: may ask through the notice, so it runs after events, not in paint.
    void RefreshView();
    void closingElementCheck();
    void refreshDisplay();
    void showTotalHeight();
    void captionRowButtons();
    void runReport(bool cost);

    AppState &state;
    Windows &windows;
    // The working rows Cancel restores; the document puts back the sign.
    struct Snapshot {
        std::array<std::uint8_t, kMaxRows> rows{}, undoRows{}, rowMarks{};
        std::array<std::uint8_t, kLowerMarks> lowerMarks{};
    } opened;
    bool editing_ = false;
    std::array<QPushButton *, 61> rowButtons{}; // by row 1..60
    std::array<QCheckBox *, 61> rowMarks{};     // by row 1..60
    std::array<QCheckBox *, 11> lowerMarks{};   // by row 1..10
    std::array<QLabel *, 5> layoutImages{};     // by layout 1..4
    std::array<QLabel *, 31> rowNumbers{};      // beside rows 1, 3, ... 59
    QLabel *heightLabel, *lowerMarksHeading, *widthLabel, *typeLabel, *rowMarksHeading;
    QLineEdit *heightEdit;
    QPushButton *switchFamilyButton, *specificationButton, *costButton, *okButton, *cancelButton;
    QScrollArea *rowsArea;
    QWidget *rowsContent;
    QWidget *header;
    QLabel *numberHeading;
    QWidget *buttonHeading;
};

} // namespace tablix
