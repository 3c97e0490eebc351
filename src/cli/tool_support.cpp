// The shared part of tablix-cli's commands.
#include "cli/tool_support.h"

#include <QDir>
#include <cstdio>

#include "core/engine/compute_sign.h"
#include "core/files/atomic_file.h"
#include "core/number/escaped_text.h"
#include "core/files/input_file.h"
#include "core/params/params_json.h"
#include "core/params/settings.h"
#include "core/project/project_json.h"
#include "core/workshop/stock.h"

namespace tablix::cli {

void usageError(const QString &message)
{
    throw CliError{1, message};
}

void ioError(const QString &message)
{
    throw CliError{2, message};
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void warn(const QString &notice)
{
    if (!notice.isEmpty())
        std::fprintf(stderr, "tablix-cli: warning: %s\n", EscapedControls(notice, false).toLocal8Bit().constData());
}

QStringList filesInUse(const Invocation &o, bool parametersWritten)
{
    QStringList files = o.operands;
    if (!o.cutlist.isEmpty())
        files << o.cutlist;
    if (!o.details.isEmpty())
        files << o.details;
    const QString parameters = parameterPath(o);
    if (!parametersWritten)
        files << parameters;
    const ParameterLoad load = LoadParameterFile(parameters);
    if (load.record && IsPlainLanguageFileName(load.record->languageFile()))
        files << QDir(o.workdir).filePath(load.record->languageFile());
    files << (o.stock.isEmpty() ? StockFilePath(o.workdir) : o.stock)
          << QDir(o.workdir).filePath(QString::fromLatin1(kSettingsFileName));
    return files;
}

void writeOutputFile(const Invocation &o, const QString &path, const QByteArray &bytes, bool parametersWritten)
{
    if (path == QLatin1String("-")) {
        writeOut(bytes);
        return;
    }
    QString error = OutputIsInputError(path, filesInUse(o, parametersWritten));
    if (!error.isEmpty() || !WriteFileAtomically(path, bytes, &error))
        ioError(error);
}

QJsonObject readJsonObject(const QString &path)
{
    const InputFile file = ReadInputFile(path, kTextFileLimit, false, QStringLiteral("a JSON file of this tool"));
    if (!file.bytes)
        ioError(file.error);
    QString error;
    const std::optional<QJsonObject> object = JsonObjectFrom(*file.bytes, &error);
    if (!object)
        ioError(QStringLiteral("%1: %2").arg(path, error));
    return *object;
}

QString parameterPath(const Invocation &o)
{
    return QDir(o.workdir).filePath(QString::fromLatin1(kParameterFileName));
}

ParameterRecord readParameters(const Invocation &o)
{
    const QString path = parameterPath(o);
    ParameterLoad load = LoadParameterFile(path);
    if (!load.record && load.missing && !o.dataMissing.isEmpty())
        ioError(o.dataMissing);
    if (!load.record)
        ioError(load.missing ? QStringLiteral("%1: %2").arg(path, load.error) : load.error);
    warn(load.notice);
    return *load.record;
}

LanguageTable readLanguage(const Invocation &o, const ParameterRecord &parameters)
{
    LanguageLoad language = LoadNamedLanguageFile(o.workdir, parameters.languageFile());
    if (!language.table)
        ioError(language.error);
    if (language.missing > 0)
        warn(QStringLiteral("%1 lacks %2 of the %3 language entries; they are shown in English")
                 .arg(QDir(o.workdir).filePath(parameters.languageFile()))
                 .arg(language.missing)
                 .arg(kLanguageEntries));
    ApplyCurrencySetting(*language.table, o.workdir);
    return *language.table;
}

SignSlotArray readProject(const QString &path, bool forRepair)
{
    ProjectLoad load = ReadProjectFile(path, QString(), nullptr, forRepair);
    if (!load.signs)
        ioError(load.error);
    warn(load.notice);
    return *load.signs;
}

void loadState(AppState &state, const Invocation &o)
{
    state.parameters = readParameters(o);
    state.language = readLanguage(o, state.parameters);
    state.RefreshParameters();
    state.OpenProject(readProject(o.operands[0]), o.operands[0]);
}

EngineResults computeSign(AppState &state, const Invocation &o)
{
    loadState(state, o);
    state.SelectSign(o.sign);
    return ComputeSign(state);
}

} // namespace tablix::cli
