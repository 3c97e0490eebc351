// The project as JSON: every field of every slot that is not a blank new sign, exact to the byte.
#include "core/project/project_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "core/number/cp1250.h"
#include "core/params/params_json.h"

namespace tablix {

namespace {

struct ByteField {
    const char *name;
};
constexpr ByteField kLayoutField{"layout"};
constexpr ByteField kSignTypeField{"signType"};
constexpr ByteField kReservedField{"reserved"};

struct ListField {
    const char *name;
    std::size_t offset;
    int size;
};
constexpr ListField kListFields[] = {
    {"rowElements", offsetof(SignRecord, rowElements), kMaxRows},
    {"rowMarks", offsetof(SignRecord, rowMarks), kMaxRows},
    {"lowerMarks", offsetof(SignRecord, lowerMarks), kLowerMarks},
};

struct RealField {
    const char *name;
    Real48 SignRecord::*field;
};
constexpr RealField kRealFields[] = {
    {"quantity", &SignRecord::quantity},         {"width", &SignRecord::width},
    {"areaSurcharge", &SignRecord::areaSurcharge}, {"priceLevel", &SignRecord::priceLevel},
    {"infillHeight", &SignRecord::infillHeight}, {"extraCost", &SignRecord::extraCost},
    {"auxDimension", &SignRecord::auxDimension},
};

const std::uint8_t *listData(const SignRecord &r, const ListField &f)
{
    return reinterpret_cast<const std::uint8_t *>(&r) + f.offset;
}

std::uint8_t *listData(SignRecord &r, const ListField &f)
{
    return reinterpret_cast<std::uint8_t *>(&r) + f.offset;
}

Real48 canonical(const Real48 &value)
{
    Real48 c;
    c.set(value.get());
    return c;
}

// The fewest significant digits that read back as the same 6-byte real; plain notation
// where %g allows it, so that widths and prices read as a person writes them.
QByteArray shortestNumber(const Real48 &value)
{
    const Real48 target = canonical(value);
    const double v = double(value.get());
    if (v == 0)
        return "0";
    const double magnitude = std::fabs(v);
    const int integerDigits = magnitude >= 1 ? int(std::floor(std::log10(magnitude))) + 1 : 1;
    char buf[128];
    for (int precision = integerDigits; precision <= integerDigits + 17; ++precision) {
        const auto written = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
        if (written.ec != std::errc())
            break;
        const QByteArray text(buf, written.ptr - buf);
        if (magnitude >= 1 && text.contains('e'))
            continue;
        double back = 0;
        std::from_chars(buf, written.ptr, back);
        Real48 stored;
        try {
            stored.set(back);
        } catch (const FloatingPointOverflow &) {
            continue;
        }
        if (stored == target)
            return text;
    }
    return JsonNumber17(v);
}

QByteArray hexOf(const std::uint8_t *bytes, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size)).toHex();
}

bool titleNeedsBytes(const SignRecord &r)
{
    SignRecord plain = r;
    plain.setTitle(r.titleText());
    return std::memcmp(plain.title, r.title, sizeof r.title) != 0;
}

// One field of a slot, as text for the indented file and as a value for QJsonObject.
struct Entry {
    QByteArray key;
    QByteArray text;
    QJsonValue value;
};

std::vector<Entry> slotEntries(const SignRecord &r, int slot)
{
    std::vector<Entry> entries;
    entries.push_back({"slot", QByteArray::number(slot), slot});
    entries.push_back({"title", JsonQuoted(r.titleText()), r.titleText()});
    if (titleNeedsBytes(r)) {
        const QByteArray hex = hexOf(r.title, sizeof r.title);
        entries.push_back({"titleBytes", '"' + hex + '"', QString::fromLatin1(hex)});
    }
    entries.push_back({kLayoutField.name, QByteArray::number(Number(r.layout)), Number(r.layout)});
    entries.push_back({kSignTypeField.name, QByteArray::number(Number(r.signType)), Number(r.signType)});
    for (const ListField &f : kListFields) {
        const std::uint8_t *data = listData(r, f);
        int used = f.size;
        while (used > 0 && data[used - 1] == 0)
            --used;
        QByteArray text = "[";
        QJsonArray values;
        for (int i = 0; i < used; ++i) {
            text += (i ? ", " : "") + QByteArray::number(data[i]);
            values.append(int(data[i]));
        }
        entries.push_back({f.name, text + ']', values});
    }
    entries.push_back({kReservedField.name, QByteArray::number(r.reserved), int(r.reserved)});
    for (const RealField &f : kRealFields) {
        const Real48 &value = r.*(f.field);
        entries.push_back({f.name, shortestNumber(value), double(value.get())});
        if (!(canonical(value) == value)) {
            const QByteArray hex = hexOf(value.bytes, sizeof value.bytes);
            entries.push_back({QByteArray(f.name) + "Bytes", '"' + hex + '"', QString::fromLatin1(hex)});
        }
    }
    return entries;
}

