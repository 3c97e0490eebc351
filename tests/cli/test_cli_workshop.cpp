// cutlist and plan run as a user runs them: the CSV read back by Python's csv module, the plan's
// JSON, stock files that are refused, and projects with nothing to cut.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <map>

#include "support/cli_runner.h"
#include "support/fixtures.h"

namespace {

using ToolRun = support::CliRun;

struct WorkshopCliTest : ::testing::Test {
    QTemporaryDir dir;
    QString project;

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    ToolRun run(const QString &program, const QStringList &args, const QByteArray &input = {}) const
    {
        return support::RunProgram(program, args, {.input = input});
    }
    ToolRun cli(QStringList args) const
    {
        args.prepend(dir.path());
        args.prepend(QStringLiteral("--workdir"));
        return run(QStringLiteral(TABLIX_CLI), args);
    }

    void SetUp() override
    {
        ASSERT_EQ(cli({QStringLiteral("params"), QStringLiteral("load"), QStringLiteral(TABLIX_DATA_DIR "/params.json")}).exitCode, 0);
        QFile::copy(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng"), path("tablix_lng.eng"));
        // The example with a title a CSV must quote.
        QByteArray json = fixtures::ReadBytes(QStringLiteral(TABLIX_DATA_DIR "/examples/shop-front.json"));
        json.replace("\"!Opening hours\"", "\"!Hours, \\\"late\\\"\"");
        ASSERT_TRUE(fixtures::WriteBytes(path("shop.json"), json));
        project = path("shop.tab");
        ASSERT_EQ(cli({QStringLiteral("project"), QStringLiteral("load"), path("shop.json"), QStringLiteral("-o"), project}).exitCode, 0);
    }
};

TEST_F(WorkshopCliTest, CsvReadsBackThroughPython)
{
    const ToolRun csv = cli({QStringLiteral("cutlist"), project, QStringLiteral("-o"), path("cut.csv")});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.constData();
    const ToolRun py = run(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral("-c"), QStringLiteral("import csv,sys\n"
                                                             "rows=list(csv.reader(open(sys.argv[1],newline='',encoding='utf-8')))\n"
                                                             "assert all(len(r)==4 for r in rows), rows\n"
                                                             "print(len(rows)); print('|'.join(rows[0]))\n"
                                                             "print(sum(int(r[2]) for r in rows[1:]))\n"
                                                             "print([r for r in rows if r[1]=='45.00'][0][3])\n"
                                                             "print(min(float(r[1]) for r in rows[1:]))\n"),
                        path("cut.csv")});
    ASSERT_EQ(py.exitCode, 0) << py.err.constData();
    const QList<QByteArray> lines = py.out.split('\n');
    EXPECT_EQ(lines[0], "25"); // header and 24 lengths
    EXPECT_EQ(lines[1], "Profile|Length (cm)|Count|Signs");
    EXPECT_EQ(lines[2], "72"); // pieces of all signs, times their quantities
    EXPECT_EQ(lines[3], "2 Hours, \"late\"");
    EXPECT_EQ(lines[4], "7.2");
}

TEST_F(WorkshopCliTest, PlanJsonOfTheExample)
{
    const ToolRun plan = cli({QStringLiteral("plan"), project, QStringLiteral("--json")});
    ASSERT_EQ(plan.exitCode, 0) << plan.err.constData();
    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(plan.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << plan.out.constData();
    long long bars = 0;
    for (const QJsonValue &v : root[QStringLiteral("profiles")].toArray()) {
        const QJsonObject p = v.toObject();
        for (const char *key : {"profile", "barLength", "kerf", "trim", "pieces", "bars", "tooLong", "lowerBound", "firstFitBars", "optimal"})
            EXPECT_TRUE(p.contains(QLatin1String(key))) << key;
        EXPECT_TRUE(p[QStringLiteral("optimal")].toBool());
        bars += p[QStringLiteral("bars")].toArray().size();
    }
    EXPECT_EQ(root[QStringLiteral("totalBars")].toInt(), bars);
    EXPECT_EQ(bars, 23);

    const ToolRun text = cli({QStringLiteral("plan"), project});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.startsWith("Cutting plan\n\nProfile: Frame wide A\nStock bar\t 600.00 cm\n")) << text.out.constData();
    EXPECT_TRUE(text.out.endsWith("Bars to order\t 23\n"));
}

TEST_F(WorkshopCliTest, StockFileShortBarsListTooLongPieces)
{
    ASSERT_TRUE(fixtures::WriteBytes(path("stock.json"), R"({"default": {"barLength": 300, "kerf": 0.3, "trim": 0.5}})"));
    const ToolRun plan = cli({QStringLiteral("plan"), project, QStringLiteral("--json"), QStringLiteral("--stock"), path("stock.json")});
    ASSERT_EQ(plan.exitCode, 0) << plan.err.constData();
    const QJsonObject first = QJsonDocument::fromJson(plan.out).object()[QStringLiteral("profiles")].toArray()[0].toObject();
    EXPECT_EQ(first[QStringLiteral("barLength")].toDouble(), 300);
    EXPECT_EQ(first[QStringLiteral("tooLong")].toArray()[0].toObject()[QStringLiteral("length")].toDouble(), 400);
    EXPECT_EQ(first[QStringLiteral("tooLong")].toArray()[0].toObject()[QStringLiteral("count")].toInt(), 2);

    // The data folder's own file is read when no --stock is given.
    ASSERT_TRUE(QFile::copy(path("stock.json"), path("tablix-stock.json")));
    EXPECT_TRUE(cli({QStringLiteral("plan"), project}).out.contains("Needs longer stock\t 2 pcs x 400.00 cm\n"));
}

// A file of an earlier version names profiles by label: those of the shipped language files and
// of the data folder's are taken, any other name is told on stderr and changes nothing.
TEST_F(WorkshopCliTest, StockFileOfLabelsAndUnknownNames)
{
    ASSERT_TRUE(fixtures::WriteBytes(path("tablix-stock.json"), R"({"profiles": {"Frame wide A": {"barLength": 450},
                                                                               "Rama wąska A": {"barLength": 300},
                                                                               "Old wide frame B": {"barLength": 350}}})"));
    const ToolRun plan = cli({QStringLiteral("plan"), project, QStringLiteral("--json")});
    ASSERT_EQ(plan.exitCode, 0) << plan.err.constData();
    EXPECT_EQ(plan.err.count('\n'), 1) << plan.err.constData();
    EXPECT_TRUE(plan.err.contains("\"Old wide frame B\" is used for no profile")) << plan.err.constData();
    const std::map<QString, double> bars{{QStringLiteral("Frame wide A"), 450}, {QStringLiteral("Frame narrow A"), 300}};
    for (const QJsonValue &v : QJsonDocument::fromJson(plan.out).object()[QStringLiteral("profiles")].toArray()) {
        const QJsonObject p = v.toObject();
        const auto own = bars.find(p[QStringLiteral("profile")].toString());
        EXPECT_EQ(p[QStringLiteral("barLength")].toDouble(), own == bars.end() ? 600 : own->second)
            << qPrintable(p[QStringLiteral("profile")].toString());
    }
    // A language file of the data folder that calls the wide B frame so.
    QByteArray own = fixtures::ReadBytes(path("tablix_lng.eng"));
    own.replace("138=Frame wide B, 2 x", "138=Old wide frame B, 2 x");
    ASSERT_TRUE(fixtures::WriteBytes(path("tablix_lng.old"), own));
    const ToolRun again = cli({QStringLiteral("plan"), project});
    EXPECT_TRUE(again.err.isEmpty()) << again.err.constData();
    EXPECT_TRUE(again.out.contains("Profile: Frame wide B\nStock bar\t 350.00 cm\n")) << again.out.constData();
}

