// ParameterEditor: the parameter editor, every technical and commercial constant in five panels.
#include "ui/parameter_editor.h"

#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <span>
#include <vector>

#include "ui/widgets/named.h"
#include "ui/widgets/number_edit.h"
#include "core/files/atomic_file.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"
#include "ui/startup.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"
#include "core/params/settings.h"

namespace tablix {

namespace {

// One edit and the field it shows: a scalar, or one column of an element row.
struct Binding {
    int edit;
    Real48 ParameterRecord::*scalar = nullptr;
    int row = -1;
    Real48 ElementTypeRow::*column = nullptr;
};

Real48 &FieldOf(ParameterRecord &p, const Binding &b)
{
    return b.scalar ? p.*(b.scalar) : p.elementRows[b.row].*(b.column);
}

// A labelled scalar with its unit; altUnit is the unit while the price list runs at 100 %.
struct ScalarLine {
    int edit;
    Real48 ParameterRecord::*field;
    int label;
    int unit;
    int altUnit;
};

constexpr ScalarLine kPanelOfFourLeft[] = {
    {14, &ParameterRecord::costItem7, text::kCostItem7Label, text::kCostItem7Unit, text::kCostItem7Unit},
    {15, &ParameterRecord::costItem8, text::kCostItem8Label, text::kCostItem8Unit, text::kCostItem8Unit},
    {93, &ParameterRecord::costItem5, text::kMarkedStripLabel, text::kCostItem7Unit, text::kCostItem7Unit},
    {94, &ParameterRecord::costItem6, text::kCostItem6Label, text::kCostItem6Unit, text::kCostItem6Unit},
};
constexpr ScalarLine kPanelOfFourMiddle[] = {
    {12, &ParameterRecord::costItem1, text::kCostItem1Label, text::kCostItem1Unit, text::kCostItem1Unit},
    {13, &ParameterRecord::costItem2, text::kCostItem2Label, text::kCostItem2Unit, text::kCostItem2Unit},
    {91, &ParameterRecord::costItem3, text::kCostItem1Label, text::kCostItem1Unit, text::kCostItem1Unit},
    {92, &ParameterRecord::costItem4, text::kCostItem1Label, text::kCostItem1Unit, text::kCostItem1Unit},
};
constexpr ScalarLine kAccessories[] = {
    {16, &ParameterRecord::costItem9, text::kCostItem9Label, text::kCostItem9Unit, text::kCostItem9UnitAt100},
    {17, &ParameterRecord::costItem10, text::kCostItem10Label, text::kCostItem9Unit, text::kCostItem9UnitAt100},
    {85, &ParameterRecord::costItem11, text::kCostItem11Label, text::kCostItem11Unit, text::kCostItem11UnitAt100},
    {86, &ParameterRecord::costItem12, text::kCostItem12Label, text::kCostItem11Unit, text::kCostItem11UnitAt100},
    {88, &ParameterRecord::costItem13, text::kCostItem13Label, text::kCostItem11Unit, text::kCostItem11UnitAt100},
    {87, &ParameterRecord::costItem14, text::kCostItem14Label, text::kCostItem11Unit, text::kCostItem11UnitAt100},
    {90, &ParameterRecord::costItem15, text::kCostItem15Label, text::kCostItem11Unit, text::kCostItem11UnitAt100},
    {89, &ParameterRecord::costItem16, text::kCostItem16Label, text::kCostItem11Unit, text::kCostItem11UnitAt100},
};

// The general panel from top to bottom; the band rows pair a limit with a surcharge.
struct GeneralLine {
    int edit;
    Real48 ParameterRecord::*field;
    int label;
};
constexpr GeneralLine kGeneralTop[] = {
    {1, &ParameterRecord::markupPercent1, text::kMarkupPercent1Label},
    {2, &ParameterRecord::markupPercent2, text::kMarkupPercent2Label},
    {57, &ParameterRecord::priceListPercent, text::kPriceListPercentLabel},
};
struct BandLine {
    int limitEdit;
    Real48 ParameterRecord::*limit;
    int valueEdit;
    Real48 ParameterRecord::*value;
};
constexpr BandLine kBands[] = {
    {4, &ParameterRecord::areaBandLimit1, 8, &ParameterRecord::areaBandValue1},
    {5, &ParameterRecord::areaBandLimit2, 9, &ParameterRecord::areaBandValue2},
    {6, &ParameterRecord::areaBandLimit3, 10, &ParameterRecord::areaBandValue3},
    {7, &ParameterRecord::areaBandLimit3, 11, &ParameterRecord::areaBandValue4},
};
constexpr GeneralLine kGeneralBottom[] = {
    {96, &ParameterRecord::generalValue, text::kGeneralValueLabel},
    {3, &ParameterRecord::markupPercent3, text::kMarkupPercent3Label},
};

struct ElementLine {
    int label;
    int edits[3]; // priceB, priceA, heightMm
    int row;
};
constexpr ElementLine kElementsLeft[] = {
    {text::kSignType1, {18, 19, 20}, 0}, {text::kSignType2, {21, 22, 23}, 1}, {text::kPostsRowType1, {24, 25, 26}, 2},
    {text::kPostsRowType2, {27, 28, 29}, 3}, {text::kClosingProfile, {30, 31, 32}, 14},
    {text::kElementRow12, {58, 59, 60}, 12}, {text::kSignType4, {61, 62, 63}, 13}, {text::kSignType5, {64, 65, 66}, 15},
};
constexpr ElementLine kElementsRight[] = {
    {text::kPanel1x13, {33, 34, 35}, 4}, {text::kPanel2x13, {36, 37, 38}, 5}, {text::kPanel1x20, {39, 40, 41}, 6},
    {text::kPanel2x20, {42, 43, 44}, 7}, {text::kPanel3x20, {45, 46, 47}, 8}, {text::kPanel1x25, {48, 49, 50}, 9},
    {text::kPanel4x25, {51, 52, 53}, 10}, {text::kFixedProfile, {95, 97, 98}, 22}, {text::kPanel1x50, {54, 55, 56}, 11},
};
constexpr ElementLine kElementsArcona[] = {
    {text::kSpecialProfile1, {72, 73, 84}, 16}, {text::kSpecialProfile2, {71, 74, 83}, 17},
    {text::kSpecialProfile3, {70, 75, 82}, 18}, {text::kSpecialProfile4, {69, 76, 81}, 19},
    {text::kSpecialProfile5, {68, 77, 80}, 20}, {text::kSpecialProfile6, {67, 78, 79}, 21},
};
constexpr std::span<const ElementLine> kElementBlocks[] = {kElementsLeft, kElementsRight, kElementsArcona};
constexpr Real48 ElementTypeRow::*kElementColumns[3] = {&ElementTypeRow::priceB, &ElementTypeRow::priceA,
                                                        &ElementTypeRow::heightMm};

// Every edit in the order OK stores them; edit 7 comes after edit 6, so it wins.
std::vector<Binding> StoreOrder()
{
    std::vector<Binding> order;
    for (const auto &l : kPanelOfFourLeft)
        order.push_back({l.edit, l.field});
    for (const auto &l : kPanelOfFourMiddle)
        order.push_back({l.edit, l.field});
    for (const auto &l : kGeneralTop)
        order.push_back({l.edit, l.field});
    for (const auto &b : kBands) {
        order.push_back({b.limitEdit, b.limit});
        order.push_back({b.valueEdit, b.value});
    }
    for (const auto &l : kGeneralBottom)
        order.push_back({l.edit, l.field});
    for (const auto &l : kAccessories)
        order.push_back({l.edit, l.field});
    for (const auto block : kElementBlocks)
        for (const auto &l : block)
            for (int c = 0; c < 3; ++c)
                order.push_back({l.edits[c], nullptr, l.row, kElementColumns[c]});
    return order;
}

const std::vector<Binding> &Bindings()
{
    static const std::vector<Binding> order = StoreOrder();
    return order;
}

// Percentages that may sensibly be below zero: a markup or an area band may be a discount.
bool MayBeNegative(int edit)
{
    return edit == 1 || edit == 2 || edit == 3 || (edit >= 8 && edit <= 11);
}

// The bound a field must keep to so that the engine and the drawings can work with it.
struct Limit {
    enum Kind { Any, NotNegative, Above } kind = NotNegative;
    long double bound = 0;
};

Limit LimitOf(const Binding &b)
{
    if (b.column == &ElementTypeRow::heightMm) {
        // A frame's rows start at its profile height less the bar (0.5 and 1.25 cm).
        if (b.row == 0)
            return {Limit::Above, 5};
        if (b.row == 1)
            return {Limit::Above, 12.5L};
        // Rows the engine stacks or copies, and the posts the drawings size from rows 2 and 3.
        if (std::ranges::find(kElementTypeTableRows, b.row) != kElementTypeTableRows.end())
            return {Limit::Above, 0};
        return {Limit::NotNegative};
    }
    // A discount of 100 % or more would make every amount zero or negative.
    if (MayBeNegative(b.edit))
        return {Limit::Above, -100};
    // Zero or less means no fixed percentage.
    if (b.scalar == &ParameterRecord::priceListPercent)
        return {Limit::Any};
    return {Limit::NotNegative};
}

// A column heading on two lines, its unit below, so that the column is as narrow as its edits.
QString TwoLineHeading(const QString &text)
{
    QString t = text;
    const qsizetype space = t.lastIndexOf(u' ');
    if (space > 0)
        t[space] = u'\n';
    return t;
}

QString BandCaption(long double limit)
{
    return FormatFixed(limit, 0, 4) + QStringLiteral(" -");
}

// The cross-section of a panel, as it hangs in the frame: face with two strips, hook above,
// lip below, and the height the element column means.
QPixmap PanelPicture(qreal dpr)
{
    const QSize size(44, 40);
    QPixmap picture(size * dpr);
    picture.setDevicePixelRatio(dpr);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));

