// tablix-cli: the headless tool for scripts and checks.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSize>
#include <QStringList>
#include <optional>
#include <cstdio>
#include <cstring>

#include "core/engine/compute_sign.h"
#include "core/export/emf.h"
#include "core/export/hpgl.h"
#include "core/render/summary.h"
#include "core/number/atomic_file.h"
#include "core/params/language.h"
#include "core/number/number_format.h"
#include "core/params/parameters.h"
#include "core/pricing/price_list.h"
#include "core/project/app_state.h"
#include "core/project/sign_record.h"

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
    "  params dump                    the parameter file as JSON on stdout\n"
    "  params load FILE               write the parameter file from a JSON file\n"
    "  info PROJECT                   one line per sign in use\n"
    "  cost PROJECT [--sign N]        the cost report of a sign\n"
    "  spec PROJECT [--sign N]        the dimensions and cutting list of a sign\n"
    "  geometry PROJECT [--sign N]    the computed geometry and totals as JSON\n"
    "  plt PROJECT [--sign N] [--scale S] -o FILE\n"
    "                                 the HP-GL plotter file at export scale S (percent)\n"
    "  emf PROJECT [--sign N] [--scale S] [--window WxH] -o FILE\n"
    "                                 the metafile; WxH is the main window's size\n"
    "  prices [--percent P]           the price list, optionally at P percent\n"
    "  summary PROJECT                the summary texts of every sign and the project total\n";

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// Every Real48 value is exact as a double; 17 significant digits bring it back bit for bit.
QByteArray jsonNumber(long double value)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", double(value));
    return buf;
}

QByteArray jsonNumber(const Real48 &value)
{
    return jsonNumber(value.get());
}

QByteArray jsonNumber(const Real48Value &value)
{
    return jsonNumber(value.get());
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

struct Options {
    QString workdir = QStringLiteral(".");
    int sign = 1;
    long double scale = 100;
    QSize window{800, 600};
    QString output;
    std::optional<long double> percent;
    QStringList positional;
};

long double numberArgument(const QString &option, const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok)
        usageError(QStringLiteral("%1 needs a number, not \"%2\"").arg(option, text));
    return v;
}

Options parseOptions(const QStringList &args)
{
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool takesValue = a == QLatin1String("--workdir") || a == QLatin1String("--sign")
                                || a == QLatin1String("--scale") || a == QLatin1String("--window")
                                || a == QLatin1String("-o") || a == QLatin1String("--percent");
        if (!takesValue) {
            if (a.startsWith(QLatin1Char('-')) && a.size() > 1)
                usageError(QStringLiteral("unknown option \"%1\"").arg(a));
            o.positional << a;
            continue;
        }
        if (i + 1 >= args.size())
            usageError(QStringLiteral("%1 needs a value").arg(a));
        const QString v = args[++i];
        if (a == QLatin1String("--workdir")) {
            o.workdir = v;
        } else if (a == QLatin1String("--sign")) {
            bool ok = false;
            o.sign = v.toInt(&ok);
            if (!ok || o.sign < 1 || o.sign > kMaxSigns)
                usageError(QStringLiteral("--sign takes a number from 1 to 20"));
        } else if (a == QLatin1String("--scale")) {
            o.scale = numberArgument(a, v);
            if (!(o.scale > 0))
                usageError(QStringLiteral("--scale must be greater than 0"));
        } else if (a == QLatin1String("--window")) {
            const QStringList wh = v.split(QLatin1Char('x'));
            bool okW = false, okH = false;
            if (wh.size() == 2)
                o.window = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
            if (!okW || !okH || o.window.width() <= 0 || o.window.height() <= 0)
                usageError(QStringLiteral("--window takes WIDTHxHEIGHT in pixels"));
        } else if (a == QLatin1String("-o")) {
            o.output = v;
        } else {
            o.percent = numberArgument(a, v);
            if (!(*o.percent > 0))
                usageError(QStringLiteral("--percent must be greater than 0"));
        }
    }
    return o;
}

SignSlotArray readProject(const QString &path)
{
    ProjectLoad load = ReadProjectFile(path);
    if (!load.signs)
        ioError(load.error);
    return *load.signs;
}

// Parameters, texts and the project, as the program holds them after opening the project.
void loadState(AppState &state, const Options &o, const QString &projectPath)
{
    state.parameters = readParameters(o.workdir);
    const QString languagePath = QDir(o.workdir).filePath(state.parameters.languageFile());
    LanguageLoad language = LoadLanguageFile(languagePath);
    if (!language.table)
        ioError(QStringLiteral("%1: %2").arg(languagePath, language.error));
    state.language = *language.table;
    state.RefreshParameters();
    state.OpenProject(readProject(projectPath), projectPath);
}

// Selects the sign as its page does and computes it once.
void computeSign(AppState &state, int sign)
{
    state.SelectSign(sign);
    ComputeSign(state);
}

QByteArray reportText(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.toUtf8();
}

