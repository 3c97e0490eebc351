// tablix-cli: the headless tool for scripts and checks.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "params/atomic_file.h"
#include "params/numfmt.h"
#include "params/parameters.h"
#include "shell/sign_record.h"

using namespace tablix;

namespace {

struct CliError {
    int exitCode;
    QString message;
};

[[noreturn]] void usageError(const QString &message)
{
    throw CliError{1, message};
}

[[noreturn]] void ioError(const QString &message)
{
    throw CliError{2, message};
}

const char *const kUsage =
    "usage: tablix-cli [--workdir DIR] COMMAND\n"
    "commands:\n"
    "  params dump           the parameter file as JSON on stdout\n"
    "  params load FILE      write the parameter file from a JSON file\n"
    "  info PROJECT          one line per sign in use\n";

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// Every Real48 value is exact as a double; 17 significant digits bring it back bit for bit.
QByteArray jsonNumber(const Real48 &value)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", double(value.get()));
    return buf;
}

QByteArray jsonString(const QString &text)
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
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

ParameterRecord readParameters(const QString &workdir)
{
    const QString path = QDir(workdir).filePath(QString::fromLatin1(kParameterFileName));
    ParameterLoad load = LoadParameterFile(path);
    if (!load.record)
        ioError(load.missing ? QStringLiteral("%1: %2").arg(path, load.error) : load.error);
    return *load.record;
}

int paramsDump(const QString &workdir)
{
    const ParameterRecord p = readParameters(workdir);
    QByteArray out = "{\n";
    for (const ScalarField &f : kScalarFields)
        out += "  \"" + QByteArray(f.name) + "\": " + jsonNumber(p.*(f.field)) + ",\n";
    out += "  \"elementRows\": [\n";
    for (int i = 0; i < 23; ++i) {
        const ElementTypeRow &r = p.elementRows[i];
        out += "    {\"priceB\": " + jsonNumber(r.priceB) + ", \"priceA\": " + jsonNumber(r.priceA)
               + ", \"heightMm\": " + jsonNumber(r.heightMm) + (i < 22 ? "},\n" : "}\n");
    }
    out += "  ],\n  \"languageFileName\": " + jsonString(p.languageFile());
    // Bytes behind the name that a plain name would not reproduce are kept as they are.
    ParameterRecord canonical = p;
    canonical.setLanguageFile(p.languageFile());
    if (std::memcmp(canonical.languageFileName, p.languageFileName, sizeof p.languageFileName) != 0)
        out += ",\n  \"languageFileNameBytes\": \""
               + QByteArray(reinterpret_cast<const char *>(p.languageFileName), sizeof p.languageFileName).toHex()
               + "\"";
    out += "\n}\n";
    writeOut(out);
    return 0;
}

void storeNumber(const QJsonObject &object, const char *name, const QString &fieldName, Real48 &destination)
{
    const QJsonValue value = object.value(QLatin1String(name));
    if (value.isUndefined())
        ioError(QStringLiteral("field \"%1\" is missing").arg(fieldName));
    if (!value.isDouble())
        ioError(QStringLiteral("field \"%1\" is not a number").arg(fieldName));
    try {
        destination.set(value.toDouble());
    } catch (const FloatingPointOverflow &e) {
        ioError(QStringLiteral("field \"%1\": %2").arg(fieldName, QString::fromLatin1(e.what())));
    }
}