    QPainterPath body;
    body.moveTo(8, 6);
    body.lineTo(20, 6);
    body.lineTo(20, 2);
    body.lineTo(25, 2);
    body.lineTo(25, 9);
    body.lineTo(13, 9);
    body.lineTo(13, 31);
    body.lineTo(22, 31);
    body.lineTo(22, 36);
    body.lineTo(8, 36);
    body.closeSubpath();
    p.setBrush(QColor(192, 196, 200));
    p.drawPath(body);

    p.setBrush(QColor(255, 220, 0));
    p.drawRect(QRectF(4, 11, 4, 8));
    p.drawRect(QRectF(4, 23, 4, 8));

    // The height arrow.
    p.setPen(QPen(QColor(0, 0, 160), 1));
    p.drawLine(QPointF(35, 6), QPointF(35, 36));
    p.drawLine(QPointF(31, 6), QPointF(39, 6));
    p.drawLine(QPointF(31, 36), QPointF(39, 36));
    p.setBrush(QColor(0, 0, 160));
    p.drawPolygon(QPolygonF({QPointF(35, 7), QPointF(33, 12), QPointF(37, 12)}));
    p.drawPolygon(QPolygonF({QPointF(35, 35), QPointF(33, 30), QPointF(37, 30)}));
    return picture;
}