// ---- reading ----------------------------------------------------------------------------

struct FieldError {
    QString message;
};

[[noreturn]] void fail(const QString &path, const QString &what)
{
    throw FieldError{QStringLiteral("field \"%1\" %2").arg(path, what)};
}

QJsonValue required(const QJsonObject &object, const QString &path, const char *name)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (value.isUndefined())
        fail(path + QLatin1Char('.') + QLatin1String(name), QStringLiteral("is missing"));
    return value;
}

bool isWholeNumber(const QJsonValue &value, int low, int high)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    return d == std::floor(d) && d >= low && d <= high;
}

std::uint8_t readByte(const QJsonObject &object, const QString &path, const char *name)
{
    const QJsonValue value = required(object, path, name);
    if (!isWholeNumber(value, 0, 255))
        fail(path + QLatin1Char('.') + QLatin1String(name), QStringLiteral("is not a whole number from 0 to 255"));
    return std::uint8_t(value.toInt());
}

QByteArray readHex(const QJsonValue &value, const QString &path, qsizetype size)
{
    const QByteArray hex = value.toString().toLatin1();
    const QByteArray bytes = QByteArray::fromHex(hex);
    if (!value.isString() || bytes.size() != size || bytes.toHex() != hex.toLower())
        fail(path, QStringLiteral("is not %1 bytes in hexadecimal").arg(size));
    return bytes;
}

void readTitle(const QJsonObject &object, const QString &path, SignRecord &r)
{
    const QString titlePath = path + QStringLiteral(".title");
    const QJsonValue value = required(object, path, "title");
    if (!value.isString())
        fail(titlePath, QStringLiteral("is not a text"));
    const QString text = value.toString();
    if (text.size() > kTitleLength)
        fail(titlePath, QStringLiteral("is longer than %1 characters").arg(kTitleLength));
    if (!IsCp1250Encodable(text))
        fail(titlePath, QStringLiteral("holds a character that Windows-1250 lacks"));
    r.setTitle(text);
    const QJsonValue raw = object.value(QLatin1String("titleBytes"));
    if (raw.isUndefined())
        return;
    const QString rawPath = path + QStringLiteral(".titleBytes");
    const QByteArray bytes = readHex(raw, rawPath, qsizetype(sizeof r.title));
    std::memcpy(r.title, bytes.constData(), sizeof r.title);
    // Both are kept in step by hand; a title edited without its bytes would be lost silently.
    if (r.titleText() != text)
        fail(rawPath, QStringLiteral("does not hold the title \"%1\"").arg(text));
}

void readList(const QJsonObject &object, const QString &path, const ListField &f, SignRecord &r)
{
    const QString listPath = path + QLatin1Char('.') + QLatin1String(f.name);
    const QJsonValue value = required(object, path, f.name);
    if (!value.isArray() || value.toArray().size() > f.size)
        fail(listPath, QStringLiteral("is not a list of at most %1 numbers").arg(f.size));
    const QJsonArray list = value.toArray();
    std::uint8_t *data = listData(r, f);
    std::memset(data, 0, size_t(f.size));
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!isWholeNumber(list[i], 0, 255))
            fail(QStringLiteral("%1[%2]").arg(listPath).arg(i), QStringLiteral("is not a whole number from 0 to 255"));
        data[i] = std::uint8_t(list[i].toInt());
    }
}

void readReal(const QJsonObject &object, const QString &path, const RealField &f, SignRecord &r)
{
    const QString fieldPath = path + QLatin1Char('.') + QLatin1String(f.name);
    const QJsonValue value = required(object, path, f.name);
    if (!value.isDouble())
        fail(fieldPath, QStringLiteral("is not a number"));
    Real48 &destination = r.*(f.field);
    try {
        destination.set(value.toDouble());
    } catch (const FloatingPointOverflow &e) {
        throw FieldError{QStringLiteral("field \"%1\": %2").arg(fieldPath, QString::fromLatin1(e.what()))};
    }
    const QByteArray rawName = QByteArray(f.name) + "Bytes";
    const QJsonValue raw = object.value(QLatin1String(rawName));
    if (raw.isUndefined())
        return;
    const QString rawPath = path + QLatin1Char('.') + QLatin1String(rawName);
    const QByteArray bytes = readHex(raw, rawPath, qsizetype(sizeof destination.bytes));
    Real48 stored;
    std::memcpy(stored.bytes, bytes.constData(), sizeof stored.bytes);
    if (stored.get() != destination.get())
        fail(rawPath, QStringLiteral("does not hold the value of \"%1\"").arg(QLatin1String(f.name)));
    destination = stored;
}

