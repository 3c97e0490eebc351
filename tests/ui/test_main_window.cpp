// The main window as a user drives it: its controls, menus, sign commands, project files, the
// summary page, the language chooser, the about box, the single-instance guard and overflows.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
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
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/startup.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

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
        for (const char *name : {"m1", "c011", "c11", "c12", "c13", "m2", "c32", "c331", "c341", "c351", "c22",
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

        // Captions from the shipped English file.
        const QList<std::pair<const char *, QString>> captions = {
            {"m1", "Project"},
            {"c011", "New project"},
            {"c11", "Open project..."},
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
        QCOMPARE(p.form->windowTitle(), QStringLiteral("TABLIX - ") + QString::fromUtf8(kMakerContactLine) + ' ');
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

        // New: a blank second sign on its own page; its basic data are asked for at once.
        {
            ModalAnswers answers({modal::reject(QStringLiteral("Form5"))}); // the new sign's basic data, left for later
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

        p.state.currentSignRecord.rowMarks[0] = 1;
        // A name without an extension is written with ".tab" and shown without it.
        chosen = dir.filePath(QStringLiteral("hall"));
        trigger(*p.form, "c12");
        const QByteArray saved = fixtures::ReadBytes(dir.filePath(QStringLiteral("hall.tab")));
        QCOMPARE(saved.size(), 3920);
        QCOMPARE(saved, SerializeProject(p.state.SignSlots));
        QVERIFY(p.form->windowTitle().endsWith(QStringLiteral(" - hall")));
        QCOMPARE(filters.last(), QStringLiteral("Tablix projects (*.tab);;All files (*)"));

        {
            ModalAnswers answers({modal::notice(true)});
            trigger(*p.form, "c011");
            VERIFY_ANSWERED(answers);
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
        QVERIFY(p.form->windowTitle().endsWith(QStringLiteral(" - hall.tab")));

        chosen = dir.filePath(QStringLiteral("again.tab"));
        trigger(*p.form, "c12");
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
        QVERIFY2(boxes[0].contains(QStringLiteral("100 bytes")), qPrintable(boxes[0]));
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
        p.state.currentSignRecord.quantity.set(4);

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
        QCOMPARE(p.state.slot(1).quantity.get(), 4.0L); // the current sign was kept first
        const auto record = ParseParameterRecord(fixtures::ReadBytes(dir.filePath(QStringLiteral("Tablix_pro.dan"))), {}, nullptr);
        QVERIFY(record);
        QCOMPARE(record->languageFile(), QStringLiteral("tablix_lng.pol"));
    }

    void aboutBoxShowsTheMakerAndOpensItsLinks()
    {
        Program p;
        UrlCatcher catcher;
        const QList<QUrl> &opened = catcher.urls;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");

        QStringList texts;
        ModalAnswers answers({{QStringLiteral("AboutBox"), [&](QWidget *modal) {
                                   texts << modal->windowTitle() << child<QLabel>(modal, "ProductName")->text()
                                         << child<QLabel>(modal, "Comments")->text() << child(modal, "OKButton")->text();
                                   QTest::mouseClick(child<QLabel>(modal, "MailLink"), Qt::LeftButton);
                                   QTest::mouseClick(child<QLabel>(modal, "WebLink"), Qt::LeftButton);
                                   child(modal, "OKButton")->click();
                               }}});
        trigger(*p.form, "c31");
        VERIFY_ANSWERED(answers);
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(texts, (QStringList{QStringLiteral("About Tablix"), QStringLiteral("Tablix ver. 4.5.0"),
                                     QStringLiteral("Design and pricing of modular sign boards"),
                                     QStringLiteral("OK")}));
        QCOMPARE(opened, (QList<QUrl>{MakerMailUrl(), MakerWebUrl()}));
        QCOMPARE(opened[0].scheme(), QStringLiteral("mailto"));
    }

    void secondStartRestoresTheFirstWindow()
    {
        const QString name = QStringLiteral("tablix-test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(name);
        QVERIFY(first.claim());
        QWidget window;
        window.showMinimized();
        first.setWindow(&window);
        SingleInstance second(name);
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
    TablixApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window.moc"
