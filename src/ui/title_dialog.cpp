// TitleDialog: the title of a sign, typed by hand or taken automatically.
#include "ui/title_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "ui/widgets/named.h"
#include "ui/widgets/title_room.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

namespace tablix {

TitleDialog::TitleDialog(AppState &state, Windows &, QWidget *parent) : QDialog(parent), state(state)
{
    setObjectName(QStringLiteral("Form10"));
    Edit1 = Named<QLineEdit>(this, "Edit1");
    Edit1->setMaxLength(kTitleLength);
    Edit1->setMinimumWidth(Edit1->fontMetrics().horizontalAdvance(QString(kTitleLength + 4, QLatin1Char('x'))));
    CheckBox1 = Named<QCheckBox>(this, "CheckBox1");
    // Only the user's click fills the edit; the caller's setChecked before showing must not.
    connect(CheckBox1, &QCheckBox::clicked, this, &TitleDialog::automaticClicked);

    BitBtn1 = Named<QPushButton>(this, "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = Named<QPushButton>(this, "BitBtn2");
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *main = new QVBoxLayout(this);
    main->addWidget(Edit1);
    main->addWidget(CheckBox1);
    main->addSpacing(8);
    main->addLayout(buttons);
    titleRoom = AddTitleRoom(main);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void TitleDialog::SetTitleForEditing(const QString &title)
{
    const bool byHand = title.startsWith(QLatin1Char('!'));
    Edit1->setText(byHand ? title.mid(1) : title);
    CheckBox1->setChecked(!byHand);
}

void TitleDialog::showEvent(QShowEvent *event)
{
    setWindowTitle(state.LanguageEntry(text::kSignTitle));
    FitTitleRoom(this, titleRoom);
    CheckBox1->setText(state.LanguageEntry(text::kAutomaticTitle));
    BitBtn1->setText(state.LanguageEntry(text::kOk));
    BitBtn2->setText(state.LanguageEntry(text::kCancel));
    manualTitleText = CheckBox1->isChecked()
                                ? state.LanguageEntry(text::kUntitledSign) + QString::number(state.currentSign)
                                : Edit1->text();
    Edit1->setFocus();
    Edit1->selectAll();
    QDialog::showEvent(event);
}

std::optional<TitleAnswer> TitleDialog::ask(const QString &title)
{
    SetTitleForEditing(title);
    if (exec() != Accepted)
        return std::nullopt;
    return TitleAnswer{Edit1->text(), CheckBox1->isChecked()};
}

void TitleDialog::automaticClicked()
{
    Edit1->setText(CheckBox1->isChecked() ? state.AutoTitle() : manualTitleText);
}

} // namespace tablix
