// The start-up path: the command line, the data folder, the boxes a user sees when data are missing, the main window otherwise, and the hand-over to a running instance.
#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QPushButton>
#include <QMessageBox>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <csignal>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/params/data_folder.h"
#include "core/params/parameters.h"
#include "core/project/app_state.h"
#include "ui/language_chooser.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/startup.h"
#include "ui/window_set.h"
#include "support/fixtures.h"
#include "support/modal_answers.h"

using namespace tablix;

class StartupTest : public QObject {
    Q_OBJECT

    // Runs the start-up, answers the windows before the open-error box with `before` and returns the
    // box's caption and text; the caption tells what the answers missed.
    static std::pair<QString, QString> startupBox(const QString &workdir, bool *ok,
                                                  std::vector<ModalAnswers::Step> before = {})
    {
        QString caption, text;
        before.push_back({QStringLiteral("OpenErrorBox"), [&](QWidget *w) {
                              caption = w->windowTitle();
                              text = static_cast<QMessageBox *>(w)->text();
                              static_cast<QMessageBox *>(w)->accept();
                          }});
        ModalAnswers answers(std::move(before));
        AppState state;
        *ok = RunStartup(state, workdir);
        if (!answers.done())
            caption = answers.report();
        return {caption, text};
    }

    // A private runtime folder, as XDG_RUNTIME_DIR is.
    static std::unique_ptr<QTemporaryDir> runtimeFolder()
    {
        auto dir = std::make_unique<QTemporaryDir>();
        ::chmod(QFile::encodeName(dir->path()).constData(), 0700);
        return dir;
    }

private slots:
    void missingParameterFileShowsTheOpenErrorBox()
    {
        QTemporaryDir dir;
        bool ok = true;
        const auto [caption, text] = startupBox(dir.path(), &ok);
        QVERIFY(!ok);
        QCOMPARE(caption, QStringLiteral("Open Error"));
        QVERIFY2(text.startsWith(QStringLiteral("Parameters absent (Tablix_pro.dan).\nBrak parametrów")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("--workdir FOLDER")), qPrintable(text));
        QVERIFY2(text.contains(QDir::toNativeSeparators(QDir(dir.path()).absolutePath())), qPrintable(text));
    }

    // A first start with an empty configuration folder: filled from the installed defaults, it
    // becomes the state's data folder, where the parameter editor and the chooser write.
    void firstStartFillsTheConfigurationFolder()
    {
        QTemporaryDir root;
        const QString share = root.filePath(QStringLiteral("share/tablix"));
        QDir().mkpath(share);
        for (const char *name : {"params.json", "tablix_lng.eng", "tablix_lng.pol"})
            QVERIFY(QFile::copy(fixtures::DataFile(QLatin1String(name)), QDir(share).filePath(QLatin1String(name))));
        const DataFolderPlaces places{QString(), root.path(), root.filePath(QStringLiteral("config/tablix")), {share}};
        AppState state;
        QVERIFY(RunStartup(state, ChooseDataFolder(places)));
        QCOMPARE(state.dataFolder, places.configDirectory);
        QCOMPARE(state.LanguageEntry(0), fixtures::ShippedLanguage().LanguageEntry(0));
    }

    // The chooser offers the installed languages too; one chosen from there is copied into the
    // data folder, which the parameter file then names.
    void languageChooserOffersInstalledLanguages()
    {
        QTemporaryDir data, installed;
        QVERIFY(QFile::copy(fixtures::DataFile(QStringLiteral("tablix_lng.eng")), data.filePath(QStringLiteral("tablix_lng.eng"))));
        QVERIFY(QFile::copy(fixtures::DataFile(QStringLiteral("tablix_lng.eng")), installed.filePath(QStringLiteral("tablix_lng.eng"))));
        QVERIFY(QFile::copy(fixtures::DataFile(QStringLiteral("tablix_lng.pol")), installed.filePath(QStringLiteral("tablix_lng.pol"))));
        AppState state;
        fixtures::Prepare(state);
        state.language = fixtures::ShippedLanguage();
        state.parameters.setLanguageFile(QStringLiteral("tablix_lng.eng"));
        state.dataFolder = data.path();
        QVERIFY(fixtures::WriteBytes(data.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(state.parameters)));
        LanguageChooser chooser(state);
        chooser.setInstalledFolder(installed.path());
        chooser.listLanguages();
        auto *combo = fixtures::child<QComboBox>(&chooser, "ComboBox1");
        QCOMPARE(combo->count(), 2); // the same file in both folders counts once
        const QString polish = fixtures::ShippedLanguage(QStringLiteral("tablix_lng.pol")).LanguageEntry(0);
        combo->setCurrentIndex(combo->findText(polish));
        chooser.okClicked();
        QCOMPARE(fixtures::ReadBytes(data.filePath(QStringLiteral("tablix_lng.pol"))),
                 fixtures::ReadBytes(installed.filePath(QStringLiteral("tablix_lng.pol"))));
        const auto record = ParseParameterRecord(fixtures::ReadBytes(data.filePath(QStringLiteral("Tablix_pro.dan"))), QString(), nullptr);
        QVERIFY(record);
        QCOMPARE(record->languageFile(), QStringLiteral("tablix_lng.pol"));
        QCOMPARE(state.LanguageEntry(0), polish);
    }

