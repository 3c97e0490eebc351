// One sign as it is held in memory and in project files, and the project of twenty of them.
#include "core/project/sign_record.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "core/files/atomic_file.h"
#include "core/number/cp1250.h"
#include "core/files/input_file.h"
#include "core/project/foreign_file.h"
#include "core/project/project_check.h"

namespace tablix {

QString SignRecord::titleText() const
{
    const int length = title[0] > kTitleLength ? kTitleLength : title[0];
    return DecodeCp1250(reinterpret_cast<const char *>(title + 1), length);
}

void SignRecord::setTitle(const QString &text)
{
    const QByteArray bytes = EncodeCp1250(text).left(kTitleLength);
    std::memset(title, 0, sizeof title);
    title[0] = std::uint8_t(bytes.size());
    std::memcpy(title + 1, bytes.constData(), size_t(bytes.size()));
}

void BlankSignRecord(SignRecord &r)
{
    std::memset(r.title, 0, sizeof r.title);
    r.layout = Layout::SidePostsB;
    r.signType = SignType::NarrowFrame;
    std::memset(r.rowElements, 0, sizeof r.rowElements);
    std::memset(r.rowMarks, 0, sizeof r.rowMarks);
    std::memset(r.lowerMarks, 0, sizeof r.lowerMarks);
    r.width = Real48{};
    r.infillHeight = Real48{};
    r.extraCost = Real48{};
}

std::optional<SignSlotArray> ParseProject(const QByteArray &bytes, const QString &fileName, QString *error,
                                          const QString &damagedMessage, bool forRepair)
{
    if (bytes.size() < qsizetype(sizeof(SignSlotArray))) {
        if (error)
            *error = QStringLiteral("The project file \"%1\" holds %2 bytes; a project holds %3.")
                         .arg(fileName)
                         .arg(bytes.size())
                         .arg(sizeof(SignSlotArray));
        return std::nullopt;
    }
    SignSlotArray signs;
    std::memcpy(signs.data(), bytes.constData(), sizeof signs);
    if (const std::optional<RecordFault> fault = CheckProject(signs, !forRepair)) {
        if (error)
            *error = RecordFaultText(damagedMessage.isEmpty() ? DefaultDamagedProjectMessage() : damagedMessage,
                                     fileName, *fault);
        return std::nullopt;
    }
    return signs;
}

QByteArray SerializeProject(const SignSlotArray &signs)
{
    return QByteArray(reinterpret_cast<const char *>(signs.data()), qsizetype(sizeof signs));
}

ProjectLoad ReadProjectFile(const QString &path, const QString &damagedMessage, const LanguageTable *language,
                            bool forRepair)
{
    ProjectLoad result;
    const InputFile file = ReadInputFile(path, qint64(sizeof(SignSlotArray)), true, QString());
    if (!file.bytes) {
        result.error = file.error;
        return result;
    }
    const qint64 size = file.longer ? QFileInfo(path).size() : file.bytes->size();
    if (std::optional<QString> refusal = NotAProjectText(*file.bytes, size, QFileInfo(path).fileName(), language)) {
        result.error = *refusal;
        return result;
    }
    result.signs = ParseProject(*file.bytes, QFileInfo(path).fileName(), &result.error, damagedMessage, forRepair);
    if (result.signs && file.longer)
        result.notice = QStringLiteral("%1 is longer than one project; only its first %2 bytes are read")
                            .arg(QDir::toNativeSeparators(path))
                            .arg(sizeof(SignSlotArray));
    return result;
}

bool WriteProjectFile(const QString &path, const SignSlotArray &signs, QString *error)
{
    return WriteFileAtomically(path, SerializeProject(signs), error);
}

QString ProjectWritePath(const QString &chosen)
{
    // "Shop 1.2" is a name, not a file of type "2".
    return chosen.endsWith(QStringLiteral(".tab"), Qt::CaseInsensitive) ? chosen : chosen + QStringLiteral(".tab");
}

} // namespace tablix
