// OtherInfillDialog: the height of an other-infill row and an extra amount for the sign.
#include "ui/other_infill_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <cmath>

#include "ui/widgets/named.h"
#include "ui/widgets/number_edit.h"
#include "ui/widgets/title_room.h"
#include "core/number/number_format.h"
#include "core/project/app_state.h"
#include "core/document/project_document.h"
#include "core/project/project_check.h"
#include "ui/window_set.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"

namespace tablix {

OtherInfillDialog::OtherInfillDialog(AppState &state, Windows &windows, QWidget *parent) : QDialog(parent), state(state), windows(windows)
{
    setObjectName(QStringLiteral("Form9"));
    heightLabel = Named<QLabel>(this, "Label1");
    extraCostLabel = Named<QLabel>(this, "Label2");
    heightUnit = Named<QLabel>(this, "Label3");
    extraCostUnit = Named<QLabel>(this, "Label4");
    heightEdit = Named<NumberEdit>(this, "pvlCalcEdit1", 2);
    extraCostEdit = Named<NumberEdit>(this, "pvlCalcEdit2", 2);
    // An extra amount may be a discount.
    extraCostEdit->setAllowNegative(true);
    heightLabel->setBuddy(heightEdit);
    extraCostLabel->setBuddy(extraCostEdit);

    okButton = Named<QPushButton>(this, "BitBtn1");
    okButton->setDefault(true);
    cancelButton = Named<QPushButton>(this, "BitBtn2");
    connect(okButton, &QPushButton::clicked, this, &OtherInfillDialog::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(heightLabel, 0, 0);
    grid->addWidget(heightEdit, 0, 1);
    grid->addWidget(heightUnit, 0, 2);
    grid->addWidget(extraCostLabel, 1, 0);
    grid->addWidget(extraCostEdit, 1, 1);
    grid->addWidget(extraCostUnit, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
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
    heightLabel->setText(state.LanguageEntry(text::kInfillHeightLabel));
    extraCostLabel->setText(state.LanguageEntry(text::kExtraCostLabel));
    heightUnit->setText(state.LanguageEntry(text::kLengthUnit));
    extraCostUnit->setText(state.LanguageEntry(text::kCurrency));
    okButton->setText(state.LanguageEntry(text::kOk));
    cancelButton->setText(state.LanguageEntry(text::kCancel));
    heightEdit->setValue(state.currentSignRecord.infillHeight.get());
    extraCostEdit->setValue(state.currentSignRecord.extraCost.get());
    heightEdit->setFocus();
    heightEdit->selectAll();
    QDialog::showEvent(event);
}

void OtherInfillDialog::okClicked()
{
    if (std::fabs(extraCostEdit->value()) > kMaxExtraCost) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Tablix"),
                        state.LanguageEntry(text::kRefusedValue) + QLatin1Char(' ') + extraCostLabel->text() + QLatin1Char(' ')
                            + state.LanguageEntry(text::kRefusedAboveLimit).arg(FormatFixed(kMaxExtraCost, 0, 0)),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("RefusedValueBox"));
        box.exec();
        extraCostEdit->setFocus();
        return;
    }
    SignRecord sign = state.currentSignRecord;
    try {
        sign.infillHeight.set(heightEdit->value());
        sign.extraCost.set(extraCostEdit->value());
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
        return;
    }
    windows.document().ChangeSign(sign, text::kStepConstruction);
    accept();
}

} // namespace tablix
