// The parameter record as JSON: field names follow the record, numbers are the shortest that read back.
#include "core/params/params_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "core/params/language.h"

namespace tablix {

namespace {

constexpr int kElementRows = 23;
constexpr qsizetype kMaxLanguageFileName = 15;

struct FieldError {
    QString message;
};

// Bytes of the stored name that the plain name would not reproduce, or empty.
QByteArray nonCanonicalNameBytes(const ParameterRecord &p)
{
    ParameterRecord canonical = p;
    canonical.setLanguageFile(p.languageFile());
    if (std::memcmp(canonical.languageFileName, p.languageFileName, sizeof p.languageFileName) == 0)
        return {};
    return QByteArray(reinterpret_cast<const char *>(p.languageFileName), sizeof p.languageFileName);
}

void storeNumber(const QJsonObject &object, const char *name, const QString &fieldName, Real48 &destination)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (value.isUndefined())
        throw FieldError{QStringLiteral("field \"%1\" is missing").arg(fieldName)};
    if (!value.isDouble())
        throw FieldError{QStringLiteral("field \"%1\" is not a number").arg(fieldName)};
    try {
        destination.set(value.toDouble());
    } catch (const FloatingPointOverflow &e) {
        throw FieldError{QStringLiteral("field \"%1\": %2").arg(fieldName, QString::fromLatin1(e.what()))};
    }
}

ParameterRecord readRecord(const QJsonObject &root)
{
    ParameterRecord p{};
    for (const ScalarField &f : kScalarFields)
        storeNumber(root, f.name, QString::fromLatin1(f.name), p.*(f.field));

    const QJsonValue rows = root.value(QLatin1String("elementRows"));
    if (rows.isUndefined())
        throw FieldError{QStringLiteral("field \"elementRows\" is missing")};
    if (!rows.isArray() || rows.toArray().size() != kElementRows)
        throw FieldError{QStringLiteral("field \"elementRows\" is not a list of 23 rows")};
    const QJsonArray rowArray = rows.toArray();
    for (int i = 0; i < kElementRows; ++i) {
        const QString prefix = QStringLiteral("elementRows[%1].").arg(i);
        if (!rowArray[i].isObject())
            throw FieldError{QStringLiteral("field \"elementRows[%1]\" is not an object").arg(i)};
        const QJsonObject row = rowArray[i].toObject();
        storeNumber(row, "priceB", prefix + QStringLiteral("priceB"), p.elementRows[i].priceB);
        storeNumber(row, "priceA", prefix + QStringLiteral("priceA"), p.elementRows[i].priceA);
        storeNumber(row, "heightMm", prefix + QStringLiteral("heightMm"), p.elementRows[i].heightMm);
    }

    const QJsonValue name = root.value(QLatin1String("languageFileName"));
    if (name.isUndefined())
        throw FieldError{QStringLiteral("field \"languageFileName\" is missing")};
    if (!name.isString())
        throw FieldError{QStringLiteral("field \"languageFileName\" is not a text")};
    if (name.toString().size() > kMaxLanguageFileName)
        throw FieldError{QStringLiteral("field \"languageFileName\" is longer than 15 characters")};
    p.setLanguageFile(name.toString());
    const QJsonValue rawName = root.value(QLatin1String("languageFileNameBytes"));
    if (!rawName.isUndefined()) {
        const QByteArray hex = rawName.toString().toLatin1();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (!rawName.isString() || bytes.size() != qsizetype(sizeof p.languageFileName) || bytes.toHex() != hex.toLower())
            throw FieldError{QStringLiteral("field \"languageFileNameBytes\" is not 16 bytes in hexadecimal")};
        std::memcpy(p.languageFileName, bytes.constData(), sizeof p.languageFileName);
    }
    if (!p.languageFile().isEmpty() && !IsPlainLanguageFileName(p.languageFile()))
        throw FieldError{QStringLiteral("field \"languageFileName\" must be a plain file name in the data folder "
                                        "(no \"/\", no \"..\", no control characters), not \"%1\"")
                             .arg(p.languageFile())};
    return p;
}

} // namespace

QByteArray JsonNumber17(long double value)
{
    // Every 6-byte real is exact as a double; 17 significant digits bring it back bit for bit.
    char buf[40];
    const auto result = std::to_chars(buf, buf + sizeof buf, double(value), std::chars_format::general, 17);
    return QByteArray(buf, result.ptr - buf);
}