    void commandLineGivesTheFolderAndAnAbsoluteProject()
    {
        const QString app = QStringLiteral("tablix");
        const CommandLine plain = ParseCommandLine({app, QStringLiteral("jobs/hall.tab")});
        QVERIFY(plain.error.isEmpty());
        QCOMPARE(plain.file, QDir::current().absoluteFilePath(QStringLiteral("jobs/hall.tab")));
        QVERIFY(plain.workdir.isEmpty());

        const CommandLine both = ParseCommandLine({app, QStringLiteral("--workdir=/data"), QStringLiteral("/p/a.tab")});
        QCOMPARE(both.workdir, QStringLiteral("/data"));
        QCOMPARE(both.file, QStringLiteral("/p/a.tab"));
        QVERIFY(ParseCommandLine({app, QStringLiteral("--version")}).version);
        QVERIFY(ParseCommandLine({app, QStringLiteral("-h")}).help);

        QVERIFY(!ParseCommandLine({app, QStringLiteral("--frobnicate")}).error.isEmpty());
        QVERIFY(!ParseCommandLine({app, QStringLiteral("a.tab"), QStringLiteral("b.tab")}).error.isEmpty());
        QVERIFY(!ParseCommandLine({app, QStringLiteral("--workdir")}).error.isEmpty());
        QVERIFY(!ParseCommandLine({app, QStringLiteral("--workdir=")}).error.isEmpty());

        const QString help = CommandLineHelp();
        QVERIFY2(help.contains(QStringLiteral("--workdir <DIR>")) && help.contains(QStringLiteral("[FILE]"))
                     && help.contains(QStringLiteral("--version")),
                 qPrintable(help));
    }

    // A second start hands its project to the first, which comes to the front and opens it.
    void aSecondStartHandsItsFileToTheFirst()
    {
        const auto runtime = runtimeFolder();
        SingleInstance first(QStringLiteral("tablix-test"), runtime->path());
        QVERIFY(first.claim());
        QVERIFY(first.serving());
        QWidget window;
        first.setWindow(&window);
        QSignalSpy received(&first, &SingleInstance::filesReceived);

        SingleInstance second(QStringLiteral("tablix-test"), runtime->path());
        const QString file = QStringLiteral("/home/u/jobs/hall ß\n.tab");
        QVERIFY(!second.claim({file}));
        QVERIFY(!second.serving());
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received[0][0].toStringList(), QStringList{file});
        QVERIFY(window.isVisible());

        // Without a file only the window is raised.
        window.hide();
        QVERIFY(!SingleInstance(QStringLiteral("tablix-test"), runtime->path()).claim());
        QTRY_VERIFY(window.isVisible());
        QCOMPARE(received.count(), 1);