QFrame *FramedPanel(QWidget *parent, const char *name)
{
    auto *f = Named<QFrame>(parent, QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

QGridLayout *PanelGrid(QFrame *panel)
{
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    return grid;
}

} // namespace

ParameterEditor::ParameterEditor(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form2"));
    setModal(true);

    // Edits are made in the order of the focus chain: top panels, general, elements, accessories.
    auto makeEdit = [this](QWidget *panel, int n) {
        auto *e = Named<NumberEdit>(panel, QStringLiteral("pvlCalcEdit%1").arg(n), n >= 4 && n <= 7 ? 4 : 2);
        e->setAllowNegative(MayBeNegative(n));
        // Room for nine characters: every price, height and limit a sign maker uses.
        const int frame = e->sizeHint().width() - e->fontMetrics().horizontalAdvance(QString(NumberEdit::kMaxChars, u'0'));
        e->setFixedWidth(frame + e->fontMetrics().horizontalAdvance(QStringLiteral("000000.00")));
        e->installEventFilter(this);
        edits[size_t(n)] = e;
        return e;
    };
    auto scalarPanel = [&](const char *name, std::span<const ScalarLine> lines) {
        QFrame *panel = FramedPanel(this, name);
        QGridLayout *grid = PanelGrid(panel);
        for (int i = 0; i < int(lines.size()); ++i) {
            const ScalarLine &l = lines[i];
            rowLabel[size_t(l.edit)] = Named<QLabel>(panel, QStringLiteral("Label%1").arg(l.edit));
            if (l.edit == 91 || l.edit == 92) {
                // The reserve items carry their number on a second line.
                auto *sub = Named<QLabel>(panel, QStringLiteral("Label%1b").arg(l.edit));
                (l.edit == 91 ? costItem3SecondLine : costItem4SecondLine) = sub;
                auto *both = new QVBoxLayout;
                both->setSpacing(0);
                both->addWidget(rowLabel[size_t(l.edit)]);
                both->addWidget(sub);
                grid->addLayout(both, i, 0);
            } else {
                grid->addWidget(rowLabel[size_t(l.edit)], i, 0);
            }
            grid->addWidget(makeEdit(panel, l.edit), i, 1);
            unitLabel[size_t(l.edit)] = Named<QLabel>(panel, QStringLiteral("UnitLabel%1").arg(l.edit));
            grid->addWidget(unitLabel[size_t(l.edit)], i, 2);
            rowLabel[size_t(l.edit)]->setBuddy(edit(l.edit));
        }
        grid->setColumnStretch(0, 1);
        grid->setRowStretch(int(lines.size()), 1);
        return panel;
    };

    QFrame *panelLeft = scalarPanel("Panel1", kPanelOfFourLeft);
    QFrame *panelMiddle = scalarPanel("Panel2", kPanelOfFourMiddle);

    // General panel: markups, price-list percentage, the area bands, the reserve value.
    QFrame *general = FramedPanel(this, "Panel3");
    {
        QGridLayout *grid = PanelGrid(general);
        int r = 0;
        auto single = [&](const GeneralLine &l) {
            rowLabel[size_t(l.edit)] = Named<QLabel>(general, QStringLiteral("Label%1").arg(l.edit));
            grid->addWidget(rowLabel[size_t(l.edit)], r, 0, 1, 2);
            grid->addWidget(makeEdit(general, l.edit), r, 2);
            rowLabel[size_t(l.edit)]->setBuddy(edit(l.edit));
            ++r;
        };
        for (const auto &l : kGeneralTop)
            single(l);
        grid->setRowMinimumHeight(r++, 6);
        headingLimits = Named<QLabel>(general, "headingLimits");
        headingValues = Named<QLabel>(general, "headingValues");
        grid->addWidget(headingLimits, r, 1, Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(headingValues, r, 2, Qt::AlignHCenter | Qt::AlignBottom);
        ++r;
        for (const auto &b : kBands) {
            QLabel *label = nullptr;
            if (b.limitEdit == 5)
                label = secondBandLabel = Named<QLabel>(general, "bandLabel2");
            else if (b.limitEdit == 6)
                label = thirdBandLabel = Named<QLabel>(general, "bandLabel3");
            else
                label = Named<QLabel>(general, QStringLiteral("Label%1").arg(b.limitEdit));
            rowLabel[size_t(b.limitEdit)] = label;
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(label, r, 0);
            grid->addWidget(makeEdit(general, b.limitEdit), r, 1);
            grid->addWidget(makeEdit(general, b.valueEdit), r, 2);
            ++r;
        }
        grid->setRowMinimumHeight(r++, 6);
        for (const auto &l : kGeneralBottom)
            single(l);
        currencyLabel = Named<QLabel>(general, "currencyLabel");
        currencyEdit = Named<QLineEdit>(general, "currencyEdit");
        currencyEdit->setMaxLength(kCurrencyMaxLength);
        currencyEdit->setFixedWidth(edit(3)->width());
        currencyEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        currencyEdit->installEventFilter(this);
        currencyLabel->setBuddy(currencyEdit);
        grid->addWidget(currencyLabel, r, 0, 1, 2);
        grid->addWidget(currencyEdit, r, 2);
        ++r;
        grid->setColumnStretch(0, 1);
        grid->setRowStretch(r, 1);
        // The mirror of the third limit is typed into only on purpose.
        edit(7)->setFocusPolicy(Qt::ClickFocus);
    }

    // Element panel: a picture, then two blocks of element rows, the second with the Arcona rows.
    QFrame *elements = FramedPanel(this, "Panel4");
    {
        QGridLayout *grid = PanelGrid(elements);
        crossSection = Named<QLabel>(elements, "Image1");
        crossSection->setPixmap(PanelPicture(devicePixelRatioF()));
        grid->addWidget(crossSection, 0, 0, Qt::AlignLeft | Qt::AlignTop);
        for (int block = 0; block < 2; ++block) {
            const int c = block * 5;
            const QString suffix = QString::number(block + 1);
            headingPriceB[size_t(block)] = Named<QLabel>(elements, QStringLiteral("headingPriceB") + suffix);
            headingPriceA[size_t(block)] = Named<QLabel>(elements, QStringLiteral("headingPriceA") + suffix);
            headingHeight[size_t(block)] = Named<QLabel>(elements, QStringLiteral("headingHeight") + suffix);
            for (QLabel *h : {headingPriceB[size_t(block)], headingPriceA[size_t(block)], headingHeight[size_t(block)]})
                h->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            grid->addWidget(headingPriceB[size_t(block)], 0, c + 1, Qt::AlignHCenter | Qt::AlignBottom);
            grid->addWidget(headingPriceA[size_t(block)], 0, c + 2, Qt::AlignHCenter | Qt::AlignBottom);
            grid->addWidget(headingHeight[size_t(block)], 0, c + 3, Qt::AlignHCenter | Qt::AlignBottom);
        }
        auto line = [&](const ElementLine &l, int r, int c) {
            QLabel *label = Named<QLabel>(elements, QStringLiteral("Label%1").arg(l.edits[0]));
            rowLabel[size_t(l.edits[0])] = label;
            grid->addWidget(label, r, c);
            for (int k = 0; k < 3; ++k)
                grid->addWidget(makeEdit(elements, l.edits[k]), r, c + 1 + k);
            label->setBuddy(edit(l.edits[0]));
        };
        int r = 1;
        for (const auto &l : kElementsLeft)
            line(l, r++, 0);
        r = 1;
        for (const auto &l : kElementsRight)
            line(l, r++, 5);
        arconaHeading = Named<QLabel>(elements, "arconaHeading");
        arconaHeading->setText(QStringLiteral("Arcona"));
        QFont bold = arconaHeading->font();
        bold.setBold(true);
        arconaHeading->setFont(bold);
        grid->addWidget(arconaHeading, r++, 5, 1, 4);
        for (const auto &l : kElementsArcona)
            line(l, r++, 5);
        grid->setColumnMinimumWidth(4, 10);
        grid->setColumnStretch(0, 1);
        grid->setColumnStretch(5, 1);
        grid->setRowStretch(r, 1);
    }

    QFrame *accessories = scalarPanel("Panel5", kAccessories);

    okButton = Named<QPushButton>(this, "BitBtn1");
    cancelButton = Named<QPushButton>(this, "BitBtn2");
    // Enter walks through the edits; it must never close the window.
    for (QPushButton *b : {okButton, cancelButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->installEventFilter(this);
    }
    connect(okButton, &QPushButton::clicked, this, &ParameterEditor::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(panelLeft);
    top->addWidget(panelMiddle);
    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(elements, 1);
    auto *right = new QVBoxLayout;
    right->addWidget(general);
    right->addWidget(accessories, 1);
    auto *panels = new QHBoxLayout;
    panels->addLayout(left, 1);
    panels->addLayout(right);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *main = new QVBoxLayout(this);
    main->setContentsMargins(8, 6, 8, 6);
    main->setSpacing(6);
    main->addLayout(panels, 1);
    main->addLayout(buttons);

    setCaptions(false);
    resize(786, 591);
}

void ParameterEditor::showEvent(QShowEvent *event)
{
    loadParameters();
    QDialog::showEvent(event);
}

void ParameterEditor::setCaptions(bool alternative)
{
    const auto entry = [this](int n) { return state.LanguageEntry(n).trimmed(); };
    setWindowTitle(state.LanguageEntry(text::kParameterEditorTitle));
    okButton->setText(entry(text::kOk));
    cancelButton->setText(entry(text::kCancel));
    for (const auto lines : {std::span<const ScalarLine>(kPanelOfFourLeft), std::span<const ScalarLine>(kPanelOfFourMiddle)})
        for (const auto &l : lines) {
            rowLabel[size_t(l.edit)]->setText(entry(l.label));
            unitLabel[size_t(l.edit)]->setText(entry(l.unit));
        }
    costItem3SecondLine->setText(entry(text::kCostItem3SecondLine));
    costItem4SecondLine->setText(entry(text::kCostItem4SecondLine));
    for (const auto &l : kAccessories) {
        rowLabel[size_t(l.edit)]->setText(entry(l.label));
        unitLabel[size_t(l.edit)]->setText(entry(alternative ? l.altUnit : l.unit));
    }
    for (const auto &l : kGeneralTop)
        rowLabel[size_t(l.edit)]->setText(entry(l.label));
    for (const auto &l : kGeneralBottom)
        rowLabel[size_t(l.edit)]->setText(entry(l.label));
    currencyLabel->setText(entry(text::kCurrencyLabel));
    headingLimits->setText(entry(text::kAreaLimitsHeading));
    headingValues->setText(entry(text::kAreaSurchargesHeading));
    rowLabel[4]->setText(entry(text::kFirstBandLabel));
    rowLabel[7]->setText(entry(text::kLastBandLabel));
    for (int block = 0; block < 2; ++block) {
        headingPriceB[size_t(block)]->setText(TwoLineHeading(entry(alternative ? text::kPriceBHeadingAt100 : text::kPriceBHeading)));
        headingPriceA[size_t(block)]->setText(TwoLineHeading(entry(alternative ? text::kPriceAHeadingAt100 : text::kPriceAHeading)));
        headingHeight[size_t(block)]->setText(TwoLineHeading(entry(text::kHeightHeading)));
    }
    for (const auto block : kElementBlocks)
        for (const auto &l : block)
            rowLabel[size_t(l.edits[0])]->setText(entry(l.label));
}

void ParameterEditor::fitToCaptions()
{
    // Room for both sets of captions, so that switching never clips a label.
    const auto minimum = [this] {
        // New captions reach the nested layouts only when their layout requests are handled; the
        // size is needed now.
        for (QFrame *panel : findChildren<QFrame *>(Qt::FindDirectChildrenOnly))
            panel->updateGeometry();
        for (QLayout *l : findChildren<QLayout *>())
            l->invalidate();
        return layout()->totalMinimumSize();
    };
    const bool alternative = state.derived.FixedPricePercentIs100;
    setCaptions(!alternative);
    QSize needed = minimum();
    setCaptions(alternative);
    needed = needed.expandedTo(minimum());
    setMinimumSize(needed);
    resize(QSize(786, 591).expandedTo(needed));
    if (QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void ParameterEditor::loadParameters()
{
    setCaptions(false);
    const QString path = QDir(state.dataFolder).absoluteFilePath(QString::fromLatin1(kParameterFileName));
    const ParameterLoad load = LoadParameterFile(path);
    if (!load.record) {
        const QString reason = load.missing ? QStringLiteral("%1: %2").arg(path, load.error) : load.error;
        closeAfterLoadFailure(reason);
        return;
    }
    okButton->setEnabled(true);
    state.parameters = *load.record;
    ParameterRecord &p = state.parameters;
    for (const Binding &b : Bindings()) {
        NumberEdit *e = edit(b.edit);
        e->setValue(FieldOf(p, b).get());
        shownText[size_t(b.edit)] = e->text();
    }
    shownCurrency = CurrencyWord(state.language);
    currencyEdit->setText(shownCurrency);
    secondBandLabel->setText(BandCaption(p.areaBandLimit1.get()));
    thirdBandLabel->setText(BandCaption(p.areaBandLimit2.get()));

    state.derived.FixedPricePercentIs100 =
        state.derived.HasFixedPricePercent && state.derived.FixedPricePercent.get() == 100.0L;
    setCaptions(state.derived.FixedPricePercentIs100);
    fitToCaptions();
    edit(14)->setFocus();
    edit(14)->selectAll();
}

void ParameterEditor::closeAfterLoadFailure(const QString &message)
{
    // The window is still being shown; it can close only once its event loop runs.
    okButton->setEnabled(false);
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Tablix"),
                            state.LanguageEntry(text::kParametersNotRead) + QStringLiteral("\n\n") + message,
                            QMessageBox::Ok, this);
            box.setObjectName(QStringLiteral("LoadErrorBox"));
            box.exec();
            reject();
        },
        Qt::QueuedConnection);
}

QString ParameterEditor::fieldName(int number) const
{
    const auto shown = [](const QLabel *l) { return l->text().replace(u'\n', u' ').trimmed(); };
    for (const auto &b : kBands) {
        if (number == b.limitEdit)
            return shown(headingLimits) + QStringLiteral(", ") + shown(rowLabel[size_t(b.limitEdit)]);
        if (number == b.valueEdit)
            return shown(headingValues) + QStringLiteral(", ") + shown(rowLabel[size_t(b.limitEdit)]);
    }
    for (const auto block : kElementBlocks)
        for (const auto &l : block)
            for (int c = 0; c < 3; ++c)
                if (l.edits[c] == number) {
                    const QLabel *heading = c == 0 ? headingPriceB[0] : c == 1 ? headingPriceA[0] : headingHeight[0];
                    return shown(rowLabel[size_t(l.edits[0])]) + QStringLiteral(", ") + shown(heading);
                }
    QString name = rowLabel[size_t(number)] ? shown(rowLabel[size_t(number)]) : QString();
    if (number == 91 || number == 92)
        name += u' ' + shown(number == 91 ? costItem3SecondLine : costItem4SecondLine);
    return name;
}

void ParameterEditor::refuse(QWidget *where, const QString &field, const QString &reason)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    state.LanguageEntry(text::kRefusedValue) + u'\n' + field + QStringLiteral("\n\n") + reason,
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("RefusedValueBox"));
    box.exec();
    where->setFocus();
    if (auto *line = qobject_cast<QLineEdit *>(where))
        line->selectAll();
}

void ParameterEditor::firstLimitEdited()
{
    secondBandLabel->setText(BandCaption(edit(4)->value()));
}

void ParameterEditor::secondLimitEdited()
{
    thirdBandLabel->setText(BandCaption(edit(5)->value()));
}

void ParameterEditor::thirdLimitEdited()
{
    edit(7)->setValue(edit(6)->value());
}

void ParameterEditor::priceListPercentEdited()
{
    state.derived.FixedPricePercentIs100 = edit(57)->value() == 100.0L;
    setCaptions(state.derived.FixedPricePercentIs100);
}

bool ParameterEditor::enterMovesFocus(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        return false;
    focusNextChild();
    return true;
}

bool ParameterEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Acts on the press, before the edit or a button sees the Enter.
    if (event->type() == QEvent::KeyPress && enterMovesFocus(static_cast<QKeyEvent *>(event)))
        return true;
    if (event->type() == QEvent::FocusOut) {
        if (watched == edit(4))
            firstLimitEdited();
        else if (watched == edit(5))
            secondLimitEdited();
        else if (watched == edit(6))
            thirdLimitEdited();
        else if (watched == edit(57))
            priceListPercentEdited();
    }
    return QDialog::eventFilter(watched, event);
}

