// The parameter editor: filling, the dependent captions, OK, Cancel and the failures.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "ui/widgets/number_edit.h"
#include "ui/parameter_editor.h"
#include "core/params/language.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

using namespace tablix;

namespace {

const QString kFile = QString::fromLatin1(kParameterFileName);

} // namespace

class ParameterEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
    std::unique_ptr<AppState> state;
    std::unique_ptr<Windows> windows;
    ParameterEditor *form = nullptr;
    ParameterRecord onDisk{};

    NumberEdit *edit(int n) { return form->findChild<NumberEdit *>(QStringLiteral("pvlCalcEdit%1").arg(n)); }
    QLabel *label(const QString &name) { return form->findChild<QLabel *>(name); }
    // Column headings put their unit on a second line.
    QString heading(const QString &name) { return label(name)->text().replace(u'\n', u' '); }
    QByteArray fileBytes() { return fixtures::ReadBytes(dir->filePath(kFile)); }

    void useLanguage(const char *file)
    {
        state->language = fixtures::ShippedLanguage(QLatin1String(file));
    }

    void writeRecord(const ParameterRecord &p)
    {
        onDisk = p;
        fixtures::WriteBytes(dir->filePath(kFile), SerializeParameterRecord(p));
    }

    void open()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }

    // Types into an edit as the user does and leaves it with Tab.
    void typeAndLeave(int n, const QString &text)
    {
        edit(n)->setFocus();
        QTRY_VERIFY(edit(n)->hasFocus());
        edit(n)->selectAll();
        QTest::keyClicks(edit(n), text);
        QTest::keyClick(edit(n), Qt::Key_Tab);
        QVERIFY(!edit(n)->hasFocus());
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir->path());
        state = std::make_unique<AppState>();
        useLanguage("tablix_lng.eng");
        ParameterRecord p = fixtures::ShippedParameters();
        fixtures::StepElementRows(p); // every edit of the rows its own value
        p.areaBandLimit2.set(2);
        p.areaBandLimit3.set(10);
        p.costItem1.set(0.125L); // more decimals than the edit shows
        writeRecord(p);
        state->parameters = p;
        state->RefreshParameters();
        windows = std::make_unique<Windows>(*state);
        form = &windows->parameterEditor();
    }

    void cleanup()
    {
        form = nullptr;
        windows.reset();
        QDir::setCurrent(previousDir);
        dir.reset();
    }

    void activationFillsEveryEditFromTheFile()
    {
        state->parameters.markupPercent1.set(77); // memory differs; the file wins
        open();
        QSet<QString> names;
        for (auto *e : form->findChildren<NumberEdit *>())
            names.insert(e->objectName());
        QCOMPARE(names.size(), ParameterEditor::kEdits);
        for (int n = 1; n <= ParameterEditor::kEdits; ++n)
            QVERIFY2(names.contains(QStringLiteral("pvlCalcEdit%1").arg(n)), qPrintable(QString::number(n)));

        QCOMPARE(edit(1)->text(), QStringLiteral("20.00"));
        QCOMPARE(edit(4)->text(), QStringLiteral("0.5000"));
        QCOMPARE(edit(7)->text(), QStringLiteral("10.0000"));
        QCOMPARE(edit(20)->text(), QStringLiteral("10.00"));  // row 0 height
        QCOMPARE(edit(65)->text(), QStringLiteral("215.00")); // row 15 family A
        QCOMPARE(edit(84)->text(), QStringLiteral("170.00")); // row 16 height
        QCOMPARE(edit(67)->text(), QStringLiteral("121.00")); // row 21 family B
        QCOMPARE(edit(98)->text(), QStringLiteral("230.00")); // row 22 height
        QCOMPARE(label(QStringLiteral("bandLabel2"))->text(), QStringLiteral("0.5000 -"));
        QCOMPARE(label(QStringLiteral("bandLabel3"))->text(), QStringLiteral("2.0000 -"));
        QCOMPARE(label(QStringLiteral("arconaHeading"))->text(), QStringLiteral("Arcona"));
        QCOMPARE(heading(QStringLiteral("headingPriceB1")), state->LanguageEntry(text::kPriceBHeading).trimmed());
        QCOMPARE(form->windowTitle(), state->LanguageEntry(text::kParameterEditorTitle));
        QCOMPARE(form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->text(), state->LanguageEntry(text::kOk));
        QCOMPARE(state->parameters.markupPercent1.get(), 20.0L);
    }

    void bandLimitsUpdateTheirDependentsOnLeaving()
    {
        open();
        typeAndLeave(4, QStringLiteral("1.25"));
        QCOMPARE(label(QStringLiteral("bandLabel2"))->text(), QStringLiteral("1.2500 -"));
        typeAndLeave(5, QStringLiteral("3"));
        QCOMPARE(label(QStringLiteral("bandLabel3"))->text(), QStringLiteral("3.0000 -"));
        typeAndLeave(6, QStringLiteral("7.75"));
        QCOMPARE(edit(7)->text(), QStringLiteral("7.7500"));

        // The mirror typed into last wins over the third limit.
        edit(7)->setFocus();
        edit(7)->setText(QStringLiteral("12.5"));
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        const auto written = ParseParameterRecord(fileBytes(), kFile, nullptr);
        QVERIFY(written);
        QCOMPARE(written->areaBandLimit1.get(), 1.25L);
        QCOMPARE(written->areaBandLimit2.get(), 3.0L);
        QCOMPARE(written->areaBandLimit3.get(), 12.5L);
    }

    void enterMovesOnAndNeverConfirms()
    {
        open();
        edit(14)->setFocus();
        QTest::keyClick(edit(14), Qt::Key_Return);
        QVERIFY(edit(15)->hasFocus());
        // The mirror edit is not on the way.
        edit(10)->setFocus();
        QTest::keyClick(edit(10), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(edit(11)->hasFocus());
        auto *ok = form->findChild<QPushButton *>(QStringLiteral("BitBtn1"));
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(form->isVisible());
        QCOMPARE(fileBytes(), SerializeParameterRecord(onDisk));
    }

    void aPriceListAtOneHundredPercentSwitchesCaptions()
    {
        const auto captions = [this] {
            return QStringList{heading(QStringLiteral("headingPriceB1")), heading(QStringLiteral("headingPriceA2")),
                               label(QStringLiteral("UnitLabel16"))->text(), label(QStringLiteral("UnitLabel89"))->text()};
        };
        const auto entries = [this](std::initializer_list<int> ns) {
            QStringList l;
            for (int n : ns)
                l << state->LanguageEntry(n).trimmed();
            return l;
        };
        open();
        QCOMPARE(captions(), entries({text::kPriceBHeading, text::kPriceAHeading, text::kCostItem9Unit, text::kCostItem11Unit}));
        typeAndLeave(57, QStringLiteral("100"));
        QCOMPARE(captions(),
                 entries({text::kPriceBHeadingAt100, text::kPriceAHeadingAt100, text::kCostItem9UnitAt100, text::kCostItem11UnitAt100}));
        typeAndLeave(57, QStringLiteral("99.99"));
        QCOMPARE(captions(), entries({text::kPriceBHeading, text::kPriceAHeading, text::kCostItem9Unit, text::kCostItem11Unit}));
        form->reject();

        // The same rule at activation, from the percentage in force.
        state->parameters.priceListPercent.set(100);
        state->RefreshParameters();
        open();
        QCOMPARE(captions(),
                 entries({text::kPriceBHeadingAt100, text::kPriceAHeadingAt100, text::kCostItem9UnitAt100, text::kCostItem11UnitAt100}));
    }

    void okWritesTheRecordAndRefreshesTheDerivedState()
    {
        open();
        typeAndLeave(33, QStringLiteral("123.45")); // row 4, family B
        typeAndLeave(57, QStringLiteral("80"));
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();

        ParameterRecord expected = onDisk;
        expected.elementRows[4].priceB.set(123.45L);
        expected.priceListPercent.set(80);
        // Untouched edits keep every stored byte, even decimals they do not show.
        QCOMPARE(fileBytes(), SerializeParameterRecord(expected));
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QVERIFY(!form->isVisible());
        QCOMPARE(SerializeParameterRecord(state->parameters), SerializeParameterRecord(expected));
        QCOMPARE(state->derived.ElementTypeTable[3].priceB, expected.elementRows[4].priceB);
        QVERIFY(state->derived.HasFixedPricePercent);
        QCOMPARE(state->derived.FixedPricePercent.get(), 80.0L);
    }

    void cancelKeepsWhatActivationRead()
    {
        state->parameters.markupPercent1.set(77);
        open();
        typeAndLeave(12, QStringLiteral("55"));
        QTest::keyClick(edit(13), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(fileBytes(), SerializeParameterRecord(onDisk));
        QCOMPARE(SerializeParameterRecord(state->parameters), SerializeParameterRecord(onDisk));
    }

    void anOverflowKeepsTheEditorOpenAndChangesNothing()
    {
        open();
        typeAndLeave(12, QStringLiteral("5"));
        edit(40)->setText(QStringLiteral("1e40"));
        const auto derivedBefore = state->derived.ElementTypeTable;
        QString text;
        ModalAnswers answers({modal::messageBox(&text)});
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        VERIFY_ANSWERED(answers);
        QCOMPARE(text, QStringLiteral("Floating point overflow"));
        QVERIFY(form->isVisible());
        QCOMPARE(form->focusWidget(), edit(40)); // the offending edit gets the focus back
        QCOMPARE(fileBytes(), SerializeParameterRecord(onDisk));
        QCOMPARE(SerializeParameterRecord(state->parameters), SerializeParameterRecord(onDisk));
        QCOMPARE(state->derived.ElementTypeTable[5].priceB, derivedBefore[5].priceB);
    }

    void aFailedWriteKeepsTheEditorOpenAndChangesNothing()
    {
        open();
        typeAndLeave(12, QStringLiteral("5"));
        // Nothing can be written where a directory stands.
        QVERIFY(QFile::remove(dir->filePath(kFile)));
        QVERIFY(QDir(dir->path()).mkdir(kFile));
        QString text;
        ModalAnswers answers({modal::messageBox(&text, QStringLiteral("SaveErrorBox"))});
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        VERIFY_ANSWERED(answers);
        QVERIFY2(text.contains(dir->filePath(kFile)) && text.contains(QLatin1String("unchanged")), qPrintable(text));
        QVERIFY(form->isVisible());
        QVERIFY(QFileInfo(dir->filePath(kFile)).isDir());
        QCOMPARE(SerializeParameterRecord(state->parameters), SerializeParameterRecord(onDisk));
    }

    void anUnreadableFileClosesTheEditorWithoutChanges()
    {
        const ParameterRecord inMemory = state->parameters;
        for (const QByteArray &content : {QByteArray(), QByteArray(10, '\1')}) {
            QFile::remove(dir->filePath(kFile));
            if (!content.isEmpty())
                fixtures::WriteBytes(dir->filePath(kFile), content);
            QString text;
            ModalAnswers answers({modal::messageBox(&text, QStringLiteral("LoadErrorBox"))});
            QCOMPARE(form->exec(), int(QDialog::Rejected));
            VERIFY_ANSWERED(answers);
            QVERIFY2(text.contains(kFile), qPrintable(text));
            QCOMPARE(SerializeParameterRecord(state->parameters), SerializeParameterRecord(inMemory));
        }
        // OK is no way round the failed read.
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(fileBytes(), QByteArray(10, '\1'));
    }

    void everyCaptionAndNumberIsReadableInBothLanguages_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("atOneHundred");
        QTest::newRow("eng") << QStringLiteral("tablix_lng.eng") << false;
        QTest::newRow("eng-100") << QStringLiteral("tablix_lng.eng") << true;
        QTest::newRow("pol") << QStringLiteral("tablix_lng.pol") << false;
        QTest::newRow("pol-100") << QStringLiteral("tablix_lng.pol") << true;
    }

    void everyCaptionAndNumberIsReadableInBothLanguages()
    {
        QFETCH(QString, language);
        QFETCH(bool, atOneHundred);
        useLanguage(qPrintable(language));
        ParameterRecord p = onDisk;
        p.elementRows[7].priceA.set(99999.99L);
        p.areaBandLimit1.set(1000);
        writeRecord(p);
        open();
        const QSize opened = form->size();
        if (atOneHundred)
            typeAndLeave(57, QStringLiteral("100"));
        QTest::qWait(20); // the panels lay out again after the captions changed
        QVERIFY(form->width() >= 786 && form->height() >= 591);
        QCOMPARE(form->size(), opened); // room for both sets of captions from the start
        // Pictures for a person to look at.
        if (const QString out = qEnvironmentVariable("TABLIX_GRAB_DIR"); !out.isEmpty())
            form->grab().save(QDir(out).filePath(QStringLiteral("parameter_editor_%1.png").arg(QLatin1String(QTest::currentDataTag()))));

        const QRect inside = form->rect();
        for (QLabel *l : form->findChildren<QLabel *>()) {
            if (!l->isVisible())
                continue;
            const QRect r(l->mapTo(form, QPoint(0, 0)), l->size());
            QVERIFY2(inside.contains(r), qPrintable(l->objectName()));
            // A wrapping label needs its longest word across and all its lines down.
            const QSize need = l->wordWrap() ? QSize(l->minimumSizeHint().width(), l->heightForWidth(l->width()))
                                             : l->sizeHint();
            QVERIFY2(l->width() >= need.width() && l->height() >= need.height(),
                     qPrintable(l->objectName() + u' ' + l->text()));
        }
        for (NumberEdit *e : form->findChildren<NumberEdit *>()) {
            const QRect r(e->mapTo(form, QPoint(0, 0)), e->size());
            QVERIFY2(e->isVisible() && inside.contains(r), qPrintable(e->objectName()));
            // What QLineEdit paints into: the style's contents rectangle less its 2-pixel margins.
            QStyleOptionFrame frame;
            frame.initFrom(e);
            frame.lineWidth = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, e);
            const int room = e->style()->subElementRect(QStyle::SE_LineEditContents, &frame, e).width() - 4;
            QVERIFY2(e->fontMetrics().horizontalAdvance(e->text()) <= room, qPrintable(e->objectName() + u' ' + e->text()));
        }
        for (auto *b : form->findChildren<QPushButton *>())
            QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->objectName()));

    }
};

QTEST_MAIN(ParameterEditorTest)
#include "test_parameter_editor.moc"
