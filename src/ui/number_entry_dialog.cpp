// NumberEntryDialog: asks for one number, the export scale or the price percentage.
#include "ui/number_entry_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/main_window.h"
#include "ui/widgets/named.h"
#include "ui/widgets/number_edit.h"
#include "ui/widgets/title_room.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "ui/startup.h"
#include "core/params/language_entries.h"

namespace tablix {

NumberEntryDialog::NumberEntryDialog(AppState &state, Windows &windows, QWidget *parent)
    : QDialog(parent), state(state), windows(windows)
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
    unitLabel->setText(state.LanguageEntry(scale ? text::kPercentUnit : text::kCurrency));
    okButton->setText(state.LanguageEntry(text::kOk));
    valueEdit->setValue(scale ? state.exportScale.get() : state.derived.FixedPricePercent.get());
    valueEdit->setFocus();
    valueEdit->selectAll();
    QDialog::showEvent(event);
}

bool NumberEntryDialog::storeValue()
{
    const long double value = valueEdit->value();
    if (value <= 0) {
        valueEdit->setFocus();
        valueEdit->selectAll();
        return false;
    }
    try {
        if (asks_ == Asks::ExportScale) {
            Real48 scale = state.exportScale;
            scale.set(value);
            state.exportScale = scale;
        } else {
            Real48 percent = state.derived.FixedPricePercent;
            percent.set(value);
            state.derived.FixedPricePercent = percent;
            state.currentSignRecord.priceLevel = percent;
        }
    } catch (const FloatingPointOverflow &) {
        ShowFloatingPointOverflow(this);
        valueEdit->setFocus();
        return false;
    }
    stored_ = true;
    // Every drawing of the main window shows the new value.
    QWidget &main = windows.mainWindow();
    main.update();
    for (QWidget *child : main.findChildren<QWidget *>())
        child->update();
    return true;
}

bool NumberEntryDialog::ask(Asks what)
{
    asks_ = what;
    stored_ = false;
    exec();
    return stored_;
}

void NumberEntryDialog::okClicked()
{
    if (storeValue())
        accept();
}

void NumberEntryDialog::done(int result)
{
    // Closing in any other way stores a valid value too, and closes even when it is refused.
    if (result != Accepted && isVisible())
        storeValue();
    QDialog::done(result);
}

} // namespace tablix
