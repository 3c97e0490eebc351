// Telling a file that is no project at all from a damaged project, and saying what it holds.
#include "core/project/foreign_file.h"

#include <algorithm>
#include <array>

#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/project/sign_record.h"

namespace tablix {

namespace {

struct Signature {
    qsizetype offset;
    QByteArrayView bytes;
    int entry;
    const char *format;
};

// Files a sign maker keeps beside projects: pictures, documents, archives, programs.
const std::array<Signature, 15> kSignatures{{
    {0, "\x89PNG\r\n\x1a\n", text::kKindImage, "PNG"},
    {0, "\xFF\xD8\xFF", text::kKindImage, "JPEG"},
    {0, "GIF87a", text::kKindImage, "GIF"},
    {0, "GIF89a", text::kKindImage, "GIF"},
    {0, QByteArrayView("II*\0", 4), text::kKindImage, "TIFF"},
    {0, QByteArrayView("MM\0*", 4), text::kKindImage, "TIFF"},
    {8, "WEBP", text::kKindImage, "WebP"},
    {0, "\xD7\xCD\xC6\x9A", text::kKindImage, "WMF"},
    {40, " EMF", text::kKindImage, "EMF"},
    {0, "%PDF", text::kKindDocument, "PDF"},
    {0, "%!PS", text::kKindDocument, "PostScript"},
    {0, "PK\x03\x04", text::kKindArchive, "ZIP"},
    {0, "\x1F\x8B", text::kKindArchive, "gzip"},
    {0, "\xFD" "7zXZ", text::kKindArchive, "xz"},
    {0, "\x7F" "ELF", text::kKindProgram, ""},
}};

// Without a language table (the command-line tool) the English words.
QString English(int entry)
{
    switch (entry) {
    case text::kNotAProject: return QStringLiteral("\"%1\" is not a Tablix project: %2. Nothing has been changed.");
    case text::kFileEmpty: return QStringLiteral("the file is empty");
    case text::kFileSize: return QStringLiteral("it holds %1 bytes");
    case text::kFileBeginsLike: return QStringLiteral("its first bytes look like %1");
    case text::kProjectSize: return QStringLiteral("a project holds %1 bytes");
    case text::kKindImage: return QStringLiteral("an image (%1)");
    case text::kKindDocument: return QStringLiteral("a document (%1)");
    case text::kKindArchive: return QStringLiteral("an archive (%1)");
    case text::kKindText: return QStringLiteral("text");
    case text::kKindProgram: return QStringLiteral("a program");
    default: return {};
    }
}

// Only text has no control characters but blanks and line ends; every record holds marks of 0 or 1.
bool LooksLikeText(QByteArrayView head)
{
    return !head.isEmpty() && std::all_of(head.begin(), head.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x20 || b == '\t' || b == '\n' || b == '\r' || b == '\f';
    });
}

} // namespace

std::optional<FileKind> RecognizedFileKind(const QByteArray &head)
{
    for (const Signature &s : kSignatures) {
        if (head.size() >= s.offset + s.bytes.size() && QByteArrayView(head).sliced(s.offset, s.bytes.size()) == s.bytes) {
            // A metafile's mark stands after a header that starts with record type 1.
            if (s.offset == 40 && !head.startsWith(QByteArrayView("\x01\0\0\0", 4)))
                continue;
            if (s.offset == 8 && !head.startsWith("RIFF"))
                continue;
            return FileKind{s.entry, QString::fromLatin1(s.format)};
        }
    }
    if (LooksLikeText(QByteArrayView(head).first(std::min<qsizetype>(head.size(), 512))))
        return FileKind{text::kKindText, {}};
    return std::nullopt;
}

std::optional<QString> NotAProjectText(const QByteArray &bytes, qint64 fileSize, const QString &fileName,
                                       const LanguageTable *language)
{
    const auto E = [language](int entry) {
        const QString &own = language ? language->LanguageEntry(entry) : QString();
        return own.isEmpty() ? English(entry) : own;
    };
    constexpr qsizetype kProjectBytes = qsizetype(sizeof(SignSlotArray));
    const std::optional<FileKind> kind = RecognizedFileKind(bytes);
    const auto b = [&bytes](int offset) { return offset < bytes.size() ? static_cast<unsigned char>(bytes[offset]) : 0; };
    // Title length, layout and sign type all beyond what any record holds, zero-filled or not.
    const bool strangeFirstRecord = bytes.size() >= kProjectBytes && b(0) > kTitleLength && b(21) > 4 && b(22) > 6;
    QString what;
    if (fileSize == 0) {
        what = E(text::kFileEmpty);
    } else if (bytes.size() < kProjectBytes || kind || strangeFirstRecord) {
        what = E(text::kFileSize).replace(QStringLiteral("%1"), QString::number(fileSize));
        if (kind) {
            const QString kindText = E(kind->entry).replace(QStringLiteral("%1"), kind->format);
            what += QStringLiteral("; ") + E(text::kFileBeginsLike).replace(QStringLiteral("%1"), kindText);
        } else if (bytes.size() < kProjectBytes) {
            what += QStringLiteral("; ") + E(text::kProjectSize).replace(QStringLiteral("%1"), QString::number(kProjectBytes));
        }
    } else {
        return std::nullopt;
    }
    // The description first: a file name may hold "%2".
    return E(text::kNotAProject).replace(QStringLiteral("%2"), what).replace(QStringLiteral("%1"), fileName);
}

} // namespace tablix
