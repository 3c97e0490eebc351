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
#include <QTimer>
#include <cmath>

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

int typeEntry(int signType)
{
    switch (signType) {
    case 1: return text::kSignType1;
    case 2: return text::kSignType2;
    case 3: return text::kClosingProfile;
    case 4: return text::kSignType4;
    case 5: return text::kSignType5;
    case 6: return text::kSignType6;
    default: return -1;
    }
}

// Room a push button keeps around its caption.
constexpr int kButtonPadding = 16;
constexpr int kRowSpacing = 1;

} // namespace

ConstructionDialog::ConstructionDialog(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form6"));

    auto label = [this](const char *name) { return Named<QLabel>(this, name); };
    Label1 = label("Label1");
    Label2 = label("Label2");
    Label3 = label("Label3");
    Label4 = label("Label4");
    Label5 = label("Label5");
    Label4->setWordWrap(true);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    Label5->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

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
        auto *button = new QPushButton(rowsContent);
        button->setObjectName(QStringLiteral("Button%1").arg(row));
        button->setAutoDefault(false);
        Button[size_t(row)] = button;
        rows->addWidget(button, r, 1);
        connect(button, &QPushButton::clicked, this, [this, row] { ButtonClick(row); });

        auto *mark = new QCheckBox(rowsContent);
        mark->setObjectName(QStringLiteral("CheckBox%1").arg(row + 10));
        CheckBox[size_t(row + 10)] = mark;
        rows->addWidget(mark, r, 2, Qt::AlignCenter);
        connect(mark, &QCheckBox::clicked, this, [this, row] { RowMarkClick(row); });

        if (row <= kLowerMarks) {
            auto *lower = new QCheckBox(rowsContent);
            lower->setObjectName(QStringLiteral("CheckBox%1").arg(row));
            QSizePolicy keep = lower->sizePolicy();
            keep.setRetainSizeWhenHidden(true);
            lower->setSizePolicy(keep);
            CheckBox[size_t(row)] = lower;
            rows->addWidget(lower, r, 3, Qt::AlignCenter);
            connect(lower, &QCheckBox::clicked, this, [this, row] { LowerMarkClick(row); });
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
    Label5->setParent(header);
    Label2->setParent(header);
    heads->addWidget(Label5, 0, 2);
    heads->addWidget(Label2, 0, 3);
    QSizePolicy keep = Label2->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Label2->setSizePolicy(keep);

    Edit1 = Named<QLineEdit>(this, "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edit1->setMaximumWidth(NumberEdit(2).sizeHint().width());

    for (int n = 1; n <= 4; ++n) {
        auto *image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image%1").arg(n));
        image->setFixedSize(kLayoutPictureSize);
        image->setPixmap(LayoutPicture(5 - n, kLayoutPictureSize, devicePixelRatioF()));
        Image[size_t(n)] = image;
    }

    auto button = [this](const char *name) {
        auto *b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    BitBtn1 = button("BitBtn1");
    BitBtn2 = button("BitBtn2");
    BitBtn3 = button("BitBtn3");
    BitBtn4 = button("BitBtn4");
    BitBtn5 = button("BitBtn5");
    connect(BitBtn1, &QPushButton::clicked, this, &ConstructionDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &ConstructionDialog::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &ConstructionDialog::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &ConstructionDialog::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &ConstructionDialog::reject);

    auto *left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(header);
    left->addWidget(rowsArea, 1);

    auto *right = new QVBoxLayout;
    right->addWidget(Label1);
    right->addWidget(Edit1);
    right->addSpacing(8);
    right->addWidget(Label3);
    right->addWidget(Label4);
    for (int n = 1; n <= 4; ++n)
        right->addWidget(Image[size_t(n)], 0, Qt::AlignHCenter);
    right->addSpacing(8);
    right->addWidget(BitBtn1);
    right->addWidget(BitBtn3);
    right->addWidget(BitBtn2);
    right->addStretch(1);
    auto *closing = new QHBoxLayout;
    closing->addWidget(BitBtn4);
    closing->addWidget(BitBtn5);
    right->addLayout(closing);

    auto *main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addSpacing(8);
    main->addLayout(right);
}

void ConstructionDialog::showEvent(QShowEvent *event)
{
    FormShow();
    setCaptions();
    showLowerMarks();
    refreshDisplay();
    QDialog::showEvent(event);
    // Activation may ask through the notice, which belongs over the visible dialog.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            FormActivate();
    });
}

void ConstructionDialog::FormShow()
{
    const SignRecord &sign = state.currentSignRecord;
    std::copy(std::begin(sign.lowerMarks), std::end(sign.lowerMarks), state.workingLowerMarks.begin());
    std::copy(std::begin(sign.rowMarks), std::end(sign.rowMarks), state.workingRowMarks.begin());
    // A refused move during activation then restores these rows, never those of an older edit.
    state.undoRows = state.workingRows;
}

void ConstructionDialog::FormActivate()
{
    setCaptions();
    for (int row = 1; row <= kMaxRows; ++row)
        CheckBox[size_t(row + 10)]->setChecked(state.workingRowMarks[size_t(row - 1)] != 0);
    NormalizeRows();
    showLowerMarks();
    RefreshView();
}

void ConstructionDialog::setCaptions()
{
    const SignRecord &sign = state.currentSignRecord;
    setWindowTitle(state.LanguageEntry(text::kConstructionTitle));
    Label5->setText(state.LanguageEntry(text::kRowMarksHeading));
    Label2->setText(state.LanguageEntry(sign.signType == 1 ? text::kLowerMarksHeadingType1 : text::kLowerMarksHeadingType2));
    Label1->setText(state.LanguageEntry(text::kStackHeightLabel));
    BitBtn1->setText(state.LanguageEntry(text::kSwitchFamilyButton));
    BitBtn2->setText(state.LanguageEntry(text::kSpecificationButton));
    BitBtn3->setText(state.LanguageEntry(text::kCostButton));
    BitBtn4->setText(state.LanguageEntry(text::kOk));
    BitBtn5->setText(state.LanguageEntry(text::kCancel));
    sizeRowColumns();
}

void ConstructionDialog::sizeRowColumns()
{
    // Row buttons are as wide as the longest element description of the language, within
    // limits; a longer one is elided.
    const QFontMetrics fm(Button[1]->font());
    const QFontMetricsF exact(Button[1]->font());
    int widest = 0;
    // Eliding measures in fractions of a pixel; rounding down would elide the widest text.
    for (int code = 1; code <= 45; ++code)
        widest = std::max(widest, int(std::ceil(exact.horizontalAdvance(state.ElementDescription(code)))) + 1);
    const int buttonWidth = std::clamp(widest + kButtonPadding, fm.averageCharWidth() * 12 + kButtonPadding,
                                       fm.averageCharWidth() * 26 + kButtonPadding);
    const int numberWidth = fm.horizontalAdvance(QStringLiteral("59")) + 4;
    const int boxWidth = CheckBox[11]->sizeHint().width();
    const int markWidth = std::max(boxWidth, Label5->sizeHint().width());
    const int lowerWidth = std::max(boxWidth, Label2->sizeHint().width());

    auto *rows = static_cast<QGridLayout *>(rowsContent->layout());
    auto *heads = static_cast<QGridLayout *>(header->layout());
    const std::array<int, 4> widths = {numberWidth, buttonWidth, markWidth, lowerWidth};
    for (int c = 0; c < 4; ++c) {
        rows->setColumnMinimumWidth(c, widths[size_t(c)]);
        heads->setColumnMinimumWidth(c, widths[size_t(c)]);
    }
    for (int row = 1; row <= kMaxRows; ++row)
        Button[size_t(row)]->setFixedWidth(buttonWidth);
    numberHeading->setFixedWidth(numberWidth);
    buttonHeading->setFixedWidth(buttonWidth);
    Label5->setFixedWidth(markWidth);
    Label2->setFixedWidth(lowerWidth);
    rowsContent->adjustSize();

    const int frame = rowsArea->frameWidth();
    const QMargins m = rows->contentsMargins();
    heads->setContentsMargins(m.left() + frame, m.top(), m.right() + frame, 2);
    rowsArea->setFixedWidth(rowsContent->sizeHint().width() + rowsArea->verticalScrollBar()->sizeHint().width()
                            + 2 * frame);
    // About twenty rows in view.
    const int rowHeight = Button[1]->sizeHint().height() + kRowSpacing;
    rowsArea->setMinimumHeight(std::min(20 * rowHeight, rowsContent->sizeHint().height()) + 2 * frame);
}

void ConstructionDialog::showLowerMarks()
{
    const bool shown = state.currentSignRecord.auxDimension.get() != 0;
    Label2->setVisible(shown);
    for (int k = 1; k <= kLowerMarks; ++k)
        CheckBox[size_t(k)]->setVisible(shown);
}

void ConstructionDialog::RefreshView()
{
    closingElementCheck();
    refreshDisplay();
}

void ConstructionDialog::refreshDisplay()
{
    const SignRecord &sign = state.currentSignRecord;
    Label3->setText(state.LanguageEntry(text::kWidthLabel) + QStringLiteral(":\n") + FormatFixed(sign.width.get(), 0, 2)
                    + state.LanguageEntry(text::kLengthUnit));
    Label4->setText(state.LanguageEntry(typeEntry(sign.signType)));
    for (int n = 1; n <= 4; ++n)
        Image[size_t(n)]->setVisible(n == 5 - sign.layout);
    if (sign.auxDimension.get() != 0) {
        UpdateLowerMarks();
        for (int row = 1; row <= kMaxRows; ++row)
            CheckBox[size_t(row + 10)]->setChecked(state.workingRowMarks[size_t(row - 1)] != 0);
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
    if (sign.rowElements[0] != 0)
        height += FrameAllowanceCm(sign.layout, sign.signType);
    return height;
}

void ConstructionDialog::showTotalHeight()
{
    const long double height = DisplayedHeight();
    Edit1->setText(FormatFixed(height, 0, 2));
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Text, height > 299 ? QColor(Qt::red) : this->palette().color(QPalette::Text));
    Edit1->setPalette(palette);
}

void ConstructionDialog::captionRowButtons()
{
    for (int row = 1; row <= kMaxRows; ++row) {
        QPushButton *b = Button[size_t(row)];
        const QString text = state.ElementDescription(state.workingRows[size_t(row - 1)]);
        const QString shown = b->fontMetrics().elidedText(text, Qt::ElideRight, b->width() - kButtonPadding);
        b->setText(shown);
        b->setToolTip(shown == text ? QString() : text);
    }
}

void ConstructionDialog::ButtonClick(int row)
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
        QCheckBox *mark = CheckBox[size_t(row + 10)];
        const bool panel = IsPanel(rows[size_t(row - 1)]);
        mark->setEnabled(panel);
        if (!panel)
            mark->setChecked(false);
    }
}

