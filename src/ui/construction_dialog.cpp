// ConstructionDialog: the construction of the current sign, row by row, with its marks, height and reports.
#include "ui/construction_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <cmath>
#include <utility>

#include "ui/widgets/layout_pictures.h"
#include "ui/widgets/named.h"
#include "ui/widgets/number_edit.h"
#include "ui/notice_dialog.h"
#include "ui/element_choice_dialog.h"
#include "ui/assumptions_dialog.h"
#include "ui/report_view.h"
#include "core/engine/compute_sign.h"
#include "core/render/report_lines.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"
#include "core/document/project_document.h"
#include "core/project/sign_rules.h"
#include "core/project/element_codes.h"
#include "core/project/row_rules.h"
#include "ui/window_set.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

// The rows a rule leaves: at once, or after the notice asked its question.
// The rows after the rule's question, if any, has been asked; `element` names the chosen element.
RowCodes Settle(AppState &state, Windows &windows, const RowChange &change, const QString &element = {})
{
    if (!change.question)
        return change.agreed;
    const QString question = QuestionText(state.language, change.question, element);
    return windows.notice().ask(question) ? change.agreed : change.refused;
}

int typeEntry(SignType signType)
{
    switch (signType) {
    case SignType::NarrowFrame: return text::kSignType1;
    case SignType::WideFrame: return text::kSignType2;
    case SignType::ClosingProfile: return text::kClosingProfile;
    case SignType::DoubleSided: return text::kSignType4;
    case SignType::SpecialFrame: return text::kSignType5;
    case SignType::SpecialDoubleSided: return text::kSignType6;
    }
    return -1;
}

// Room a push button keeps around its caption.
constexpr int kButtonPadding = 16;
constexpr int kRowSpacing = 1;

} // namespace

