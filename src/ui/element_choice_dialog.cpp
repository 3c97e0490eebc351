// ElementChoiceDialog: the choice of the element for one row, a grid of the two profile families.
#include "ui/element_choice_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "ui/other_infill_dialog.h"
#include "ui/widgets/named.h"
#include "core/render/sign_drawing.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

// Headings and buttons by their form numbers.
struct Column {
    int heading;
    int upper;       // family B button
    int lower;       // family A button
    int panelEntry;  // heading for panel types; 0 = empty
    int specialEntry;
};

// Left to right; the fixed profile stands between the 1x25 panel and the 1x50 panel.
constexpr std::array<Column, 10> kColumns = {{
    {1, 2, 3, text::kPanel1x13, text::kSpecialProfile1},
    {2, 4, 5, text::kPanel2x13, text::kSpecialProfile2},
    {3, 6, 7, text::kPanel1x20, text::kSpecialProfile3},
    {4, 8, 9, text::kPanel2x20, text::kSpecialProfile4},
    {5, 10, 11, text::kPanel3x20, text::kSpecialProfile5},
    {6, 12, 13, text::kPanel1x25, text::kSpecialProfile6},
    {7, 14, 15, text::kPanel4x25, 0},
    {10, 21, 22, text::kFixedProfile, 0},
    {8, 16, 17, text::kPanel1x50, 0},
    {9, 18, 19, text::kClosingProfile, 0},
}};

struct ButtonCodes {
    int panel;
    int special;
};

// Indexed by the buttons' form numbers; {-1, -1} marks numbers without a button.
constexpr std::array<ButtonCodes, 23> kButtonCodes = {{
    {-1, -1}, {0, 0},  {10, 40}, {1, 30}, {11, 41}, {2, 31}, {12, 42}, {3, 32},
    {13, 43}, {4, 33}, {14, 44}, {5, 34}, {15, 45}, {6, 35}, {16, 16}, {7, 7},
    {17, 17}, {8, 8},  {18, 18}, {9, 9},  {19, 19}, {21, 21}, {20, 20},
}};

// The narrowest width at which the text breaks at a blank into at most two lines.
int twoLineWidth(const QFontMetrics &fm, const QString &text)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int best = fm.horizontalAdvance(words.join(QLatin1Char(' ')));
    for (qsizetype i = 1; i < words.size(); ++i)
        best = std::min(best, std::max(fm.horizontalAdvance(words.mid(0, i).join(QLatin1Char(' '))),
                                       fm.horizontalAdvance(words.mid(i).join(QLatin1Char(' ')))));
    return best;
}

// The two buttons below the grid, by their form numbers.
constexpr size_t kRemoveButton = 1;
constexpr size_t kOtherInfillButton = 20;

// Draws the two family bands behind the rows of buttons.
class ChoiceGrid : public QWidget {
public:
    explicit ChoiceGrid(QWidget *parent) : QWidget(parent) {}

    QWidget *firstB = nullptr, *firstA = nullptr;
    std::vector<QWidget *> buttonsB, buttonsA; // left to right

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        band(p, firstB, lastShown(buttonsB), *RowFillColour(ColourClass::FamilyB));
        band(p, firstA, lastShown(buttonsA), *RowFillColour(ColourClass::FamilyA));
    }

private:
    static QWidget *lastShown(const std::vector<QWidget *> &buttons)
    {
        for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
            if (!(*it)->isHidden())
                return *it;
        return nullptr;
    }

    void band(QPainter &p, QWidget *first, QWidget *last, const QColor &colour)
    {
        if (!first || !last)
            return;
        const QRect r = first->geometry().united(last->geometry()).adjusted(-4, -3, 4, 3);
        p.setPen(QPen(colour.darker(160), 1));
        p.setBrush(colour.lighter(115));
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
};

} // namespace

