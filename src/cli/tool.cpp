// tablix-cli: the headless tool for scripts and checks; one table gives its usage text and its dispatch.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QSize>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "cli/drawing_commands.h"
#include "cli/tool.h"
#include "cli/quote_command.h"
#include "core/render/quote_details.h"
#include "cli/tool_support.h"
#include "cli/workshop_commands.h"
#include "core/engine/compute_sign.h"
#include "core/export/emf.h"
#include "core/export/hpgl.h"
#include "core/files/atomic_file.h"
#include "core/number/escaped_text.h"
#include "core/files/input_file.h"
#include "core/number/number_format.h"
#include "core/params/data_folder.h"
#include "core/params/language.h"
#include "core/params/params_json.h"
#include "core/params/parameters.h"
#include "core/params/settings.h"
#include "core/pricing/price_list.h"
#include "core/project/app_state.h"
#include "core/project/project_check.h"
#include "core/project/project_json.h"
#include "core/project/sign_record.h"
#include "core/render/summary.h"

using namespace tablix;
using namespace tablix::cli;

namespace {

QByteArray reportText(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t.toUtf8();
}

// ---- the commands ---------------------------------------------------------------------------

int paramsDump(const Invocation &o)
{
    writeOut(ParametersToJson(readParameters(o)));
    return 0;
}

int paramsLoad(const Invocation &o)
{
    QString error;
    const std::optional<ParameterRecord> p = ParametersFromJsonObject(readJsonObject(o.operands[0]), &error);
    if (!p)
        ioError(error);
    writeOutputFile(o, parameterPath(o), SerializeParameterRecord(*p), true);
    return 0;
}

int projectDump(const Invocation &o)
{
    writeOut(ProjectToJson(readProject(o.operands[0], true)));
    return 0;
}

int projectLoad(const Invocation &o)
{
    if (o.output.isEmpty())
        usageError(QStringLiteral("project load needs -o PROJECT"));
    QString error;
    const std::optional<SignSlotArray> signs = ProjectFromJsonObject(readJsonObject(o.operands[0]), &error);
    if (!signs)
        ioError(error);
    // Nothing is written that no program could open.
    if (const std::optional<RecordFault> fault = CheckProject(*signs))
        ioError(RecordFaultText(DefaultDamagedProjectMessage(), QFileInfo(o.output).fileName(), *fault));
    writeOutputFile(o, o.output, SerializeProject(*signs));
    return 0;
}

int info(const Invocation &o)
{
    AppState state;
    state.OpenProject(readProject(o.operands[0]), o.operands[0]);
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
                                    EscapedControls(r.titleText()),
                                    QString::number(Number(r.layout)),
                                    QString::number(Number(r.signType)),
                                    FormatFixed(r.width.get(), 0, 2),
                                    FormatFixed(r.quantity.get(), 0, 2),
                                    codes.join(QLatin1Char(' '))};
        out += fields.join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    writeOut(out);
    return 0;
}

int cost(const Invocation &o)
{
    AppState state;
    writeOut(reportText(computeSign(state, o).CostText));
    return 0;
}

int spec(const Invocation &o)
{
    AppState state;
    writeOut(reportText(computeSign(state, o).SpecificationText));
    return 0;
}

int geometry(const Invocation &o)
{
    AppState state;
    const EngineResults r = computeSign(state, o);
    QByteArray out = "{ \"geometryHeight\": " + JsonNumber17(r.geometryHeight.get())
                     + ", \"signArea\": " + JsonNumber17(r.signArea.get()) + ", \"runTotal\": " + JsonNumber17(r.runTotal.get())
                     + ", \"areaSurcharge\": " + JsonNumber17(r.areaSurcharge.get()) + ",\n";
    out += "  \"elementKinds\": [\n";
    for (int code = 1; code <= kElementKinds; ++code) {
        const ElementKind &k = r.kind(code);
        out += "    {\"code\": " + QByteArray::number(code) + ", \"count\": " + QByteArray::number(k.count)
               + ", \"length\": " + JsonNumber17(k.length.get()) + ", \"value\": " + JsonNumber17(k.value.get())
               + ", \"name\": " + JsonQuoted(k.name) + (code < kElementKinds ? "},\n" : "}\n");
    }
    out += "  ],\n  \"records\": [\n";
    for (int n = 1; n <= kGeometryRecords; ++n) {
        const GeometryRecord &g = r.record(n);
        QByteArray strips;
        for (int k = 0; k < 8; ++k)
            strips += (k ? ", " : "") + JsonNumber17(g.strips[k].get());
        out += "    {\"x1\": " + JsonNumber17(g.x1.get()) + ", \"y1\": " + JsonNumber17(g.y1.get())
               + ", \"x2\": " + JsonNumber17(g.x2.get()) + ", \"y2\": " + JsonNumber17(g.y2.get())
               + ", \"strips\": [" + strips + "], \"colourClass\": " + QByteArray::number(int(g.colourClass))
               + (n < kGeometryRecords ? "},\n" : "}\n");
    }
    out += "  ]\n}\n";
    writeOut(out);
    return 0;
}

