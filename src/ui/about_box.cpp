// AboutBox: the program's title, version and the maker's address, with mail and web links.
#include "ui/about_box.h"

#include <QFocusEvent>
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

// A real link: reached with Tab and followed with Enter or a click, drawn in the palette's link
// colour (rich text would otherwise keep the colour of the palette it was first laid out with).
// Its link is selected as soon as Tab reaches it, so that Enter follows it at once.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString &text, const QUrl &url, QWidget *parent) : QLabel(parent), text_(text), url_(url)
    {
        setTextFormat(Qt::RichText);
        setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        setFocusPolicy(Qt::StrongFocus);
        setOpenExternalLinks(true);
        setToolTip(url.toString());
        showLink();
    }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QLabel::focusInEvent(event);
        if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
            QLabel::focusNextPrevChild(event->reason() == Qt::TabFocusReason);
    }

    void changeEvent(QEvent *event) override
    {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::PaletteChange)
            showLink();
    }

private:
    void showLink()
    {
        setText(QStringLiteral("<a href=\"%1\" style=\"color: %2\">%3</a>")
                    .arg(url_.toString(QUrl::FullyEncoded).toHtmlEscaped(), palette().color(QPalette::Link).name(),
                         text_.toHtmlEscaped()));
    }

    QString text_;
    QUrl url_;
};

QLabel *MakeLink(const QString &text, const QUrl &url, const char *name, QWidget *parent)
{
    auto *label = new LinkLabel(text, url, parent);
    label->setObjectName(QLatin1String(name));
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
    mailLink = MakeLink(QString::fromUtf8(kMakerMail), MakerMailUrl(), "MailLink", panel);
    webLink = MakeLink(QString::fromUtf8(kMakerWeb), MakerWebUrl(), "WebLink", panel);

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
