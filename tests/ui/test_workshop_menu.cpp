// The workshop's commands in the program: the cut list saved as CSV, the stock dialog, the cutting plan window.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QWheelEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <deque>
#include <thread>

#include "core/document/project_document.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/project/app_state.h"
#include "core/project/project_json.h"
#include "core/workshop/cutting_plan.h"
#include "core/workshop/plan_drawing.h"
#include "core/workshop/stock.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "ui/main_window.h"
#include "ui/plan_report_view.h"
#include "ui/remembered.h"
#include "ui/stock_dialog.h"
#include "ui/widgets/number_edit.h"
#include "ui/window_set.h"
#include "ui/workshop_menu.h"

using namespace tablix;

class WorkshopMenuTest : public QObject {
    Q_OBJECT

    AppState state;
    std::unique_ptr<Windows> windows;
    MainWindow *form = nullptr;
    WorkshopMenu *menu = nullptr;
    QTemporaryDir dir;
    std::deque<QString> fileAnswers;
    int asked = 0;
    // Set to a folder, the plan window and the stock dialog are saved there as pictures.
    const QString shots = qEnvironmentVariable("TABLIX_WORKSHOP_SHOTS");

    void openExample()
    {
        QString error;
        const auto signs = ProjectFromJson(fixtures::ReadBytes(fixtures::DataFile(QStringLiteral("examples/shop-front.json"))), &error);
        QVERIFY2(signs, qPrintable(error));
        state.OpenProject(*signs, dir.filePath(QStringLiteral("shop-front.tab")));
        state.LoadWorkingState();
        form->SyncPages();
    }

    void openEmptyProject()
    {
        SignSlotArray signs{};
        for (auto &s : signs)
            BlankSignRecord(s);
        state.OpenProject(signs, dir.filePath(QStringLiteral("empty.tab")));
        state.LoadWorkingState();
        form->SyncPages();
    }

    void answerFiles(std::deque<QString> names)
    {
        fileAnswers = std::move(names);
        menu->setFileDialog([this](QWidget *, const QString &, const QString &filter) {
            ++asked;
            QTest::qVerify(filter.contains(QStringLiteral("*.csv")), "filter", "", __FILE__, __LINE__);
            if (fileAnswers.empty())
                return QString();
            const QString name = fileAnswers.front();
            fileAnswers.pop_front();
            return name;
        });
    }

    void trigger(const char *action) { fixtures::child<QAction>(form, action)->trigger(); }

    QString stockPath() const { return StockFilePath(state.dataFolder); }
    // Pictures of the Polish run are named apart.
    static QString shotSuffix() { return qEnvironmentVariable("TABLIX_WORKSHOP_LANGUAGE").contains(QLatin1String("pol")) ? QStringLiteral("-pl") : QString(); }

    // Types into the edit as a user does, after emptying it.
    static void type(NumberEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    CutList exampleCutList()
    {
        openExample();
        return BuildCutList(state);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        state.parameters = fixtures::ShippedParameters();
        state.language = fixtures::ShippedLanguage(qEnvironmentVariable("TABLIX_WORKSHOP_LANGUAGE", QStringLiteral("tablix_lng.eng")));
        state.RefreshParameters();
        state.dataFolder = dir.filePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(state.dataFolder));
        windows = std::make_unique<Windows>(state);
        form = &windows->mainWindow();
        menu = form->findChild<WorkshopMenu *>(QStringLiteral("WorkshopMenu"));
        QVERIFY(menu);
        form->show();
    }

    void init()
    {
        asked = 0;
        QFile::remove(stockPath());
    }

    void commandsStandInTheProjectMenuInTheLanguage()
    {
        auto *projectMenu = fixtures::child<QMenu>(form, "m1");
        const std::pair<const char *, int> commands[] = {{"cutListCsv1", text::kMenuCutListCsv},
                                                          {"cuttingPlan1", text::kMenuCuttingPlan},
                                                          {"stockSettings1", text::kMenuStockSettings}};
        for (const auto &[name, entry] : commands) {
            auto *action = fixtures::child<QAction>(form, name);
            QVERIFY(projectMenu->actions().contains(action));
            QCOMPARE(action->text(), state.LanguageEntry(entry));
            QVERIFY(!action->text().isEmpty());
        }
    }