// The plotter file and the metafile: nothing is written for a sign without rows.
int exportFile(const Invocation &o, bool plotter)
{
    if (o.output.isEmpty())
        usageError(QStringLiteral("%1 needs -o FILE").arg(QLatin1String(plotter ? "plt" : "emf")));
    AppState state;
    computeSign(state, o);
    state.exportScale.set(o.scale);
    std::optional<QByteArray> bytes;
    try {
        bytes = plotter ? PlotterFile(state) : MetafileFile(state, o.window);
    } catch (const MetafileTooLarge &e) {
        ioError(QString::fromUtf8(e.what()));
    }
    if (!bytes)
        ioError(QStringLiteral("sign %1 has nothing to export").arg(o.sign));
    writeOutputFile(o, o.output, *bytes);
    return 0;
}

int plt(const Invocation &o)
{
    return exportFile(o, true);
}

int emf(const Invocation &o)
{
    return exportFile(o, false);
}

int prices(const Invocation &o)
{
    const ParameterRecord parameters = readParameters(o);
    const LanguageTable language = readLanguage(o, parameters);
    // The factor is held in the stored format, as the window holds it.
    Real48 percent, factor;
    percent.set(o.percent.value_or(100));
    factor.set(o.percent ? percent.get() * 0.01L : 1.0L);
    QByteArray out;
    for (const PriceListRow &row : PriceListRows(parameters, factor.get()))
        out += (language.LanguageEntry(row.labelEntry) + u'\t' + FormatFixed(row.firstPrice, 0, 2) + u'\t'
                + FormatFixed(row.secondPrice, 0, 2))
                   .toUtf8()
               + '\n';
    writeOut(out);
    return 0;
}