namespace {

// A number as its decimal digits and the power of ten of the last digit.
struct Decimal {
    std::uint64_t digits = 0;
    int exponent = 0;
};

QByteArray scientificText(bool negative, const Decimal &d)
{
    return (negative ? "-" : "") + QByteArray::number(qulonglong(d.digits)) + 'e' + QByteArray::number(d.exponent);
}

// What a JSON reader stores for the text: the nearest double, then rounded to 6 bytes.
bool readsBackAs(const QByteArray &text, const Real48 &target)
{
    double d = 0;
    const auto r = std::from_chars(text.constData(), text.constData() + text.size(), d);
    if (r.ec != std::errc() || r.ptr != text.constData() + text.size())
        return false;
    Real48 stored;
    try {
        stored.set(d);
    } catch (const FloatingPointOverflow &) {
        return false;
    }
    return stored == target;
}

// The value rounded to `precision` significant digits.
Decimal roundedTo(double magnitude, int precision)
{
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
    const std::string_view text(buf, r.ptr - buf);
    const std::size_t e = text.find('e');
    Decimal d;
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits = d.digits * 10 + std::uint64_t(c - '0');
    int exponent10 = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent10);
    d.exponent = exponent10 - (precision - 1);
    return d;
}

// Plain notation where a reader expects it, an exponent for the very large and very small.
QByteArray decimalText(bool negative, Decimal d)
{
    while (d.digits % 10 == 0) {
        d.digits /= 10;
        ++d.exponent;
    }
    const QByteArray digits = QByteArray::number(qulonglong(d.digits));
    const int leading = d.exponent + int(digits.size()) - 1;
    QByteArray out = negative ? "-" : "";
    if (leading < -5 || leading >= 15) {
        out += digits.left(1);
        if (digits.size() > 1)
            out += '.' + digits.mid(1);
        return out + 'e' + QByteArray::number(leading);
    }
    if (d.exponent >= 0)
        return out + digits + QByteArray(d.exponent, '0');
    if (leading >= 0)
        return out + digits.left(leading + 1) + '.' + digits.mid(leading + 1);
    return out + "0." + QByteArray(-leading - 1, '0') + digits;
}

} // namespace

QByteArray JsonNumberReal48(long double value)
{
    Real48 target;
    try {
        target.set(value);
    } catch (const FloatingPointOverflow &) {
        return JsonNumber17(value);
    }
    const double exact = double(target.get());
    if (exact == 0)
        return "0";
    const bool negative = exact < 0;
    const double magnitude = negative ? -exact : exact;
    for (int precision = 1; precision <= 17; ++precision) {
        const Decimal nearest = roundedTo(magnitude, precision);
        // Where the range of decimals that read back is lopsided (at a power of two), the nearest
        // short decimal may fall just outside while its neighbour on the wide side falls inside.
        const Decimal up{nearest.digits + 1, nearest.exponent};
        const Decimal down{nearest.digits - 1, nearest.exponent};
        for (const Decimal &candidate : {nearest, up, down})
            if (candidate.digits != 0 && readsBackAs(scientificText(negative, candidate), target))
                return decimalText(negative, candidate);
    }
    return JsonNumber17(exact);
}

namespace {

// What the parser wanted where it stopped, in a reader's words.
QString Expected(QJsonParseError::ParseError e)
{
    switch (e) {
    case QJsonParseError::UnterminatedObject: return QStringLiteral("expected ',' and the next field, or '}' to close the object");
    case QJsonParseError::MissingNameSeparator: return QStringLiteral("expected ':' after the field name");
    case QJsonParseError::UnterminatedArray: return QStringLiteral("expected ',' and the next value, or ']' to close the list");
    case QJsonParseError::MissingValueSeparator: return QStringLiteral("expected ',' between two values");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("expected a value: a number, a text in quotes, true, false, null, an object or a list");
    case QJsonParseError::TerminationByNumber: return QStringLiteral("expected more after a number; the text ends in it");
    case QJsonParseError::IllegalNumber: return QStringLiteral("expected a number");
    case QJsonParseError::IllegalEscapeSequence: return QStringLiteral("expected an escape such as \\n or \\u00e9 after '\\'");
    case QJsonParseError::IllegalUTF8String: return QStringLiteral("expected UTF-8 text");
    case QJsonParseError::UnterminatedString: return QStringLiteral("expected '\"' to close the text");
    case QJsonParseError::MissingObject: return QStringLiteral("expected an object '{' at the start");
    case QJsonParseError::DeepNesting: return QStringLiteral("objects and lists are nested too deeply");
    case QJsonParseError::DocumentTooLarge: return QStringLiteral("the text is too large");
    case QJsonParseError::GarbageAtEnd: return QStringLiteral("expected nothing after the closing '}'");
    default: return QStringLiteral("not valid JSON");
    }
}

} // namespace

