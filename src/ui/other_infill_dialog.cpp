// OtherInfillDialog: the height of an other-infill row and an extra amount for the sign.
#include "ui/other_infill_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/widgets/named.h"
#include "ui/widgets/number_edit.h"
#include "ui/widgets/title_room.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"

namespace tablix {

OtherInfillDialog::OtherInfillDialog(AppState &state, Windows &, QWidget *parent) : QDialog(parent), state(state)
{
    setObjectName(QStringLiteral("Form9"));
    auto label = [this](const char *name) { return Named<QLabel>(this, name); };
    Label1 = label("Label1");
    Label2 = label("Label2");
    Label3 = label("Label3");
    Label4 = label("Label4");
    pvlCalcEdit1 = Named<NumberEdit>(this, "pvlCalcEdit1", 2);
    pvlCalcEdit2 = Named<NumberEdit>(this, "pvlCalcEdit2", 2);
    // An extra amount may be a discount.
    pvlCalcEdit2->setAllowNegative(true);
    Label1->setBuddy(pvlCalcEdit1);
    Label2->setBuddy(pvlCalcEdit2);

    BitBtn1 = Named<QPushButton>(this, "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = Named<QPushButton>(this, "BitBtn2");
    connect(BitBtn1, &QPushButton::clicked, this, &OtherInfillDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(pvlCalcEdit1, 0, 1);
    grid->addWidget(Label3, 0, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(pvlCalcEdit2, 1, 1);
    grid->addWidget(Label4, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addSpacing(8);
    main->addLayout(buttons);
    titleRoom = AddTitleRoom(main);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void OtherInfillDialog::showEvent(QShowEvent *event)
{
    setWindowTitle(state.LanguageEntry(text::kOtherInfill));
    FitTitleRoom(this, titleRoom);
    Label1->setText(state.LanguageEntry(text::kInfillHeightLabel));
    Label2->setText(state.LanguageEntry(text::kExtraCostLabel));
    Label3->setText(state.LanguageEntry(text::kLengthUnit));
    Label4->setText(state.LanguageEntry(text::kCurrency));
    BitBtn1->setText(state.LanguageEntry(text::kOk));
    BitBtn2->setText(state.LanguageEntry(text::kCancel));
    pvlCalcEdit1->setValue(state.currentSignRecord.infillHeight.get());
    pvlCalcEdit2->setValue(state.currentSignRecord.extraCost.get());
    pvlCalcEdit1->setFocus();
    pvlCalcEdit1->selectAll();
    QDialog::showEvent(event);
}

void OtherInfillDialog::BitBtn1Click()
{
    SignRecord sign = state.currentSignRecord;
    try {
        sign.infillHeight.set(pvlCalcEdit1->value());
        sign.extraCost.set(pvlCalcEdit2->value());
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
        return;
    }
    state.currentSignRecord = sign;
    accept();
}

} // namespace tablix
