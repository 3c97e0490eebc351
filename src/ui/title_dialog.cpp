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
    titleEdit = Named<QLineEdit>(this, "Edit1");
    titleEdit->setMaxLength(kTitleLength);
    titleEdit->setMinimumWidth(titleEdit->fontMetrics().horizontalAdvance(QString(kTitleLength + 4, QLatin1Char('x'))));
    automaticBox = Named<QCheckBox>(this, "CheckBox1");
    // Only the user's click fills the edit; the caller's setChecked before showing must not.
    connect(automaticBox, &QCheckBox::clicked, this, &TitleDialog::automaticClicked);
    // A title set by hand is stored after a "!", so it has room for one character less than an
    // automatic one.
    connect(automaticBox, &QCheckBox::toggled, this,
            [this](bool automatic) { titleEdit->setMaxLength(automatic ? kTitleLength : kTitleLength - 1); });
    connect(titleEdit, &QLineEdit::textEdited, this, &TitleDialog::titleTyped);

    okButton = Named<QPushButton>(this, "BitBtn1");
    okButton->setDefault(true);
    cancelButton = Named<QPushButton>(this, "BitBtn2");
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *main = new QVBoxLayout(this);
    main->addWidget(titleEdit);
    main->addWidget(automaticBox);
    main->addSpacing(8);
    main->addLayout(buttons);
    titleRoom = AddTitleRoom(main);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void TitleDialog::SetTitleForEditing(const QString &title)
{
    const bool byHand = title.startsWith(QLatin1Char('!'));
    automaticBox->setChecked(!byHand);
    titleEdit->setText(byHand ? title.mid(1) : title);
}

void TitleDialog::showEvent(QShowEvent *event)
{
    setWindowTitle(state.LanguageEntry(text::kSignTitle));
    FitTitleRoom(this, titleRoom);
    automaticBox->setText(state.LanguageEntry(text::kAutomaticTitle));
    okButton->setText(state.LanguageEntry(text::kOk));
    cancelButton->setText(state.LanguageEntry(text::kCancel));
    manualTitleText = automaticBox->isChecked()
                                ? state.LanguageEntry(text::kUntitledSign) + QString::number(state.currentSign)
                                : titleEdit->text();
    titleEdit->setFocus();
    titleEdit->selectAll();
    QDialog::showEvent(event);
}

std::optional<TitleAnswer> TitleDialog::ask(const QString &title)
{
    SetTitleForEditing(title);
    if (exec() != Accepted)
        return std::nullopt;
    return TitleAnswer{titleEdit->text(), automaticBox->isChecked()};
}

void TitleDialog::automaticClicked()
{
    titleEdit->setText(automaticBox->isChecked() ? state.AutoTitle() : manualTitleText);
}

void TitleDialog::titleTyped()
{
    // Typing makes the title one set by hand; unticking later brings this text back.
    automaticBox->setChecked(false);
    manualTitleText = titleEdit->text();
}

} // namespace tablix
