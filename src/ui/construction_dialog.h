// ConstructionDialog: the construction of the current sign, row by row, with its marks, height and reports.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

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
    // Edits the working rows and marks; writes them into the current sign only on OK.
    ConstructionDialog(AppState &state, Windows &windows, QWidget *parent = nullptr);

    void ButtonClick(int row);     // 1..60
    void RowMarkClick(int row);    // CheckBox(row + 10)
    void LowerMarkClick(int mark); // CheckBox1..10
    void BitBtn1Click();           // switch profile family
    void BitBtn2Click();           // specification report
    void BitBtn3Click();           // cost report
    void BitBtn4Click();           // OK
    void reject() override;        // Cancel, also Esc and closing the window

    void EditRow(int row);
    void NormalizeRows();
    void UpdateLowerMarks();
    // The stack height plus the frame allowance, as Edit1 shows it.
    long double DisplayedHeight() const;

protected:
    void showEvent(QShowEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void FormShow();
    void FormActivate();
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
    std::array<QPushButton *, 61> Button{};  // 1..60
    std::array<QCheckBox *, 71> CheckBox{};  // 1..70
    std::array<QLabel *, 5> Image{};         // 1..4
    std::array<QLabel *, 31> rowNumbers{};   // beside rows 1, 3, ... 59
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    QLineEdit *Edit1;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5;
    QScrollArea *rowsArea;
    QWidget *rowsContent;
    QWidget *header;
    QLabel *numberHeading;
    QWidget *buttonHeading;
};

} // namespace tablix
