// NumberEntryDialog: asks for one number, the export scale or the price percentage.
#include "ui/number_entry_dialog.h"

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

NumberEntryDialog::NumberEntryDialog(AppState &state, Windows &, QWidget *parent) : QDialog(parent), state(state)
{
    setObjectName(QStringLiteral("Form13"));
    promptLabel = Named<QLabel>(this, "Label1");
    unitLabel = Named<QLabel>(this, "Label3");
    valueEdit = Named<NumberEdit>(this, "pvlCalcEdit1", 2);
    promptLabel->setBuddy(valueEdit);
    okButton = Named<QPushButton>(this, "BitBtn1");
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &NumberEntryDialog::okClicked);

    auto *row = new QHBoxLayout;
    row->addWidget(promptLabel);
    row->addWidget(valueEdit);
    row->addWidget(unitLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto *main = new QVBoxLayout(this);
    main->addLayout(row);
    main->addSpacing(8);
    main->addLayout(buttons);
    titleRoom = AddTitleRoom(main);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void NumberEntryDialog::showEvent(QShowEvent *event)
{
    const bool scale = asks_ == Asks::ExportScale;
    setWindowTitle(state.LanguageEntry(scale ? text::kExportScaleTitle : text::kPricePercentTitle));
    FitTitleRoom(this, titleRoom);
    promptLabel->setText(state.LanguageEntry(scale ? text::kExportScaleLabel : text::kPricePercentLabel));
    // Both are percentages; the currency word belongs to amounts.
    unitLabel->setText(state.LanguageEntry(text::kPercentUnit));
    okButton->setText(state.LanguageEntry(text::kOk));
    valueEdit->setValue(shown_.get());
    valueEdit->setFocus();
    valueEdit->selectAll();
    QDialog::showEvent(event);
}

std::optional<Real48> NumberEntryDialog::ask(Asks what, Real48 shown)
{
    asks_ = what;
    shown_ = shown;
    answer_.reset();
    exec();
    return result() == Accepted ? answer_ : std::nullopt;
}

void NumberEntryDialog::okClicked()
{
    const long double value = valueEdit->value();
    Real48 number;
    try {
        if (value > 0)
            number.set(value);
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
        valueEdit->setFocus();
        return;
    }
    if (value <= 0) {
        // 0 is refused: the dialog stays open.
        valueEdit->setFocus();
        valueEdit->selectAll();
        return;
    }
    answer_ = number;
    accept();
}

} // namespace tablix
