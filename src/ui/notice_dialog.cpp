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

    Label1 = Named<QLabel>(this, "Label1");
    Label2 = Named<QLabel>(this, "Label2");
    for (QLabel *l : {Label1, Label2}) {
        l->setWordWrap(true);
        l->setTextFormat(Qt::PlainText);
    }

    BitBtn1 = Named<QPushButton>(this, "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = Named<QPushButton>(this, "BitBtn2");
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto *text = new QVBoxLayout;
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
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
    BitBtn1->setText(state.LanguageEntry(text::kOk));
    BitBtn2->setText(state.LanguageEntry(text::kCancel));

    const QString &message = message_;
    const qsizetype split = message.indexOf(QLatin1Char('#'));
    Label1->setText(split < 0 ? message : message.left(split));
    Label2->setText(split < 0 ? QString() : message.mid(split + 1));
    Label2->setVisible(!Label2->text().isEmpty());

    // Short messages keep one line each; long ones wrap at a readable width.
    const QFontMetrics fm(Label1->font());
    const int widest = std::max(fm.horizontalAdvance(Label1->text()), fm.horizontalAdvance(Label2->text()));
    const int width = std::clamp(widest + 2, 240, kMaxLineWidth);
    Label1->setFixedWidth(width);
    Label2->setFixedWidth(width);
    BitBtn1->setFocus();
    QDialog::showEvent(event);
}

bool NoticeDialog::ask(const QString &message)
{
    message_ = message;
    return exec() == Accepted;
}

} // namespace tablix
