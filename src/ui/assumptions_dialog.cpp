// AssumptionsDialog: the basic data of a sign: layout, sign type, width, quantity, price percentage, posts.
#include "ui/assumptions_dialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ui/widgets/layout_pictures.h"
#include "ui/widgets/named.h"
#include "ui/widgets/number_edit.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

// Layout 1..4 is chosen by RadioButton4, 3, 2, 1.
int layoutButtonNumber(int layout)
{
    return 5 - layout;
}

constexpr std::array<int, 6> kTypeEntries = {
    text::kSignType1, text::kSignType2, text::kClosingProfile, text::kSignType4, text::kSignType5, text::kSignType6,
};

QFrame *panel(QWidget *parent)
{
    auto *f = new QFrame(parent);
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

} // namespace

AssumptionsDialog::AssumptionsDialog(AppState &state, Windows &, QWidget *parent) : QDialog(parent), state(state)
{
    setObjectName(QStringLiteral("Form5"));
    for (int n = 1; n <= 10; ++n) {
        auto *b = new QRadioButton(this);
        b->setObjectName(QStringLiteral("RadioButton%1").arg(n));
        RadioButton[size_t(n)] = b;
    }
    for (int n = 1; n <= 8; ++n) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("Label%1").arg(n));
        Label[size_t(n)] = l;
    }
    auto edit = [this](const char *name, int decimals) {
        auto *e = new NumberEdit(decimals, this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    pvlCalcEdit1 = edit("pvlCalcEdit1", 2);
    pvlCalcEdit2 = edit("pvlCalcEdit2", 0);
    pvlCalcEdit3 = edit("pvlCalcEdit3", 2);
    pvlCalcEdit4 = edit("pvlCalcEdit4", 0);
    BitBtn1 = Named<QPushButton>(this, "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = Named<QPushButton>(this, "BitBtn2");
    connect(BitBtn1, &QPushButton::clicked, this, &AssumptionsDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    // Layouts: family A on the left, family B on the right; closed frame above, side posts below.
    auto *layouts = panel(this);
    auto *layoutGroup = new QButtonGroup(this);
    auto *layoutGrid = new QGridLayout(layouts);
    layoutGrid->setHorizontalSpacing(12);
    for (int layout = 1; layout <= 4; ++layout) {
        QRadioButton *b = layoutButton(layout);
        layoutGroup->addButton(b);
        auto *picture = new QLabel(layouts);
        picture->setObjectName(QStringLiteral("LayoutPicture%1").arg(layout));
        picture->setPixmap(LayoutPicture(layout, kLayoutPictureSize, devicePixelRatioF()));
        picture->setFixedSize(kLayoutPictureSize);
        // The place of a hidden picture stays, so the other buttons do not move.
        QSizePolicy keep = picture->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        picture->setSizePolicy(keep);
        picture->installEventFilter(this);
        pictures[size_t(layout)] = picture;
        b->setParent(layouts);
        const int row = (layout == 1 || layout == 3) ? 0 : 1;
        const int column = layout <= 2 ? 0 : 2;
        layoutGrid->addWidget(b, row, column);
        layoutGrid->addWidget(picture, row, column + 1);
    }

    auto *types = panel(this);
    auto *typeGroup = new QButtonGroup(this);
    auto *typeBox = new QVBoxLayout(types);
    for (int type = 1; type <= 6; ++type) {
        QRadioButton *b = RadioButton[size_t(type + 4)];
        b->setParent(types);
        typeGroup->addButton(b);
        typeBox->addWidget(b);
        connect(b, &QRadioButton::clicked, this, [this, type] { SignTypeClick(type); });
    }
    typeBox->addStretch();

    auto *values = new QGridLayout;
    const std::array<NumberEdit *, 4> edits = {pvlCalcEdit1, pvlCalcEdit2, pvlCalcEdit3, pvlCalcEdit4};
    for (int i = 0; i < 4; ++i) {
        values->addWidget(Label[size_t(i + 1)], i, 0);
        values->addWidget(edits[size_t(i)], i, 1);
        values->addWidget(Label[size_t(i + 5)], i, 2);
        Label[size_t(i + 1)]->setBuddy(edits[size_t(i)]);
    }
    values->setColumnStretch(3, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(layouts);
    top->addWidget(types);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addSpacing(6);
    main->addLayout(values);
    main->addSpacing(6);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(pvlCalcEdit1, pvlCalcEdit2);
    setTabOrder(pvlCalcEdit2, pvlCalcEdit3);
    setTabOrder(pvlCalcEdit3, pvlCalcEdit4);
    setTabOrder(pvlCalcEdit4, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
}

QRadioButton *AssumptionsDialog::layoutButton(int layout) const
{
    return RadioButton[size_t(layoutButtonNumber(layout))];
}

void AssumptionsDialog::showEvent(QShowEvent *event)
{
    const SignRecord &sign = state.currentSignRecord;
    const bool fixedPercent = state.derived.HasFixedPricePercent;
    for (QWidget *w : {static_cast<QWidget *>(pvlCalcEdit3), static_cast<QWidget *>(Label[3]),
                       static_cast<QWidget *>(Label[7])})
        w->setVisible(!fixedPercent);

    setWindowTitle(state.LanguageEntry(text::kAssumptionsTitle));
    for (int type = 1; type <= 6; ++type)
        RadioButton[size_t(type + 4)]->setText(state.LanguageEntry(kTypeEntries[size_t(type - 1)]));
    Label[1]->setText(state.LanguageEntry(text::kWidthLabel));
    Label[5]->setText(state.LanguageEntry(text::kLengthUnit));
    Label[2]->setText(state.LanguageEntry(text::kQuantityLabel));
    Label[6]->setText(state.LanguageEntry(text::kCountUnit));
    Label[3]->setText(state.LanguageEntry(text::kPricePercentLabel));
    Label[7]->setText(state.LanguageEntry(text::kCurrency));
    Label[4]->setText(state.LanguageEntry(text::kPostCountLabelType1));
    Label[8]->setText(state.LanguageEntry(text::kCountUnit));
    BitBtn1->setText(state.LanguageEntry(text::kOk));
    BitBtn2->setText(state.LanguageEntry(text::kCancel));

    pvlCalcEdit1->setValue(sign.width.get());
    pvlCalcEdit3->setValue(state.derived.FixedPricePercent.get());
    pvlCalcEdit4->setValue(sign.auxDimension.get());
    pvlCalcEdit2->setValue(sign.quantity.get());

    if (sign.layout >= 1 && sign.layout <= 4)
        layoutButton(sign.layout)->setChecked(true);
    if (sign.signType >= 1 && sign.signType <= 6) {
        RadioButton[size_t(sign.signType + 4)]->setChecked(true);
        SignTypeClick(sign.signType);
    }
    pvlCalcEdit1->setFocus();
    pvlCalcEdit1->selectAll();
    QDialog::showEvent(event);
}

void AssumptionsDialog::SignTypeClick(int signType)
{
    const bool posts = signType == 1 || signType == 2;
    if (posts)
        Label[4]->setText(state.LanguageEntry(signType == 1 ? text::kPostCountLabelType1 : text::kPostCountLabelType2));
    for (QWidget *w : {static_cast<QWidget *>(Label[4]), static_cast<QWidget *>(Label[8]),
                       static_cast<QWidget *>(pvlCalcEdit4), static_cast<QWidget *>(layoutButton(3)),
                       static_cast<QWidget *>(layoutButton(1))})
        w->setEnabled(posts);
    if (!posts) {
        if (layoutButton(3)->isChecked())
            layoutButton(4)->setChecked(true);
        if (layoutButton(1)->isChecked())
            layoutButton(2)->setChecked(true);
    }
    pictures[3]->setVisible(posts);
    pictures[1]->setVisible(posts);
}

void AssumptionsDialog::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    // A focused button takes Enter itself; elsewhere Shift or Ctrl with Enter means OK.
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
        BitBtn1->click();
    else
        focusNextChild();
}

bool AssumptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A click on a picture chooses its layout.
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int layout = 1; layout <= 4; ++layout) {
            if (watched == pictures[size_t(layout)] && layoutButton(layout)->isEnabled())
                layoutButton(layout)->click();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AssumptionsDialog::refuse(NumberEdit *edit)
{
    edit->setFocus();
    edit->selectAll();
}

void AssumptionsDialog::BitBtn1Click()
{
    const bool fixedPercent = state.derived.HasFixedPricePercent;
    if (pvlCalcEdit1->value() <= 0)
        return refuse(pvlCalcEdit1);
    if (pvlCalcEdit2->value() < 0)
        return refuse(pvlCalcEdit2);
    if (!fixedPercent && pvlCalcEdit3->value() <= 0)
        return refuse(pvlCalcEdit3);
    if (pvlCalcEdit4->value() < 0)
        return refuse(pvlCalcEdit4);

    // Stored into copies first, so that a value too large leaves the sign as it was.
    SignRecord sign = state.currentSignRecord;
    Real48 percent = state.derived.FixedPricePercent;
    try {
        sign.width.set(pvlCalcEdit1->value());
        percent.set(pvlCalcEdit3->value());
        sign.priceLevel = percent;
        sign.auxDimension.set(pvlCalcEdit4->value());
        sign.quantity.set(pvlCalcEdit2->value());
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
        return;
    }
    for (int layout = 1; layout <= 4; ++layout) {
        if (layoutButton(layout)->isChecked())
            sign.layout = std::uint8_t(layout);
    }
    for (int type = 1; type <= 6; ++type) {
        if (RadioButton[size_t(type + 4)]->isChecked())
            sign.signType = std::uint8_t(type);
    }
    if (sign.signType >= 3 && sign.signType <= 6)
        sign.auxDimension = Real48{};

    state.currentSignRecord = sign;
    state.derived.FixedPricePercent = percent;
    if (state.workingRows[0] != 0 && !sign.titleText().startsWith(QLatin1Char('!'))) {
        state.currentSignRecord.setTitle(state.AutoTitle());
        state.tabCaptions[size_t(state.currentSign - 1)] =
            TabCaption(state.language, state.currentSignRecord.titleText(), state.currentSign);
    }
    accept();
}

} // namespace tablix