void ConstructionDialog::UpdateLowerMarks()
{
    state.workingLowerMarks = KeptLowerMarks(state.workingLowerMarks, state.workingRows);
    for (int k = 1; k <= kLowerMarks; ++k) {
        CheckBox[size_t(k)]->setEnabled(IsPanel(state.workingRows[size_t(k - 1)]));
        CheckBox[size_t(k)]->setChecked(state.workingLowerMarks[size_t(k - 1)] != 0);
    }
}

void ConstructionDialog::RowMarkClick(int row)
{
    state.workingRowMarks[size_t(row - 1)] = CheckBox[size_t(row + 10)]->isChecked() ? 1 : 0;
}

void ConstructionDialog::LowerMarkClick(int mark)
{
    state.workingLowerMarks =
        ClickedLowerMarks(state.workingLowerMarks, state.workingRows, mark, CheckBox[size_t(mark)]->isChecked());
    UpdateLowerMarks();
}

void ConstructionDialog::BitBtn1Click()
{
    if (!windows.notice().ask(state.LanguageEntry(text::kSwitchFamilyNotice)))
        return;
    std::uint8_t &layout = state.currentSignRecord.layout;
    layout = std::uint8_t(OtherFamilyLayout(layout));
    state.workingRows = SwitchedFamily(state.workingRows);
    RefreshView();
}