    void cutListIsSavedAsTheCoreWritesItAndReplacedOnlyWhenConfirmed()
    {
        const QByteArray expected = CutListCsv(exampleCutList(), state.language);
        QVERIFY(expected.startsWith(state.LanguageEntry(text::kCutListProfileHeader).toUtf8()));
        // ".csv" is added to a name typed without it.
        answerFiles({dir.filePath(QStringLiteral("cuts"))});
        QCOMPARE(menu->saveCutList(), WorkshopMenu::Outcome::Written);
        const QString csv = dir.filePath(QStringLiteral("cuts.csv"));
        QCOMPARE(fixtures::ReadBytes(csv), expected);

        // A file already there: kept when the question is declined (the dialog then asks again).
        QVERIFY(fixtures::WriteBytes(csv, "old"));
        answerFiles({csv, QString()});
        {
            QString question;
            ModalAnswers answers({{QStringLiteral("ReplaceFileBox"), [&question](QWidget *w) {
                                       question = static_cast<QMessageBox *>(w)->text();
                                       fixtures::child(w, "CancelButton")->click();
                                   }}});
            QCOMPARE(menu->saveCutList(), WorkshopMenu::Outcome::Cancelled);
            VERIFY_ANSWERED(answers);
            QVERIFY2(question.contains(QDir::toNativeSeparators(csv)), qPrintable(question));
        }
        QCOMPARE(asked, 3);
        QCOMPARE(fixtures::ReadBytes(csv), QByteArray("old"));
        answerFiles({csv});
        {
            ModalAnswers answers({modal::click(QStringLiteral("ReplaceFileBox"), "ReplaceButton")});
            QCOMPARE(menu->saveCutList(), WorkshopMenu::Outcome::Written);
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(fixtures::ReadBytes(csv), expected);
    }

    void failedWriteSaysSoAndKeepsWhatIsThere()
    {
        openExample();
        const QString folder = dir.filePath(QStringLiteral("taken.csv"));
        QVERIFY(QDir().mkpath(folder));
        answerFiles({folder});
        QString message;
        ModalAnswers answers({modal::click(QStringLiteral("ReplaceFileBox"), "ReplaceButton"), modal::messageBox(&message)});
        QCOMPARE(menu->saveCutList(), WorkshopMenu::Outcome::Failed);
        VERIFY_ANSWERED(answers);
        QVERIFY2(message.endsWith(state.LanguageEntry(text::kNothingWrittenFileKept)), qPrintable(message));
        QVERIFY(QFileInfo(folder).isDir());
    }

    void projectWithoutSignsGetsAMessageAndNothingElse()
    {
        openEmptyProject();
        answerFiles({dir.filePath(QStringLiteral("none.csv"))});
        QString csvMessage, planMessage;
        ModalAnswers answers({modal::messageBox(&csvMessage, QStringLiteral("NoSignToCutBox")),
                              modal::messageBox(&planMessage, QStringLiteral("NoSignToCutBox"))});
        trigger("cutListCsv1");
        trigger("cuttingPlan1");
        QTRY_VERIFY2(answers.done(), qPrintable(answers.report()));
        // Coming back to the window asks for nothing.
        QCoreApplication::sendPostedEvents();
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(csvMessage, state.LanguageEntry(text::kCutListNoSignInUse));
        QCOMPARE(planMessage, state.LanguageEntry(text::kPlanNoSignInUse));
        QCOMPARE(asked, 0);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("none.csv"))));
    }

    void stockDialogSavesTypedValuesWithEitherSeparator()
    {
        const CutList list = exampleCutList();
        QVERIFY(list.profiles().size() >= 2);
        const QString point = QLocale().decimalPoint();
        ModalAnswers answers({{QStringLiteral("StockDialog"), [&](QWidget *w) {
                                   auto *dialog = static_cast<StockDialog *>(w);
                                   dialog->activateWindow();
                                   QCOMPARE(dialog->profileRows(), int(list.profiles().size()));
                                   QCOMPARE(dialog->edit(-1, StockDialog::BarLength)->value(), 600.0L);
                                   type(dialog->edit(-1, StockDialog::BarLength), QStringLiteral("650") + point + QStringLiteral("5"));
                                   type(dialog->edit(-1, StockDialog::Kerf), QStringLiteral("0.3"));
                                   type(dialog->edit(0, StockDialog::BarLength), QStringLiteral("700") + point + QStringLiteral("25"));
                                   // Leaving an emptied profile field keeps it empty: the default.
                                   type(dialog->edit(1, StockDialog::Trim), QStringLiteral("5"));
                                   QTest::keyClick(dialog->edit(1, StockDialog::Trim), Qt::Key_Backspace);
                                   dialog->edit(0, StockDialog::BarLength)->setFocus();
                                   QVERIFY(dialog->edit(1, StockDialog::Trim)->text().isEmpty());
                                   if (!shots.isEmpty())
                                       dialog->grab().save(QDir(shots).filePath(QStringLiteral("stock-dialog.png")));
                                   fixtures::child(w, "OkButton")->click();
                               }}});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Written);
        VERIFY_ANSWERED(answers);

        const StockLoad saved = LoadStockFile(stockPath());
        QVERIFY2(saved.settings, qPrintable(saved.error));
        QCOMPARE(saved.settings->defaults, (StockProfile{65050, 30, 100}));
        QCOMPARE(saved.settings->profiles.size(), size_t(1));
        // The profile's own bar, the defaults' kerf and trim.
        QCOMPARE(saved.settings->forProfile(list.profileKeys()[0]), (StockProfile{70025, 30, 100}));
        QCOMPARE(saved.settings->forProfile(list.profileKeys()[1]), saved.settings->defaults);
    }

    void stockDialogRefusesAWrongValueAndCancelWritesNothing()
    {
        const CutList list = exampleCutList();
        // A profile of another project stays in the file whatever is done here.
        StockSettings before;
        before.profiles[QStringLiteral("post-wide-B")] = {30000, 50, 0};
        before.profiles[list.profileKeys()[0]] = {65000, 40, 100};
        QVERIFY(SaveStockFile(stockPath(), before, nullptr));
        const QByteArray bytes = fixtures::ReadBytes(stockPath());

        QString refused;
        ModalAnswers answers({{QStringLiteral("StockDialog"), [&](QWidget *w) {
                                   auto *dialog = static_cast<StockDialog *>(w);
                                   QCOMPARE(dialog->edit(0, StockDialog::BarLength)->value(), 650.0L);
                                   // The saw and the trim would eat the whole bar.
                                   type(dialog->edit(0, StockDialog::Kerf), QStringLiteral("649"));
                                   fixtures::child(w, "OkButton")->click();
                               }},
                              {QStringLiteral("StockValueRefusedBox"), [&](QWidget *w) {
                                   auto *box = static_cast<QMessageBox *>(w);
                                   refused = box->text() + QLatin1Char('#') + box->informativeText();
                                   box->accept();
                               }},
                              // The dialog stays open with the values typed; Cancel leaves.
                              modal::click(QStringLiteral("StockDialog"), "CancelButton")});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Cancelled);
        VERIFY_ANSWERED(answers);
        QVERIFY2(refused.startsWith(list.profiles()[0]), qPrintable(refused));
        QVERIFY2(refused.contains(state.LanguageEntry(text::kStockNothingLeft)), qPrintable(refused));
        QCOMPARE(fixtures::ReadBytes(stockPath()), bytes);

        // A wrong default is refused in the same way; then OK with a good one keeps the other profile.
        ModalAnswers again({{QStringLiteral("StockDialog"), [&](QWidget *w) {
                                 auto *dialog = static_cast<StockDialog *>(w);
                                 type(dialog->edit(-1, StockDialog::BarLength), QStringLiteral("0"));
                                 fixtures::child(w, "OkButton")->click();
                             }},
                            modal::messageBox(nullptr, QStringLiteral("StockValueRefusedBox")),
                            {QStringLiteral("StockDialog"), [&](QWidget *w) {
                                 QCOMPARE(fixtures::ReadBytes(stockPath()), bytes);
                                 auto *dialog = static_cast<StockDialog *>(w);
                                 type(dialog->edit(-1, StockDialog::BarLength), QStringLiteral("500"));
                                 fixtures::child(w, "OkButton")->click();
                             }}});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Written);
        VERIFY_ANSWERED(again);
        const StockLoad saved = LoadStockFile(stockPath());
        QVERIFY2(saved.settings, qPrintable(saved.error));
        QCOMPARE(saved.settings->defaults.barLength, CutLength(50000));
        QCOMPARE(saved.settings->forProfile(QStringLiteral("post-wide-B")), (StockProfile{30000, 50, 0}));
        QCOMPARE(saved.settings->forProfile(list.profileKeys()[0]), (StockProfile{65000, 40, 100}));
    }

    // Only typed fields are kept: a later default reaches the others, and an emptied field gives
    // the profile back to the default. A name of no profile is told and kept.
    void untypedFieldsFollowTheDefault()
    {
        const CutList list = exampleCutList();
        const QString key = list.profileKeys()[0];
        QVERIFY(SaveStockFile(stockPath(), StockSettings{{}, {}, {{QStringLiteral("Old frame"), QJsonObject{{"barLength", 1}}}}}, nullptr));
        QString told;
        ModalAnswers first({{QStringLiteral("StockUnknownProfilesBox"), [&told](QWidget *w) {
                                 told = static_cast<QMessageBox *>(w)->informativeText();
                                 if (const QString shots = qEnvironmentVariable("TABLIX_WORKSHOP_SHOTS"); !shots.isEmpty())
                                     w->grab().save(QDir(shots).filePath(QStringLiteral("stock-entries-box.png")));
                                 static_cast<QMessageBox *>(w)->accept();
                             }},
                            {QStringLiteral("StockDialog"), [&](QWidget *w) {
                                 type(static_cast<StockDialog *>(w)->edit(0, StockDialog::BarLength), QStringLiteral("700"));
                                 fixtures::child(w, "OkButton")->click();
                             }}});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Written);
        VERIFY_ANSWERED(first);
        QVERIFY2(told.startsWith(QStringLiteral("Old frame\n")), qPrintable(told));
        const QJsonObject profiles = QJsonDocument::fromJson(fixtures::ReadBytes(stockPath()))[QStringLiteral("profiles")].toObject();
        QCOMPARE(profiles[key].toObject().keys(), QStringList{QStringLiteral("barLength")});
        QCOMPARE(profiles[QStringLiteral("Old frame")].toObject(), (QJsonObject{{"barLength", 1}}));

        ModalAnswers second({modal::messageBox(nullptr, QStringLiteral("StockUnknownProfilesBox")),
                             {QStringLiteral("StockDialog"), [&](QWidget *w) {
                                  auto *dialog = static_cast<StockDialog *>(w);
                                  QCOMPARE(dialog->edit(0, StockDialog::BarLength)->value(), 700.0L);
                                  QVERIFY(dialog->edit(0, StockDialog::Kerf)->text().isEmpty());
                                  type(dialog->edit(-1, StockDialog::Kerf), QStringLiteral("0.3"));
                                  fixtures::child(w, "OkButton")->click();
                              }}});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Written);
        VERIFY_ANSWERED(second);
        QCOMPARE(LoadStockFile(stockPath()).settings->forProfile(key), (StockProfile{70000, 30, 100}));

        ModalAnswers third({modal::messageBox(nullptr, QStringLiteral("StockUnknownProfilesBox")),
                            {QStringLiteral("StockDialog"), [&](QWidget *w) {
                                 type(static_cast<StockDialog *>(w)->edit(0, StockDialog::BarLength), QString());
                                 fixtures::child(w, "OkButton")->click();
                             }}});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Written);
        VERIFY_ANSWERED(third);
        const StockLoad cleared = LoadStockFile(stockPath());
        QVERIFY(cleared.settings->profiles.empty());
        QCOMPARE(cleared.settings->unknown.size(), size_t(1));
    }

    // A bar typed for a profile in one language is the plan's bar for it in the other.
    void overrideHoldsAfterALanguageSwitch()
    {
        const LanguageTable before = state.language;
        const struct {
            const char *made, *planned, *profile, *planned_profile;
        } cases[] = {{"tablix_lng.pol", "tablix_lng.eng", "Rama wąska A", "Frame narrow A"},
                     {"tablix_lng.eng", "tablix_lng.pol", "Frame wide B", "Rama szeroka B"}};
        for (const auto &c : cases) {
            QFile::remove(stockPath());
            state.language = fixtures::ShippedLanguage(QLatin1String(c.made));
            const int row = int(exampleCutList().profiles().indexOf(QString::fromUtf8(c.profile)));
            QVERIFY2(row >= 0, c.profile);
            ModalAnswers made({{QStringLiteral("StockDialog"), [&](QWidget *w) {
                                    type(static_cast<StockDialog *>(w)->edit(row, StockDialog::BarLength), QStringLiteral("500"));
                                    fixtures::child(w, "OkButton")->click();
                                }}});
            QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Written);
            VERIFY_ANSWERED(made);

            state.language = fixtures::ShippedLanguage(QLatin1String(c.planned));
            QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Shown);
            QVERIFY(menu->planView());
            const QStringList lines = menu->planView()->lines();
            const qsizetype heading = lines.indexOf(state.LanguageEntry(text::kPlanProfile) + u' ' + QString::fromUtf8(c.planned_profile));
            QVERIFY2(heading >= 0, qPrintable(lines.join(u'|')));
            const QString barLine = state.LanguageEntry(text::kPlanStockBar) + QStringLiteral("\t 500")
                                    + DecimalSeparator(state.language) + QStringLiteral("00")
                                    + state.LanguageEntry(text::kCentimetreUnit);
            QCOMPARE(lines[heading + 1], barLine);
            QCOMPARE(lines.count(barLine), 1);
        }
        state.language = before;
    }

    void badStockFileIsToldAndKeptUntilOk()
    {
        exampleCutList();
        QVERIFY(fixtures::WriteBytes(stockPath(), "{\"default\": {\"barLength\": -5}}"));
        const QByteArray bytes = fixtures::ReadBytes(stockPath());
        QString told;
        ModalAnswers answers({modal::messageBox(&told, QStringLiteral("StockUnreadableBox")),
                              {QStringLiteral("StockDialog"), [&](QWidget *w) {
                                   auto *dialog = static_cast<StockDialog *>(w);
                                   QCOMPARE(dialog->edit(-1, StockDialog::BarLength)->value(), 600.0L);
                                   QCOMPARE(dialog->edit(-1, StockDialog::Kerf)->value(), 0.4L);
                                   fixtures::child(w, "CancelButton")->click();
                               }}});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Cancelled);
        VERIFY_ANSWERED(answers);
        QVERIFY2(told.startsWith(state.LanguageEntry(text::kStockFileUnreadable).section(QLatin1Char(':'), 0, 0)), qPrintable(told));
        QCOMPARE(fixtures::ReadBytes(stockPath()), bytes);

        // The plan is not made from a file that cannot be read.
        ModalAnswers plan({modal::messageBox(nullptr, QStringLiteral("StockUnreadableBox"))});
        QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Failed);
        VERIFY_ANSWERED(plan);

        // OK writes the defaults shown over it.
        ModalAnswers ok({modal::messageBox(nullptr, QStringLiteral("StockUnreadableBox")),
                         modal::click(QStringLiteral("StockDialog"), "OkButton")});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Written);
        VERIFY_ANSWERED(ok);
        QCOMPARE(LoadStockFile(stockPath()).settings, std::optional<StockSettings>(StockSettings{}));
    }

    void planWindowShowsThePlanAndPrintsIt()
    {
        const CutList list = exampleCutList();
        StockSettings stock;
        stock.profiles[list.profileKeys()[0]] = {650 * kCutUnitsPerCm, 30, 100};
        QVERIFY(SaveStockFile(stockPath(), stock, nullptr));
        const CuttingPlan plan = PlanCutList(list, stock);
        QVERIFY(plan.totalBars() > 0);
        const QString pdf = QDir(shots.isEmpty() ? dir.path() : shots).filePath(QStringLiteral("cutting-plan.pdf"));

        QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Shown);
        PlanReportView *view = menu->planView();
        QVERIFY(view && view->isVisible() && !view->isModal());
        const QStringList lines = view->lines();
        QList<PlanLineStyle> styles;
        for (const QString &line : lines)
            styles << PlanLineStyleOf(state, line);
        view->tabs()->setCurrentIndex(1);
        if (!shots.isEmpty())
            view->grab().save(QDir(shots).filePath(QStringLiteral("cutting-plan-text.png")));
        view->PrintDialog = [&pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        view->printReport();

        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.first(), state.LanguageEntry(text::kPlanTitle));
        // The stock file's bar of the first profile, and the plan's total as the last line.
        QVERIFY(lines.contains(state.LanguageEntry(text::kPlanStockBar) + QStringLiteral("\t 650") + DecimalSeparator(state.language) + QStringLiteral("00")
                               + state.LanguageEntry(text::kCentimetreUnit)));
        QCOMPARE(lines.last(), state.LanguageEntry(text::kPlanBarsToOrder) + QStringLiteral("\t ") + QString::number(plan.totalBars()));
        // Every profile's bound is shown as reached or not, in its colour.
        QCOMPARE(styles.count(PlanLineStyle::Heading), qsizetype(plan.profiles.size()));
        qsizetype reached = 0;
        for (const ProfilePlan &p : plan.profiles)
            reached += p.optimal;
        QCOMPARE(styles.count(PlanLineStyle::Reached), reached);
        QCOMPARE(styles.count(PlanLineStyle::NotReached), qsizetype(plan.profiles.size()) - reached);
        QVERIFY(fixtures::ReadBytes(pdf).startsWith("%PDF"));
        // Pages are broken between profiles; no line is lost at a break.
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) reads the printout");
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        const QString printed = QString::fromUtf8(p.readAllStandardOutput());
        for (const ProfilePlan &profile : plan.profiles)
            QVERIFY2(printed.contains(state.LanguageEntry(text::kPlanProfile) + QLatin1Char(' ') + profile.profile), qPrintable(profile.profile));
        QCOMPARE(printed.count(state.LanguageEntry(text::kPlanBarsToOrder)), qsizetype(plan.profiles.size()) + 1);

        // With the diagrams in front, Print prints them: every cut once, with its sign.
        view->tabs()->setCurrentIndex(0);
        QVERIFY(QFile::remove(pdf));
        view->printReport();
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        const QString drawn = QString::fromUtf8(p.readAllStandardOutput());
        qsizetype cuts = 0;
        for (const ProfilePlan &profile : view->plan().profiles)
            for (const PlannedBar &bar : profile.bars)
                cuts += qsizetype(bar.cuts.size());
        QCOMPARE(drawn.count(QStringLiteral("→")), cuts);
        view->close();
    }

    // A plan that takes long shows its progress; Cancel keeps the best plan so far, told as not
    // proven, and the program answers all the while.
    void cancelKeepsTheBestPlanSoFar()
    {
        openExample();
        std::atomic<bool> cancelSeen{false};
        menu->setPlanner([&](const CutList &, const StockSettings &, const PlanControl &control) {
            QElapsedTimer waited;
            waited.start();
            while (!control.cancel->load() && waited.elapsed() < 20000)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            cancelSeen = control.cancel->load();
            // First fit takes three bars where two would do; the search is cancelled before it starts.
            const StockProfile stock{601 * kCutUnitsPerCm, 50, 100};
            return CuttingPlan{{PlanProfile(QStringLiteral("Frame"), {{29950, 1}, {23950, 1}, {17950, 3}, {11950, 1}}, stock, control)}};
        });
        ModalAnswers answers({{QStringLiteral("PlanProgress"), [this](QWidget *w) {
                                   if (!shots.isEmpty())
                                       w->grab().save(QDir(shots).filePath(QStringLiteral("plan-progress.png")));
                                   auto *cancel = w->findChild<QPushButton *>();
                                   QVERIFY(cancel && cancel->isEnabled());
                                   QTest::mouseClick(cancel, Qt::LeftButton);
                               }}});
        QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Shown);
        menu->setPlanner({});
        VERIFY_ANSWERED(answers);
        QStringList lines = menu->planView()->lines();
        QVERIFY(cancelSeen);
        QVERIFY(lines.size() > 2);
        QCOMPARE(lines[1], state.LanguageEntry(text::kPlanInterrupted));
        QVERIFY(lines.contains(state.LanguageEntry(text::kPlanBarsToOrder) + QStringLiteral("\t 3")));

        // A quick plan shows no progress at all, and no note.
        QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Shown);
        lines = menu->planView()->lines();
        QVERIFY(!lines.contains(state.LanguageEntry(text::kPlanInterrupted)));
    }

    // The plan's window stands beside the main window and follows the project and the stock settings.
    void planWindowFollowsTheProjectAndTheStock()
    {
        openExample();
        QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Shown);
        QPointer<PlanReportView> view = menu->planView();
        QVERIFY(view && view->isVisible() && view->isWindow() && !view->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        const long long before = view->plan().totalBars();
        const QStringList linesBefore = view->lines();
        const auto pieces = [](const CuttingPlan &plan) {
            long long n = 0;
            for (const ProfilePlan &p : plan.profiles)
                for (const PieceDemand &d : p.pieces)
                    n += d.count;
            return n;
        };
        const long long piecesBefore = pieces(view->plan());

        SignRecord sign = state.currentSignRecord;
        sign.quantity.set(sign.quantity.get() * 10);
        windows->document().ChangeSign(sign, text::kStepBasicData);
        QTRY_VERIFY_WITH_TIMEOUT(view->plan().totalBars() > before, 15000);
        QVERIFY(view->lines() != linesBefore);
        if (!shots.isEmpty()) {
            // The two windows side by side, as on a desktop.
            const QPixmap main = form->grab(), plan = view->grab();
            QImage both(main.width() + plan.width() + 8, std::max(main.height(), plan.height()), QImage::Format_RGB32);
            both.fill(QColor(60, 60, 60));
            QPainter painter(&both);
            painter.drawPixmap(0, 0, main);
            painter.drawPixmap(main.width() + 8, 0, plan);
            painter.end();
            both.save(QDir(shots).filePath(QStringLiteral("plan-beside-main%1.png").arg(shotSuffix())));
        }

        ModalAnswers stock({{QStringLiteral("StockDialog"), [&](QWidget *w) {
                                 type(static_cast<StockDialog *>(w)->edit(-1, StockDialog::BarLength), QStringLiteral("450"));
                                 fixtures::child(w, "OkButton")->click();
                             }}});
        QCOMPARE(menu->editStock(), WorkshopMenu::Outcome::Written);
        VERIFY_ANSWERED(stock);
        QTRY_VERIFY_WITH_TIMEOUT(!view->plan().profiles.empty() && view->plan().profiles[0].stock.barLength == 450 * kCutUnitsPerCm, 15000);

        // Undone, the plan cuts the first pieces again; the command shows the same window.
        windows->document().undoStack().undo();
        QTRY_VERIFY_WITH_TIMEOUT(pieces(view->plan()) == piecesBefore, 15000);
        QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Shown);
        QCOMPARE(menu->planView(), view.data());
        view->close();
        QTRY_VERIFY(!view);
        QVERIFY(!menu->planView());
    }

    void diagramsZoomWithCtrlAndFitTheWidth()
    {
        openExample();
        QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Shown);
        PlanReportView *view = menu->planView();
        view->resize(1000, 640);
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view));
        QCOMPARE(view->tabs()->currentIndex(), 0);
        QWidget *viewport = fixtures::child<QScrollArea>(view, "DiagramScroll")->viewport();
        const auto wheel = [&](Qt::KeyboardModifiers modifiers, int delta) {
            QWheelEvent event(QPointF(40, 40), viewport->mapToGlobal(QPointF(40, 40)), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &event);
        };
        const double start = view->zoom();
        wheel(Qt::NoModifier, 120);
        QCOMPARE(view->zoom(), start);
        wheel(Qt::ControlModifier, 120);
        QVERIFY(view->zoom() > start);
        const double wheeled = view->zoom();
        QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
        QVERIFY(view->zoom() < wheeled);
        QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
        QVERIFY(qAbs(view->zoom() - wheeled) < 1e-9);
        fixtures::child<QAction>(view, "fitWidth1")->trigger();
        const int width = view->canvas()->width();
        QVERIFY2(width <= viewport->width() && width >= viewport->width() - 4, qPrintable(QStringLiteral("%1 of %2").arg(width).arg(viewport->width())));
        // Drawn, not left white: a piece's box shows its colour at its place.
        const QImage shown = view->canvas()->grab().toImage();
        const QRectF box = view->drawing()->pieceRect(0, 0, 0);
        // Above the length written in the box; 12 units of margin around the drawing.
        const QPoint centre = ((QPointF(box.center().x(), box.top() + 3) + QPointF(12, 12)) * view->zoom()).toPoint();
        QCOMPARE(shown.pixelColor(centre), view->drawing()->pieceColour(0, view->plan().profiles[0].bars[0].cuts[0]));
        if (!shots.isEmpty())
            view->grab().save(QDir(shots).filePath(QStringLiteral("cutting-plan%1.png").arg(shotSuffix())));
        view->close();
    }

    // The sheet chosen once is offered again; the labels are written as a PDF, one per piece.
    void labelsAreWrittenOnTheSheetLastChosen()
    {
        openExample();
        QCOMPARE(menu->showCuttingPlan(), WorkshopMenu::Outcome::Shown);
        PlanReportView *view = menu->planView();
        const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
        view->AskLabelFile = [&](QWidget *, const QString &proposed, const QString &) {
            ++asked;
            return proposed.endsWith(QLatin1String(".pdf")) ? pdf : QString();
        };
        ModalAnswers first({{QStringLiteral("LabelSheetDialog"), [this](QWidget *w) {
                                 if (!shots.isEmpty())
                                     w->grab().save(QDir(shots).filePath(QStringLiteral("label-sheet-dialog%1.png").arg(shotSuffix())));
                                 fixtures::child<QRadioButton>(w, "Sheet2x7")->click();
                                 fixtures::child(w, "OkButton")->click();
                             }}});
        QVERIFY(view->saveLabels());
        VERIFY_ANSWERED(first);
        QCOMPARE(asked, 1);
        QCOMPARE(remembered::labelSheet(), QStringLiteral("2x7"));
        QVERIFY(fixtures::ReadBytes(pdf).startsWith("%PDF"));

        QVERIFY(QFile::remove(pdf));
        ModalAnswers second({{QStringLiteral("LabelSheetDialog"), [](QWidget *w) {
                                  QVERIFY(fixtures::child<QRadioButton>(w, "Sheet2x7")->isChecked());
                                  QVERIFY(!fixtures::child<QRadioButton>(w, "Sheet3x8")->isChecked());
                                  fixtures::child(w, "CancelButton")->click();
                              }}});
        QVERIFY(!view->saveLabels());
        VERIFY_ANSWERED(second);
        QCOMPARE(asked, 1);
        QVERIFY(!QFile::exists(pdf));
        view->close();
    }

    void cleanupTestCase() { windows.reset(); }
};

QTEST_MAIN(WorkshopMenuTest)
#include "test_workshop_menu.moc"