        // Another name (another display or session) is another instance.
        SingleInstance other(QStringLiteral("tablix-test-x2"), runtime->path());
        QVERIFY(other.claim());
        QVERIFY(other.serving());
    }

    // Idle clients hold nothing for long: a real second start still gets through while a thousand
    // of them are connected, and the first instance keeps its descriptors.
    void idleClientsDoNotBlockASecondStart()
    {
        const auto runtime = runtimeFolder();
        SingleInstance first(QStringLiteral("t"), runtime->path());
        QVERIFY(first.claim());
        QWidget window;
        first.setWindow(&window);
        QSignalSpy received(&first, &SingleInstance::filesReceived);
        const QByteArray path = QFile::encodeName(QDir(runtime->path()).filePath(QStringLiteral("t.socket")));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        const auto connectTo = [&address] {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            return fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 ? fd : -1;
        };
        const auto descriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System).size(); };
        const qsizetype before = descriptors();

        // The idle clients live in a child, which says when all are connected and then waits.
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t idle = ::fork();
        if (idle == 0) {
            rlimit r{};
            ::getrlimit(RLIMIT_NOFILE, &r);
            r.rlim_cur = std::min<rlim_t>(r.rlim_max, 4096);
            ::setrlimit(RLIMIT_NOFILE, &r);
            int connected = 0;
            for (int i = 0; i < 1000; ++i)
                connected += connectTo() >= 0;
            (void)!::write(ready[1], &connected, sizeof connected);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        int connected = 0;
        for (int waited = 0; waited < 600 && connected == 0; ++waited) {
            QTest::qWait(50);
            pollfd p{ready[0], POLLIN, 0};
            if (::poll(&p, 1, 0) == 1)
                (void)!::read(ready[0], &connected, sizeof connected);
        }
        ::close(ready[0]);
        QCOMPARE(connected, 1000);

        // A second start, as it sends its request.
        const pid_t second = ::fork();
        if (second == 0) {
            ::alarm(20);
            const int fd = connectTo();
            const QByteArray request = QByteArrayLiteral("tablix-open\n/home/u/p.tab") + '\0';
            const bool sent = fd >= 0 && ::send(fd, request.constData(), size_t(request.size()), 0) == request.size();
            ::_exit(sent ? 0 : 1);
        }
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 15000);
        QCOMPARE(received[0][0].toStringList(), QStringList{QStringLiteral("/home/u/p.tab")});
        QVERIFY(descriptors() < before + 40);
        int status = 0;
        ::waitpid(second, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ::kill(idle, SIGKILL);
        ::waitpid(idle, &status, 0);
    }

    // Anything but a request of ours is ignored, and a socket left by a crash is taken over.
    void strangeRequestsAreIgnoredAndStaleSocketsReplaced()
    {
        const auto runtime = runtimeFolder();
        const QByteArray path = QFile::encodeName(QDir(runtime->path()).filePath(QStringLiteral("t.socket")));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        {
            // Bound but never listening: what a killed program leaves.
            const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
            QCOMPARE(::bind(stale, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
            ::close(stale);
        }
        SingleInstance first(QStringLiteral("t"), runtime->path());
        QVERIFY(first.claim());
        QVERIFY(first.serving());
        QSignalSpy received(&first, &SingleInstance::filesReceived);

        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QCOMPARE(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        const QByteArray garbage = QByteArrayLiteral("raise\n/etc/passwd");
        QCOMPARE(::send(fd, garbage.constData(), size_t(garbage.size()), 0), ssize_t(garbage.size()));
        ::close(fd);
        QVERIFY(!received.wait(100)); // refused, however long one waits
        QCOMPARE(received.count(), 0);
    }

    // Only a folder of this user's that nobody else can enter holds the socket; elsewhere every
    // start runs on its own and nothing is sent.
    void theRuntimeFolderMustBePrivate()
    {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.path());
        ::chmod(path.constData(), 0700);
        QCOMPARE(PrivateRuntimeDirectory(dir.path()), dir.path());
        ::chmod(path.constData(), 0755);
        QVERIFY(PrivateRuntimeDirectory(dir.path()).isEmpty());
        ::chmod(path.constData(), 0700);
        const QString link = dir.filePath(QStringLiteral("link"));
        const QString inner = dir.filePath(QStringLiteral("inner"));
        QDir().mkpath(inner);
        ::chmod(QFile::encodeName(inner).constData(), 0700);
        QVERIFY(QFile::link(inner, link));
        QVERIFY(PrivateRuntimeDirectory(link).isEmpty());
        QVERIFY(PrivateRuntimeDirectory(dir.filePath(QStringLiteral("absent"))).isEmpty());
        QVERIFY(PrivateRuntimeDirectory(QStringLiteral("relative")).isEmpty());
        QVERIFY(PrivateRuntimeDirectory(QString()).isEmpty());

        SingleInstance a(QStringLiteral("t"), QString()), b(QStringLiteral("t"), QString());
        QVERIFY(a.claim());
        QVERIFY(b.claim());
        QVERIFY(!a.serving());

        // A file that is not a socket where the socket belongs: nobody is asked, nothing is removed.
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("t.socket")), "not a socket"));
        SingleInstance c(QStringLiteral("t"), dir.path());
        QVERIFY(c.claim({QStringLiteral("/a.tab")}));
        QVERIFY(!c.serving());
        QCOMPARE(fixtures::ReadBytes(dir.filePath(QStringLiteral("t.socket"))), QByteArray("not a socket"));
    }

    void theInstanceNameFollowsTheDisplayAndSession()
    {
        const QByteArray wayland = qgetenv("WAYLAND_DISPLAY"), display = qgetenv("DISPLAY"), session = qgetenv("XDG_SESSION_ID");
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("DISPLAY", ":0");
        qputenv("XDG_SESSION_ID", "3");
        const QString x0 = SingleInstanceName();
        qputenv("DISPLAY", ":1");
        const QString x1 = SingleInstanceName();
        qputenv("XDG_SESSION_ID", "4");
        const QString x1s4 = SingleInstanceName();
        qputenv("WAYLAND_DISPLAY", QByteArray(300, 'w') + "/../x");
        const QString longName = SingleInstanceName();
        qputenv("WAYLAND_DISPLAY", wayland);
        qputenv("DISPLAY", display);
        qputenv("XDG_SESSION_ID", session);
        QCOMPARE(QSet<QString>({x0, x1, x1s4, longName}).size(), 4);
        QVERIFY(x0.startsWith(QStringLiteral("tablix-")));
        QVERIFY(longName.size() <= 64 && !longName.contains(QLatin1Char('/')));
    }

    // A project given from outside asks first about unsaved changes.
    void openingAGivenProjectAsksAboutUnsavedChanges()
    {
        QTemporaryDir dir;
        const QString hall = dir.filePath(QStringLiteral("hall.tab"));
        {
            AppState other;
            fixtures::Prepare(other);
            other.SignSlots[0] = fixtures::SignWith(1, QStringLiteral("Hall"));
            QVERIFY(WriteProjectFile(hall, other.SignSlots, nullptr));
        }
        AppState state;
        fixtures::Prepare(state);
        state.currentSignRecord.width.set(100);
        state.MarkProjectSaved();
        state.currentSignRecord.width.set(120); // unsaved
        Windows windows(state);
        MainWindow &form = windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        {
            ModalAnswers answers({modal::click(QStringLiteral("SaveChangesBox"), "CancelButton")});
            form.openProjectFile(hall);
            VERIFY_ANSWERED(answers);
            QVERIFY(state.projectFilePath.isEmpty());
        }
        {
            ModalAnswers answers({modal::click(QStringLiteral("SaveChangesBox"), "DiscardButton")});
            form.openProjectFile(hall);
            VERIFY_ANSWERED(answers);
            QCOMPARE(state.projectFilePath, hall);
            QCOMPARE(state.slot(1).titleText(), QStringLiteral("Hall"));
        }
    }

    void shortParameterFileNamesTheFileAndItsSize()
    {
        QTemporaryDir dir;
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), QByteArray(10, '\0')));
        bool ok = true;
        const auto [caption, text] = startupBox(dir.path(), &ok);
        QVERIFY(!ok);
        QCOMPARE(caption, QStringLiteral("Open Error"));
        QVERIFY2(text.contains(QLatin1String("Tablix_pro.dan")) && text.contains(QLatin1String("10")), qPrintable(text));
    }

    void missingLanguageFileAsksForARestart()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.xyz"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.pol")), "P=Polski\n"));
        bool ok = true;
        const auto [caption, text] = startupBox(dir.path(), &ok, {modal::reject(QStringLiteral("Form3"))});
        QVERIFY(!ok);
        QCOMPARE(caption, QStringLiteral("Open Error"));
        QCOMPARE(text, QStringLiteral("Restart program!"));
    }

    // The chooser comes first, without a cancel button; its choice is kept for the next start
    // and the restart box follows.
    void missingLanguageFileOffersTheChooserFirst()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.xyz"));
        p.priceListPercent.set(80);
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.pol")), "P=Polski\n1=Projekt\n"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.eng")), "E=English\n1=Project\n"));

        QStringList seen;
        QString prompt;
        bool cancelShown = true;
        QString restart, missing;
        ModalAnswers answers({{QStringLiteral("Form3"),
                               [&](QWidget *modal) {
                                   auto *combo = fixtures::child<QComboBox>(modal, "ComboBox1");
                                   prompt = combo->placeholderText();
                                   seen << QStringLiteral("chooser:") + QString::number(combo->currentIndex()) +
                                               QLatin1Char(':') + combo->itemText(0) + QLatin1Char(',') +
                                               combo->itemText(1);
                                   cancelShown = fixtures::child(modal, "BitBtn2")->isVisible();
                                   combo->setCurrentIndex(combo->findText(QStringLiteral("Polski")));
                                   fixtures::child(modal, "BitBtn1")->click();
                               }},
                              modal::messageBox(&missing, QStringLiteral("LanguageEntriesMissingBox")),
                              modal::messageBox(&restart, QStringLiteral("OpenErrorBox"))});
        AppState state;
        QVERIFY(!RunStartup(state, dir.path()));
        VERIFY_ANSWERED(answers);
        // The short Polish file lacks this text too: it comes in English.
        QCOMPARE(missing, QStringLiteral("%1 of the %2 texts are missing from this language file; they are shown in English.")
                              .arg(kLanguageEntries - 2).arg(kLanguageEntries));
        seen << restart;
        QCOMPARE(seen, (QStringList{QStringLiteral("chooser:-1:English,Polski"), QStringLiteral("Restart program!")}));
        QCOMPARE(prompt, QStringLiteral("Choose language version"));
        QVERIFY(!cancelShown);

        QFile written(dir.filePath(QStringLiteral("Tablix_pro.dan")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        const auto record = ParseParameterRecord(written.readAll(), QString(), nullptr);
        QVERIFY(record);
        QCOMPARE(record->languageFile(), QStringLiteral("tablix_lng.pol"));
        QCOMPARE(record->priceListPercent.get(), 80.0L);
    }

    // With no language file at all the chooser does not open empty: a box in both languages names
    // the folder searched, and the start ends with the restart box.
    void noLanguageFileAtAllNamesTheFolderSearched()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.eng"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QString notice;
        bool ok = true;
        const auto [caption, text] =
            startupBox(dir.path(), &ok, {modal::messageBox(&notice, QStringLiteral("NoLanguageFileBox"))});
        QVERIFY(!ok);
        QCOMPARE(caption, QStringLiteral("Open Error"));
        QCOMPARE(text, QStringLiteral("Restart program!"));
        const QString folder = QDir::toNativeSeparators(QDir(dir.path()).absolutePath());
        QCOMPARE(notice, QStringLiteral("No language file (tablix_lng.*) was found in the folder %1.\n\n"
                                        "Nie znaleziono pliku języka (tablix_lng.*) w folderze %1.")
                             .arg(folder));
    }

    void completeDataGiveTheCaptionedMainWindow()
    {
        QTemporaryDir dir;
        ParameterRecord p{};
        p.setLanguageFile(QStringLiteral("tablix_lng.eng"));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("Tablix_pro.dan")), SerializeParameterRecord(p)));
        QVERIFY(fixtures::WriteBytes(dir.filePath(QStringLiteral("tablix_lng.eng")), "E=English\n"));
        AppState state;
        QVERIFY(RunStartup(state, dir.path()));
        state.currentSignRecord.width.set(100); // no sign dialogs open by themselves
        state.MarkProjectSaved();                // as a project opened so
        Windows windows(state);
        MainWindow &form = windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(windows.madeCount(), 1); // the dialogs are made when first opened
        QVERIFY(!form.isWindowModified()); // "[*]" marks where unsaved changes would show
        // A file without the maker's line gets the English one.
        QCOMPARE(form.windowTitle().remove(QStringLiteral("[*]")),
                 QStringLiteral("TABLIX - ") + fixtures::ShippedLanguage().LanguageEntry(text::kMakerContactLine) + u' ');
        QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