TEST_F(WorkshopCliTest, BadInputWritesNothing)
{
    const struct {
        const char *stock;
        const char *message;
    } cases[] = {
        {R"({"default": {"kerf": 0.4}})", "\"barLength\" is missing"},
        {R"({"default": {"barLength": -600}})", "must not be negative"},
        {R"({"default": {"barLength": 0.3, "kerf": 0.4, "trim": 0}})", "leave nothing"},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(fixtures::WriteBytes(path("bad.json"), c.stock));
        const ToolRun r = cli({QStringLiteral("plan"), project, QStringLiteral("--stock"), path("bad.json"), QStringLiteral("-o"), path("plan.txt")});
        EXPECT_EQ(r.exitCode, 2) << c.stock;
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.constData();
        EXPECT_TRUE(r.err.contains("nothing written")) << r.err.constData();
        EXPECT_FALSE(QFile::exists(path("plan.txt")));
    }
    const ToolRun missing = cli({QStringLiteral("plan"), project, QStringLiteral("--stock"), path("absent.json")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.out.isEmpty());

    ASSERT_TRUE(fixtures::WriteBytes(path("empty.json"), R"({"signs": []})"));
    ASSERT_EQ(cli({QStringLiteral("project"), QStringLiteral("load"), path("empty.json"), QStringLiteral("-o"), path("empty.tab")}).exitCode, 0);
    for (const char *command : {"cutlist", "plan"}) {
        const ToolRun r = cli({QLatin1String(command), path("empty.tab"), QStringLiteral("-o"), path("out.txt")});
        EXPECT_EQ(r.exitCode, 2) << command;
        EXPECT_TRUE(r.err.contains("no sign in use, nothing to cut")) << r.err.constData();
        EXPECT_FALSE(QFile::exists(path("out.txt")));
    }
}

} // namespace

