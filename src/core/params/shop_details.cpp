// The shop's details for its quotes: checked field by field, kept in the data folder's settings.
#include "core/params/shop_details.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QSettings>
#include <QSvgRenderer>

#include "core/files/atomic_file.h"
#include "core/files/input_file.h"
#include "core/params/language_entries.h"
#include "core/params/settings.h"

namespace tablix {

namespace {

constexpr int kMaxLineLength = 120;
constexpr int kMaxBlockLength = 1200;
constexpr int kMaxAddressLines = 6;
constexpr int kMaxTermsLines = 12;

bool Printable(const QString &text, bool lines)
{
    for (const QChar c : text) {
        if (lines && c == QLatin1Char('\n'))
            continue;
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    }
    return true;
}

bool UsableLine(const QString &text)
{
    return text.size() <= kMaxLineLength && Printable(text, false);
}

bool UsableBlock(const QString &text, int maxLines)
{
    return text.size() <= kMaxBlockLength && text.count(QLatin1Char('\n')) < maxLines && Printable(text, true);
}

QString Normalised(const QString &block)
{
    QString text = block;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = line.trimmed();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(QLatin1Char('\n'));
}

bool IsEmail(const QString &text)
{
    static const QRegularExpression email(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    return email.match(text).hasMatch();
}

std::optional<int> WholeNumber(const QString &text, int least, int largest)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const qlonglong n = text.toLongLong();
    if (n < least || n > largest)
        return std::nullopt;
    return int(n);
}

QString Key(const char *name)
{
    return QStringLiteral("shop/") + QLatin1String(name);
}

bool IsLogoName(const QString &name)
{
    return name == QLatin1String("shop-logo.png") || name == QLatin1String("shop-logo.svg");
}

} // namespace

bool ShopDetails::identityEmpty() const
{
    return name.isEmpty() && address.isEmpty() && phone.isEmpty() && email.isEmpty() && web.isEmpty() &&
           taxNumber.isEmpty() && bankAccount.isEmpty() && logo.isEmpty();
}

std::optional<int> ParseTaxRate(const QString &raw)
{
    static const QRegularExpression rate(QStringLiteral("^([0-9]{1,3})(?:[.,]([0-9]{1,2}))?$"));
    const QRegularExpressionMatch m = rate.match(raw.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    QString fraction = m.captured(2);
    while (fraction.size() < 2)
        fraction += QLatin1Char('0');
    const int hundredths = m.captured(1).toInt() * 100 + fraction.toInt();
    if (hundredths > 10000)
        return std::nullopt;
    return hundredths;
}

bool IsQuoteNumberPattern(const QString &pattern)
{
    if (!UsableLine(pattern) || pattern.size() > 40)
        return false;
    static const QRegularExpression token(QStringLiteral("\\{(year|n|n:[1-9])\\}"));
    QString rest = pattern;
    int numbers = 0;
    for (auto it = token.globalMatch(pattern); it.hasNext();)
        if (it.next().captured(1).startsWith(QLatin1Char('n')))
            ++numbers;
    rest.remove(token);
    return numbers == 1 && !rest.contains(QLatin1Char('{')) && !rest.contains(QLatin1Char('}'));
}

QString FormatQuoteNumber(const QString &pattern, int n, QDate date)
{
    if (!IsQuoteNumberPattern(pattern))
        return QString::number(n);
    static const QRegularExpression token(QStringLiteral("\\{(year|n|n:[1-9])\\}"));
    QString out;
    qsizetype at = 0;
    for (auto it = token.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += pattern.mid(at, m.capturedStart() - at);
        const QString what = m.captured(1);
        if (what == QLatin1String("year"))
            out += QString::number(date.year());
        else
            out += QStringLiteral("%1").arg(n, what.size() > 1 ? what.mid(2).toInt() : 0, 10, QLatin1Char('0'));
        at = m.capturedEnd();
    }
    return out + pattern.mid(at);
}

ShopDetailsTexts TextsOfShopDetails(const ShopDetails &shop, QChar decimal)
{
    ShopDetailsTexts t;
    t.name = shop.name;
    t.address = shop.address;
    t.phone = shop.phone;
    t.email = shop.email;
    t.web = shop.web;
    t.taxNumber = shop.taxNumber;
    t.bankAccount = shop.bankAccount;
    t.logo = shop.logo;
    if (shop.taxRate) {
        t.taxRate = QString::number(*shop.taxRate / 100);
        if (*shop.taxRate % 100)
            t.taxRate += decimal + QStringLiteral("%1").arg(*shop.taxRate % 100, 2, 10, QLatin1Char('0'));
    }
    t.pricesGross = shop.pricesGross;
    t.numberPattern = shop.numberPattern;
    t.nextNumber = QString::number(shop.nextNumber);
    t.validityDays = QString::number(shop.validityDays);
    t.terms = shop.terms;
    return t;
}

std::optional<ShopDetails> ShopDetailsFromTexts(const ShopDetailsTexts &t, const LanguageTable &language, QString *refusal,
                                                int *field)
{
    ShopDetails shop;
    const auto refuse = [&](int label, const QString &reason) -> std::optional<ShopDetails> {
        if (refusal)
            *refusal = language.LanguageEntry(text::kRefusedValue) + QLatin1Char(' ') + language.LanguageEntry(label) +
                       QLatin1Char(' ') + reason;
        if (field)
            *field = label;
        return std::nullopt;
    };
    const QString badText = language.LanguageEntry(text::kRefusedText);
    // Only a message that is asked for is filled in: the settings reader passes no language.
    const auto range = [&](int least, int largest) {
        return refusal ? language.LanguageEntry(text::kRefusedWholeNumber).arg(least).arg(largest) : QString();
    };
    const struct {
        const QString &text;
        QString &into;
        int label;
    } lines[] = {{t.name, shop.name, text::kShopName},           {t.phone, shop.phone, text::kShopPhone},
                 {t.email, shop.email, text::kShopEmail},        {t.web, shop.web, text::kShopWeb},
                 {t.taxNumber, shop.taxNumber, text::kShopTaxNumber}, {t.bankAccount, shop.bankAccount, text::kShopBankAccount}};
    for (const auto &line : lines) {
        line.into = line.text.trimmed();
        if (!UsableLine(line.into))
            return refuse(line.label, badText);
    }
    if (!shop.email.isEmpty() && !IsEmail(shop.email))
        return refuse(text::kShopEmail, language.LanguageEntry(text::kRefusedEmail));
    if (!shop.web.isEmpty() && shop.web.contains(QLatin1Char(' ')))
        return refuse(text::kShopWeb, badText);
    shop.address = Normalised(t.address);
    if (!UsableBlock(shop.address, kMaxAddressLines))
        return refuse(text::kShopAddress, badText);
    shop.terms = Normalised(t.terms);
    if (!UsableBlock(shop.terms, kMaxTermsLines))
        return refuse(text::kShopTerms, badText);
    shop.logo = t.logo.trimmed();
    if (!shop.logo.isEmpty() && !IsLogoName(shop.logo))
        return refuse(text::kShopLogo, language.LanguageEntry(text::kRefusedLogo).arg(kMaxLogoBytes / 1024));
    if (!t.taxRate.trimmed().isEmpty()) {
        shop.taxRate = ParseTaxRate(t.taxRate);
        if (!shop.taxRate)
            return refuse(text::kShopTaxRate, language.LanguageEntry(text::kRefusedTaxRate));
    }
    shop.pricesGross = t.pricesGross;
    shop.numberPattern = t.numberPattern.trimmed();
    if (!shop.numberPattern.isEmpty() && !IsQuoteNumberPattern(shop.numberPattern))
        return refuse(text::kShopNumberPattern, language.LanguageEntry(text::kRefusedNumberPattern));
    const auto whole = [&](const QString &text, int least, int largest, int fallback, int &into) {
        if (text.trimmed().isEmpty()) {
            into = fallback;
            return true;
        }
        const std::optional<int> n = WholeNumber(text.trimmed(), least, largest);
        if (n)
            into = *n;
        return n.has_value();
    };
    if (!whole(t.nextNumber, 1, kMaxQuoteNumber, 1, shop.nextNumber))
        return refuse(text::kShopNextNumber, range(1, kMaxQuoteNumber));
    if (!whole(t.validityDays, 0, kMaxValidityDays, 30, shop.validityDays))
        return refuse(text::kShopValidityDays, range(0, kMaxValidityDays));
    return shop;
}

ShopDetails ReadShopDetails(const QString &workdir, QString *error)
{
    ShopDetails shop;
    ReadSettings(
        workdir,
        [&](const QSettings &s) {
            const auto text = [&](const char *key) { return s.value(Key(key)).toString(); };
            // Field by field, so that one value edited by hand to nonsense costs only that value.
            const LanguageTable none;
            const auto keep = [&](auto assign) {
                ShopDetailsTexts one;
                assign(one);
                if (const std::optional<ShopDetails> parsed = ShopDetailsFromTexts(one, none, nullptr))
                    return parsed;
                return std::optional<ShopDetails>();
            };
            if (auto p = keep([&](ShopDetailsTexts &o) { o.name = text("name"); }))
                shop.name = p->name;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.address = text("address"); }))
                shop.address = p->address;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.phone = text("phone"); }))
                shop.phone = p->phone;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.email = text("email"); }))
                shop.email = p->email;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.web = text("web"); }))
                shop.web = p->web;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.taxNumber = text("taxNumber"); }))
                shop.taxNumber = p->taxNumber;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.bankAccount = text("bankAccount"); }))
                shop.bankAccount = p->bankAccount;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.logo = text("logo"); }))
                shop.logo = p->logo;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.taxRate = text("taxRate"); }))
                shop.taxRate = p->taxRate;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.numberPattern = text("numberPattern"); }))
                shop.numberPattern = p->numberPattern;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.nextNumber = text("nextNumber"); }))
                shop.nextNumber = p->nextNumber;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.validityDays = text("validityDays"); }))
                shop.validityDays = p->validityDays;
            if (auto p = keep([&](ShopDetailsTexts &o) { o.terms = text("terms"); }))
                shop.terms = p->terms;
            shop.pricesGross = s.value(Key("pricesGross")).toBool();
        },
        error);
    return shop;
}

