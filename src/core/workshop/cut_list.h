// The project's cut list: every piece of profile the signs in use need, grouped by profile.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tablix {

struct AppState;
struct EngineResults;
struct LanguageTable;

// Lengths are held in hundredths of a centimetre, the precision the reports write them with, so
// sums and comparisons are exact.
using CutLength = long long;
inline constexpr CutLength kCutUnitsPerCm = 100;

// A length in cm rounded to hundredths as a report writes it (half away from zero).
CutLength CutLengthFromCm(long double cm);
long double CutLengthToCm(CutLength units);
// "398.50": the length in cm with two decimals and a point, whatever the locale.
QString CutLengthText(CutLength units);

// One length of one profile: how many pieces the whole project needs and which signs need them.
struct CutListRow {
    QString profile; // the label in the current language
    QString key;     // the language-independent profile key, shown nowhere
    CutLength length = 0;
    long long count = 0;
    QStringList signs; // "N Title" of every sign that needs the piece, in slot order
    // How many of `count` each of `signs` needs, in the same order; empty when not known (a cut
    // list read back from its file).
    std::vector<long long> signCounts = {};
};

struct CutList {
    std::vector<CutListRow> rows; // by profile (first seen first), then by length, longest first
    int signsInUse = 0;
    QStringList notes; // signs left out (quantity 0), quantities rounded up; the CSV ends with them
    bool empty() const { return rows.empty(); }
    // The profiles' labels in the order of the rows, each once; profileKeys() their keys, in the
    // same order.
    QStringList profiles() const;
    QStringList profileKeys() const;
};

// Pieces of one computed sign, as its dimensions and cutting list report names them.
struct SignPiece {
    QString profile;
    QString key;
    CutLength length = 0;
    long long count = 0;
};
// What ComputeSign gave; profile names are the report's labels, cleaned of the
// trailing colon and count ("2 x") the labels carry. Pieces are grouped by their profile key.
std::vector<SignPiece> PiecesOfComputedSign(const EngineResults &results);

// Computes every sign in use in slot order (the current sign and its working state are as before
// afterwards) and adds up its pieces times the sign's quantity (a fractional quantity is rounded
// up to whole pieces). Throws what ComputeSign throws.
CutList BuildCutList(AppState &state);

// RFC 4180: a header line from language entries, then one line per row; UTF-8, CRLF line ends,
// "." as the decimal separator, fields quoted when they hold a comma, quote or line break.
QByteArray CutListCsv(const CutList &list, const LanguageTable &language);

// A piece count above this is refused (BuildCutList throws CutListTooLarge).
inline constexpr long long kMaxCutPieces = 200000;
struct CutListTooLarge {
    long long pieces;
};

} // namespace tablix
