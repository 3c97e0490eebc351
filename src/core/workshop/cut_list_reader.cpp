// The cut list CSV read back: RFC 4180 fields, rows merged by profile and length.
#include "core/workshop/cut_list_reader.h"

#include <QRegularExpression>
#include <map>

namespace tablix {

namespace {

struct Record {
    int line = 0; // where the record starts, from 1
    QStringList fields;
};

// Quoted fields may hold commas, quotes ("") and line breaks; a record ends at CRLF or LF.
std::optional<std::vector<Record>> Records(const QString &text, QString *error)
{
    std::vector<Record> records;
    Record record{1, {}};
    QString field;
    int line = 1;
    bool quoted = false, wasQuoted = false;
    auto endField = [&] {
        record.fields << field;
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (quoted) {
            if (c == u'"' && k + 1 < text.size() && text[k + 1] == u'"') {
                field += c;
                ++k;
            } else if (c == u'"') {
                quoted = false;
            } else {
                line += c == u'\n';
                field += c;
            }
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            endField();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
                ++k;
            endField();
            if (!(record.fields.size() == 1 && record.fields[0].isEmpty()))
                records.push_back(record);
            record = Record{++line, {}};
        } else if (wasQuoted) {
            *error = QStringLiteral("line %1: text after a quoted field").arg(line);
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted) {
        *error = QStringLiteral("line %1: a quoted field is not closed").arg(record.line);
        return std::nullopt;
    }
    if (!field.isEmpty() || !record.fields.isEmpty()) {
        endField();
        if (!(record.fields.size() == 1 && record.fields[0].isEmpty()))
            records.push_back(record);
    }
    return records;
}

bool IsHeader(const QStringList &fields, const QList<QStringList> &headers)
{
    for (const QStringList &h : headers) {
        bool same = h.size() >= 3 && fields.size() >= 3;
        for (int k = 0; same && k < 3; ++k)
            same = fields[k].trimmed() == h[k].trimmed();
        if (same)
            return true;
    }
    return false;
}

} // namespace

std::optional<CutList> CutListFromCsv(const QByteArray &bytes, const QList<QStringList> &headers, QString *error,
                                      const ProfileLabels &labels)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    const QString text = QString::fromUtf8(data);
    if (text.toUtf8() != data) {
        *error = QStringLiteral("not UTF-8 text");
        return std::nullopt;
    }
    const std::optional<std::vector<Record>> records = Records(text, error);
    if (!records)
        return std::nullopt;

    static const QRegularExpression number(QStringLiteral("^\\d{1,7}(\\.\\d{1,2})?$"));
    static const QRegularExpression whole(QStringLiteral("^\\d{1,7}$"));
    QStringList order;
    std::map<std::pair<int, CutLength>, CutListRow> rows;
    long long total = 0;
    for (size_t r = 0; r < records->size(); ++r) {
        const Record &rec = (*records)[r];
        if (r == 0 && IsHeader(rec.fields, headers))
            continue;
        const auto refuse = [&](const QString &why) {
            *error = QStringLiteral("line %1: %2").arg(rec.line).arg(why);
            return std::nullopt;
        };
        // A note of the cut list (a sign left out or rounded up) stands in the signs' column alone.
        if (rec.fields.size() >= 4 && rec.fields[0].trimmed().isEmpty() && rec.fields[1].trimmed().isEmpty() &&
            rec.fields[2].trimmed().isEmpty())
            continue;
        if (rec.fields.size() < 3)
            return refuse(QStringLiteral("profile, length and count expected"));
        const QString profile = rec.fields[0].trimmed();
        const QString length = rec.fields[1].trimmed(), count = rec.fields[2].trimmed();
        if (profile.isEmpty())
            return refuse(QStringLiteral("no profile"));
        if (!number.match(length).hasMatch())
            return refuse(QStringLiteral("the length \"%1\" is not a number of cm such as 398.50").arg(length));
        if (!whole.match(count).hasMatch())
            return refuse(QStringLiteral("the count \"%1\" is not a whole number").arg(count));
        const CutLength units = CutLengthFromCm(length.toDouble());
        const long long n = count.toLongLong();
        if (units <= 0 || n <= 0)
            return refuse(QStringLiteral("length and count must be greater than 0"));
        total += n;
        if (total > kMaxCutPieces)
            return refuse(QStringLiteral("more than %1 pieces to cut").arg(kMaxCutPieces));
        // A label of a known profile in any language is that profile; any other name is its own.
        const auto known = labels.keyOf.find(profile);
        const QString key = known != labels.keyOf.end() && !known->second.isEmpty() ? known->second : profile;
        int p = int(order.indexOf(key));
        if (p < 0) {
            p = int(order.size());
            order << key;
        }
        // Longest first within a profile.
        CutListRow &row = rows[{p, -units}];
        if (row.profile.isEmpty())
            row.profile = profile;
        row.key = key;
        row.length = units;
        row.count += n;
        // The signs that need the length, without how many each: a plan can name the sign only
        // when there is one.
        if (rec.fields.size() >= 4)
            for (const QString &sign : rec.fields[3].split(QStringLiteral("; "), Qt::SkipEmptyParts))
                if (!row.signs.contains(sign.trimmed()))
                    row.signs << sign.trimmed();
    }
    CutList list;
    for (auto &[key, row] : rows)
        list.rows.push_back(std::move(row));
    return list;
}

} // namespace tablix