QByteArray geometryJson(const AppState &state)
{
    const EngineResults &r = state.results;
    QByteArray out = "{ \"geometryHeight\": " + jsonNumber(r.geometryHeight) + ", \"signArea\": " + jsonNumber(r.signArea)
                     + ", \"runTotal\": " + jsonNumber(r.runTotal)
                     + ", \"areaSurcharge\": " + jsonNumber(state.currentSignRecord.areaSurcharge) + ",\n";
    out += "  \"elementKinds\": [\n";
    for (int code = 1; code <= kElementKinds; ++code) {
        const ElementKind &k = r.kind(code);
        out += "    {\"code\": " + QByteArray::number(code) + ", \"count\": " + QByteArray::number(k.count)
               + ", \"length\": " + jsonNumber(k.length) + ", \"value\": " + jsonNumber(k.value)
               + ", \"name\": " + jsonString(k.name) + (code < kElementKinds ? "},\n" : "}\n");
    }
    out += "  ],\n  \"records\": [\n";
    for (int n = 1; n <= kGeometryRecords; ++n) {
        const GeometryRecord &g = r.record(n);
        QByteArray strips;
        for (int k = 0; k < 8; ++k)
            strips += (k ? ", " : "") + jsonNumber(g.strips[k]);
        out += "    {\"x1\": " + jsonNumber(g.x1) + ", \"y1\": " + jsonNumber(g.y1) + ", \"x2\": " + jsonNumber(g.x2)
               + ", \"y2\": " + jsonNumber(g.y2) + ", \"strips\": [" + strips
               + "], \"colourClass\": " + QByteArray::number(g.colourClass) + (n < kGeometryRecords ? "},\n" : "}\n");
    }
    out += "  ]\n}\n";
    return out;
}

int info(const Options &o)
{
    AppState state;
    state.OpenProject(readProject(o.positional[0]), o.positional[0]);
    QByteArray out;
    for (int i = 1; i <= kMaxSigns; ++i) {
        const SignRecord &r = state.slot(i);
        if (!r.inUse())
            continue;
        int last = kMaxRows;
        while (last > 0 && r.rowElements[last - 1] == 0)
            --last;
        QStringList codes;
        for (int k = 0; k < last; ++k)
            codes << QString::number(r.rowElements[k]);
        const QStringList fields = {QString::number(i),
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

int prices(const Options &o)
{
    AppState state;
    state.parameters = readParameters(o.workdir);
    const QString languagePath = QDir(o.workdir).filePath(state.parameters.languageFile());
    LanguageLoad language = LoadLanguageFile(languagePath);
    if (!language.table)
        ioError(QStringLiteral("%1: %2").arg(languagePath, language.error));
    // The factor is held in the stored format, as the window holds it.
    Real48 percent, factor;
    percent.set(o.percent.value_or(100));
    factor.set(o.percent ? percent.get() * 0.01L : 1.0L);
    QByteArray out;
    for (const PriceListRow &row : PriceListRows(state.parameters, factor.get()))
        out += (language.table->LanguageEntry(row.labelEntry) + u'\t' + FormatFixed(row.firstPrice, 0, 2) + u'\t'
                + FormatFixed(row.secondPrice, 0, 2))
                   .toUtf8()
               + '\n';
    writeOut(out);
    return 0;
}

void writeOutputFile(const Options &o, const QByteArray &bytes)
{
    QString error;
    if (!WriteFileAtomically(o.output, bytes, &error))
        ioError(error);
}

int projectCommand(const QString &command, const Options &o)
{
    AppState state;
    loadState(state, o, o.positional[0]);
    if (command == QLatin1String("summary")) {
        writeOut(SummaryTexts(state).join(QLatin1Char('\n')).toUtf8() + '\n');
        return 0;
    }
    computeSign(state, o.sign);
    if (command == QLatin1String("cost")) {
        writeOut(reportText(state.results.CostText));
    } else if (command == QLatin1String("spec")) {
        writeOut(reportText(state.results.SpecificationText));
    } else if (command == QLatin1String("geometry")) {
        writeOut(geometryJson(state));
    } else {
        if (o.output.isEmpty())
            usageError(QStringLiteral("%1 needs -o FILE").arg(command));
        state.exportScale.set(o.scale);
        const std::optional<QByteArray> bytes = command == QLatin1String("plt") ? PlotterFile(state)
                                                                               : MetafileFile(state, o.window);
        if (!bytes)
            ioError(QStringLiteral("sign %1 has nothing to export").arg(o.sign));
        writeOutputFile(o, *bytes);
    }
    return 0;
}

int run(const QStringList &args)
{
    Options o = parseOptions(args);
    if (o.positional.isEmpty())
        usageError(QStringLiteral("no command given"));
    const QString command = o.positional.takeFirst();
    if (command == QLatin1String("params")) {
        if (o.positional.size() == 1 && o.positional[0] == QLatin1String("dump"))
            return paramsDump(o.workdir);
        if (o.positional.size() == 2 && o.positional[0] == QLatin1String("load"))
            return paramsLoad(o.workdir, o.positional[1]);
        usageError(QStringLiteral("params takes \"dump\" or \"load FILE\""));
    }
    if (command == QLatin1String("prices")) {
        if (!o.positional.isEmpty())
            usageError(QStringLiteral("prices takes no file"));
        return prices(o);
    }
    static const QStringList kProjectCommands = {QStringLiteral("info"), QStringLiteral("cost"), QStringLiteral("spec"),
                                                 QStringLiteral("geometry"), QStringLiteral("plt"), QStringLiteral("emf"),
                                                 QStringLiteral("summary")};
    if (!kProjectCommands.contains(command))
        usageError(QStringLiteral("unknown command \"%1\"").arg(command));
    if (o.positional.size() != 1)
        usageError(QStringLiteral("%1 takes one project file").arg(command));
    if (command == QLatin1String("info"))
        return info(o);
    return projectCommand(command, o);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    try {
        return run(args);
    } catch (const FloatingPointOverflow &e) {
        std::fprintf(stderr, "tablix-cli: %s\n", e.what());
        return 2;
    } catch (const CliError &e) {
        std::fprintf(stderr, "tablix-cli: %s\n", e.message.toLocal8Bit().constData());
        if (e.exitCode == 1)
            std::fputs(kUsage, stderr);
        return e.exitCode;
    }
}