ElementChoiceDialog::ElementChoiceDialog(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form7"));
    group = new QButtonGroup(this);
    for (int n = 1; n <= 22; ++n) {
        auto *b = Named<QRadioButton>(this, QStringLiteral("RadioButton%1").arg(n));
        choiceButtons[size_t(n)] = b;
        group->addButton(b, n);
        connect(b, &QRadioButton::clicked, this, [this, n] { choiceClicked(n); });
    }

    auto *grid = new ChoiceGrid(this);
    auto *layout = new QGridLayout(grid);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(10);
    familyB = new QLabel(grid);
    familyA = new QLabel(grid);
    for (QLabel *family : {familyB, familyA}) {
        QFont f = family->font();
        f.setBold(true);
        family->setFont(f);
        family->setAlignment(Qt::AlignCenter);
    }
    layout->addWidget(familyB, 1, 0);
    layout->addWidget(familyA, 2, 0);
    for (size_t c = 0; c < kColumns.size(); ++c) {
        const Column &col = kColumns[c];
        auto *heading = Named<QLabel>(grid, QStringLiteral("Label%1").arg(col.heading));
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        heading->setWordWrap(true);
        heading->setTextFormat(Qt::PlainText);
        columnHeadings[size_t(col.heading)] = heading;
        const int column = int(c) + 1;
        layout->addWidget(heading, 0, column);
        choiceButtons[size_t(col.upper)]->setParent(grid);
        choiceButtons[size_t(col.lower)]->setParent(grid);
        layout->addWidget(choiceButtons[size_t(col.upper)], 1, column, Qt::AlignCenter);
        layout->addWidget(choiceButtons[size_t(col.lower)], 2, column, Qt::AlignCenter);
        grid->buttonsB.push_back(choiceButtons[size_t(col.upper)]);
        grid->buttonsA.push_back(choiceButtons[size_t(col.lower)]);
    }
    layout->setRowMinimumHeight(1, 30);
    layout->setRowMinimumHeight(2, 30);
    grid->firstB = familyB;
    grid->firstA = familyA;

    cancelButton = Named<QPushButton>(this, "BitBtn1");
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(choiceButtons[kRemoveButton]);
    bottom->addSpacing(16);
    bottom->addWidget(choiceButtons[kOtherInfillButton]);
    bottom->addStretch();
    bottom->addWidget(cancelButton);
    auto *main = new QVBoxLayout(this);
    main->addWidget(grid);
    main->addSpacing(6);
    main->addLayout(bottom);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

int ElementChoiceDialog::CodeOfButton(int number) const
{
    if (number < 1 || number > 22)
        return -1;
    const ButtonCodes &codes = kButtonCodes[size_t(number)];
    return IsPanelType(state.currentSignRecord.signType) ? codes.panel : codes.special;
}

void ElementChoiceDialog::showEvent(QShowEvent *event)
{
    const SignType type = state.currentSignRecord.signType;
    const bool panel = IsPanelType(type);

    // A greyed-out element says why in its tooltip; an enabled one needs none.
    auto enable = [](QWidget *w, const QString &whyNot) {
        w->setEnabled(whyNot.isEmpty());
        w->setToolTip(whyNot);
    };
    auto enableColumn = [&](const Column &col, const QString &whyNot, bool shown = true) {
        for (QWidget *w : {static_cast<QWidget *>(columnHeadings[size_t(col.heading)]),
                           static_cast<QWidget *>(choiceButtons[size_t(col.upper)]),
                           static_cast<QWidget *>(choiceButtons[size_t(col.lower)])}) {
            enable(w, whyNot);
            w->setVisible(shown);
        }
    };
    // Any type but the panel types offers the special profiles only. Columns 7..10 have no
    // special profile, so they are not shown: blank buttons would look like choices.
    const QString onlySpecial = panel ? QString() : state.LanguageEntry(text::kOnlySpecialProfiles);
    for (size_t c = 0; c < kColumns.size(); ++c)
        enableColumn(kColumns[c], c >= 6 ? onlySpecial : QString(), panel || c < 6);
    enable(choiceButtons[kOtherInfillButton], onlySpecial);
    // The notice's first line says why: a closed frame or this sign type.
    if (panel && (type == SignType::ClosingProfile || type == SignType::DoubleSided
                  || HasClosedFrame(state.currentSignRecord.layout)))
        enableColumn(kColumns[9], state.LanguageEntry(text::kClosingNotAllowedNotice).section(QLatin1Char('#'), 0, 0));

    setWindowTitle(state.LanguageEntry(text::kElementChoiceTitle));
    choiceButtons[kRemoveButton]->setText(state.LanguageEntry(text::kRemoveElement));
    choiceButtons[kOtherInfillButton]->setText(state.LanguageEntry(text::kOtherInfill));
    cancelButton->setText(state.LanguageEntry(text::kCancel));
    familyB->setText(state.LanguageEntry(text::kFamilyB));
    familyA->setText(state.LanguageEntry(text::kFamilyA));

    // Ten columns side by side: every heading gets two lines, so the columns stay narrow.
    const QFontMetrics fm(font());
    int widest = fm.horizontalAdvance(QStringLiteral("MMMM"));
    for (const Column &col : kColumns) {
        const int entry = panel ? col.panelEntry : col.specialEntry;
        const QString text = entry ? state.LanguageEntry(entry).trimmed() : QString();
        columnHeadings[size_t(col.heading)]->setText(text);
        widest = std::max(widest, twoLineWidth(fm, text));
    }
    for (const Column &col : kColumns)
        columnHeadings[size_t(col.heading)]->setFixedWidth(widest + 4);

    checkElement(present_);
    QDialog::showEvent(event);
}

void ElementChoiceDialog::checkElement(int code)
{
    group->setExclusive(false);
    for (int n = 1; n <= 22; ++n)
        choiceButtons[size_t(n)]->setChecked(kButtonCodes[size_t(n)].panel == code);
    group->setExclusive(true);
}

std::optional<ElementChoice> ElementChoiceDialog::choose(std::uint8_t present)
{
    present_ = present;
    if (exec() != Accepted)
        return std::nullopt;
    return choice_;
}

void ElementChoiceDialog::choiceClicked(int number)
{
    if (number == kOtherInfillButton) {
        if (windows.otherInfill().exec() == QDialog::Accepted) {
            choice_ = {19, state.LanguageEntry(text::kOtherInfill)};
            accept();
        } else {
            checkElement(present_);
        }
        return;
    }
    const int code = CodeOfButton(number);
    choice_ = {std::uint8_t(code), state.ElementDescription(code)};
    accept();
}

} // namespace tablix
