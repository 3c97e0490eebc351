// The parameter record: every technical and commercial constant, stored in Tablix_pro.dan.
#include "core/params/parameters.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "core/number/cp1250.h"
#include "core/files/input_file.h"

namespace tablix {

const std::array<ScalarField, 28> kScalarFields = {{
    {"markupPercent3", &ParameterRecord::markupPercent3},
    {"areaBandLimit1", &ParameterRecord::areaBandLimit1},
    {"areaBandLimit2", &ParameterRecord::areaBandLimit2},
    {"areaBandLimit3", &ParameterRecord::areaBandLimit3},
    {"markupPercent1", &ParameterRecord::markupPercent1},
    {"markupPercent2", &ParameterRecord::markupPercent2},
    {"costItem1", &ParameterRecord::costItem1},
    {"costItem2", &ParameterRecord::costItem2},
    {"costItem3", &ParameterRecord::costItem3},
    {"costItem4", &ParameterRecord::costItem4},
    {"generalValue", &ParameterRecord::generalValue},
    {"costItem5", &ParameterRecord::costItem5},
    {"costItem6", &ParameterRecord::costItem6},
    {"costItem7", &ParameterRecord::costItem7},
    {"costItem8", &ParameterRecord::costItem8},
    {"areaBandValue1", &ParameterRecord::areaBandValue1},
    {"areaBandValue2", &ParameterRecord::areaBandValue2},
    {"areaBandValue3", &ParameterRecord::areaBandValue3},
    {"areaBandValue4", &ParameterRecord::areaBandValue4},
    {"costItem9", &ParameterRecord::costItem9},
    {"costItem10", &ParameterRecord::costItem10},
    {"costItem11", &ParameterRecord::costItem11},
    {"costItem12", &ParameterRecord::costItem12},
    {"costItem13", &ParameterRecord::costItem13},
    {"costItem14", &ParameterRecord::costItem14},
    {"costItem15", &ParameterRecord::costItem15},
    {"costItem16", &ParameterRecord::costItem16},
    {"priceListPercent", &ParameterRecord::priceListPercent},
}};

QString ParameterRecord::languageFile() const
{
    const int length = languageFileName[0] > 15 ? 15 : languageFileName[0];
    return DecodeCp1250(reinterpret_cast<const char *>(languageFileName + 1), length);
}

void ParameterRecord::setLanguageFile(const QString &name)
{
    const QByteArray bytes = EncodeCp1250(name).left(15);
    std::memset(languageFileName, 0, sizeof languageFileName);
    languageFileName[0] = std::uint8_t(bytes.size());
    std::memcpy(languageFileName + 1, bytes.constData(), size_t(bytes.size()));
}

void RefreshElementTypeTable(const ParameterRecord &p, DerivedParameters &d)
{
    for (size_t i = 0; i < kElementTypeTableRows.size(); ++i)
        d.ElementTypeTable[i] = p.elementRows[kElementTypeTableRows[i]];
}

void RefreshPricePercent(const ParameterRecord &p, DerivedParameters &d)
{
    if (p.priceListPercent.get() > 0) {
        d.FixedPricePercent = p.priceListPercent;
        d.HasFixedPricePercent = true;
    } else {
        d.FixedPricePercent = Real48{};
        d.HasFixedPricePercent = false;
    }
    d.FixedPricePercentIs100 = d.HasFixedPricePercent && d.FixedPricePercent.get() == 100.0L;
}

std::optional<ParameterRecord> ParseParameterRecord(const QByteArray &bytes, const QString &fileName,
                                                    QString *error)
{
    if (bytes.size() < qsizetype(sizeof(ParameterRecord))) {
        if (error)
            *error = QStringLiteral("The parameter file \"%1\" holds %2 bytes; a complete one holds %3.")
                         .arg(fileName)
                         .arg(bytes.size())
                         .arg(sizeof(ParameterRecord));
        return std::nullopt;
    }
    ParameterRecord p;
    std::memcpy(&p, bytes.constData(), sizeof p);
    return p;
}

ParameterLoad LoadParameterFile(const QString &path)
{
    ParameterLoad result;
    const InputFile file = ReadInputFile(path, qint64(sizeof(ParameterRecord)), true, QString());
    if (!file.bytes) {
        result.missing = file.openFailed;
        // The caller words a missing file itself and adds the name.
        result.error = file.openFailed ? file.reason : file.error;
        return result;
    }
    result.record = ParseParameterRecord(*file.bytes, QFileInfo(path).fileName(), &result.error);
    if (result.record && file.longer)
        result.notice = QStringLiteral("%1 is longer than one parameter record; only its first %2 bytes are read")
                            .arg(QDir::toNativeSeparators(path))
                            .arg(sizeof(ParameterRecord));
    return result;
}

QByteArray SerializeParameterRecord(const ParameterRecord &p)
{
    return QByteArray(reinterpret_cast<const char *>(&p), qsizetype(sizeof p));
}

} // namespace tablix