int summary(const Invocation &o)
{
    AppState state;
    loadState(state, o);
    QStringList lines;
    for (const QString &text : SummaryTexts(state))
        lines << EscapedControls(text);
    writeOut(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    return 0;
}

// ---- the table ------------------------------------------------------------------------------

struct Command {
    const char *name;      // one word, or a group word and a sub-command
    const char *arguments; // operands first, then options; "-o FILE" outside brackets is required
    const char *help;
    int (*handler)(const Invocation &);
};

const Command kCommands[] = {
    {"params dump", "", "the parameter file as JSON on stdout", paramsDump},
    {"params load", "FILE", "write the parameter file from a JSON file", paramsLoad},
    {"project dump", "PROJECT", "the project file as JSON on stdout", projectDump},
    {"project load", "FILE -o PROJECT", "write a project file from a JSON file", projectLoad},
    {"info", "PROJECT", "one line per sign in use", info},
    {"cost", "PROJECT [--sign N]", "the cost report of a sign", cost},
    {"spec", "PROJECT [--sign N]", "the dimensions and cutting list of a sign", spec},
    {"geometry", "PROJECT [--sign N]", "the computed geometry and totals as JSON", geometry},
    {"plt", "PROJECT [--sign N] [--scale S] -o FILE", "the HP-GL plotter file at export scale S (percent)", plt},
    {"emf", "PROJECT [--sign N] [--scale S] [--window WxH] -o FILE", "the metafile; WxH is the main window's size", emf},
    {"svg", "PROJECT [--sign N] [--scale S] -o FILE", "the drawing as SVG, in millimetres at scale S (100 = true size)", svgCommand},
    {"pdf", "PROJECT [--sign N] [--scale S] -o FILE", "the drawing as PDF on a page of its size (at most 5080 mm)", pdfCommand},
    {"dxf", "PROJECT [--sign N] [--scale S] -o FILE", "the outlines as DXF, in millimetres at scale S", dxfCommand},
    {"prices", "[--percent P]", "the price list, optionally at P percent", prices},
    {"summary", "PROJECT", "the summary texts of every sign and the project total", summary},
    {"cutlist", "PROJECT [-o FILE]", "the project's cut list as CSV", cutList},
    {"plan", "PROJECT [--stock FILE] [--json] [-o FILE] [--pdf FILE]", "the cutting plan: stock bars per profile and their cuts", cuttingPlan},
    {"plan", "--cutlist FILE [--stock FILE] [--json] [-o FILE] [--pdf FILE]", "the cutting plan of a cut list CSV", cuttingPlanOfCutList},
    {"labels", "PROJECT [--stock FILE] [--sheet 3x8|2x7] -o FILE", "a label for every cut piece, in saw order, as a PDF of label sheets", pieceLabels},
    {"quote", "PROJECT -o FILE [--details FILE]", "the customer's quote of every sign in use as a PDF/A", quote},
};

struct GlobalOption {
    const char *synopsis;
    const char *help;
};

const GlobalOption kGlobalOptions[] = {
    {"--workdir DIR, --workdir=DIR", "the folder of Tablix_pro.dan and the language files (default: the current "
                                     "directory when it holds Tablix_pro.dan, else ~/.config/tablix)"},
    {"-o FILE", "where a command writes; - is stdout, a device or pipe is written in place"},
    {"--help, -h", "this text on stdout; after a command, that command's help"},
    {"--version", "the version on stdout"},
};

// What `COMMAND --help` adds to a command's one line; commands without a row have that line only.
struct CommandDetail {
    const char *name;
    const char *text;
};

const CommandDetail kCommandDetails[] = {
    {"params dump", "Writes the data folder's parameter file (Tablix_pro.dan) as JSON, one field per line; "
                    "\"params load\" turns it back into the same bytes."},
    {"params load", "Reads a JSON file as \"params dump\" writes it and replaces the data folder's parameter file "
                    "(atomically: a failure leaves the old file)."},
    {"project dump", "Writes a project file (.tab) as JSON: every sign slot with its fields."},
    {"project load", "Reads a JSON file as \"project dump\" writes it and writes the project file."},
    {"info", "One line per sign in use, fields separated by tabs: slot, title, layout, sign type, width, quantity "
             "and the element codes of the rows."},
    {"cost", "Computes the sign with the data folder's parameters and language and writes its cost report, as "
             "the program's report shows it."},
    {"spec", "Computes the sign and writes its dimensions and cutting list, as the program's report shows them."},
    {"geometry", "Computes the sign and writes its geometry (rectangles and strips), element kinds and totals as JSON."},
    {"plt", "Computes the sign and writes the HP-GL plotter file the program's export writes; a sign without "
            "rows writes nothing and fails."},
    {"emf", "Computes the sign and writes the Windows metafile the program's export writes; the drawing is "
            "scaled to the window size given."},
    {"prices", "The price list of the data folder's parameters in the language the parameter file names: name, "
               "price A and price B per line, tab-separated."},
    {"summary", "The summary page's texts: one block per sign in use, then the project total."},
    {"quote", "The letterhead, tax rate and quote numbers are the shop details of the data folder's tablix.ini "
              "(group [shop]). The customer and the quote's number and dates come from PROJECT's NAME.quote.json "
              "beside it, or from --details FILE, a JSON object of the texts below; a quote without a number "
              "takes the shop's next one, which advances only once the PDF is written. A sign left out "
              "(quantity 0) or rounded up is named on the quote and here on stderr."},
};

// The options a command's arguments name, described in its help.
const GlobalOption kCommandOptions[] = {
    {"--sign N", "the sign: 1 to 20 (default 1)"},
    {"--scale S", "the export scale in percent (default 100)"},
    {"--window WxH", "the main window's size in pixels (default 800x600)"},
    {"-o FILE", "where the result is written; - is stdout"},
    {"--percent P", "the prices at P percent of the list prices"},
    {"--stock FILE", "the stock settings file"},
    {"--cutlist FILE", "a cut list as \"cutlist\" writes it: profile, length in cm, count per line"},
    {"--json", "JSON instead of text"},
    {"--details FILE", "the quote's details as JSON (default: NAME.quote.json beside the project)"},
    {"--pdf FILE", "the plan drawn: bar diagrams and saw order with the signs, A4 landscape"},
    {"--sheet NAME", "the label sheet: 3x8 (70 x 36 mm, the default) or 2x7 (99.1 x 38.1 mm), A4"},
};

QStringList words(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The operands are the words of `arguments` before its first option.
int operandCount(const Command &c)
{
    int n = 0;
    for (const QString &w : words(c.arguments)) {
        if (w.startsWith(QLatin1Char('[')) || w.startsWith(QLatin1Char('-')))
            break;
        ++n;
    }
    return n;
}

QByteArray helpLine(const QByteArray &synopsis, const char *help)
{
    constexpr qsizetype kColumn = 33;
    QByteArray line = "  " + synopsis;
    line += line.size() < kColumn ? QByteArray(kColumn - line.size(), ' ') : "\n" + QByteArray(kColumn, ' ');
    return line + help + '\n';
}

QByteArray usageText()
{
    QByteArray text = "usage: tablix-cli [--workdir DIR] COMMAND\n"
                      "       tablix-cli COMMAND --help\n"
                      "       tablix-cli --help | --version\n"
                      "commands:\n";
    for (const Command &c : kCommands)
        text += helpLine(QByteArray(c.name) + (*c.arguments ? " " : "") + c.arguments, c.help);
    text += "options:\n";
    for (const GlobalOption &g : kGlobalOptions)
        text += helpLine(g.synopsis, g.help);
    return text;
}

// Lines of at most 79 characters, broken between words.
QByteArray wrapped(const QByteArray &text)
{
    QByteArray out, line;
    for (const QByteArray &word : text.split(' ')) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > 79) {
            out += line + '\n';
            line.clear();
        }
        line += (line.isEmpty() ? "" : " ") + word;
    }
    return out + line + '\n';
}