ConstructionDialog::ConstructionDialog(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form6"));

    heightLabel = Named<QLabel>(this, "Label1");
    lowerMarksHeading = Named<QLabel>(this, "Label2");
    widthLabel = Named<QLabel>(this, "Label3");
    typeLabel = Named<QLabel>(this, "Label4");
    rowMarksHeading = Named<QLabel>(this, "Label5");
    typeLabel->setWordWrap(true);
    lowerMarksHeading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    rowMarksHeading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

    // The rows: a number beside every second row, the row's button, its mark and, for rows
    // 1..10, its lower mark.
    rowsArea = Named<QScrollArea>(this, "ScrollBox1");
    rowsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    rowsArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rowsContent = new QWidget;
    auto *rows = new QGridLayout(rowsContent);
    rows->setVerticalSpacing(kRowSpacing);
    for (int row = 1; row <= kMaxRows; ++row) {
        const int r = row - 1;
        if (row % 2 == 1) {
            auto *number = new QLabel(QString::number(row), rowsContent);
            number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            rowNumbers[size_t(row / 2)] = number;
            rows->addWidget(number, r, 0);
        }
        auto *button = Named<QPushButton>(rowsContent, QStringLiteral("Button%1").arg(row));
        button->setAutoDefault(false);
        rowButtons[size_t(row)] = button;
        rows->addWidget(button, r, 1);
        connect(button, &QPushButton::clicked, this, [this, row] { rowClicked(row); });

        // The form numbers the row marks after the ten lower marks.
        auto *mark = Named<QCheckBox>(rowsContent, QStringLiteral("CheckBox%1").arg(row + 10));
        rowMarks[size_t(row)] = mark;
        rows->addWidget(mark, r, 2, Qt::AlignCenter);
        connect(mark, &QCheckBox::clicked, this, [this, row] { rowMarkClicked(row); });

        if (row <= kLowerMarks) {
            auto *lower = Named<QCheckBox>(rowsContent, QStringLiteral("CheckBox%1").arg(row));
            QSizePolicy keep = lower->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            lower->setSizePolicy(keep);
            lowerMarks[size_t(row)] = lower;
            rows->addWidget(lower, r, 3, Qt::AlignCenter);
            connect(lower, &QCheckBox::clicked, this, [this, row] { lowerMarkClicked(row); });
        }
    }
    rowsArea->setWidget(rowsContent);
    rowsArea->setWidgetResizable(false);

    // Headings over the mark columns, outside the scrolled rows so that they stay in view.
    header = new QWidget(this);
    auto *heads = new QGridLayout(header);
    heads->setContentsMargins(rows->contentsMargins());
    heads->setVerticalSpacing(0);
    numberHeading = new QLabel(header);
    buttonHeading = new QWidget(header);
    heads->addWidget(numberHeading, 0, 0);
    heads->addWidget(buttonHeading, 0, 1);
    rowMarksHeading->setParent(header);
    lowerMarksHeading->setParent(header);
    heads->addWidget(rowMarksHeading, 0, 2);
    heads->addWidget(lowerMarksHeading, 0, 3);
    QSizePolicy keep = lowerMarksHeading->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    lowerMarksHeading->setSizePolicy(keep);

    heightEdit = Named<QLineEdit>(this, "Edit1");
    heightEdit->setReadOnly(true);
    heightEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    heightEdit->setMaximumWidth(NumberEdit(2).sizeHint().width());

    // The form numbers its layout pictures backwards: layout 1 is number 4.
    for (int layout = 4; layout >= 1; --layout) {
        auto *image = Named<QLabel>(this, QStringLiteral("Image%1").arg(5 - layout));
        image->setFixedSize(kLayoutPictureSize);
        image->setPixmap(LayoutPicture(layout, kLayoutPictureSize, devicePixelRatioF()));
        layoutImages[size_t(layout)] = image;
    }

    auto button = [this](const char *name) {
        auto *b = Named<QPushButton>(this, QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    switchFamilyButton = button("BitBtn1");
    specificationButton = button("BitBtn2");
    costButton = button("BitBtn3");
    okButton = button("BitBtn4");
    cancelButton = button("BitBtn5");
    connect(switchFamilyButton, &QPushButton::clicked, this, &ConstructionDialog::switchFamily);
    connect(specificationButton, &QPushButton::clicked, this, &ConstructionDialog::showSpecificationReport);
    connect(costButton, &QPushButton::clicked, this, &ConstructionDialog::showCostReport);
    connect(okButton, &QPushButton::clicked, this, &ConstructionDialog::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &ConstructionDialog::reject);

    auto *left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(header);
    left->addWidget(rowsArea, 1);

    auto *right = new QVBoxLayout;
    right->addWidget(heightLabel);
    right->addWidget(heightEdit);
    right->addSpacing(8);
    right->addWidget(widthLabel);
    right->addWidget(typeLabel);
    for (int layout = 4; layout >= 1; --layout)
        right->addWidget(layoutImages[size_t(layout)], 0, Qt::AlignHCenter);
    right->addSpacing(8);
    right->addWidget(switchFamilyButton);
    right->addWidget(costButton);
    right->addWidget(specificationButton);
    right->addStretch(1);
    auto *closing = new QHBoxLayout;
    closing->addWidget(okButton);
    closing->addWidget(cancelButton);
    right->addLayout(closing);

    auto *main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addSpacing(8);
    main->addLayout(right);
}

void ConstructionDialog::showEvent(QShowEvent *event)
{
    // The window system's own show (after opening, or when restored) is not a new edit.
    if (!event->spontaneous())
        startEditing();
    setCaptions();
    showLowerMarks();
    refreshDisplay();
    QDialog::showEvent(event);
    // Activation may ask through the notice, which belongs over the visible dialog.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            onActivated();
    });
}

