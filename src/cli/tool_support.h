// What the commands of tablix-cli share: errors, the parsed command line, reading the data folder
// and the project, and writing results.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/engine/results.h"
#include "core/params/language.h"
#include "core/params/parameters.h"
#include "core/project/app_state.h"
#include "core/project/sign_record.h"

namespace tablix::cli {

struct CliError {
    int exitCode;
    QString message;
};

// Exit code 1: the command line is wrong (the usage text follows the message).
[[noreturn]] void usageError(const QString &message);
// Exit code 2: input, output or computation failed.
[[noreturn]] void ioError(const QString &message);

// What the command line asked for; operands are the words after the command's name.
struct Invocation {
    QString workdir = QStringLiteral(".");
    QString dataMissing; // without --workdir: the message naming the folders searched
    int sign = 1;
    long double scale = 100;
    QSize window{800, 600};
    QString output;
    std::optional<long double> percent;
    QString stock; // --stock FILE: the stock settings of the cutting plan
    QString cutlist; // --cutlist FILE: a cut list CSV to plan instead of a project
    QString details; // --details FILE: the quote's details instead of those beside the project
    bool json = false;
    QString pdf;   // --pdf FILE: the drawn cutting plan
    QString sheet; // --sheet NAME: the label sheet ("3x8", "2x7")
    QStringList operands;
};

void writeOut(const QByteArray &bytes);
// What a user should know but that does not stop the command.
void warn(const QString &notice);
// The files a command may read: its operands and the data folder's parameter, language, stock
// and settings files (the parameter file left out when it is the output).
QStringList filesInUse(const Invocation &o, bool parametersWritten = false);
// "-" is standard output; anything else is written atomically, and never over a file in use.
void writeOutputFile(const Invocation &o, const QString &path, const QByteArray &bytes, bool parametersWritten = false);
QJsonObject readJsonObject(const QString &path);
QString parameterPath(const Invocation &o);
ParameterRecord readParameters(const Invocation &o);
LanguageTable readLanguage(const Invocation &o, const ParameterRecord &parameters);
// `forRepair`: implausible values are let through (project dump).
SignSlotArray readProject(const QString &path, bool forRepair = false);
// Parameters, texts and the project (operand 1), as the program holds them after opening it.
void loadState(AppState &state, const Invocation &o);
// Selects the sign as its page does and computes it once.
EngineResults computeSign(AppState &state, const Invocation &o);

} // namespace tablix::cli