int paramsLoad(const QString &workdir, const QString &jsonPath)
{
    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly))
        ioError(QStringLiteral("%1: %2").arg(jsonPath, file.errorString()));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (doc.isNull() || !doc.isObject())
        ioError(QStringLiteral("%1: not a JSON object (%2)").arg(jsonPath, parseError.errorString()));
    const QJsonObject root = doc.object();

    ParameterRecord p{};
    for (const ScalarField &f : kScalarFields)
        storeNumber(root, f.name, QString::fromLatin1(f.name), p.*(f.field));

    const QJsonValue rows = root.value(QLatin1String("elementRows"));
    if (rows.isUndefined())
        ioError(QStringLiteral("field \"elementRows\" is missing"));
    if (!rows.isArray() || rows.toArray().size() != 23)
        ioError(QStringLiteral("field \"elementRows\" is not a list of 23 rows"));
    const QJsonArray rowArray = rows.toArray();
    for (int i = 0; i < 23; ++i) {
        const QString prefix = QStringLiteral("elementRows[%1].").arg(i);
        if (!rowArray[i].isObject())
            ioError(QStringLiteral("field \"elementRows[%1]\" is not an object").arg(i));
        const QJsonObject row = rowArray[i].toObject();
        storeNumber(row, "priceB", prefix + QStringLiteral("priceB"), p.elementRows[i].priceB);
        storeNumber(row, "priceA", prefix + QStringLiteral("priceA"), p.elementRows[i].priceA);
        storeNumber(row, "heightMm", prefix + QStringLiteral("heightMm"), p.elementRows[i].heightMm);
    }

    const QJsonValue name = root.value(QLatin1String("languageFileName"));
    if (name.isUndefined())
        ioError(QStringLiteral("field \"languageFileName\" is missing"));
    if (!name.isString())
        ioError(QStringLiteral("field \"languageFileName\" is not a text"));
    if (name.toString().size() > 15)
        ioError(QStringLiteral("field \"languageFileName\" is longer than 15 characters"));
    p.setLanguageFile(name.toString());
    const QJsonValue rawName = root.value(QLatin1String("languageFileNameBytes"));
    if (!rawName.isUndefined()) {
        const QByteArray bytes = QByteArray::fromHex(rawName.toString().toLatin1());
        if (!rawName.isString() || bytes.size() != 16 || bytes.toHex() != rawName.toString().toLatin1().toLower())
            ioError(QStringLiteral("field \"languageFileNameBytes\" is not 16 bytes in hexadecimal"));
        std::memcpy(p.languageFileName, bytes.constData(), 16);
    }

    const QString target = QDir(workdir).filePath(QString::fromLatin1(kParameterFileName));
    QString error;
    if (!WriteFileAtomically(target, SerializeParameterRecord(p), &error))
        ioError(error);
    return 0;
}

int info(const QString &projectPath)
{
    const ProjectLoad load = ReadProjectFile(projectPath);
    if (!load.signs)
        ioError(load.error);
    QByteArray out;
    for (int i = 0; i < kMaxSigns; ++i) {
        const SignRecord &r = (*load.signs)[size_t(i)];
        if (!r.inUse())
            continue;
        int last = kMaxRows;
        while (last > 0 && r.rowElements[last - 1] == 0)
            --last;
        QStringList codes;
        for (int k = 0; k < last; ++k)
            codes << QString::number(r.rowElements[k]);
        const QStringList fields = {QString::number(i + 1),
                                    r.titleText(),
                                    QString::number(r.layout),
                                    QString::number(r.signType),
                                    FormatFixed(r.width.get(), 0, 2),
                                    FormatFixed(r.quantity.get(), 0, 2),
                                    codes.join(QLatin1Char(' '))};
        out += fields.join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    writeOut(out);
    return 0;
}

int run(QStringList args)
{
    QString workdir = QStringLiteral(".");
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--workdir")) {
            if (i + 1 >= args.size())
                usageError(QStringLiteral("--workdir needs a directory"));
            workdir = args[i + 1];
            args.remove(i, 2);
            --i;
        }
    }
    if (args.isEmpty())
        usageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("params")) {
        if (args.size() == 1 && args[0] == QLatin1String("dump"))
            return paramsDump(workdir);
        if (args.size() == 2 && args[0] == QLatin1String("load"))
            return paramsLoad(workdir, args[1]);
        usageError(QStringLiteral("params takes \"dump\" or \"load FILE\""));
    }
    if (command == QLatin1String("info")) {
        if (args.size() != 1)
            usageError(QStringLiteral("info takes one project file"));
        return info(args[0]);
    }
    usageError(QStringLiteral("unknown command \"%1\"").arg(command));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    try {
        return run(args);
    } catch (const CliError &e) {
        std::fprintf(stderr, "tablix-cli: %s\n", e.message.toLocal8Bit().constData());
        if (e.exitCode == 1)
            std::fputs(kUsage, stderr);
        return e.exitCode;
    }
}
