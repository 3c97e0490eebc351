// The main window as a user drives it: its controls, menus, sign commands, project files and unsaved
// changes, what it remembers between runs, the sign's dialogs, the summary page, the language
// chooser, the about box, the single-instance guard and overflows.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "core/render/summary.h"
#include "ui/about_box.h"
#include "core/project/app_state.h"
#include "core/document/project_document.h"
#include "ui/main_window.h"
#include "ui/remembered.h"
#include "ui/report_view.h"
#include "ui/summary_page.h"
#include "ui/widgets/paint_box.h"
#include "ui/single_instance.h"
#include "ui/startup.h"
#include "ui/widgets/number_edit.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"
#include "ui/qt_translation.h"

using namespace tablix;
using fixtures::child;

namespace {

// A project of `signs` signs in use, the first one current, as opening a file leaves it.
void PrepareProject(AppState &state, int count)
{
    state.parameters = fixtures::ShippedParameters();
    state.language = fixtures::ShippedLanguage();
    state.RefreshParameters();
    SignSlotArray signs = state.SignSlots;
    for (int k = 1; k <= count; ++k) {
        signs[size_t(k - 1)] = fixtures::SignWith(1, QStringLiteral("%1x40").arg(100 + k));
        signs[size_t(k - 1)].quantity.set(1);
    }
    state.OpenProject(signs, QString());
    state.projectFileName.clear();
    state.RefreshTabCaptions();
}

// Runs the main window's menu command `name`.
void trigger(QWidget &form, const char *name)
{
    auto *action = form.findChild<QAction *>(QLatin1String(name));
    QVERIFY2(action, name);
    action->trigger();
}

// The caption as the window shows it: "*" where "[*]" stands while the project is modified.
QString ShownTitle(const QWidget &form)
{
    QString title = form.windowTitle();
    return title.replace(QStringLiteral("[*]"), form.isWindowModified() ? QStringLiteral("*") : QString());
}

// Answers "Save changes?" with the button of that name, keeping the question.
ModalAnswers::Step SaveChanges(const char *button, QString *question = nullptr)
{
    return {QStringLiteral("SaveChangesBox"), [button, question](QWidget *w) {
                auto *box = static_cast<QMessageBox *>(w);
                if (question) {
                    *question = box->text() + '#' + box->informativeText();
                    for (const char *name : {"SaveButton", "DiscardButton", "CancelButton"})
                        *question += '|' + child(box, name)->text();
                }
                child(box, button)->click();
            }};
}

// The assumptions dialog: a width and a price level given, confirmed.
ModalAnswers::Step GiveWidth(long double width)
{
    return {QStringLiteral("Form5"), [width](QWidget *w) {
                child<NumberEdit>(w, "pvlCalcEdit1")->setValue(width);
                child<NumberEdit>(w, "pvlCalcEdit3")->setValue(100);
                child(w, "BitBtn1")->click();
            }};
}

// The settings the program reads and writes, as it opens them.
std::unique_ptr<QSettings> ProgramSettings()
{
    const QString application = QCoreApplication::applicationName();
    const QString organisation = QCoreApplication::organizationName();
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       organisation.isEmpty() ? application : organisation, application);
}

// The entries of the recent-projects menu as shown: the paths of the visible entries.
QStringList RecentMenuPaths(QWidget &form)
{
    auto *menu = form.findChild<QMenu *>(QStringLiteral("RecentProjects"));
    emit menu->aboutToShow();
    QStringList paths;
    for (int i = 1; i <= 8; ++i) {
        auto *action = form.findChild<QAction *>(QStringLiteral("RecentProject%1").arg(i));
        if (action->isVisible())
            paths << action->data().toString();
    }
    return paths;
}

// Takes the place of the mail program and the browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
    Q_INVOKABLE void open(const QUrl &url) { urls.append(url); }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    // The program's windows over a project of `signs` signs, shown.
    struct Program {
        AppState state;
        std::unique_ptr<Windows> windows;
        MainWindow *form = nullptr;
        QTabWidget *pages = nullptr;

        explicit Program(int signs = 1)
        {
            PrepareProject(state, signs);
            windows = std::make_unique<Windows>(state);
            form = &windows->mainWindow();
            pages = form->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
            form->show();
            QVERIFY2(QTest::qWaitForWindowExposed(form), "main window shown");
        }
        QAction *action(const char *name) const { return form->findChild<QAction *>(QLatin1String(name)); }
        // As when the user comes back to the window from another.
        void activate() const
        {
            QEvent event(QEvent::WindowActivate);
            QCoreApplication::sendEvent(form, &event);
        }
        // The quantity changed through the assumptions dialog, as the user does it.
        void changeQuantity(long double quantity) const
        {
            ModalAnswers answers({{QStringLiteral("Form5"), [quantity](QWidget *w) {
                                       child<NumberEdit>(w, "pvlCalcEdit2")->setValue(quantity);
                                       child<NumberEdit>(w, "pvlCalcEdit3")->setValue(100);
                                       child(w, "BitBtn1")->click();
                                   }}});
            trigger(*form, "c2211");
            QVERIFY2(answers.done(), qPrintable(answers.report()));
        }
        bool saveEnabled() const
        {
            emit menu("m1")->aboutToShow();
            return action("c12")->isEnabled() && action("c121")->isEnabled();
        }
        QMenu *menu(const char *name) const { return form->findChild<QMenu *>(QLatin1String(name)); }
        QList<bool> visibleTabs() const
        {
            QList<bool> v;
            for (int i = 0; i < pages->count(); ++i)
                v << pages->isTabVisible(i);
            return v;
        }
    };

    static QList<bool> tabsShown(int signs, bool summary)
    {
        QList<bool> v;
        for (int i = 1; i <= 20; ++i)
            v << (i <= signs);
        v << summary;
        return v;
    }