void ConstructionDialog::startEditing()
{
    // Cancel puts back everything the dialog and the dialogs it opens may change.
    opened = Snapshot{state.workingRows, state.undoRows, state.workingRowMarks, state.workingLowerMarks};
    if (!editing_)
        windows.document().BeginEdit();
    editing_ = true;
    const SignRecord &sign = state.currentSignRecord;
    std::copy(std::begin(sign.lowerMarks), std::end(sign.lowerMarks), state.workingLowerMarks.begin());
    std::copy(std::begin(sign.rowMarks), std::end(sign.rowMarks), state.workingRowMarks.begin());
    // A refused move during activation then restores these rows, never those of an older edit.
    state.undoRows = state.workingRows;
}

void ConstructionDialog::onActivated()
{
    setCaptions();
    for (int row = 1; row <= kMaxRows; ++row)
        rowMarks[size_t(row)]->setChecked(state.workingRowMarks[size_t(row - 1)] != 0);
    NormalizeRows();
    showLowerMarks();
    RefreshView();
}

void ConstructionDialog::setCaptions()
{
    const SignRecord &sign = state.currentSignRecord;
    setWindowTitle(state.LanguageEntry(text::kConstructionTitle));
    rowMarksHeading->setText(state.LanguageEntry(text::kRowMarksHeading));
    lowerMarksHeading->setText(
        state.LanguageEntry(sign.signType == SignType::NarrowFrame ? text::kLowerMarksHeadingType1 : text::kLowerMarksHeadingType2));
    heightLabel->setText(state.LanguageEntry(text::kStackHeightLabel));
    switchFamilyButton->setText(state.LanguageEntry(text::kSwitchFamilyButton));
    specificationButton->setText(state.LanguageEntry(text::kSpecificationButton));
    costButton->setText(state.LanguageEntry(text::kCostButton));
    okButton->setText(state.LanguageEntry(text::kOk));
    cancelButton->setText(state.LanguageEntry(text::kCancel));
    sizeRowColumns();
}

void ConstructionDialog::sizeRowColumns()
{
    // Row buttons are as wide as the longest element description of the language, within
    // limits; a longer one is elided.
    const QFontMetrics fm(rowButtons[1]->font());
    const QFontMetricsF exact(rowButtons[1]->font());
    int widest = 0;
    // Eliding measures in fractions of a pixel; rounding down would elide the widest text.
    for (int code = 1; code <= 45; ++code)
        widest = std::max(widest, int(std::ceil(exact.horizontalAdvance(state.ElementDescription(code)))) + 1);
    const int buttonWidth = std::clamp(widest + kButtonPadding, fm.averageCharWidth() * 12 + kButtonPadding,
                                       fm.averageCharWidth() * 26 + kButtonPadding);
    const int numberWidth = fm.horizontalAdvance(QStringLiteral("59")) + 4;
    const int boxWidth = rowMarks[1]->sizeHint().width();
    const int markWidth = std::max(boxWidth, rowMarksHeading->sizeHint().width());
    const int lowerWidth = std::max(boxWidth, lowerMarksHeading->sizeHint().width());

    auto *rows = static_cast<QGridLayout *>(rowsContent->layout());
    auto *heads = static_cast<QGridLayout *>(header->layout());
    const std::array<int, 4> widths = {numberWidth, buttonWidth, markWidth, lowerWidth};
    for (int c = 0; c < 4; ++c) {
        rows->setColumnMinimumWidth(c, widths[size_t(c)]);
        heads->setColumnMinimumWidth(c, widths[size_t(c)]);
    }
    for (int row = 1; row <= kMaxRows; ++row)
        rowButtons[size_t(row)]->setFixedWidth(buttonWidth);
    numberHeading->setFixedWidth(numberWidth);
    buttonHeading->setFixedWidth(buttonWidth);
    rowMarksHeading->setFixedWidth(markWidth);
    lowerMarksHeading->setFixedWidth(lowerWidth);
    rowsContent->adjustSize();

    const int frame = rowsArea->frameWidth();
    const QMargins m = rows->contentsMargins();
    heads->setContentsMargins(m.left() + frame, m.top(), m.right() + frame, 2);
    rowsArea->setFixedWidth(rowsContent->sizeHint().width() + rowsArea->verticalScrollBar()->sizeHint().width()
                            + 2 * frame);
    // About twenty rows in view.
    const int rowHeight = rowButtons[1]->sizeHint().height() + kRowSpacing;
    rowsArea->setMinimumHeight(std::min(20 * rowHeight, rowsContent->sizeHint().height()) + 2 * frame);
}