void ConstructionDialog::runReport(bool cost)
{
    try {
        ComputeSign(state);
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
        return;
    }
    state.ViewText = (cost ? state.results.CostText : state.results.SpecificationText).left(kMaxTextLength);
    SplitViewText(state);
    windows.reportView().ShowReport(state.LanguageEntry(cost ? text::kCostReportTitle : text::kSpecificationReportTitle));
}

void ConstructionDialog::BitBtn2Click()
{
    runReport(false);
}

void ConstructionDialog::BitBtn3Click()
{
    runReport(true);
}

void ConstructionDialog::BitBtn4Click()
{
    SignRecord &sign = state.currentSignRecord;
    std::copy(state.workingLowerMarks.begin(), state.workingLowerMarks.end(), sign.lowerMarks);
    std::copy(state.workingRowMarks.begin(), state.workingRowMarks.end(), sign.rowMarks);
    std::copy(state.workingRows.begin(), state.workingRows.end(), sign.rowElements);
    if (!sign.titleText().startsWith(QLatin1Char('!'))) {
        sign.setTitle(state.AutoTitle());
        if (state.currentSign >= 1 && state.currentSign <= kMaxSigns)
            state.tabCaptions[size_t(state.currentSign - 1)] =
                TabCaption(state.language, sign.titleText(), state.currentSign);
    }
    accept();
}

void ConstructionDialog::reject()
{
    state.LoadWorkingRows();
    QDialog::reject();
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
