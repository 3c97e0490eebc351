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
    cancelButton = Named<QPushButton>(this, "BitBtn2");
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    refusalLabel = Named<QLabel>(this, "RefusalLabel");
    QPalette warning = refusalLabel->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    refusalLabel->setPalette(warning);
    refusalLabel->hide();

    auto *row = new QHBoxLayout;
    row->addWidget(promptLabel);
    row->addWidget(valueEdit);
    row->addWidget(unitLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *main = new QVBoxLayout(this);
    main->addLayout(row);
    main->addWidget(refusalLabel);
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
    cancelButton->setText(state.LanguageEntry(text::kCancel));
    refusalLabel->hide();
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
        // 0 is refused: the dialog stays open and says why, naming the field as the basics dialog does.
        QString field = promptLabel->text().trimmed();
        if (field.endsWith(QLatin1Char(':')))
            field.chop(1);
        refusalLabel->setText(field.trimmed() + QStringLiteral(": ") + state.LanguageEntry(text::kRefusedNotAboveZero));
        refusalLabel->show();
        valueEdit->setFocus();
        valueEdit->selectAll();
        return;
    }
    answer_ = number;
    accept();
}

} // namespace tablix