void ConstructionDialog::showLowerMarks()
{
    const bool shown = state.currentSignRecord.auxDimension.get() != 0;
    lowerMarksHeading->setVisible(shown);
    for (int k = 1; k <= kLowerMarks; ++k)
        lowerMarks[size_t(k)]->setVisible(shown);
}

void ConstructionDialog::RefreshView()
{
    closingElementCheck();
    refreshDisplay();
}

void ConstructionDialog::refreshDisplay()
{
    const SignRecord &sign = state.currentSignRecord;
    widthLabel->setText(state.LanguageEntry(text::kWidthLabel) + QStringLiteral(":\n")
                        + FormatFixed(sign.width.get(), 0, 2) + state.LanguageEntry(text::kLengthUnit));
    typeLabel->setText(state.LanguageEntry(typeEntry(sign.signType)));
    for (int layout = 1; layout <= 4; ++layout) {
        layoutImages[size_t(layout)]->setVisible(layout == Number(sign.layout));
        layoutImages[size_t(layout)]->setToolTip(LayoutToolTip(state.language, Layout(layout)));
    }
    if (sign.auxDimension.get() != 0) {
        UpdateLowerMarks();
        for (int row = 1; row <= kMaxRows; ++row)
            rowMarks[size_t(row)]->setChecked(state.workingRowMarks[size_t(row - 1)] != 0);
    }
    showTotalHeight();
    captionRowButtons();
}

void ConstructionDialog::closingElementCheck()
{
    const SignRecord &sign = state.currentSignRecord;
    if (ClosingElementsAllowed(sign.layout, sign.signType))
        return;
    for (int row = 1; row <= kMaxRows; ++row) {
        if (IsClosing(state.workingRows[size_t(row - 1)])) {
            windows.notice().ask(state.LanguageEntry(text::kClosingNotAllowedNotice));
            state.workingRows[size_t(row - 1)] = 0;
        }
    }
}

long double ConstructionDialog::DisplayedHeight() const
{
    const SignRecord &sign = state.currentSignRecord;
    long double height = state.StackHeight();
    // The rows being built, not those stored: a new framed sign shows the same height while it is
    // built and when it is opened again.
    if (state.workingRows[0] != 0)
        height += FrameAllowanceCm(sign.layout, sign.signType);
    return height;
}

void ConstructionDialog::showTotalHeight()
{
    const long double height = DisplayedHeight();
    heightEdit->setText(FormatFixed(height, 0, 2));
    QPalette palette = heightEdit->palette();
    palette.setColor(QPalette::Text, height > 299 ? QColor(Qt::red) : this->palette().color(QPalette::Text));
    heightEdit->setPalette(palette);
}

void ConstructionDialog::captionRowButtons()
{
    for (int row = 1; row <= kMaxRows; ++row) {
        QPushButton *b = rowButtons[size_t(row)];
        const QString text = state.ElementDescription(state.workingRows[size_t(row - 1)]);
        const QString shown = b->fontMetrics().elidedText(text, Qt::ElideRight, b->width() - kButtonPadding);
        b->setText(shown);
        b->setToolTip(shown == text ? QString() : text);
    }
}

void ConstructionDialog::rowClicked(int row)
{
    EditRow(row);
    NormalizeRows();
    RefreshView();
}

void ConstructionDialog::EditRow(int row)
{
    auto &rows = state.workingRows;
    const size_t n = size_t(row - 1);
    state.undoRows = rows;
    const std::optional<ElementChoice> choice = windows.elementChoice().choose(rows[n]);
    if (!choice)
        return;

    rows = Settle(state, windows, EditRowChange(rows, row, choice->code), choice->description);
    showTotalHeight();
}

