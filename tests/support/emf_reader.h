// A strict reader of the enhanced metafiles Tablix writes: checks the record structure and lists
// the filled shapes with the brush colour each was drawn with.
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRgb>
#include <QString>
#include <QtEndian>
#include <map>
#include <vector>

namespace emf_reader {

struct Shape {
    bool polygon = false;
    std::vector<QPoint> points; // a rectangle's two corners, or the polygon's points
    QRgb fill = 0;              // 0xAARRGGBB with alpha 0
};

struct Metafile {
    QString error; // empty when the file is well formed
    std::int32_t bounds[4] = {};
    std::int32_t frame[4] = {};
    std::int32_t devicePixels[2] = {};
    std::int32_t deviceMillimetres[2] = {};
    std::uint32_t handles = 0;
    int records = 0;
    std::vector<std::uint32_t> types;
    std::vector<Shape> shapes;
};

inline Metafile Read(const QByteArray &bytes)
{
    Metafile m;
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<std::uint32_t>(data + at); };
    auto i32 = [&](qsizetype at) { return qFromLittleEndian<std::int32_t>(data + at); };
    auto fail = [&](const QString &why) {
        m.error = why;
        return m;
    };
    if (size < 108 || u32(0) != 1)
        return fail(QStringLiteral("no header record"));
    const std::uint32_t headerSize = u32(4);
    if (headerSize < 88 || headerSize % 4 != 0 || headerSize > size)
        return fail(QStringLiteral("bad header size"));
    if (u32(40) != 0x464D4520 || u32(44) != 0x10000)
        return fail(QStringLiteral("bad signature or version"));
    if (u32(48) != std::uint32_t(size))
        return fail(QStringLiteral("nBytes %1, file %2").arg(u32(48)).arg(size));
    for (int k = 0; k < 4; ++k) {
        m.bounds[k] = i32(8 + 4 * k);
        m.frame[k] = i32(24 + 4 * k);
    }
    m.handles = qFromLittleEndian<std::uint16_t>(data + 56);
    m.devicePixels[0] = i32(72);
    m.devicePixels[1] = i32(76);
    m.deviceMillimetres[0] = i32(80);
    m.deviceMillimetres[1] = i32(84);
    const std::uint32_t declaredRecords = u32(52);

    // Handle table: index -> brush colour, or -1 for a pen.
    std::map<std::uint32_t, qint64> objects;
    QRgb fill = 0xFFFFFF; // the stock white brush a device context starts with
    qsizetype at = 0;
    while (at < size) {
        if (at + 8 > size)
            return fail(QStringLiteral("truncated record at %1").arg(at));
        const std::uint32_t type = u32(at), recordSize = u32(at + 4);
        if (recordSize < 8 || recordSize % 4 != 0 || at + recordSize > size)
            return fail(QStringLiteral("bad size %1 of record %2").arg(recordSize).arg(type));
        m.types.push_back(type);
        ++m.records;
        auto expectSize = [&](std::uint32_t n) { return recordSize == n; };
        auto handle = [&] { return u32(at + 8); };
        switch (type) {
        case 1:
            if (at != 0)
                return fail(QStringLiteral("second header"));
            break;
        case 3: { // EMR_POLYGON
            const std::uint32_t n = recordSize >= 28 ? u32(at + 24) : 0;
            if (recordSize != 28 + 8 * n || n < 3)
                return fail(QStringLiteral("bad polygon"));
            Shape s;
            s.polygon = true;
            s.fill = fill;
            for (std::uint32_t p = 0; p < n; ++p)
                s.points.emplace_back(i32(at + 28 + 8 * p), i32(at + 32 + 8 * p));
            m.shapes.push_back(s);
            break;
        }
        case 43: { // EMR_RECTANGLE
            if (!expectSize(24))
                return fail(QStringLiteral("bad rectangle"));
            Shape s;
            s.fill = fill;
            s.points = {QPoint(i32(at + 8), i32(at + 12)), QPoint(i32(at + 16), i32(at + 20))};
            m.shapes.push_back(s);
            break;
        }
        case 38:   // EMR_CREATEPEN
        case 39: { // EMR_CREATEBRUSHINDIRECT
            if (!expectSize(type == 38 ? 28 : 24))
                return fail(QStringLiteral("bad create record"));
            if (handle() == 0 || handle() >= m.handles || objects.count(handle()))
                return fail(QStringLiteral("handle %1 not free").arg(handle()));
            if (type == 39) {
                const std::uint32_t c = u32(at + 16); // 0x00BBGGRR
                objects[handle()] = qRgb(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)) & 0xFFFFFF;
            } else {
                objects[handle()] = -1;
            }
            break;
        }
        case 37: // EMR_SELECTOBJECT
            if (!expectSize(12))
                return fail(QStringLiteral("bad select"));
            if (handle() & 0x80000000u) {
                if (handle() == 0x80000000u)
                    fill = 0xFFFFFF;
            } else if (!objects.count(handle())) {
                return fail(QStringLiteral("select of unknown handle %1").arg(handle()));
            } else if (objects[handle()] >= 0) {
                fill = QRgb(objects[handle()]);
            }
            break;
        case 40: // EMR_DELETEOBJECT
            if (!expectSize(12) || !objects.erase(handle()))
                return fail(QStringLiteral("delete of unknown handle"));
            break;
        case 14: // EMR_EOF
            if (!expectSize(20) || u32(at + 16) != 20)
                return fail(QStringLiteral("bad end record"));
            if (at + recordSize != size)
                return fail(QStringLiteral("records after the end record"));
            break;
        default:
            return fail(QStringLiteral("unexpected record type %1").arg(type));
        }
        at += recordSize;
    }
    if (m.types.back() != 14)
        return fail(QStringLiteral("no end record"));
    if (std::uint32_t(m.records) != declaredRecords)
        return fail(QStringLiteral("nRecords %1, found %2").arg(declaredRecords).arg(m.records));
    if (!objects.empty())
        return fail(QStringLiteral("objects left undeleted"));
    return m;
}

} // namespace emf_reader
