// NoticeDialog: the notice, a yes/no question; a "#" in its text starts the second line.
#include "ui/notice_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "ui/widgets/named.h"
#include "ui/widgets/title_room.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

constexpr int kMaxLineWidth = 520;

} // namespace

NoticeDialog::NoticeDialog(AppState &state, Windows &, QWidget *parent) : QDialog(parent), state(state)
{
    setObjectName(QStringLiteral("Form8"));
    auto *icon = Named<QLabel>(this, "Icon");
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    firstLine = Named<QLabel>(this, "Label1");
    secondLine = Named<QLabel>(this, "Label2");
    for (QLabel *l : {firstLine, secondLine}) {
        l->setWordWrap(true);
        l->setTextFormat(Qt::PlainText);
    }

    okButton = Named<QPushButton>(this, "BitBtn1");
    okButton->setDefault(true);
    cancelButton = Named<QPushButton>(this, "BitBtn2");
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *text = new QVBoxLayout;
    text->addWidget(firstLine);
    text->addWidget(secondLine);
    text->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addSpacing(8);
    main->addLayout(buttons);
    titleRoom = AddTitleRoom(main);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void NoticeDialog::showEvent(QShowEvent *event)
{
    setWindowTitle(state.LanguageEntry(text::kNoticeTitle));
    FitTitleRoom(this, titleRoom);
    okButton->setText(state.LanguageEntry(text::kOk));
    cancelButton->setText(state.LanguageEntry(text::kCancel));

    const QString &message = message_;
    const qsizetype split = message.indexOf(QLatin1Char('#'));
    firstLine->setText(split < 0 ? message : message.left(split));
    secondLine->setText(split < 0 ? QString() : message.mid(split + 1));
    secondLine->setVisible(!secondLine->text().isEmpty());

    // Short messages keep one line each; long ones wrap at a readable width.
    const QFontMetrics fm(firstLine->font());
    const int widest = std::max(fm.horizontalAdvance(firstLine->text()), fm.horizontalAdvance(secondLine->text()));
    const int width = std::clamp(widest + 2, 240, kMaxLineWidth);
    firstLine->setFixedWidth(width);
    secondLine->setFixedWidth(width);
    okButton->setFocus();
    QDialog::showEvent(event);
}

bool NoticeDialog::ask(const QString &message)
{
    message_ = message;
    return exec() == Accepted;
}

} // namespace tablix