void ConstructionDialog::NormalizeRows()
{
    auto &rows = state.workingRows;
    // Each answer changes the rows the next row is checked in.
    for (int i = 1; i <= kMaxRows - 1; ++i)
        rows = Settle(state, windows, ClosingElementChange(rows, state.undoRows, i));
    state.workingRowMarks = KeptRowMarks(state.workingRowMarks, rows);
    for (int row = 1; row <= kMaxRows; ++row) {
        QCheckBox *mark = rowMarks[size_t(row)];
        const bool panel = IsPanel(rows[size_t(row - 1)]);
        mark->setEnabled(panel);
        if (!panel)
            mark->setChecked(false);
    }
}

void ConstructionDialog::UpdateLowerMarks()
{
    state.workingLowerMarks = KeptLowerMarks(state.workingLowerMarks, state.workingRows);
    // Marks stop before the first row without strips, so no box after it can be ticked either.
    bool reachable = true;
    for (int k = 1; k <= kLowerMarks; ++k) {
        reachable = reachable && IsPanel(state.workingRows[size_t(k - 1)]);
        lowerMarks[size_t(k)]->setEnabled(reachable);
        lowerMarks[size_t(k)]->setChecked(state.workingLowerMarks[size_t(k - 1)] != 0);
    }
}

void ConstructionDialog::rowMarkClicked(int row)
{
    state.workingRowMarks[size_t(row - 1)] = rowMarks[size_t(row)]->isChecked() ? 1 : 0;
}

void ConstructionDialog::lowerMarkClicked(int mark)
{
    state.workingLowerMarks =
        ClickedLowerMarks(state.workingLowerMarks, state.workingRows, mark, lowerMarks[size_t(mark)]->isChecked());
    UpdateLowerMarks();
}

void ConstructionDialog::switchFamily()
{
    if (!windows.notice().ask(state.LanguageEntry(text::kSwitchFamilyNotice)))
        return;
    const SignDraft switched = SwitchedFamilyDraft(windows.document().CurrentDraft());
    state.workingRows = switched.rows;
    state.undoRows = switched.undoRows;
    windows.document().ChangeSign(switched.sign, text::kStepConstruction);
    RefreshView();
}

void ConstructionDialog::runReport(bool cost)
{
    EngineResults results;
    try {
        results = ComputeSign(state);
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
        return;
    }
    state.ViewText = (cost ? results.CostText : results.SpecificationText).left(kMaxTextLength);
    SplitViewText(state);
    windows.reportView().ShowReport(state.LanguageEntry(cost ? text::kCostReportTitle : text::kSpecificationReportTitle));
}

void ConstructionDialog::showSpecificationReport()
{
    runReport(false);
}

void ConstructionDialog::showCostReport()
{
    runReport(true);
}

void ConstructionDialog::okClicked()
{
    ProjectDocument &document = windows.document();
    document.ChangeSign(CommittedConstruction(document.CurrentDraft(), state.derived, state.language),
                        text::kStepConstruction);
    accept();
}

void ConstructionDialog::reject()
{
    QDialog::reject();
}

void ConstructionDialog::done(int result)
{
    if (std::exchange(editing_, false)) {
        if (result == QDialog::Accepted) {
            windows.document().EndEdit(true, text::kStepConstruction);
        } else {
            // The sign as it was when the dialog opened: a family switch, the marks, an other
            // infill's height and extra cost and the assumptions changed meanwhile all go.
            windows.document().EndEdit(false);
            state.workingRows = opened.rows;
            state.undoRows = opened.undoRows;
            state.workingRowMarks = opened.rowMarks;
            state.workingLowerMarks = opened.lowerMarks;
        }
    }
    QDialog::done(result);
}

void ConstructionDialog::mouseDoubleClickEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    windows.assumptions().exec();
    setCaptions();
    showLowerMarks();
    RefreshView();
}

} // namespace tablix
