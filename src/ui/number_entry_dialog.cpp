// NumberEntryDialog: asks for one number, the export scale or the price percentage.
#include "ui/number_entry_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
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
    RepaintMainWindow = [] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (!qobject_cast<QMainWindow *>(top))
                continue;
            top->update();
            for (QWidget *child : top->findChildren<QWidget *>())
                child->update();
        }
    };

    Label1 = Named<QLabel>(this, "Label1");
    Label3 = Named<QLabel>(this, "Label3");
    pvlCalcEdit1 = Named<NumberEdit>(this, "pvlCalcEdit1", 2);
    Label1->setBuddy(pvlCalcEdit1);
    BitBtn1 = Named<QPushButton>(this, "BitBtn1");
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &NumberEntryDialog::okClicked);

    auto *row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(pvlCalcEdit1);
    row->addWidget(Label3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
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
    Label1->setText(state.LanguageEntry(scale ? text::kExportScaleLabel : text::kPricePercentLabel));
    Label3->setText(state.LanguageEntry(scale ? text::kPercentUnit : text::kCurrency));
    BitBtn1->setText(state.LanguageEntry(text::kOk));
    pvlCalcEdit1->setValue(scale ? state.exportScale.get() : state.derived.FixedPricePercent.get());
    pvlCalcEdit1->setFocus();
    pvlCalcEdit1->selectAll();
    QDialog::showEvent(event);
}

bool NumberEntryDialog::storeValue()
{
    const long double value = pvlCalcEdit1->value();
    if (value <= 0) {
        pvlCalcEdit1->setFocus();
        pvlCalcEdit1->selectAll();
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
        pvlCalcEdit1->setFocus();
        return false;
    }
    stored_ = true;
    if (RepaintMainWindow)
        RepaintMainWindow();
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
