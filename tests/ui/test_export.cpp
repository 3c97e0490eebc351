// The export command: file name rules, the scale asked for on the way, and failures.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "support/modal_steps.h"

#include "support/fixtures.h"
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

    void answer(QList<std::function<void(QWidget *)>> steps) { AnswerModals(this, std::move(steps)); }

    static std::function<void(QWidget *)> typeScale(const QString &text)
    {
        return [text](QWidget *w) {
            auto *edit = w->findChild<NumberEdit *>(QStringLiteral("pvlCalcEdit1"));
            edit->setText(text);
            w->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        };
    }

    // A save dialog that answers with `name` and `metafile`, recording what it was offered.
    ExportFileDialog chooses(const QString &name, bool metafile, QString *proposed = nullptr,
                             QString *filter = nullptr)
    {
        return [=](QWidget *, const QString &p, const QString &f) -> std::optional<ExportChoice> {
            if (proposed)
                *proposed = p;
            if (filter)
                *filter = f;
            return ExportChoice{name, metafile};
        };
    }

    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void initTestCase()
    {
        state.parameters = fixtures::SampleParameters();
        state.language = *LoadLanguageFile(QStringLiteral(TABLIX_DATA_DIR "/tablix_lng.eng")).table;
        state.RefreshParameters();
        windows.numberEntry().RepaintMainWindow = {};
        mainWindow.resize(1000, 700);
    }

    void init()
    {
        SignRecord sign = fixtures::SignWith(5, QStringLiteral("1200.00x120.00"));
        sign.layout = 1;
        sign.signType = 1;
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
        answer({typeScale(QStringLiteral("50"))});
        state.currentSignRecord.quantity.set(7); // not yet in its slot
        const auto outcome = ExportCurrentSign(state, windows, &mainWindow,
                                               chooses(path(QStringLiteral("board")), false, &proposed, &filter));
        QCOMPARE(outcome, ExportOutcome::Written);
        QCOMPARE(proposed, QStringLiteral("1200,00x120,00"));
        QVERIFY(filter.startsWith(state.LanguageEntry(text::kExportFileFilter).section(QLatin1Char('|'), 0, 0)
                                  .section(QLatin1Char('('), 0, 0)));
        QCOMPARE(state.exportScale.get(), 50.0L);
        QCOMPARE(state.slot(1).quantity.get(), 7.0L);

        const QByteArray written = fixtures::ReadBytes(path(QStringLiteral("board.plt")));
        QVERIFY(written.startsWith("IN;\r\nLT;\r\n"));
        QCOMPARE(written, *PlotterFile(state));

        // The same export again gives the same file.
        answer({typeScale(QStringLiteral("50"))});
        ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("again.plt")), false));
        QCOMPARE(fixtures::ReadBytes(path(QStringLiteral("again.plt"))), written);
    }

    void aMetafileCentredOnTheMainWindow()
    {
        answer({typeScale(QStringLiteral("100"))});
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("board")), true)),
                 ExportOutcome::Written);
        const QByteArray written = fixtures::ReadBytes(path(QStringLiteral("board.wmf")));
        QCOMPARE(written, *MetafileFile(state, QSize(1000, 700)));
        QCOMPARE(quint8(written[0]), quint8(1)); // EMR_HEADER
    }

    void aChosenExtensionIsKeptWhateverTheFilter()
    {
        answer({typeScale(QStringLiteral("100"))});
        ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("board.txt")), true));
        QVERIFY(QFile::exists(path(QStringLiteral("board.txt"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("board.txt.wmf"))));

        // The extension of either format wins over the filter.
        answer({typeScale(QStringLiteral("100"))});
        ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("cut.PLT")), true));
        QVERIFY(fixtures::ReadBytes(path(QStringLiteral("cut.PLT"))).startsWith("IN;"));
        answer({typeScale(QStringLiteral("100"))});
        ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("doc.wmf")), false));
        QCOMPARE(fixtures::ReadBytes(path(QStringLiteral("doc.wmf"))).at(0), char(1));
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

    void aRefusedScaleKeepsTheOldOneAndTheExportGoesOn()
    {
        answer({[](QWidget *w) {
            w->findChild<NumberEdit *>(QStringLiteral("pvlCalcEdit1"))->setText(QStringLiteral("0"));
            w->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click(); // refused: stays open
            QVERIFY(w->isVisible());
            static_cast<QDialog *>(w)->reject();
        }});
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("zero")), false)),
                 ExportOutcome::Written);
        QCOMPARE(state.exportScale.get(), 100.0L);
    }

    void aSignWithoutSizeExportsNothingAndSaysSo()
    {
        state.currentSignRecord.width.set(0);
        QString message;
        answer({typeScale(QStringLiteral("100")), [&](QWidget *w) {
                    message = static_cast<QMessageBox *>(w)->text();
                    static_cast<QMessageBox *>(w)->accept();
                }});
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(path(QStringLiteral("none")), false)),
                 ExportOutcome::NothingToExport);
        QVERIFY(message.contains(QStringLiteral("nothing was exported")));
        QVERIFY(!QFile::exists(path(QStringLiteral("none.plt"))));
    }

    void aWriteFailureIsReported()
    {
        // The directory of the target is a file, so nothing can be written there.
        const QString blocked = path(QStringLiteral("blocked"));
        fixtures::WriteBytes(blocked, "x");
        QString message;
        answer({typeScale(QStringLiteral("100")), [&](QWidget *w) {
                    message = static_cast<QMessageBox *>(w)->text();
                    static_cast<QMessageBox *>(w)->accept();
                }});
        QCOMPARE(ExportCurrentSign(state, windows, &mainWindow, chooses(blocked + QStringLiteral("/x.plt"), false)),
                 ExportOutcome::Failed);
        QVERIFY(message.contains(QStringLiteral("previous contents")));
        QCOMPARE(fixtures::ReadBytes(blocked), QByteArray("x"));
    }
};

QTEST_MAIN(ExportCommandTest)
#include "test_export.moc"