// The help of the commands the words name: one command, or every command of a group.
QByteArray commandHelp(const QStringList &positional)
{
    QByteArray text;
    for (const Command &c : kCommands) {
        const QStringList name = words(c.name);
        const qsizetype compared = std::min(name.size(), positional.size());
        if (name.mid(0, compared) != positional.mid(0, compared))
            continue;
        if (!text.isEmpty())
            text += '\n';
        text += "usage: tablix-cli [--workdir DIR] " + QByteArray(c.name) + (*c.arguments ? " " : "") + c.arguments
                + "\n\n";
        QByteArray about = QByteArray(c.help) + '.';
        about[0] = char(std::toupper(static_cast<unsigned char>(about[0])));
        for (const CommandDetail &d : kCommandDetails)
            if (std::strcmp(d.name, c.name) == 0)
                about += ' ' + QByteArray(d.text);
        text += wrapped(about) + "\n";
        QByteArray options;
        QStringList named;
        for (QString w : words(c.arguments))
            named << w.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        for (const GlobalOption &o : kCommandOptions)
            if (named.contains(words(o.synopsis)[0]))
                options += helpLine(o.synopsis, o.help);
        options += helpLine("--workdir DIR", "the data folder (see tablix-cli --help)");
        text += "options:\n" + options;
        if (std::strcmp(c.name, "quote") == 0)
            text += "\nfields of the details file (all optional):\n" + QuoteDetailsFieldsHelp().toUtf8();
    }
    if (text.isEmpty())
        usageError(QStringLiteral("unknown command \"%1\"").arg(positional.join(QLatin1Char(' '))));
    return text;
}

// The command named by the first words of `positional`; its operands are left in `positional`.
const Command &findCommand(QStringList &positional)
{
    if (positional.isEmpty())
        usageError(QStringLiteral("no command given"));
    const QString group = positional[0];
    QStringList forms;
    for (const Command &c : kCommands) {
        const QStringList name = words(c.name);
        if (name[0] != group)
            continue;
        QStringList form = name.mid(1) + words(c.arguments).mid(0, operandCount(c));
        forms << form.join(QLatin1Char(' '));
        if (positional.size() == name.size() + operandCount(c) && positional.mid(0, name.size()) == name) {
            positional = positional.mid(name.size());
            return c;
        }
    }
    if (forms.isEmpty())
        usageError(QStringLiteral("unknown command \"%1\"").arg(group));
    if (forms.size() == 1 && forms[0].isEmpty())
        usageError(QStringLiteral("%1 takes no file").arg(group));
    usageError(QStringLiteral("%1 takes \"%2\"").arg(group, forms.join(QStringLiteral("\" or \""))));
}

long double numberArgument(const QString &option, const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok)
        usageError(QStringLiteral("%1 needs a number, not \"%2\"").arg(option, text));
    return v;
}

