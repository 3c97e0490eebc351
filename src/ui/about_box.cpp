// AboutBox: the program's title, version and the maker's address, with mail and web links.
#include "ui/about_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrlQuery>
#include <QVBoxLayout>

#include "ui/widgets/named.h"
#include "core/project/app_state.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

// A framed sign board of four rows with their marked strips, drawn for the screen's pixel ratio.
QPixmap ProgramPicture(qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(64, 64) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(0, 0, 0));
    p.setBrush(QColor(128, 128, 128));
    p.drawRect(4, 6, 55, 51);
    for (int i = 0; i < 4; ++i) {
        const int y = 10 + i * 11;
        p.setBrush(i % 2 ? QColor(128, 128, 128) : QColor(255, 255, 0));
        p.drawRect(8, y, 47, 10);
        p.setBrush(i % 2 ? QColor(100, 100, 100) : QColor(198, 200, 0));
        p.drawRect(8, y + 3, 47, 3);
    }
    p.setBrush(QColor(255, 255, 0));
    p.drawRect(20, 55, 4, 8);
    p.drawRect(39, 55, 4, 8);
    return pixmap;
}

// A real link: the palette's link colour, reached with Tab and followed with Enter or a click.
QLabel *LinkLabel(const QString &text, const QUrl &url, const char *name, QWidget *parent)
{
    auto *label = Named<QLabel>(parent, QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                       .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), text.toHtmlEscaped()));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setOpenExternalLinks(true);
    label->setToolTip(url.toString());
    return label;
}

} // namespace

QUrl MakerMailUrl()
{
    QUrl url(QStringLiteral("mailto:") + QString::fromUtf8(kMakerMail));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QString::fromUtf8(kMakerMailSubject));
    url.setQuery(query);
    return url;
}

QUrl MakerWebUrl()
{
    return QUrl(QStringLiteral("http://") + QString::fromUtf8(kMakerWeb));
}

AboutBox::AboutBox(AppState &state, QWidget *parent) : QDialog(parent), state(state)
{
    setObjectName(QStringLiteral("AboutBox"));

    auto *panel = Named<QFrame>(this, "Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);

    auto *icon = Named<QLabel>(panel, "ProgramIcon");
    programIcon = icon;
    icon->setPixmap(ProgramPicture(devicePixelRatioF()));
    icon->setAlignment(Qt::AlignTop);

    auto *productName = Named<QLabel>(panel, "ProductName", QStringLiteral("Tablix ver. " TABLIX_VERSION));
    QFont titleFont = productName->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    productName->setFont(titleFont);

    commentLabel = Named<QLabel>(panel, "Comments");
    commentLabel->setWordWrap(true);

    auto *address = Named<QLabel>(panel, "Address",
                                  QString::fromUtf8(kMakerName) + QLatin1Char('\n') + QString::fromUtf8(kMakerStreet) +
                                      QLatin1Char('\n') + QString::fromUtf8(kMakerCity));
    mailLink = LinkLabel(QString::fromUtf8(kMakerMail), MakerMailUrl(), "MailLink", panel);
    webLink = LinkLabel(QString::fromUtf8(kMakerWeb), MakerWebUrl(), "WebLink", panel);

    auto *texts = new QVBoxLayout;
    texts->addWidget(productName);
    texts->addWidget(commentLabel);
    texts->addSpacing(8);
    texts->addWidget(address);
    texts->addWidget(mailLink);
    texts->addWidget(webLink);
    texts->addStretch();
    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(icon);
    panelLayout->addSpacing(8);
    panelLayout->addLayout(texts, 1);

    okButton = Named<QPushButton>(this, "OKButton");
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    setMinimumWidth(400);
}

void AboutBox::showEvent(QShowEvent *event)
{
    // The box may open on a screen of another scale than the one it was made for.
    if (programIcon->pixmap().devicePixelRatio() != devicePixelRatioF())
        programIcon->setPixmap(ProgramPicture(devicePixelRatioF()));
    setCaptions();
    QDialog::showEvent(event);
}

void AboutBox::setCaptions()
{
    setWindowTitle(state.LanguageEntry(text::kAboutTitle));
    okButton->setText(state.LanguageEntry(text::kOk));
    commentLabel->setText(state.LanguageEntry(text::kAboutComment));
    // The texts just set decide the height: a wrapped label needs the box laid out again.
    layout()->activate();
    resize(width(), heightForWidth(width()) > 0 ? heightForWidth(width()) : sizeHint().height());
}

} // namespace tablix