// The cut list written by cutlist plans as the project does, in either language's header or
// none; a line that is not a row is refused with its number and nothing is written.
TEST_F(WorkshopCliTest, PlanOfAWrittenCutListIsThePlanOfTheProject)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.pol"), path("tablix_lng.pol")));
    ASSERT_EQ(cli({QStringLiteral("cutlist"), project, QStringLiteral("-o"), path("cut.csv")}).exitCode, 0);
    const ToolRun fromProject = cli({QStringLiteral("plan"), project, QStringLiteral("--json")});
    ASSERT_EQ(fromProject.exitCode, 0) << fromProject.err.constData();
    const QByteArray csv = fixtures::ReadBytes(path("cut.csv"));
    const QByteArray header = csv.left(csv.indexOf('\n') + 1), rows = csv.mid(header.size());
    const QByteArray polish = QStringLiteral("Profil,Długość (cm),Sztuk,Tablice\r\n").toUtf8();
    for (const QByteArray &head : {header, QByteArray(), polish}) {
        ASSERT_TRUE(fixtures::WriteBytes(path("again.csv"), head + rows));
        const ToolRun fromList = cli({QStringLiteral("plan"), QStringLiteral("--cutlist"), path("again.csv"), QStringLiteral("--json")});
        EXPECT_EQ(fromList.exitCode, 0) << fromList.err.constData();
        // The file names the signs of a length but not how many each needs: a cut has its sign
        // when the length has one sign (the project's plan has the same there), none otherwise.
        static const QRegularExpression signs(QStringLiteral("\"signs\": \\[[^\\]]*\\], "));
        EXPECT_EQ(QString::fromUtf8(fromList.out).remove(signs), QString::fromUtf8(fromProject.out).remove(signs)) << head.constData();
        const QJsonArray listed = QJsonDocument::fromJson(fromList.out).object()[QStringLiteral("profiles")].toArray();
        const QJsonArray planned = QJsonDocument::fromJson(fromProject.out).object()[QStringLiteral("profiles")].toArray();
        int named = 0;
        for (qsizetype p = 0; p < listed.size() && p < planned.size(); ++p)
            for (qsizetype b = 0; b < listed[p][QStringLiteral("bars")].toArray().size(); ++b) {
                const QJsonArray got = listed[p][QStringLiteral("bars")][b][QStringLiteral("signs")].toArray();
                const QJsonArray want = planned[p][QStringLiteral("bars")][b][QStringLiteral("signs")].toArray();
                for (qsizetype k = 0; k < got.size(); ++k) {
                    EXPECT_TRUE(got[k].isNull() || got[k] == want[k]) << qPrintable(got[k].toString());
                    named += !got[k].isNull();
                }
            }
        EXPECT_GT(named, 0); // every length of the example is needed by one sign
    }
    const ToolRun text = cli({QStringLiteral("plan"), QStringLiteral("--cutlist"), path("cut.csv")});
    EXPECT_EQ(text.out, cli({QStringLiteral("plan"), project}).out);
    // The same list planned in Polish names its profiles in Polish, as the project's plan does.
    QByteArray parameters = cli({QStringLiteral("params"), QStringLiteral("dump")}).out;
    ASSERT_TRUE(parameters.contains("tablix_lng.eng"));
    parameters.replace("tablix_lng.eng", "tablix_lng.pol");
    ASSERT_TRUE(fixtures::WriteBytes(path("pl.json"), parameters));
    ASSERT_EQ(cli({QStringLiteral("params"), QStringLiteral("load"), path("pl.json")}).exitCode, 0);
    const QByteArray polishPlan = cli({QStringLiteral("plan"), project}).out;
    EXPECT_TRUE(polishPlan.contains("Rama")) << polishPlan.constData();
    EXPECT_EQ(cli({QStringLiteral("plan"), QStringLiteral("--cutlist"), path("cut.csv")}).out, polishPlan);

    const struct {
        QByteArray line;
        const char *says;
    } bad[] = {
        {"Frame,12.5.0,2", "line 3: the length \"12.5.0\""},
        {"Frame,12,-2", "line 3: the count \"-2\""},
        {"Frame,12", "line 3: profile, length and count expected"},
        {",12,2", "line 3: no profile"},
        {"Frame,0,2", "line 3: length and count must be greater than 0"},
        {"\"Frame,12,2", "line 3: a quoted field is not closed"},
    };
    const QList<QByteArray> lines = rows.split('\n');
    for (const auto &b : bad) {
        ASSERT_TRUE(fixtures::WriteBytes(path("bad.csv"), header + lines[0] + "\n" + b.line + "\r\n" + lines[1] + "\n"));
        const ToolRun refused = cli({QStringLiteral("plan"), QStringLiteral("--cutlist"), path("bad.csv"), QStringLiteral("-o"), path("plan.txt")});
        EXPECT_EQ(refused.exitCode, 2) << b.line.constData();
        EXPECT_TRUE(refused.err.contains(b.says)) << refused.err.constData();
        EXPECT_FALSE(QFile::exists(path("plan.txt")));
    }
    EXPECT_EQ(cli({QStringLiteral("plan"), project, QStringLiteral("--cutlist"), path("cut.csv")}).exitCode, 1);
}

