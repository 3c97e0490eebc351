// Telling a file that is no project at all from a damaged project, and saying what it holds.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tablix {

struct LanguageTable;

// What the first bytes of a file look like: a kind (language entries 340-344) and the format's
// name ("PNG"); nothing when they look like no known kind.
struct FileKind {
    int entry = 0;
    QString format;
};
std::optional<FileKind> RecognizedFileKind(const QByteArray &head);

// The refusal of a file that cannot be a project (empty, short, of a known other kind, or with a
// first record whose every structural byte is out of range): "<name> is not a Tablix project"
// with its size and what it looks like. Nothing when the bytes may be a project, damaged or not.
// `bytes` is what was read of the file, `fileSize` its whole size; without a language, English.
std::optional<QString> NotAProjectText(const QByteArray &bytes, qint64 fileSize, const QString &fileName,
                                       const LanguageTable *language);

} // namespace tablix