std::optional<QJsonObject> JsonObjectFrom(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        if (error) {
            const qsizetype at = std::clamp<qsizetype>(parseError.offset, 0, json.size());
            const qsizetype lineStart = json.lastIndexOf('\n', at - 1) + 1;
            *error = QStringLiteral("invalid JSON at line %1, column %2: %3")
                         .arg(json.left(at).count('\n') + 1)
                         .arg(at - lineStart + 1)
                         .arg(Expected(parseError.error));
        }
        return std::nullopt;
    }
    if (!doc.isObject()) {
        if (error)
            *error = QStringLiteral("expected a JSON object '{ ... }' holding the fields, found %1")
                         .arg(doc.isArray() ? QStringLiteral("a list '[ ... ]'") : QStringLiteral("no object"));
        return std::nullopt;
    }
    return doc.object();
}

QByteArray JsonQuoted(const QString &text)
{
    QByteArray out = "\"";
    for (char c : text.toUtf8()) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

namespace {

// The double of the shortest decimal, so that a JSON writer prints that decimal.
double shortestDouble(const Real48 &value)
{
    const QByteArray text = JsonNumberReal48(value.get());
    double d = 0;
    std::from_chars(text.constData(), text.constData() + text.size(), d);
    return d;
}

} // namespace

QJsonObject ParametersToJsonObject(const ParameterRecord &p)
{
    QJsonObject root;
    for (const ScalarField &f : kScalarFields)
        root.insert(QLatin1String(f.name), shortestDouble(p.*(f.field)));
    QJsonArray rows;
    for (const ElementTypeRow &r : p.elementRows)
        rows.append(QJsonObject{{QStringLiteral("priceB"), shortestDouble(r.priceB)},
                                {QStringLiteral("priceA"), shortestDouble(r.priceA)},
                                {QStringLiteral("heightMm"), shortestDouble(r.heightMm)}});
    root.insert(QStringLiteral("elementRows"), rows);
    root.insert(QStringLiteral("languageFileName"), p.languageFile());
    const QByteArray raw = nonCanonicalNameBytes(p);
    if (!raw.isEmpty())
        root.insert(QStringLiteral("languageFileNameBytes"), QString::fromLatin1(raw.toHex()));
    return root;
}

QByteArray ParametersToJson(const ParameterRecord &p)
{
    QByteArray out = "{\n";
    for (const ScalarField &f : kScalarFields)
        out += "  \"" + QByteArray(f.name) + "\": " + JsonNumberReal48((p.*(f.field)).get()) + ",\n";
    out += "  \"elementRows\": [\n";
    for (int i = 0; i < kElementRows; ++i) {
        const ElementTypeRow &r = p.elementRows[i];
        out += "    {\"priceB\": " + JsonNumberReal48(r.priceB.get()) + ", \"priceA\": " + JsonNumberReal48(r.priceA.get())
               + ", \"heightMm\": " + JsonNumberReal48(r.heightMm.get()) + (i < kElementRows - 1 ? "},\n" : "}\n");
    }
    out += "  ],\n  \"languageFileName\": " + JsonQuoted(p.languageFile());
    const QByteArray raw = nonCanonicalNameBytes(p);
    if (!raw.isEmpty())
        out += ",\n  \"languageFileNameBytes\": \"" + raw.toHex() + "\"";
    out += "\n}\n";
    return out;
}

std::optional<ParameterRecord> ParametersFromJsonObject(const QJsonObject &root, QString *error)
{
    try {
        return readRecord(root);
    } catch (const FieldError &e) {
        if (error)
            *error = e.message;
        return std::nullopt;
    }
}

std::optional<ParameterRecord> ParametersFromJson(const QByteArray &json, QString *error)
{
    const std::optional<QJsonObject> root = JsonObjectFrom(json, error);
    if (!root)
        return std::nullopt;
    return ParametersFromJsonObject(*root, error);
}

} // namespace tablix
