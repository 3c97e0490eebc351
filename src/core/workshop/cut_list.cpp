// The cut list of the project: the pieces of every sign in use, times its quantity, by profile.
#include "core/workshop/cut_list.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/engine/compute_sign.h"
#include "core/engine/profile_keys.h"
#include "core/number/escaped_text.h"
#include "core/number/number_format.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/render/summary.h"

namespace tablix {

CutLength CutLengthFromCm(long double cm)
{
    // Through the report's own rounding, so the list and the report never differ by a hundredth.
    const FixedNumber text = FormatFixedNumber(cm, 0, 2);
    const QByteArray digits = QByteArray(text.text + text.begin, text.size);
    bool ok = false;
    const double v = digits.toDouble(&ok);
    return ok ? CutLength(std::llround(v * kCutUnitsPerCm)) : 0;
}

long double CutLengthToCm(CutLength units)
{
    return (long double)units / kCutUnitsPerCm;
}

QString CutLengthText(CutLength units)
{
    const CutLength a = units < 0 ? -units : units;
    return QStringLiteral("%1%2.%3")
        .arg(units < 0 ? QStringLiteral("-") : QString())
        .arg(a / kCutUnitsPerCm)
        .arg(int(a % kCutUnitsPerCm), 2, 10, QLatin1Char('0'));
}

QStringList CutList::profiles() const
{
    QStringList names;
    QString key;
    for (const CutListRow &row : rows)
        if (names.isEmpty() || key != row.key) {
            names << row.profile;
            key = row.key;
        }
    return names;
}

QStringList CutList::profileKeys() const
{
    QStringList keys;
    for (const CutListRow &row : rows)
        if (keys.isEmpty() || keys.last() != row.key)
            keys << row.key;
    return keys;
}

namespace {

long long PieceCount(long double count)
{
    // As the report writes it: a whole number, half away from zero.
    const FixedNumber text = FormatFixedNumber(count, 0, 0);
    bool ok = false;
    const long long n = QByteArray(text.text + text.begin, text.size).toLongLong(&ok);
    return ok ? n : 0;
}

QString SignName(int slot, const SignRecord &sign)
{
    QString title = sign.titleText();
    if (title.startsWith(QLatin1Char('!')))
        title.remove(0, 1);
    title = title.trimmed();
    return title.isEmpty() ? QString::number(slot) : QStringLiteral("%1 %2").arg(slot).arg(title);
}

} // namespace

std::vector<SignPiece> PiecesOfComputedSign(const EngineResults &results)
{
    std::vector<SignPiece> pieces;
    for (const SpecificationPiece &p : results.SpecificationPieces) {
        // Large enough to be no piece at all: the report writes it, nobody can cut it.
        if (!(std::fabs(p.length) < 1e12L) || !(std::fabs(p.count) < 1e12L))
            continue;
        SignPiece piece{ProfileNameOfLabel(p.label), p.key, CutLengthFromCm(p.length), PieceCount(p.count)};
        if (piece.length > 0 && piece.count > 0)
            pieces.push_back(piece);
    }
    return pieces;
}

CutList BuildCutList(AppState &state)
{
    CutList list;
    struct Key {
        int profileOrder;
        CutLength length;
        bool operator<(const Key &o) const
        {
            return profileOrder != o.profileOrder ? profileOrder < o.profileOrder : length > o.length;
        }
    };
    QStringList profileOrder;
    std::map<Key, CutListRow> rows;
    long long total = 0;

    ForEachSignInUse(state, [&](AppState &signState, int slot) {
        ++list.signsInUse;
        const EngineResults results = ComputeSign(signState);
        const SignRecord &sign = signState.currentSignRecord;
        const long double quantity = sign.quantity.get();
        // A quantity no dialog stores is named, never passed over.
        const QString quantityText = std::isfinite(quantity) ? FormatFixed(quantity, 0, quantity == std::floor(quantity) ? 0 : 2)
                                                             : QStringLiteral("?");
        if (!(quantity > 0)) {
            list.notes << state.LanguageEntry(text::kCutListLeftOut).arg(SignName(slot, sign), quantityText);
            return;
        }
        const bool whole = quantity == std::floor(quantity);
        bool roundedUp = false;
        for (const SignPiece &piece : PiecesOfComputedSign(results)) {
            const long double wanted = std::ceil(piece.count * quantity - 1e-9L);
            if (wanted > kMaxCutPieces || total + (long long)wanted > kMaxCutPieces)
                throw CutListTooLarge{(long long)std::min<long double>(wanted + total, 1e18L)};
            roundedUp = roundedUp || !whole;
            int order = int(profileOrder.indexOf(piece.key));
            if (order < 0) {
                order = int(profileOrder.size());
                profileOrder << piece.key;
            }
            CutListRow &row = rows[Key{order, piece.length}];
            row.profile = piece.profile;
            row.key = piece.key;
            row.length = piece.length;
            row.count += (long long)wanted;
            total += (long long)wanted;
            const QString name = SignName(slot, sign);
            const qsizetype at = row.signs.indexOf(name);
            if (at < 0) {
                row.signs << name;
                row.signCounts.push_back((long long)wanted);
            } else {
                row.signCounts[size_t(at)] += (long long)wanted;
            }
        }
        if (roundedUp)
            list.notes << state.LanguageEntry(text::kCutListRoundedUp).arg(SignName(slot, sign), quantityText);
    });
    for (auto &[key, row] : rows)
        list.rows.push_back(std::move(row));
    return list;
}

namespace {

// Control characters made visible; a cell a spreadsheet would take for a formula gets a leading "'".
QString CsvField(const QString &raw)
{
    QString text = EscapedControls(raw, false);
    if (!text.isEmpty() && QStringLiteral("=+-@").contains(text.front()))
        text.prepend(QLatin1Char('\''));
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

QByteArray CutListCsv(const CutList &list, const LanguageTable &language)
{
    auto line = [](const QStringList &fields) -> QByteArray {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << CsvField(f);
        return quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
    };
    QByteArray out = line({language.LanguageEntry(text::kCutListProfileHeader), language.LanguageEntry(text::kCutListLengthHeader),
                           language.LanguageEntry(text::kCutListCountHeader), language.LanguageEntry(text::kCutListSignsHeader)});
    for (const CutListRow &row : list.rows)
        out += line({row.profile, CutLengthText(row.length), QString::number(row.count), row.signs.join(QStringLiteral("; "))});
    // Signs left out or rounded up, in the signs' column under the pieces; a reader skips such lines.
    for (const QString &note : list.notes)
        out += line({QString(), QString(), QString(), note});
    return out;
}

} // namespace tablix