// The drawn plan lists every cut once with its sign, as --json gives them; the labels follow the
// same saw order, one per piece, on as many sheets as they need.
TEST_F(WorkshopCliTest, DrawnPlanAndLabelsFollowTheSawOrderWithTheSigns)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) read the PDFs";
    const ToolRun json = cli({QStringLiteral("plan"), project, QStringLiteral("--json")});
    ASSERT_EQ(json.exitCode, 0) << json.err.constData();
    const ToolRun csv = cli({QStringLiteral("cutlist"), project});
    std::map<QString, QString> signsOfRow; // "profile|length" -> the CSV's signs, as quoted there
    for (const QByteArray &line : csv.out.split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        signsOfRow[text.section(QLatin1Char(','), 0, 1)] = text.section(QLatin1Char(','), 3);
    }
    QStringList sawLines;
    QList<QPair<int, int>> order;
    int cuts = 0;
    for (const QJsonValue &p : QJsonDocument::fromJson(json.out).object()[QStringLiteral("profiles")].toArray()) {
        const QString profile = p[QStringLiteral("profile")].toString();
        const QJsonArray bars = p[QStringLiteral("bars")].toArray();
        for (qsizetype b = 0; b < bars.size(); ++b) {
            const QJsonArray lengths = bars[b][QStringLiteral("cuts")].toArray(), signs = bars[b][QStringLiteral("signs")].toArray();
            ASSERT_EQ(signs.size(), lengths.size());
            QStringList parts;
            for (qsizetype k = 0; k < lengths.size(); ++k) {
                ASSERT_TRUE(lengths[k].isDouble());
                const QString length = QString::number(lengths[k].toDouble(), 'f', 2), sign = signs[k].toString();
                EXPECT_TRUE(signsOfRow[profile + u',' + length].contains(QString(sign).replace(u'"', QStringLiteral("\"\""))))
                    << qPrintable(profile + u' ' + length + u' ' + sign);
                parts << QStringLiteral("%1) %2 cm → %3").arg(k + 1).arg(length, sign);
                order << qMakePair(int(b) + 1, int(k) + 1);
                ++cuts;
            }
            sawLines << QStringLiteral("Bar %1: ").arg(b + 1) + parts.join(QStringLiteral("; "));
        }
    }
    ASSERT_EQ(cuts, 72);

    const ToolRun drawn = cli({QStringLiteral("plan"), project, QStringLiteral("--pdf"), path("plan.pdf")});
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err.constData();
    EXPECT_TRUE(drawn.out.isEmpty());
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {path("plan.pdf")}).out.contains("842 x 595 pts (A4)")) << "A4 landscape";
    QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {path("plan.pdf"), QStringLiteral("-")}).out);
    text.replace(QChar(0xFB01), QStringLiteral("fi")).replace(QChar(0xFB02), QStringLiteral("fl"));
    text = text.simplified();
    EXPECT_EQ(text.count(QStringLiteral("→")), cuts);
    for (const QString &line : sawLines)
        EXPECT_TRUE(text.contains(line)) << qPrintable(line);
    EXPECT_EQ(cli({QStringLiteral("plan"), project, QStringLiteral("--pdf"), path("other.pdf"), QStringLiteral("--json")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("other.pdf")));

    const ToolRun labels = cli({QStringLiteral("labels"), project, QStringLiteral("--sheet"), QStringLiteral("2x7"), QStringLiteral("-o"), path("labels.pdf")});
    ASSERT_EQ(labels.exitCode, 0) << labels.err.constData();
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {path("labels.pdf")}).out.contains(QByteArray("Pages:           ") + QByteArray::number((cuts + 13) / 14)));
    const QString labelText = QString::fromUtf8(run(QStringLiteral("pdftotext"), {path("labels.pdf"), QStringLiteral("-")}).out);
    QList<QPair<int, int>> labelled;
    static const QRegularExpression barAndCut(QStringLiteral("Bar (\\d+), cut (\\d+)"));
    for (auto it = barAndCut.globalMatch(labelText); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        labelled << qMakePair(m.captured(1).toInt(), m.captured(2).toInt());
    }
    EXPECT_EQ(labelled, order);
    EXPECT_EQ(cli({QStringLiteral("labels"), project, QStringLiteral("--sheet"), QStringLiteral("4x10"), QStringLiteral("-o"), path("bad.pdf")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("bad.pdf")));
}
