// The quote's details per project: a small JSON file beside the project, read bounded and checked.
#include "core/render/quote_details.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "core/files/atomic_file.h"
#include "core/files/input_file.h"
#include "core/params/language_entries.h"

namespace tablix {

namespace {

constexpr qint64 kDetailsFileLimit = 64 * 1024;
constexpr int kMaxLine = 120;
constexpr int kMaxBlock = 2000;

struct Field {
    const char *key;
    bool lines;
    const char *help;
};
constexpr Field kFields[] = {
    {"customerName", false, "the customer's name, the first line of the address block"},
    {"customerAddress", true, "the customer's address, lines separated by \\n"},
    {"number", false, "the quote's number; empty or absent takes the shop's next number"},
    {"date", false, "the quote's date, YYYY-MM-DD; absent is the day it is written"},
    {"validUntil", false, "YYYY-MM-DD; absent is the date plus the shop's days of validity"},
    {"reference", false, "the customer's reference or the job's name"},
    {"notes", true, "notes printed under the totals, lines separated by \\n"},
};

bool Printable(const QString &text, bool lines)
{
    if (text.size() > (lines ? kMaxBlock : kMaxLine))
        return false;
    for (const QChar c : text)
        if ((c.category() == QChar::Other_Control && !(lines && c == QLatin1Char('\n'))) ||
            c.category() == QChar::Other_Format)
            return false;
    return true;
}

} // namespace

QString QuoteDetailsFieldsHelp()
{
    QString help;
    for (const Field &f : kFields)
        help += QStringLiteral("  %1  %2\n").arg(QLatin1String(f.key), -16).arg(QLatin1String(f.help));
    return help;
}

QString QuoteDetailsPath(const QString &projectFilePath)
{
    if (projectFilePath.isEmpty())
        return {};
    const QFileInfo info(projectFilePath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".quote.json"));
}

QString QuoteDetailsProblem(const QuoteDetails &d)
{
    const QString *values[] = {&d.customerName, &d.customerAddress, &d.number, nullptr, nullptr, &d.reference, &d.notes};
    for (size_t k = 0; k < std::size(kFields); ++k)
        if (values[k] && !Printable(*values[k], kFields[k].lines))
            return QStringLiteral("\"%1\" is too long or holds control characters").arg(QLatin1String(kFields[k].key));
    if (d.date.isValid() && d.validUntil.isValid() && d.validUntil < d.date)
        return QStringLiteral("\"validUntil\" is before \"date\"");
    return {};
}

int QuoteDetailsRefusedField(const QuoteDetails &d, int *reasonEntry)
{
    const QString *values[] = {&d.customerName, &d.customerAddress, &d.number, nullptr, nullptr, &d.reference, &d.notes};
    const int labels[] = {text::kQuoteCustomerName, text::kQuoteCustomerAddress, text::kQuoteNumber, 0, 0,
                          text::kQuoteReference, text::kQuoteNotes};
    static_assert(std::size(labels) == std::size(kFields));
    for (size_t k = 0; k < std::size(kFields); ++k)
        if (values[k] && !Printable(*values[k], kFields[k].lines)) {
            *reasonEntry = text::kRefusedText;
            return labels[k];
        }
    if (d.date.isValid() && d.validUntil.isValid() && d.validUntil < d.date) {
        *reasonEntry = text::kRefusedDateBefore;
        return text::kQuoteValidUntil;
    }
    return 0;
}

QuoteDetailsLoad ReadQuoteDetails(const QString &path)
{
    QuoteDetailsLoad load;
    if (!QFileInfo::exists(path)) {
        load.details = QuoteDetails{};
        return load;
    }
    const InputFile file = ReadInputFile(path, kDetailsFileLimit, false, QStringLiteral("a quote details file"));
    if (!file.bytes) {
        load.error = file.reason.isEmpty() ? file.error : file.reason;
        return load;
    }
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(*file.bytes, &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        load.error = parse.error != QJsonParseError::NoError
                         ? QStringLiteral("not JSON (%1 at byte %2)").arg(parse.errorString()).arg(parse.offset)
                         : QStringLiteral("not a JSON object");
        return load;
    }
    const QJsonObject root = doc.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        bool known = false;
        for (const Field &f : kFields)
            known = known || it.key() == QLatin1String(f.key);
        if (!known) {
            load.error = QStringLiteral("unknown field \"%1\"").arg(it.key());
            return load;
        }
        if (!it.value().isString()) {
            load.error = QStringLiteral("\"%1\" is not a text").arg(it.key());
            return load;
        }
    }
    QuoteDetails d;
    const auto text = [&](const char *key) { return root.value(QLatin1String(key)).toString(); };
    d.customerName = text("customerName");
    d.customerAddress = text("customerAddress");
    d.number = text("number").trimmed();
    d.reference = text("reference");
    d.notes = text("notes");
    for (const auto &[key, into] : {std::pair{"date", &d.date}, std::pair{"validUntil", &d.validUntil}}) {
        const QString value = text(key);
        if (value.isEmpty())
            continue;
        *into = QDate::fromString(value, Qt::ISODate);
        if (!into->isValid() || value.size() != 10) {
            load.error = QStringLiteral("\"%1\" is not a date YYYY-MM-DD: %2").arg(QLatin1String(key), value.left(40));
            return load;
        }
    }
    load.error = QuoteDetailsProblem(d);
    if (load.error.isEmpty())
        load.details = d;
    return load;
}

QByteArray QuoteDetailsJson(const QuoteDetails &d)
{
    QJsonObject root;
    const auto put = [&](const char *key, const QString &value) {
        if (!value.isEmpty())
            root.insert(QLatin1String(key), value);
    };
    put("customerName", d.customerName);
    put("customerAddress", d.customerAddress);
    put("number", d.number);
    put("date", d.date.isValid() ? d.date.toString(Qt::ISODate) : QString());
    put("validUntil", d.validUntil.isValid() ? d.validUntil.toString(Qt::ISODate) : QString());
    put("reference", d.reference);
    put("notes", d.notes);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool WriteQuoteDetails(const QString &path, const QuoteDetails &details, QString *error)
{
    return WriteFileAtomically(path, QuoteDetailsJson(details), error);
}

QuoteDetails CompletedQuoteDetails(const QuoteDetails &details, const ShopDetails &shop, QDate today, bool *numberTaken)
{
    QuoteDetails d = details;
    if (!d.date.isValid())
        d.date = today;
    if (!d.validUntil.isValid() && shop.validityDays > 0)
        d.validUntil = d.date.addDays(shop.validityDays);
    const bool take = d.number.isEmpty();
    if (take)
        d.number = FormatQuoteNumber(shop.numberPattern, shop.nextNumber, d.date);
    if (numberTaken)
        *numberTaken = take;
    return d;
}

} // namespace tablix
