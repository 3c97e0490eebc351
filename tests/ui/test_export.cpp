// The export command: file name rules, the scale asked for on the way, and failures.
#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "ui/widgets/number_edit.h"
#include "ui/number_entry_dialog.h"
#include "core/export/emf.h"
#include "ui/export_command.h"
#include "core/export/hpgl.h"
#include "core/params/language.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

using namespace tablix;

class ExportCommandTest : public QObject {
    Q_OBJECT

    AppState state;
    Windows windows{state};
    QWidget mainWindow;
    QTemporaryDir dir;

    // The scale asked for on the way, answered with `text`.
    static ModalAnswers::Step typeScale(const QString &text)
    {
        return {QStringLiteral("Form13"), [text](QWidget *w) {
                    fixtures::child<NumberEdit>(w, "pvlCalcEdit1")->setText(text);
                    fixtures::child(w, "BitBtn1")->click();
                }};
    }

    // A save dialog that answers with `name` and `metafile` (or the filter of `suffix`),
    // recording what it was offered.
    ExportFileDialog chooses(const QString &name, bool metafile, QString *proposed = nullptr,
                             QString *filter = nullptr, const QString &suffix = {})
    {
        return [=](QWidget *, const QString &p, const QString &f) -> std::optional<ExportChoice> {
            if (proposed)
                *proposed = p;
            if (filter)
                *filter = f;
            return ExportChoice{name, metafile, suffix};
        };
    }

    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void initTestCase()
    {
        state.parameters = fixtures::ShippedParameters();
        state.language = fixtures::ShippedLanguage();
        state.RefreshParameters();
        mainWindow.resize(1000, 700);
    }

    void init()
    {
        SignRecord sign = fixtures::SignWith(5, QStringLiteral("1200.00x120.00"));
        sign.layout = Layout::ClosedFrameA;
        sign.signType = SignType::NarrowFrame;
        sign.rowElements[1] = 6;
        sign.auxDimension.set(2);
        sign.lowerMarks[0] = 1;
        state.slot(1) = sign;
        state.currentSign = 1;
        state.currentSignRecord = sign;
        state.LoadWorkingState();
        state.exportScale.set(100);
    }