private slots:
    // Every test starts as a first run.
    void init()
    {
        auto settings = ProgramSettings();
        settings->clear();
        settings->sync();
    }

    void controlsCarryTheirNamesShortcutsAndCaptions()
    {
        Program p;
        QWidget &form = *p.form;
        QCOMPARE(form.objectName(), QStringLiteral("Form1"));
        QVERIFY(form.findChild<QMenuBar *>(QStringLiteral("MainMenu1")));
        QCOMPARE(p.pages->count(), 21);
        for (int i = 1; i <= 21; ++i) {
            QWidget *sheet = form.findChild<QWidget *>(QStringLiteral("TabSheet%1").arg(i));
            QVERIFY(sheet);
            QCOMPARE(p.pages->indexOf(sheet), i - 1);
            QVERIFY(sheet->findChild<QWidget *>(QStringLiteral("PaintBox%1").arg(i)));
        }
        for (const char *name : {"ScrollBar1", "ScrollBar2", "Panel2"})
            QVERIFY2(p.pages->widget(20)->findChild<QWidget *>(QLatin1String(name)), name);
        for (const char *name : {"m1", "c011", "c11", "c12", "c121", "c13", "m2", "c32", "c331", "c341", "c351", "c22",
                                 "c2211", "c2221", "c2231", "options1", "font1", "printersetup1", "drukuj1", "m3",
                                 "c21", "c2111", "c2121", "c21211", "c21221", "c30", "c31"})
            QVERIFY2(p.action(name), name);

        const QList<std::pair<const char *, QKeySequence>> shortcuts = {
            {"c11", QKeySequence(Qt::CTRL | Qt::Key_O)},   {"c12", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"c13", QKeySequence(Qt::CTRL | Qt::Key_X)},   {"c32", QKeySequence(Qt::CTRL | Qt::Key_N)},
            {"c331", QKeySequence(Qt::CTRL | Qt::Key_D)},  {"c341", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
            {"c2231", QKeySequence(Qt::CTRL | Qt::Key_E)}, {"drukuj1", QKeySequence(Qt::CTRL | Qt::Key_P)},
        };
        for (const auto &[name, keys] : shortcuts)
            QCOMPARE(p.action(name)->shortcut(), keys);
        QVERIFY(p.action("c13")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
        QCOMPARE(p.action("c121")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

        // Captions from the shipped English file.
        const QList<std::pair<const char *, QString>> captions = {
            {"m1", "Project"},
            {"c011", "New project"},
            {"c11", "Open project..."},
            {"c12", "Save project"},
            {"c121", "Save project as..."},
            {"m2", "Sign"},
            {"c351", "Sign title"},
            {"c2121", "Price lists"},
            {"c21211", "List prices (100%)"},
            {"c21221", "Prices at price level..."},
            {"options1", "Options"},
            {"drukuj1", "Print"},
            {"c31", "About..."},
        };
        for (const auto &[name, text] : captions)
            QCOMPARE(p.action(name)->text(), text);
        QCOMPARE(p.pages->tabText(0), QStringLiteral("101x40"));
        QCOMPARE(p.pages->tabText(2), QStringLiteral("Sign  3")); // slot 3 alone gets a blank
        QCOMPARE(p.pages->tabText(3), QStringLiteral("Sign 4"));
        QCOMPARE(p.pages->tabText(20), QStringLiteral("Summary"));
    }

    void startShowsPageOneOnlyWithTheSignMenus()
    {
        Program p;
        QCOMPARE(p.visibleTabs(), tabsShown(1, false));
        QCOMPARE(p.pages->currentIndex(), 0);
        QVERIFY(p.action("m2")->isVisible());
        QVERIFY(!p.action("options1")->isVisible());
        QVERIFY(!p.action("drukuj1")->isVisible());
        QCOMPARE(ShownTitle(*p.form), QStringLiteral("TABLIX - ") + p.state.LanguageEntry(text::kMakerContactLine) + ' ');
    }

    void signMenuFollowsTheSignCountAndThePage()
    {
        const auto enabled = [](Program &p) {
            emit p.menu("m2")->aboutToShow();
            QStringList on;
            for (const char *name : {"c32", "c331", "c341", "c351", "c22"})
                if (p.action(name)->isEnabled())
                    on << QLatin1String(name);
            return on.join(' ');
        };
        Program one(1);
        QCOMPARE(enabled(one), QStringLiteral("c32 c331 c351 c22"));
        one.state.currentSignRecord.setTitle(QString());
        QCOMPARE(enabled(one), QStringLiteral("c32 c331 c22"));

        Program full(20);
        QCOMPARE(enabled(full), QStringLiteral("c341 c351 c22"));
        QCOMPARE(full.visibleTabs(), tabsShown(20, true));

        // The summary page: the whole sign menu off, and hidden; options and print shown.
        full.pages->setCurrentIndex(20);
        QCOMPARE(enabled(full), QString());
        QVERIFY(!full.action("m2")->isVisible());
        QVERIFY(full.action("options1")->isVisible());
        QVERIFY(full.action("drukuj1")->isVisible());
        full.pages->setCurrentIndex(1);
        QVERIFY(full.action("m2")->isVisible());
        QCOMPARE(full.state.currentSign, 2);
    }

    // The tab bar's arrow keys and wheel may step onto a hidden page.
    void stepsOntoHiddenPagesGoOnToThePageShown()
    {
        Program p(2);
        p.pages->setCurrentIndex(2);
        QCOMPARE(p.pages->currentIndex(), 20);
        QVERIFY(p.action("options1")->isVisible());
        p.pages->setCurrentIndex(19);
        QCOMPARE(p.pages->currentIndex(), 1);
        QCOMPARE(p.state.currentSign, 2);

        Program one(1); // nothing shown after page 1: it stays
        one.pages->setCurrentIndex(5);
        QCOMPARE(one.pages->currentIndex(), 0);
        QCOMPARE(one.state.currentSign, 1);
    }

    void newCopyDeleteAndRetitleThroughTheMenu()
    {
        Program p(1);
        QString noticeText;
        QString titleOffered;
        bool automaticOffered = true;
        const auto offered = [&](QWidget *modal) {
            titleOffered = child<QLineEdit>(modal, "Edit1")->text();
            automaticOffered = child<QCheckBox>(modal, "CheckBox1")->isChecked();
        };

        // New, cancelled at its basic data: no page, the project as it was.
        {
            ModalAnswers answers({modal::reject(QStringLiteral("Form5"))});
            trigger(*p.form, "c32");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(p.state.signCount, 1);
        QCOMPARE(p.visibleTabs(), tabsShown(1, false));
        QVERIFY(!p.form->isWindowModified());
        // New: a second sign on its own page; its basic data are asked for at once.
        {
            ModalAnswers answers({GiveWidth(90), modal::reject(QStringLiteral("Form6"))}); // rows left for later
            trigger(*p.form, "c32");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(p.state.signCount, 2);
        QCOMPARE(p.state.currentSign, 2);
        QCOMPARE(p.pages->currentIndex(), 1);
        QCOMPARE(p.visibleTabs(), tabsShown(2, true));
        QCOMPARE(p.pages->tabText(1), QStringLiteral("Sign 2"));

        // Copy carries the edits made since the sign was selected.
        p.pages->setCurrentIndex(0);
        p.state.currentSignRecord.quantity.set(7);
        {
            ModalAnswers none({});
            trigger(*p.form, "c331");
            VERIFY_ANSWERED(none);
        }
        QCOMPARE(p.state.signCount, 3);
        QCOMPARE(p.state.currentSign, 3);
        QCOMPARE(p.pages->currentIndex(), 2);
        QCOMPARE(p.state.slot(3).quantity.get(), 7.0L);
        QCOMPARE(p.pages->tabText(2), QStringLiteral("101x40"));

        // Retitle by hand: "!" kept in the record, not on the tab; offered back without it.
        {
            ModalAnswers answers({{QStringLiteral("Form10"), [&](QWidget *modal) {
                                       offered(modal);
                                       child<QLineEdit>(modal, "Edit1")->setText(QStringLiteral("Hall & entrance"));
                                       child<QCheckBox>(modal, "CheckBox1")->setChecked(false);
                                       child(modal, "BitBtn1")->click();
                                   }}});
            trigger(*p.form, "c351");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(titleOffered, QStringLiteral("101x40"));
        QVERIFY(automaticOffered);
        QCOMPARE(p.state.currentSignRecord.titleText(), QStringLiteral("!Hall & entrance"));
        QCOMPARE(p.state.slot(3).titleText(), QStringLiteral("!Hall & entrance"));
        QCOMPARE(p.pages->tabText(2), QStringLiteral("Hall && entrance"));
        {
            ModalAnswers answers({{QStringLiteral("Form10"), [&](QWidget *modal) {
                                       offered(modal);
                                       child(modal, "BitBtn2")->click();
                                   }}});
            emit p.pages->tabBarDoubleClicked(2);
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(titleOffered, QStringLiteral("Hall & entrance"));
        QVERIFY(!automaticOffered);

        // Delete asks first; declined, nothing changes.
        p.pages->setCurrentIndex(1);
        {
            ModalAnswers answers({modal::notice(false, &noticeText)});
            trigger(*p.form, "c341");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(noticeText, QStringLiteral("Delete the current sign?#All its rows and data will be lost."));
        QCOMPARE(p.state.signCount, 3);

        // Deleting sign 2 of 3 moves sign 3 to page 2 and makes page 1 current.
        {
            ModalAnswers answers({modal::notice(true)});
            trigger(*p.form, "c341");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(p.state.signCount, 2);
        QCOMPARE(p.state.currentSign, 1);
        QCOMPARE(p.pages->currentIndex(), 0);
        QCOMPARE(p.visibleTabs(), tabsShown(2, true));
        QCOMPARE(p.pages->tabText(1), QStringLiteral("Hall && entrance"));

        // Deleting the second of two hides the summary tab.
        p.pages->setCurrentIndex(1);
        {
            ModalAnswers answers({modal::notice(true)});
            trigger(*p.form, "c341");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(p.visibleTabs(), tabsShown(1, false));
    }

    void savedProjectReopensByteForByte()
    {
        QTemporaryDir dir;
        Program p(3);
        QStringList filters;
        QString chosen;
        const FileNameDialog dialog = [&](QWidget *, const QString &, const QString &filter) {
            filters << filter;
            return chosen;
        };
        p.form->setFileDialogs(dialog, dialog);

        SignRecord marked = p.state.currentSignRecord;
        marked.rowMarks[0] = 1;
        p.windows->document().ChangeSign(marked, text::kStepConstruction);
        // A name without an extension is written with ".tab" and shown with it, as after opening.
        chosen = dir.filePath(QStringLiteral("hall"));
        trigger(*p.form, "c12");
        const QByteArray saved = fixtures::ReadBytes(dir.filePath(QStringLiteral("hall.tab")));
        QCOMPARE(saved.size(), 3920);
        QCOMPARE(saved, SerializeProject(p.state.SignSlots));
        QVERIFY(ShownTitle(*p.form).endsWith(QStringLiteral(" - hall.tab")));
        QCOMPARE(filters.last(), QStringLiteral("Tablix projects (*.tab);;All files (*)"));

        // Saved, nothing is lost: no question; the blank sign asks for its data.
        {
            ModalAnswers answers({modal::reject(QStringLiteral("Form5"))});
            trigger(*p.form, "c011");
            QTRY_VERIFY2(answers.done(), qPrintable(answers.report()));
        }
        QCOMPARE(p.state.signCount, 1);
        QVERIFY(!p.state.slot(1).inUse());
        QVERIFY(!p.form->windowTitle().contains(QStringLiteral("hall")));

        chosen = dir.filePath(QStringLiteral("hall.tab"));
        trigger(*p.form, "c11");
        QCOMPARE(p.state.signCount, 3);
        QCOMPARE(p.visibleTabs(), tabsShown(3, true));
        QCOMPARE(p.pages->tabText(2), QStringLiteral("103x40"));
        QCOMPARE(p.state.workingRowMarks[0], 1); // drawn with its own marks
        QVERIFY(ShownTitle(*p.form).endsWith(QStringLiteral(" - hall.tab")));

        chosen = dir.filePath(QStringLiteral("again.tab"));
        trigger(*p.form, "c121");
        QCOMPARE(fixtures::ReadBytes(chosen), saved);
    }

    void failedOpenOrSaveLeavesEverythingAsItWas()
    {
        QTemporaryDir dir;
        Program p(2);
        QString chosen;
        const FileNameDialog dialog = [&](QWidget *, const QString &, const QString &) { return chosen; };
        p.form->setFileDialogs(dialog, dialog);
        QStringList boxes;
        const auto box = [&boxes] {
            return ModalAnswers::Step{QStringLiteral("QMessageBox"), [&boxes](QWidget *modal) {
                                          boxes << static_cast<QMessageBox *>(modal)->text();
                                          static_cast<QDialog *>(modal)->reject();
                                      }};
        };

        const SignSlotArray before = p.state.SignSlots;
        const QString caption = p.form->windowTitle();
        chosen = dir.filePath(QStringLiteral("short.tab"));
        QVERIFY(fixtures::WriteBytes(chosen, QByteArray(100, '\1')));
        {
            ModalAnswers answers({box()});
            trigger(*p.form, "c11");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains(QStringLiteral("\"short.tab\" is not a Tablix project: it holds 100 bytes")), qPrintable(boxes[0]));
        QVERIFY(p.state.SignSlots == before);
        QCOMPARE(p.state.signCount, 2);
        QCOMPARE(p.form->windowTitle(), caption);

        chosen = dir.filePath(QStringLiteral("missing/dir/x.tab"));
        {
            ModalAnswers answers({box()});
            trigger(*p.form, "c12");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(boxes.size(), 2);
        QVERIFY2(boxes[1].contains(QStringLiteral("Nothing was written")), qPrintable(boxes[1]));
        QCOMPARE(p.form->windowTitle(), caption);
        QVERIFY(p.state.projectFileName.isEmpty());
    }

    // Every kind of change marks the project and its caption; saving and opening clear the mark.
    void changesMarkTheProjectUntilSavedOrOpened()
    {
        QTemporaryDir dir;
        Program p(2);
        int asked = 0;
        p.form->setFileDialogs(nullptr, [&](QWidget *, const QString &, const QString &) {
            ++asked;
            return dir.filePath(QStringLiteral("hall"));
        });
        // The flag, once the caption was checked to show the same.
        const auto modified = [&p] {
            const bool flag = p.state.ProjectModified();
            if (p.form->isWindowModified() != flag || ShownTitle(*p.form).contains('*') != flag)
                return !flag; // a caption out of step fails either way
            return flag;
        };
        QVERIFY(!modified());

        p.changeQuantity(5);
        QVERIFY(modified());
        QCOMPARE(ShownTitle(*p.form), QStringLiteral("TABLIX - ") + p.state.LanguageEntry(text::kMakerContactLine) + "* ");
        trigger(*p.form, "c12");
        QCOMPARE(asked, 1);
        QVERIFY(!modified());
        QVERIFY(ShownTitle(*p.form).endsWith(QStringLiteral(" - hall.tab")));

        // Cancelled dialogs change nothing.
        {
            ModalAnswers answers({modal::reject(QStringLiteral("Form5")), modal::reject(QStringLiteral("Form6"))});
            trigger(*p.form, "c2211");
            trigger(*p.form, "c2221");
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(!modified());

        // Each sign command, from a saved project, marks it.
        const auto marks = [&](const char *command, std::vector<ModalAnswers::Step> steps) {
            trigger(*p.form, "c12");
            if (modified())
                return QStringLiteral("%1: not saved").arg(QLatin1String(command));
            ModalAnswers answers(std::move(steps));
            trigger(*p.form, command);
            if (!answers.done())
                return QLatin1String(command) + QStringLiteral(": ") + answers.report();
            return modified() ? QString() : QStringLiteral("%1: not marked").arg(QLatin1String(command));
        };
        QCOMPARE(marks("c331", {}), QString());
        QCOMPARE(marks("c32", {GiveWidth(90), modal::reject(QStringLiteral("Form6"))}), QString()); // a page without rows
        QCOMPARE(marks("c341", {modal::notice(true)}), QString());
        p.pages->setCurrentIndex(0);
        QCOMPARE(marks("c351", {{QStringLiteral("Form10"), [](QWidget *w) {
                                     child<QLineEdit>(w, "Edit1")->setText(QStringLiteral("Door"));
                                     child(w, "BitBtn1")->click();
                                 }}}),
                 QString());
        // Infill height and extra cost, set in a window over the construction dialog, confirmed there.
        QCOMPARE(marks("c2221", {{QStringLiteral("Form6"), [&p](QWidget *w) {
                                      p.state.currentSignRecord.infillHeight.set(30);
                                      p.state.currentSignRecord.extraCost.set(12);
                                      child(w, "BitBtn4")->click();
                                  }}}),
                 QString());
        QCOMPARE(asked, 1); // the project's own file was written each time, without asking

        // Opening clears it: the opened file is what counts from then on.
        p.form->setFileDialogs([&](QWidget *, const QString &, const QString &) { return dir.filePath(QStringLiteral("hall.tab")); },
                               nullptr);
        p.changeQuantity(8);
        {
            ModalAnswers answers({SaveChanges("DiscardButton")});
            trigger(*p.form, "c11");
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(!modified());
        QVERIFY(ShownTitle(*p.form).endsWith(QStringLiteral(" - hall.tab")));
        QCOMPARE(p.state.currentSignRecord.quantity.get(), 5.0L); // as last saved
    }

    // The close button, Exit, its keys, Open and New project ask before unsaved changes go.
    void unsavedChangesAreAskedForBeforeTheyGo()
    {
        QTemporaryDir dir;
        QApplication::setQuitOnLastWindowClosed(false);
        Program p(2);
        int opened = 0;
        int named = 0;
        QString saveAs;
        p.form->setFileDialogs(
            [&](QWidget *, const QString &, const QString &) {
                ++opened;
                return QString();
            },
            [&](QWidget *, const QString &, const QString &) {
                ++named;
                return saveAs;
            });

        // Unmodified, the window closes without a word.
        {
            ModalAnswers none({});
            QVERIFY(p.form->close());
            VERIFY_ANSWERED(none);
        }
        p.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.form));

        p.changeQuantity(9);
        QString question;
        {
            ModalAnswers answers({SaveChanges("CancelButton", &question)});
            QVERIFY(!p.form->close());
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(question, QStringLiteral("The project has changes that are not saved.#Save the changes?|Save|Don't save|Cancel"));
        QVERIFY(p.form->isVisible());
        {
            ModalAnswers answers({SaveChanges("CancelButton")});
            trigger(*p.form, "c13");
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(p.form->isVisible());
        for (const Qt::Key key : {Qt::Key_X, Qt::Key_Q}) {
            p.form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(p.form));
            ModalAnswers answers({SaveChanges("CancelButton")});
            QTest::keyClick(p.form, key, Qt::ControlModifier);
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(p.form->isVisible());

        // Save without a file asks for a name; no name given, the window stays.
        {
            ModalAnswers answers({SaveChanges("SaveButton")});
            QVERIFY(!p.form->close());
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(named, 1);
        QVERIFY(p.form->isVisible());

        // Open: Cancel never gets to the file; Discard does.
        {
            ModalAnswers answers({SaveChanges("CancelButton")});
            trigger(*p.form, "c11");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(opened, 0);
        {
            ModalAnswers answers({SaveChanges("DiscardButton")});
            trigger(*p.form, "c11");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(opened, 1);
        QVERIFY(p.state.ProjectModified()); // the open dialog was cancelled: nothing went

        // New project: Save writes the project first, then it starts anew.
        saveAs = dir.filePath(QStringLiteral("kept"));
        {
            ModalAnswers answers({SaveChanges("SaveButton"), modal::reject(QStringLiteral("Form5"))});
            trigger(*p.form, "c011");
            QTRY_VERIFY2(answers.done(), qPrintable(answers.report()));
        }
        const ProjectLoad kept = ReadProjectFile(dir.filePath(QStringLiteral("kept.tab")));
        QVERIFY(kept.signs);
        QCOMPARE((*kept.signs)[0].quantity.get(), 9.0L);
        QCOMPARE(p.state.signCount, 1);
        QVERIFY(!p.state.slot(1).inUse());
        QVERIFY(!p.state.ProjectModified());

        // Discarded on closing, the window goes.
        {
            ModalAnswers answers({GiveWidth(80)});
            trigger(*p.form, "c2211");
            VERIFY_ANSWERED(answers);
        }
        {
            ModalAnswers answers({SaveChanges("DiscardButton")});
            QVERIFY(p.form->close());
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(!p.form->isVisible());
        QApplication::setQuitOnLastWindowClosed(true);
    }

    // Save writes the file the project came from, in its folder; Save as asks for another.
    void saveWritesWhereTheProjectCameFrom()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("jobs")));
        const QString hall = QFileInfo(dir.filePath(QStringLiteral("jobs/hall.tab"))).absoluteFilePath();
        {
            AppState other;
            PrepareProject(other, 2);
            QVERIFY(WriteProjectFile(hall, other.SignSlots, nullptr));
        }
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Program p(1);
        QStringList proposed;
        QString saveAs;
        p.form->setFileDialogs([&](QWidget *, const QString &, const QString &) { return hall; },
                               [&](QWidget *, const QString &offered, const QString &) {
                                   proposed << offered;
                                   return saveAs;
                               });
        trigger(*p.form, "c11");
        QCOMPARE(p.state.signCount, 2);
        QCOMPARE(p.state.projectFilePath, hall);
        const QString opened = ShownTitle(*p.form);
        QVERIFY(opened.endsWith(QStringLiteral(" - hall.tab")));

        p.changeQuantity(6);
        trigger(*p.form, "c12");
        QDir::setCurrent(previous);
        QCOMPARE(proposed, QStringList());
        QCOMPARE(fixtures::ReadBytes(hall), SerializeProject(p.state.SignSlots));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("hall.tab"))));
        QCOMPARE(ShownTitle(*p.form), opened);

        saveAs = dir.filePath(QStringLiteral("copy"));
        trigger(*p.form, "c121");
        QCOMPARE(proposed, QStringList{hall});
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("copy.tab"))));
        QCOMPARE(p.state.projectFilePath, QFileInfo(dir.filePath(QStringLiteral("copy.tab"))).absoluteFilePath());
        QVERIFY(ShownTitle(*p.form).endsWith(QStringLiteral(" - copy.tab")));

        // Save stays there while the current page's sign has no rows yet.
        {
            ModalAnswers answers({GiveWidth(90), modal::reject(QStringLiteral("Form6"))});
            trigger(*p.form, "c32");
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(!p.state.currentSignRecord.inUse());
        QVERIFY(p.saveEnabled());
        {
            ModalAnswers answers({SaveChanges("DiscardButton"), modal::reject(QStringLiteral("Form5"))});
            trigger(*p.form, "c011");
            QTRY_VERIFY2(answers.done(), qPrintable(answers.report()));
        }
        QVERIFY(!p.saveEnabled()); // nothing in use, nothing to save
    }

    // ".tab" goes on before the question about a file already there, whatever dots the name has.
    void savedNamesGetTheirExtensionBeforeTheReplaceQuestion()
    {
        QTemporaryDir dir;
        Program p(1);
        QStringList names;
        int asked = 0;
        p.form->setFileDialogs(nullptr, [&](QWidget *, const QString &, const QString &) {
            ++asked;
            return names.isEmpty() ? QString() : names.takeFirst();
        });
        const QString shop = dir.filePath(QStringLiteral("Shop 1.2.tab"));
        QVERIFY(fixtures::WriteBytes(shop, "old contents"));

        QString question;
        names = {dir.filePath(QStringLiteral("Shop 1.2"))};
        {
            ModalAnswers answers({{QStringLiteral("ReplaceFileBox"), [&](QWidget *w) {
                                       auto *box = static_cast<QMessageBox *>(w);
                                       question = box->text() + '#' + box->informativeText();
                                       child(box, "CancelButton")->click();
                                   }}});
            trigger(*p.form, "c12");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(question, QStringLiteral("The file %1 already exists.#Replace it?").arg(QDir::toNativeSeparators(shop)));
        QCOMPARE(asked, 2); // declined, the name is asked again
        QCOMPARE(fixtures::ReadBytes(shop), QByteArray("old contents"));
        QVERIFY(p.state.projectFilePath.isEmpty());

        names = {dir.filePath(QStringLiteral("Shop 1.2"))};
        {
            ModalAnswers answers({modal::click(QStringLiteral("ReplaceFileBox"), "ReplaceButton")});
            trigger(*p.form, "c12");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(fixtures::ReadBytes(shop), SerializeProject(p.state.SignSlots));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Shop 1.2"))));
        QVERIFY(ShownTitle(*p.form).endsWith(QStringLiteral(" - Shop 1.2.tab")));

        names = {dir.filePath(QStringLiteral("HALL.TAB"))};
        {
            ModalAnswers none({});
            trigger(*p.form, "c121");
            VERIFY_ANSWERED(none);
        }
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("HALL.TAB"))).size() == 3920);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("HALL.TAB.tab"))));
    }

    // A sign page with nothing on it tells what to do, in the user's language.
    // Ctrl+Z takes back the last step and the menu names it; the step's page comes back, and back
    // at the saved state the project is unmodified; Ctrl+Y and Ctrl+Shift+Z redo it.
    void undoAndRedoFollowTheSteps()
    {
        Program p(2);
        QAction *undo = p.action("Undo");
        QAction *redo = p.action("Redo");
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        QVERIFY(undo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
        for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
            QVERIFY(redo->shortcuts().contains(keys));
        const QByteArray before = SerializeProject(p.state.SignSlots);

        p.changeQuantity(5);
        // The step is named by the sign's title after it: the basic data retitle the sign.
        const QString step = QStringLiteral("Basic data of ") + p.state.currentSignRecord.titleText();
        QCOMPARE(step, QStringLiteral("Basic data of 100.00x1.60B"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo ") + step);
        QVERIFY(p.form->isWindowModified());
        p.pages->setCurrentIndex(1);
        p.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.form));
        QTest::keyClick(p.form, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(SerializeProject(p.state.SignSlots), before);
        QCOMPARE(p.pages->currentIndex(), 0);
        QVERIFY(!p.form->isWindowModified());
        QCOMPARE(redo->text(), QStringLiteral("&Redo ") + step);
        QTest::keyClick(p.form, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(p.state.currentSignRecord.quantity.get(), 5.0L);
        QVERIFY(p.form->isWindowModified());
        QTest::keyClick(p.form, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(p.form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(p.state.currentSignRecord.quantity.get(), 5.0L);

        // Opening or starting a project clears the history.
        ModalAnswers answers({SaveChanges("DiscardButton"), modal::reject(QStringLiteral("Form5"))});
        trigger(*p.form, "c011");
        QTRY_VERIFY2(answers.done(), qPrintable(answers.report()));
        QVERIFY(!undo->isEnabled());
        QCOMPARE(p.windows->document().undoStack().count(), 0);
    }

    void emptySignPageSaysWhatToDo()
    {
        ModalAnswers first({modal::reject(QStringLiteral("Form5"))});
        Program p(0);
        p.form->AskForSignData(); // as at start
        QTRY_VERIFY2(first.done(), qPrintable(first.report()));
        QCOMPARE(p.form->EmptySignHint(), QStringLiteral("This sign is still empty.#Double-click here, or choose "
                                                         "Sign > Construction > Edit sign, to enter its size and then its rows."));
        // Ink on the page where there was none.
        auto *box = p.pages->widget(0)->findChild<QWidget *>(QStringLiteral("PaintBox1"));
        const auto inked = [box] {
            const QImage image = box->grab().toImage();
            const QRgb paper = image.pixel(2, 2);
            int count = 0;
            for (int y = 0; y < image.height(); y += 2)
                for (int x = 0; x < image.width(); x += 2)
                    count += image.pixel(x, y) != paper;
            return count;
        };
        QVERIFY2(inked() > 200, qPrintable(QString::number(inked())));

        p.state.language = fixtures::ShippedLanguage(QStringLiteral("tablix_lng.pol"));
        p.form->LoadLanguageCaptions();
        QVERIFY2(p.form->EmptySignHint().contains(QStringLiteral("Tablica > Konstrukcja > Edytuj tablicę,")),
                 qPrintable(p.form->EmptySignHint()));
    }

    // The sign's dialogs open by themselves once per sign, until a width is given; the page and the
    // commands open them on request; a new project and an opened one start over.
    void signDialogsOpenOncePerSignUntilAWidthIsGiven()
    {
        ModalAnswers first({modal::reject(QStringLiteral("Form5"))});
        Program p(0);
        p.form->AskForSignData(); // as at start
        QTRY_VERIFY2(first.done(), qPrintable(first.report()));
        auto *box = p.pages->widget(0)->findChild<QWidget *>(QStringLiteral("PaintBox1"));
        const auto nothingOpens = [](const std::function<void()> &act) {
            ModalAnswers none({});
            act();
            QCoreApplication::sendPostedEvents(); // whatever the act queued has run
            return none.done() ? QString() : none.report();
        };
        const auto opens = [](std::vector<ModalAnswers::Step> steps, const std::function<void()> &act) {
            ModalAnswers answers(std::move(steps));
            act();
            return QTest::qWaitFor([&answers] { return answers.done(); }) ? QString() : answers.report();
        };

        // Cancelled, coming back to the window does not ask again.
        QCOMPARE(nothingOpens([&] { p.activate(); }), QString());
        // A double-click asks; once a width is given the construction follows.
        QCOMPARE(opens({GiveWidth(120), modal::reject(QStringLiteral("Form6"))},
                       [&] { QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(50, 50)); }),
                 QString());
        QCOMPARE(p.state.currentSignRecord.width.get(), 120.0L);
        // With a width: the double-click and the command open the construction only, the right
        // button the assumptions only, and activation nothing.
        QCOMPARE(opens({modal::reject(QStringLiteral("Form6"))}, [&] { QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(50, 50)); }),
                 QString());
        QCOMPARE(opens({modal::reject(QStringLiteral("Form6"))}, [&] { trigger(*p.form, "c2221"); }), QString());
        QCOMPARE(opens({modal::reject(QStringLiteral("Form5"))}, [&] { QTest::mouseClick(box, Qt::RightButton, {}, QPoint(50, 50)); }),
                 QString());
        QCOMPARE(nothingOpens([&] { p.activate(); }), QString());

        // A new project asks for its first sign's data at once, and once.
        QCOMPARE(opens({SaveChanges("DiscardButton"), modal::reject(QStringLiteral("Form5"))}, [&] { trigger(*p.form, "c011"); }),
                 QString());
        QCOMPARE(nothingOpens([&] { p.activate(); }), QString());

        // So does an opened project whose first sign has no width.
        QTemporaryDir dir;
        const QString blank = dir.filePath(QStringLiteral("blank.tab"));
        QVERIFY(WriteProjectFile(blank, p.state.SignSlots, nullptr));
        p.form->setFileDialogs([&](QWidget *, const QString &, const QString &) { return blank; }, nullptr);
        QCOMPARE(opens({modal::reject(QStringLiteral("Form5"))}, [&] { trigger(*p.form, "c11"); }), QString());
        QCOMPARE(nothingOpens([&] { p.activate(); }), QString());
    }

    void languageChooserRecaptionsTheProgram()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        for (const char *file : {"tablix_lng.eng", "tablix_lng.pol"})
            QFile::copy(fixtures::DataFile(QLatin1String(file)), dir.filePath(QLatin1String(file)));
        Program p(2);
        fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")),
                             SerializeParameterRecord(p.state.parameters));

        QStringList offered;
        QString selected;
        bool cancelShown = false;
        ModalAnswers answers({{QStringLiteral("Form3"), [&](QWidget *modal) {
                                   auto *combo = child<QComboBox>(modal, "ComboBox1");
                                   for (int i = 0; i < combo->count(); ++i)
                                       offered << combo->itemText(i);
                                   selected = combo->currentText();
                                   cancelShown = child(modal, "BitBtn2")->isVisible();
                                   combo->setCurrentIndex(combo->findText(QStringLiteral("Polski")));
                                   child(modal, "BitBtn1")->click();
                               }}});
        trigger(*p.form, "c30");
        QDir::setCurrent(previous);
        VERIFY_ANSWERED(answers);
        QVERIFY(cancelShown);

        QCOMPARE(offered, (QStringList{QStringLiteral("English"), QStringLiteral("Polski")}));
        QCOMPARE(selected, QStringLiteral("English"));
        QCOMPARE(p.action("m1")->text(), QStringLiteral("Projekt"));
        QCOMPARE(p.pages->tabText(20), p.state.LanguageEntry(text::kSummaryTab));
        const auto record = ParseParameterRecord(fixtures::ReadBytes(dir.filePath(QStringLiteral("Tablix_pro.dan"))), {}, nullptr);
        QVERIFY(record);
        QCOMPARE(record->languageFile(), QStringLiteral("tablix_lng.pol"));
        // Qt's own buttons and the caption switch with it.
        QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Cancel);
        const QString cancel = box.button(QMessageBox::Cancel)->text();
        InstallQtTranslation(QString());
        QCOMPARE(cancel, QStringLiteral("Anuluj"));
        QVERIFY(p.form->windowTitle().contains(QStringLiteral("systemy oznakowania")));
    }

    void recentProjectsKeepTheLastEightMostRecentFirst()
    {
        QTemporaryDir dir;
        const auto path = [&dir](int n) { return dir.filePath(QStringLiteral("p%1.tab").arg(n)); };
        QStringList proposed;
        {
            Program p(2);
            QString chosen;
            const FileNameDialog dialog = [&](QWidget *, const QString &start, const QString &) {
                proposed << start;
                return chosen;
            };
            p.form->setFileDialogs(dialog, dialog);
            QVERIFY(RecentMenuPaths(*p.form).isEmpty());
            QVERIFY(!p.menu("RecentProjects")->menuAction()->isEnabled());
            QCOMPARE(p.menu("RecentProjects")->title(), QStringLiteral("Recent projects"));

            for (int n = 0; n < 10; ++n) {
                chosen = dir.filePath(QStringLiteral("p%1").arg(n));
                trigger(*p.form, "c121");
            }
            QCOMPARE(RecentMenuPaths(*p.form), (QStringList{path(9), path(8), path(7), path(6), path(5), path(4), path(3), path(2)}));
            QVERIFY(p.menu("RecentProjects")->menuAction()->isEnabled());
            QCOMPARE(p.action("RecentProject1")->text(), QStringLiteral("&1  ") + QDir::toNativeSeparators(path(9)));
            // The save dialog starts on the project; opening one moves it to the top.
            QCOMPARE(proposed[1], path(0));
            chosen = path(5);
            trigger(*p.form, "c11");
            QCOMPARE(proposed.last(), dir.path());
            QCOMPARE(RecentMenuPaths(*p.form), (QStringList{path(5), path(9), path(8), path(7), path(6), path(4), path(3), path(2)}));
        }
        // Another run: the same list, and the dialogs start in the last project's folder.
        Program again;
        QCOMPARE(RecentMenuPaths(*again.form).first(), path(5));
        QCOMPARE(remembered::lastProjectFolder(), dir.path());
        const FileNameDialog cancel = [&](QWidget *, const QString &start, const QString &) {
            proposed << start;
            return QString();
        };
        again.form->setFileDialogs(cancel, cancel);
        proposed.clear();
        trigger(*again.form, "c11");
        trigger(*again.form, "c121");
        QCOMPARE(proposed, (QStringList{dir.path(), dir.path()}));

        trigger(*again.form, "ClearRecentProjects");
        QVERIFY(RecentMenuPaths(*again.form).isEmpty());
        QVERIFY(!again.menu("RecentProjects")->menuAction()->isEnabled());
    }

    void recentProjectOpensWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        const QString kept = dir.filePath(QStringLiteral("kept.tab"));
        const QString gone = dir.filePath(QStringLiteral("gone.tab"));
        const QString damaged = dir.filePath(QStringLiteral("damaged.tab"));
        Program p(3);
        QString chosen;
        p.form->setFileDialogs([&](QWidget *, const QString &, const QString &) { return chosen; },
                               [&](QWidget *, const QString &, const QString &) { return chosen; });
        for (const QString &name : {kept, gone, damaged}) {
            chosen = name;
            trigger(*p.form, "c121");
        }
        QVERIFY(fixtures::WriteBytes(damaged, "not a project"));
        QVERIFY(QFile::remove(gone));
        p.changeQuantity(7);
        QCOMPARE(RecentMenuPaths(*p.form), (QStringList{damaged, gone, kept}));

        // Gone: taken off the list with a message; the unsaved project is not touched or asked about.
        QString message;
        {
            ModalAnswers answers({{QStringLiteral("RecentMissingBox"), [&message](QWidget *w) {
                                       auto *box = static_cast<QMessageBox *>(w);
                                       message = box->text() + '#' + box->informativeText();
                                       box->accept();
                                   }}});
            trigger(*p.form, "RecentProject2");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(message, QStringLiteral("The project %1 is no longer there.#It has been taken off the list of recent projects.")
                              .arg(QDir::toNativeSeparators(gone)));
        QCOMPARE(RecentMenuPaths(*p.form), (QStringList{damaged, kept}));
        QCOMPARE(p.state.currentSignRecord.quantity.get(), 7.0L);
        QVERIFY(p.state.ProjectModified());

        // Damaged: the reason is shown, the project stays as it was and the entry stays too.
        {
            ModalAnswers answers({SaveChanges("DiscardButton"), modal::messageBox()});
            trigger(*p.form, "RecentProject1");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(p.state.signCount, 3);
        QCOMPARE(p.state.currentSignRecord.quantity.get(), 7.0L);
        QCOMPARE(p.state.projectFilePath, damaged);
        QCOMPARE(RecentMenuPaths(*p.form), (QStringList{damaged, kept}));

        // There: the unsaved changes are asked about, then the project opens whole.
        {
            ModalAnswers answers({SaveChanges("DiscardButton")});
            trigger(*p.form, "RecentProject2");
            VERIFY_ANSWERED(answers);
        }
        QCOMPARE(p.state.signCount, 3);
        QCOMPARE(p.state.projectFilePath, kept);
        QCOMPARE(p.state.currentSignRecord.quantity.get(), 1.0L);
        QVERIFY(!p.state.ProjectModified());
        QVERIFY(ShownTitle(*p.form).endsWith(QStringLiteral(" - kept.tab")));
        QCOMPARE(RecentMenuPaths(*p.form), (QStringList{kept, damaged}));
    }

    void windowAndFontsComeBackInTheNextRun()
    {
        const QRect placed(30, 40, 640, 420);
        QFont summaryFont, reportFont;
        const auto chooseFont = [](QAction *command, int pointSize) {
            ModalAnswers answers({{QStringLiteral("QFontDialog"), [pointSize](QWidget *w) {
                                       auto *dialog = static_cast<QFontDialog *>(w);
                                       QFont font = dialog->currentFont();
                                       font.setPointSize(pointSize);
                                       dialog->setCurrentFont(font);
                                       dialog->accept();
                                   }}});
            command->trigger();
            QVERIFY2(answers.done(), qPrintable(answers.report()));
        };
        {
            Program p;
            p.form->setGeometry(placed);
            QTRY_COMPARE(p.form->geometry(), placed);
            chooseFont(p.action("font1"), 17);
            summaryFont = p.form->findChild<SummaryPage *>()->paintBox()->font();
            QCOMPARE(summaryFont.pointSize(), 17);
            ReportView &report = p.windows->reportView();
            chooseFont(child<QAction>(&report, "Font1"), 13);
            reportFont = report.paintBox()->font();
            QCOMPARE(reportFont.pointSize(), 13);
            QVERIFY(p.form->close());
        }
        // The style name may go; what is drawn stays.
        const auto drawn = [](const QFont &f) {
            return std::tuple(QFontInfo(f).family(), f.pointSizeF(), f.pixelSize(), f.weight(), f.italic());
        };
        Program again;
        QCOMPARE(again.form->geometry(), placed);
        QVERIFY(drawn(again.form->findChild<SummaryPage *>()->paintBox()->font()) == drawn(summaryFont));
        QVERIFY(drawn(again.windows->reportView().paintBox()->font()) == drawn(reportFont));
    }

    void nonsenseInTheSettingsIsIgnored()
    {
        QSize firstSize;
        QFont firstFont;
        {
            Program p;
            firstSize = p.form->size();
            firstFont = p.form->findChild<SummaryPage *>()->paintBox()->font();
        }
        {
            auto settings = ProgramSettings();
            settings->setValue(QStringLiteral("mainWindow/geometry"), QByteArray("\x01\xd9\xd0\xcb garbage"));
            settings->setValue(QStringLiteral("fonts/summary"), QStringLiteral(",,,,"));
            settings->setValue(QStringLiteral("fonts/report"), QStringLiteral("Mono,-5,-5,5,400,0,0,0,0,0"));
            QStringList recent{QStringLiteral("relative/a.tab"), QString(), QStringLiteral("/x/a.tab"), QStringLiteral("/x//a.tab")};
            for (int i = 0; i < 12; ++i)
                recent << QStringLiteral("/y/%1.tab").arg(i);
            settings->setValue(QStringLiteral("recentProjects"), recent);
            settings->setValue(QStringLiteral("lastProjectFolder"), QStringLiteral("not/absolute"));
        }
        Program p;
        QCOMPARE(p.form->size(), firstSize);
        QCOMPARE(p.form->findChild<SummaryPage *>()->paintBox()->font(), firstFont);
        QVERIFY(FontPixelHeight(p.windows->reportView().paintBox()->font()) > 0);
        const QStringList recent = RecentMenuPaths(*p.form);
        QCOMPARE(recent.size(), 8);
        QCOMPARE(recent.mid(0, 2), (QStringList{QStringLiteral("/x/a.tab"), QStringLiteral("/y/0.tab")}));
        QCOMPARE(remembered::lastProjectFolder(), QString());

        ProgramSettings()->setValue(QStringLiteral("recentProjects"), 5);
        QVERIFY(RecentMenuPaths(*p.form).isEmpty());
    }

    void aboutBoxShowsTheMakerAndOpensItsLinks()
    {
        Program p;
        UrlCatcher catcher;
        const QList<QUrl> &opened = catcher.urls;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");

        QStringList texts;
        QStringList tabStops;
        QImage linkImage;
        const QColor linkColour(170, 20, 120);
        ModalAnswers answers({{QStringLiteral("AboutBox"), [&](QWidget *modal) {
                                   texts << modal->windowTitle() << child<QLabel>(modal, "ProductName")->text()
                                         << child<QLabel>(modal, "Comments")->text() << child(modal, "OKButton")->text();
                                   // Reached with the keyboard from the default button, followed with Enter.
                                   auto *mail = child<QLabel>(modal, "MailLink");
                                   child(modal, "OKButton")->setFocus(Qt::TabFocusReason);
                                   for (int i = 0; i < 3; ++i) {
                                       QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                                       tabStops << QApplication::focusWidget()->objectName();
                                   }
                                   while (QApplication::focusWidget() != mail && tabStops.size() < 8) {
                                       QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                                       tabStops << QApplication::focusWidget()->objectName();
                                   }
                                   QTest::keyClick(mail, Qt::Key_Return);
                                   // The links take the palette's link colour.
                                   auto *web = child<QLabel>(modal, "WebLink");
                                   QPalette palette = web->palette();
                                   palette.setColor(QPalette::Link, linkColour);
                                   web->setPalette(palette);
                                   linkImage = web->grab().toImage();
                                   QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(web->contentsRect().left() + 6, web->height() / 2));
                                   child(modal, "OKButton")->click();
                               }}});
        trigger(*p.form, "c31");
        VERIFY_ANSWERED(answers);
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(texts, (QStringList{QStringLiteral("About Tablix"), QStringLiteral("Tablix ver. 4.5.0"),
                                     QStringLiteral("Design and pricing of modular sign boards"),
                                     QStringLiteral("OK")}));
        QCOMPARE(tabStops.mid(0, 3), (QStringList{QStringLiteral("MailLink"), QStringLiteral("WebLink"), QStringLiteral("OKButton")}));
        QCOMPARE(opened, (QList<QUrl>{MakerMailUrl(), MakerWebUrl()}));
        QCOMPARE(opened[0].scheme(), QStringLiteral("mailto"));
        int linkPixels = 0, bluePixels = 0;
        for (int y = 0; y < linkImage.height(); ++y)
            for (int x = 0; x < linkImage.width(); ++x) {
                const QColor c = linkImage.pixelColor(x, y);
                linkPixels += c == linkColour;
                bluePixels += c == QColor(Qt::blue);
            }
        QVERIFY2(linkPixels > 10, qPrintable(QString::number(linkPixels)));
        QCOMPARE(bluePixels, 0);
    }

    void secondStartRestoresTheFirstWindow()
    {
        const QString name = QStringLiteral("tablix-test-%1").arg(QCoreApplication::applicationPid());
        QTemporaryDir runtime; // private to the user, as XDG_RUNTIME_DIR is
        QVERIFY(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        SingleInstance first(name, runtime.path());
        QVERIFY(first.claim());
        QWidget window;
        window.showMinimized();
        first.setWindow(&window);
        SingleInstance second(name, runtime.path());
        QVERIFY(!second.claim());
        QTRY_VERIFY(!window.isMinimized() && window.isVisible());
    }

    void overflowInAnEventIsReportedAndTheProgramGoesOn()
    {
        struct Failing : QObject {
            int events = 0;
            bool event(QEvent *e) override
            {
                if (e->type() != QEvent::User)
                    return QObject::event(e);
                ++events;
                throw FloatingPointOverflow();
            }
        } failing;
        QString text;
        QString again;
        ModalAnswers answers({modal::messageBox(&text), modal::messageBox(&again)});
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QTRY_COMPARE(text, QStringLiteral("Floating point overflow"));
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QTRY_VERIFY2(answers.done(), qPrintable(answers.report()));
        QCOMPARE(failing.events, 2);
        QCOMPARE(again, text);
    }
};

int main(int argc, char **argv)
{
    // What the program remembers goes to a folder of this run, never to the user's own settings.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    TablixApplication app(argc, argv);
    // Closing the main window ends a test's program, not the test run.
    QApplication::setQuitOnLastWindowClosed(false);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window.moc"