SignRecord readSlot(const QJsonObject &object, const QString &path)
{
    SignRecord r = BlankSlotRecord();
    readTitle(object, path, r);
    r.layout = Layout(readByte(object, path, kLayoutField.name));
    r.signType = SignType(readByte(object, path, kSignTypeField.name));
    for (const ListField &f : kListFields)
        readList(object, path, f, r);
    r.reserved = readByte(object, path, kReservedField.name);
    for (const RealField &f : kRealFields)
        readReal(object, path, f, r);
    return r;
}

SignSlotArray readProject(const QJsonObject &root)
{
    const QJsonValue signs = root.value(QLatin1String("signs"));
    if (signs.isUndefined())
        fail(QStringLiteral("signs"), QStringLiteral("is missing"));
    if (!signs.isArray() || signs.toArray().size() > kMaxSigns)
        fail(QStringLiteral("signs"), QStringLiteral("is not a list of at most %1 signs").arg(kMaxSigns));
    const QJsonArray list = signs.toArray();

    SignSlotArray project;
    project.fill(BlankSlotRecord());
    std::array<bool, kMaxSigns> given{};
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString path = QStringLiteral("signs[%1]").arg(i);
        if (!list[i].isObject())
            fail(path, QStringLiteral("is not an object"));
        const QJsonObject object = list[i].toObject();
        const QJsonValue slot = required(object, path, "slot");
        if (!isWholeNumber(slot, 1, kMaxSigns))
            fail(path + QStringLiteral(".slot"), QStringLiteral("is not a whole number from 1 to %1").arg(kMaxSigns));
        const int k = slot.toInt();
        if (given[size_t(k - 1)])
            fail(path + QStringLiteral(".slot"), QStringLiteral("repeats slot %1").arg(k));
        given[size_t(k - 1)] = true;
        project[size_t(k - 1)] = readSlot(object, path);
    }
    return project;
}

} // namespace

SignRecord BlankSlotRecord()
{
    SignRecord r{};
    BlankSignRecord(r);
    return r;
}

QJsonObject ProjectToJsonObject(const SignSlotArray &signs)
{
    const SignRecord blank = BlankSlotRecord();
    QJsonArray list;
    for (int k = 1; k <= kMaxSigns; ++k) {
        const SignRecord &r = signs[size_t(k - 1)];
        if (r == blank)
            continue;
        QJsonObject object;
        for (const Entry &e : slotEntries(r, k))
            object.insert(QLatin1String(e.key), e.value);
        list.append(object);
    }
    return QJsonObject{{QStringLiteral("signs"), list}};
}

QByteArray ProjectToJson(const SignSlotArray &signs)
{
    const SignRecord blank = BlankSlotRecord();
    QByteArray out = "{\n  \"signs\": [";
    bool first = true;
    for (int k = 1; k <= kMaxSigns; ++k) {
        const SignRecord &r = signs[size_t(k - 1)];
        if (r == blank)
            continue;
        out += first ? "\n    {\n" : ",\n    {\n";
        first = false;
        const std::vector<Entry> entries = slotEntries(r, k);
        for (std::size_t i = 0; i < entries.size(); ++i)
            out += "      \"" + entries[i].key + "\": " + entries[i].text + (i + 1 < entries.size() ? ",\n" : "\n");
        out += "    }";
    }
    out += first ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

std::optional<SignSlotArray> ProjectFromJsonObject(const QJsonObject &root, QString *error)
{
    try {
        return readProject(root);
    } catch (const FieldError &e) {
        if (error)
            *error = e.message;
        return std::nullopt;
    }
}

std::optional<SignSlotArray> ProjectFromJson(const QByteArray &json, QString *error)
{
    const std::optional<QJsonObject> root = JsonObjectFrom(json, error);
    if (!root)
        return std::nullopt;
    return ProjectFromJsonObject(*root, error);
}

} // namespace tablix