bool WriteShopDetails(const QString &workdir, const ShopDetails &shop, QString *error)
{
    return EditSettings(
        workdir,
        [&](QSettings &s) {
            const auto put = [&](const char *key, const QString &value) {
                if (value.isEmpty())
                    s.remove(Key(key));
                else
                    s.setValue(Key(key), value);
            };
            put("name", shop.name);
            put("address", shop.address);
            put("phone", shop.phone);
            put("email", shop.email);
            put("web", shop.web);
            put("taxNumber", shop.taxNumber);
            put("bankAccount", shop.bankAccount);
            put("logo", shop.logo);
            put("taxRate", shop.taxRate ? TextsOfShopDetails(shop, QLatin1Char('.')).taxRate : QString());
            s.setValue(Key("pricesGross"), shop.pricesGross);
            put("numberPattern", shop.numberPattern);
            s.setValue(Key("nextNumber"), shop.nextNumber);
            s.setValue(Key("validityDays"), shop.validityDays);
            put("terms", shop.terms);
        },
        error);
}

bool WriteNextQuoteNumber(const QString &workdir, int next, QString *error)
{
    return EditSettings(workdir, [&](QSettings &s) { s.setValue(Key("nextNumber"), next); }, error);
}

bool CopyShopLogo(const QString &workdir, const QString &source, QString *storedName, QString *error)
{
    const InputFile file = ReadInputFile(source, kMaxLogoBytes, false, QStringLiteral("an image"));
    if (!file.bytes) {
        if (error)
            *error = file.error;
        return false;
    }
    QString name;
    if (QImage::fromData(*file.bytes, "PNG").isNull()) {
        QSvgRenderer svg(*file.bytes);
        if (!svg.isValid() || svg.defaultSize().isEmpty()) {
            if (error)
                *error = QStringLiteral("%1: not a PNG or SVG image").arg(source);
            return false;
        }
        name = QStringLiteral("shop-logo.svg");
    } else {
        name = QStringLiteral("shop-logo.png");
    }
    if (!WriteFileAtomically(QDir(workdir).filePath(name), *file.bytes, error))
        return false;
    if (storedName)
        *storedName = name;
    return true;
}

QImage ShopLogoImage(const QString &workdir, const QString &logo, QSize box)
{
    if (!IsLogoName(logo) || box.isEmpty())
        return {};
    const InputFile file = ReadInputFile(QDir(workdir).filePath(logo), kMaxLogoBytes, false, QStringLiteral("an image"));
    if (!file.bytes)
        return {};
    QImage picture;
    QSize natural;
    QSvgRenderer svg;
    if (logo.endsWith(QLatin1String(".png"))) {
        picture = QImage::fromData(*file.bytes, "PNG");
        natural = picture.size();
    } else if (svg.load(*file.bytes)) {
        natural = svg.defaultSize();
    }
    if (natural.isEmpty())
        return {};
    const QSize size = natural.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!picture.isNull())
        painter.drawImage(QRect(QPoint(0, 0), size), picture);
    else
        svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return out;
}

} // namespace tablix
