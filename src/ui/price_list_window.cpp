// PriceListWindow: the price list, every element's two prices as list prices or at a percentage.
#include "ui/price_list_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/widgets/named.h"
#include "core/number/number_format.h"
#include "core/pricing/price_list.h"
#include "core/project/app_state.h"
#include "ui/number_entry_dialog.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

// Form numbers of the label and the two edits of each row, in the order PriceListRows gives them.
struct RowControls {
    int label, first, second;
};
constexpr RowControls kControls[kPriceListRows] = {
    {1, 1, 2},    {2, 3, 4},    {3, 5, 6},    {4, 7, 8},    {5, 9, 10},   {14, 27, 30}, {15, 28, 31}, {6, 11, 12},
    {7, 13, 14},  {8, 15, 16},  {9, 17, 18},  {10, 19, 20}, {11, 21, 22}, {12, 23, 24}, {23, 45, 46}, {13, 25, 26},
    {16, 29, 32}, {17, 33, 34}, {18, 44, 35}, {19, 43, 36}, {20, 42, 37}, {21, 41, 38}, {22, 40, 39},
};
constexpr int kLeftRows = 12;

// A small cross-section of the element of a price-list row: frames and posts as a bar, panels
// with their strips, special profiles as a plain profile. Drawn for the screen's pixel ratio, so
// that it stays sharp on a scaled screen.
QPixmap ElementPicture(int elementRow, qreal devicePixelRatio)
{
    static constexpr int kStrips[23] = {0, 0, 0, 0, 1, 2, 1, 2, 3, 1, 4, 1, 0, 0, 0, 0, 1, 1, 2, 2, 3, 4, 1};
    QPixmap picture(QSize(36, 18) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(Qt::black);
    if (elementRow <= 3 || elementRow == 12 || elementRow == 13 || elementRow == 15) {
        // Frame, post and other profiles: a bar with its edge.
        p.setBrush(QColor(198, 200, 0));
        p.drawRect(1, 6, 33, 6);
        p.drawLine(4, 6, 4, 12);
    } else if (elementRow == 14) {
        p.setBrush(QColor(198, 200, 0));
        p.drawRect(1, 10, 33, 4);
    } else {
        p.setBrush(QColor(255, 255, 0));
        p.drawRect(1, 2, 33, 13);
        const int n = kStrips[elementRow];
        p.setBrush(QColor(100, 100, 100));
        for (int k = 0; k < n; ++k) {
            const int top = 4 + k * 10 / n;
            p.drawRect(3, top, 29, std::max(1, 8 / n));
        }
    }
    return picture;
}

} // namespace

PriceListWindow::PriceListWindow(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form12"));
    auto *outer = new QVBoxLayout(this);
    headingLabel = Named<QLabel>(this, "naglowek");
    headingLabel->setAlignment(Qt::AlignHCenter);
    QFont big = headingLabel->font();
    big.setBold(true);
    headingLabel->setFont(big);
    outer->addWidget(headingLabel);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    outer->addLayout(grid);
    for (int block = 0; block < 2; ++block) {
        const int column = block * 5;
        familyBHeadings[block] = Named<QLabel>(this, block == 0 ? QStringLiteral("kolor1") : QStringLiteral("kolor1b"));
        familyAHeadings[block] = Named<QLabel>(this, block == 0 ? QStringLiteral("kolor2") : QStringLiteral("kolor2b"));
        grid->addWidget(familyBHeadings[block], 0, column + 2, Qt::AlignHCenter);
        grid->addWidget(familyAHeadings[block], 0, column + 3, Qt::AlignHCenter);
    }
    const auto rows = PriceListRows(state.parameters, 1);
    for (int i = 0; i < kPriceListRows; ++i) {
        const int block = i < kLeftRows ? 0 : 1;
        const int gridRow = 1 + (block == 0 ? i : i - kLeftRows);
        const int column = block * 5;
        pictureLabels[i] = Named<QLabel>(this, QStringLiteral("Picture%1").arg(kControls[i].label));
        pictureLabels[i]->setPixmap(ElementPicture(rows[size_t(i)].elementRow, devicePixelRatioF()));
        grid->addWidget(pictureLabels[i], gridRow, column);
        rowLabels[i] = Named<QLabel>(this, QStringLiteral("Label%1").arg(kControls[i].label));
        grid->addWidget(rowLabels[i], gridRow, column + 1);
        for (int k = 0; k < 2; ++k) {
            const int number = k == 0 ? kControls[i].first : kControls[i].second;
            auto *edit = Named<QLineEdit>(this, QStringLiteral("Edit%1").arg(number));
            edit->setReadOnly(true);
            edit->setAlignment(Qt::AlignRight);
            edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000.00")) + 12);
            priceEdits[number - 1] = edit;
            grid->addWidget(edit, gridRow, column + 2 + k);
        }
    }
    grid->setColumnMinimumWidth(4, 16);

    okButton = Named<QPushButton>(this, "BitBtn1");
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    outer->addLayout(buttons);
}

void PriceListWindow::ShowListPrices()
{
    heading_ = state.LanguageEntry(text::kListPricesHeader);
    priceListFactor = 1;
    exec();
}

void PriceListWindow::ShowPercentPrices()
{
    // A read-only view: the percentage asked for here stays with this window and changes nothing
    // in the project.
    if (state.derived.HasFixedPricePercent) {
        priceListFactor = RoundToReal48(state.parameters.priceListPercent.get() * 0.01L);
        heading_ = state.LanguageEntry(text::kPercentPricesHeader);
    } else {
        Real48 proposed = askedPercent_;
        if (proposed.get() <= 0)
            proposed = state.derived.FixedPricePercent;
        if (proposed.get() <= 0)
            proposed.set(100);
        const std::optional<Real48> percent = windows.numberEntry().ask(NumberEntryDialog::Asks::PricePercent, proposed);
        if (!percent)
            return;
        askedPercent_ = *percent;
        priceListFactor = RoundToReal48(percent->get() * 0.01L);
        heading_ = state.LanguageEntry(text::kPercentPricesHeader) + u'\n'
                   + state.LanguageEntry(text::kPricePercentLabel) + FormatFixed(percent->get(), 0, 2) + u' '
                   + state.LanguageEntry(text::kPercentUnit).trimmed();
    }
    exec();
}

void PriceListWindow::showEvent(QShowEvent *event)
{
    setWindowTitle(state.LanguageEntry(text::kParameterEditorTitle));
    headingLabel->setText(heading_);
    for (int block = 0; block < 2; ++block) {
        familyBHeadings[block]->setText(state.LanguageEntry(text::kFamilyB));
        familyAHeadings[block]->setText(state.LanguageEntry(text::kFamilyA));
    }
    okButton->setText(state.LanguageEntry(text::kOk));
    const auto rows = PriceListRows(state.parameters, priceListFactor);
    for (int i = 0; i < kPriceListRows; ++i) {
        rowLabels[i]->setText(state.LanguageEntry(rows[size_t(i)].labelEntry).trimmed());
        // The window may have moved to a screen of another scale since the pictures were drawn.
        if (pictureLabels[i]->pixmap().devicePixelRatio() != devicePixelRatioF())
            pictureLabels[i]->setPixmap(ElementPicture(rows[size_t(i)].elementRow, devicePixelRatioF()));
        priceEdits[kControls[i].first - 1]->setText(FormatFixed(rows[size_t(i)].firstPrice, 0, 2));
        priceEdits[kControls[i].second - 1]->setText(FormatFixed(rows[size_t(i)].secondPrice, 0, 2));
    }
    QDialog::showEvent(event);
}

} // namespace tablix