void ParameterEditor::okClicked()
{
    if (!okButton->isEnabled())
        return;
    // Stored into a copy, so that a value too large or a failed write leaves memory as it was.
    ParameterRecord edited = state.parameters;
    for (const Binding &b : Bindings()) {
        NumberEdit *e = edit(b.edit);
        Real48 &field = FieldOf(edited, b);
        // An edit left as it was keeps the stored value, including decimals it does not show.
        if (e->text() == shownText[size_t(b.edit)]) {
            field = FieldOf(state.parameters, b);
        } else {
            try {
                field.set(e->value());
            } catch (const FloatingPointOverflow &) {
                ShowFloatingPointOverflow(this);
                e->setFocus();
                e->selectAll();
                return;
            }
        }
        // Checked whether typed or read: a damaged file's value is named like a typed one.
        const Limit limit = LimitOf(b);
        const long double v = field.get();
        QString reason;
        if (limit.kind == Limit::Above && !(v > limit.bound))
            reason = state.LanguageEntry(text::kMustBeGreaterThan) + u' ' + FormatFixed(limit.bound, 0, e->decimals());
        else if (limit.kind == Limit::NotNegative && !(v >= 0))
            reason = state.LanguageEntry(text::kMustNotBeNegative);
        if (!reason.isEmpty()) {
            refuse(e, fieldName(b.edit), reason);
            return;
        }
    }
    const QString currency = currencyEdit->text().trimmed();
    if (!IsUsableCurrency(currency)) {
        refuse(currencyEdit, currencyLabel->text(), state.LanguageEntry(text::kUnusableCurrency));
        return;
    }

    const QString path = QDir(state.dataFolder).absoluteFilePath(QString::fromLatin1(kParameterFileName));
    QString error;
    if (!WriteFileAtomically(path, SerializeParameterRecord(edited), &error)) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tablix"),
                        state.LanguageEntry(text::kParametersNotSaved) + QStringLiteral("\n\n") + error,
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("SaveErrorBox"));
        box.exec();
        return;
    }
    state.parameters = edited;
    state.RefreshParameters();
    if (currency != shownCurrency) {
        // Kept beside the parameter file, where the next start and the command-line tool find it.
        if (!WriteCurrencySetting(state.dataFolder, currency, &error)) {
            ShowIoError(this, error);
            currencyEdit->setFocus();
            return;
        }
        SetCurrencyWord(state.language, currency);
        shownCurrency = currency;
    }
    accept();
}

} // namespace tablix