    void aPlotterFileAtTheScaleTypedOnTheWay()
    {
        QString proposed, filter;
        ModalAnswers answers({typeScale(QStringLiteral("50"))});
        const auto outcome = ExportCurrentSign(state, windows, &mainWindow,
                                               chooses(path(QStringLiteral("board")), false, &proposed, &filter));
        VERIFY_ANSWERED(answers);
        QCOMPARE(outcome, ExportOutcome::Written);
        QCOMPARE(proposed, QStringLiteral("1200,00x120,00"));
        QVERIFY(filter.startsWith(state.LanguageEntry(text::kExportFileFilter).section(QLatin1Char('|'), 0, 0)
                                  .section(QLatin1Char('('), 0, 0)));
        QCOMPARE(state.exportScale.get(), 50.0L);

        const QByteArray written = fixtures::ReadBytes(path(QStringLiteral("board.plt")));
        QVERIFY(written.startsWith("IN;\r\nLT;\r\n"));
        QCOMPARE(written, *PlotterFile(state));

        // The same export again gives the same file.
        ModalAnswers again({typeScale(QStringLiteral("50"))});
        ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("again.plt")), false));
        VERIFY_ANSWERED(again);
        QCOMPARE(fixtures::ReadBytes(path(QStringLiteral("again.plt"))), written);
    }

    void aMetafileCentredOnTheMainWindow()
    {
        ModalAnswers answers({typeScale(QStringLiteral("100"))});
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("board")), true)),
                 ExportOutcome::Written);
        VERIFY_ANSWERED(answers);
        const QByteArray written = fixtures::ReadBytes(path(QStringLiteral("board.wmf")));
        QCOMPARE(written, *MetafileFile(state, QSize(1000, 700)));
        QCOMPARE(quint8(written[0]), quint8(1)); // EMR_HEADER
    }

    void aChosenExtensionIsKeptWhateverTheFilter()
    {
        {
            ModalAnswers answers({typeScale(QStringLiteral("100"))});
            ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("board.txt")), true));
            VERIFY_ANSWERED(answers);
        }
        QVERIFY(QFile::exists(path(QStringLiteral("board.txt"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("board.txt.wmf"))));

        // The extension of either format wins over the filter.
        ModalAnswers answers({typeScale(QStringLiteral("100")), typeScale(QStringLiteral("100"))});
        ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("cut.PLT")), true));
        QVERIFY(fixtures::ReadBytes(path(QStringLiteral("cut.PLT"))).startsWith("IN;"));
        ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("doc.wmf")), false));
        VERIFY_ANSWERED(answers);
        QCOMPARE(fixtures::ReadBytes(path(QStringLiteral("doc.wmf"))).at(0), char(1));
    }

    void everyFormatIsOfferedAndFollowsItsFilterOrTypedExtension()
    {
        QString filter;
        ModalAnswers answers({typeScale(QStringLiteral("100")), typeScale(QStringLiteral("100")),
                              typeScale(QStringLiteral("100")), typeScale(QStringLiteral("100")),
                              typeScale(QStringLiteral("100"))});
        ExportCurrentSign(state, windows, &mainWindow,
                          chooses(path(QStringLiteral("drawing")), false, nullptr, &filter, QStringLiteral("svg")));
        const QStringList filters = filter.split(QStringLiteral(";;"));
        QCOMPARE(filters.size(), 6);
        QVERIFY(filters[0].endsWith(QStringLiteral("(*.wmf)")));
        QVERIFY(filters[1].endsWith(QStringLiteral("(*.emf)")));
        for (const char *pattern : {"(*.plt)", "(*.svg)", "(*.pdf)", "(*.dxf)"})
            QVERIFY2(filter.contains(QLatin1String(pattern)), pattern);
        QVERIFY(fixtures::ReadBytes(path(QStringLiteral("drawing.svg"))).contains("width=\"1000mm\""));

        // The filter's extension completes a bare name; a typed extension of a format wins.
        ExportCurrentSign(state, windows, &mainWindow,
                          chooses(path(QStringLiteral("cut")), false, nullptr, nullptr, QStringLiteral("dxf")));
        QVERIFY(fixtures::ReadBytes(path(QStringLiteral("cut.dxf"))).contains("$INSUNITS"));
        ExportCurrentSign(state, windows, &mainWindow,
                          chooses(path(QStringLiteral("print.PDF")), true, nullptr, nullptr, QStringLiteral("wmf")));
        QVERIFY(fixtures::ReadBytes(path(QStringLiteral("print.PDF"))).startsWith("%PDF-"));
        ExportCurrentSign(state, windows, &mainWindow,
                          chooses(path(QStringLiteral("inkscape.emf")), false, nullptr, nullptr, QStringLiteral("plt")));
        QCOMPARE(fixtures::ReadBytes(path(QStringLiteral("inkscape.emf"))), *MetafileFile(state, QSize(1000, 700)));
        ExportCurrentSign(state, windows, &mainWindow,
                          chooses(path(QStringLiteral("enhanced")), false, nullptr, nullptr, QStringLiteral("emf")));
        VERIFY_ANSWERED(answers);
        QCOMPARE(fixtures::ReadBytes(path(QStringLiteral("enhanced.emf"))).at(0), char(1));
    }

    void aDrawingBeyondAKilometreIsRefused()
    {
        QString message;
        ModalAnswers answers({typeScale(QStringLiteral("1000000")), modal::messageBox(&message)});
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("huge.svg")), false)),
                 ExportOutcome::Failed);
        VERIFY_ANSWERED(answers);
        QVERIFY(message.contains(state.LanguageEntry(text::kDrawingTooLarge)));
        QVERIFY(!QFile::exists(path(QStringLiteral("huge.svg"))));
    }

    void cancellingTheSaveDialogAsksNothingElse()
    {
        bool asked = false;
        auto cancel = [&](QWidget *, const QString &, const QString &) -> std::optional<ExportChoice> {
            asked = true;
            return std::nullopt;
        };
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, cancel), ExportOutcome::Cancelled);
        QVERIFY(asked);
        QCOMPARE(state.exportScale.get(), 100.0L);
    }

    void aRefusedScaleStaysOpenAndEscapeOrClosingCancelsTheExport()
    {
        bool refused = false;
        ModalAnswers answers({{QStringLiteral("Form13"),
                               [&refused](QWidget *w) {
                                   fixtures::child<NumberEdit>(w, "pvlCalcEdit1")->setText(QStringLiteral("0"));
                                   fixtures::child(w, "BitBtn1")->click(); // refused: stays open
                                   refused = w->isVisible();
                                   QTest::keyClick(w, Qt::Key_Escape);
                               }},
                              {QStringLiteral("Form13"), [](QWidget *w) {
                                   fixtures::child<NumberEdit>(w, "pvlCalcEdit1")->setText(QStringLiteral("50"));
                                   w->close();
                               }}});
        const SignRecord stored = state.slot(1);
        state.currentSignRecord.quantity.set(7);
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("zero")), false)),
                 ExportOutcome::Cancelled);
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("closed")), true)),
                 ExportOutcome::Cancelled);
        VERIFY_ANSWERED(answers);
        QVERIFY(refused);
        QCOMPARE(state.exportScale.get(), 100.0L);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).filter(QRegularExpression(QStringLiteral("^(zero|closed)"))),
                 QStringList());
        QVERIFY(state.slot(1) == stored); // the sign is not even stored into its slot
    }

    void aSignWithoutSizeExportsNothingAndSaysSo()
    {
        state.currentSignRecord.width.set(0);
        QString message;
        ModalAnswers answers({typeScale(QStringLiteral("100")), modal::messageBox(&message)});
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("none")), false)),
                 ExportOutcome::NothingToExport);
        VERIFY_ANSWERED(answers);
        QVERIFY(message.contains(QStringLiteral("nothing was exported")));
        QVERIFY(!QFile::exists(path(QStringLiteral("none.plt"))));
    }

    void aWriteFailureIsReported()
    {
        // The directory of the target is a file, so nothing can be written there.
        const QString blocked = path(QStringLiteral("blocked"));
        QVERIFY(fixtures::WriteBytes(blocked, "x"));
        QString message;
        ModalAnswers answers({typeScale(QStringLiteral("100")), modal::messageBox(&message)});
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(blocked + QStringLiteral("/x.plt"), false)),
                 ExportOutcome::Failed);
        VERIFY_ANSWERED(answers);
        QVERIFY(message.contains(QStringLiteral("previous contents")));
        QCOMPARE(fixtures::ReadBytes(blocked), QByteArray("x"));
    }
};

QTEST_MAIN(ExportCommandTest)
#include "test_export.moc"