int run(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption workdir(QStringLiteral("workdir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption sign(QStringLiteral("sign"), QString(), QStringLiteral("N"));
    const QCommandLineOption scale(QStringLiteral("scale"), QString(), QStringLiteral("S"));
    const QCommandLineOption window(QStringLiteral("window"), QString(), QStringLiteral("WxH"));
    const QCommandLineOption output(QStringLiteral("o"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption percent(QStringLiteral("percent"), QString(), QStringLiteral("P"));
    const QCommandLineOption stock(QStringLiteral("stock"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption cutlist(QStringLiteral("cutlist"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption details(QStringLiteral("details"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption sheet(QStringLiteral("sheet"), QString(), QStringLiteral("NAME"));
    const QList<QCommandLineOption> valued = {workdir, sign, scale, window, output, percent, stock, cutlist, details, pdf, sheet};
    parser.addOptions(valued);
    parser.addOption(json);
    parser.addOption(help);
    parser.addOption(version);

    QStringList args = arguments;
    args.prepend(QStringLiteral("tablix-cli"));
    if (!parser.parse(args)) {
        // Qt names the option without its dashes; give it back as typed.
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            for (const QString &a : arguments) {
                const QString typed = a.section(QLatin1Char('='), 0, 0);
                if (typed.startsWith(QLatin1Char('-')) && QStringView(typed).mid(typed.startsWith(QLatin1String("--")) ? 2 : 1) == unknown[0])
                    usageError(QStringLiteral("unknown option \"%1\"").arg(typed));
            }
            usageError(QStringLiteral("unknown option \"-%1\"").arg(unknown[0]));
        }
        for (const QCommandLineOption &option : valued) {
            const QString name = option.names()[0];
            const QString typed = (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
            if (!arguments.isEmpty() && arguments.last() == typed)
                usageError(QStringLiteral("%1 needs a value").arg(typed));
        }
        usageError(parser.errorText());
    }
    if (parser.isSet(help)) {
        const QStringList positional = parser.positionalArguments();
        writeOut(positional.isEmpty() ? usageText() : commandHelp(positional));
        return 0;
    }
    if (parser.isSet(version)) {
        writeOut("tablix-cli " TABLIX_VERSION "\n");
        return 0;
    }

    Invocation o;
    if (parser.isSet(sign)) {
        bool ok = false;
        o.sign = parser.value(sign).toInt(&ok);
        if (!ok || o.sign < 1 || o.sign > kMaxSigns)
            usageError(QStringLiteral("--sign takes a number from 1 to 20"));
    }
    if (parser.isSet(scale)) {
        o.scale = numberArgument(QStringLiteral("--scale"), parser.value(scale));
        if (!(o.scale > 0))
            usageError(QStringLiteral("--scale must be greater than 0"));
    }
    if (parser.isSet(window)) {
        const QStringList wh = parser.value(window).split(QLatin1Char('x'));
        bool okW = false, okH = false;
        if (wh.size() == 2)
            o.window = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
        if (!okW || !okH || o.window.width() <= 0 || o.window.height() <= 0)
            usageError(QStringLiteral("--window takes WIDTHxHEIGHT in pixels"));
    }
    if (parser.isSet(output))
        o.output = parser.value(output);
    if (parser.isSet(percent)) {
        o.percent = numberArgument(QStringLiteral("--percent"), parser.value(percent));
        if (!(*o.percent > 0))
            usageError(QStringLiteral("--percent must be greater than 0"));
    }

    if (parser.isSet(stock))
        o.stock = parser.value(stock);
    if (parser.isSet(cutlist))
        o.cutlist = parser.value(cutlist);
    if (parser.isSet(details))
        o.details = parser.value(details);
    o.json = parser.isSet(json);
    if (parser.isSet(pdf))
        o.pdf = parser.value(pdf);
    if (parser.isSet(sheet))
        o.sheet = parser.value(sheet);

    o.operands = parser.positionalArguments();
    const Command &command = findCommand(o.operands);
    if (parser.isSet(workdir)) {
        o.workdir = parser.value(workdir);
    } else {
        // As the program finds it; a first use fills the configuration folder.
        const DataFolderChoice found = ChooseDataFolder(CurrentDataFolderPlaces(QString()));
        o.workdir = found.folder;
        o.dataMissing = DataMissingMessage(found, QString(), false);
    }
    return command.handler(o);
}

} // namespace

int tablix::RunTool(const QStringList &args)
{
    try {
        const int code = run(args);
        // Output that never reached its file is a failure, as for -o FILE.
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            std::fprintf(stderr, "tablix-cli: could not write to standard output: %s\n",
                         FileErrorReason(errno).toLocal8Bit().constData());
            return 2;
        }
        return code;
    } catch (const FloatingPointOverflow &e) {
        std::fprintf(stderr, "tablix-cli: %s\n", e.what());
        return 2;
    } catch (const CliError &e) {
        std::fprintf(stderr, "tablix-cli: %s\n", e.message.toLocal8Bit().constData());
        if (e.exitCode == 1)
            std::fputs(usageText().constData(), stderr);
        return e.exitCode;
    }
}
