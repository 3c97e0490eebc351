// The parameter editor: filling, the dependent captions, OK, Cancel and the failures.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QtTest>
#include <functional>
#include <memory>

#include "support/fixtures.h"
#include "support/modal_answers.h"
#include "ui/widgets/number_edit.h"
#include "ui/parameter_editor.h"
#include "core/number/number_format.h"
#include "core/params/language.h"
#include "core/params/settings.h"
#include "ui/language_chooser.h"
#include "core/project/app_state.h"
#include "ui/window_set.h"
#include "core/params/language_entries.h"

using namespace tablix;

namespace {

const QString kFile = QString::fromLatin1(kParameterFileName);

// Each edit and the byte offset of the field it shows, written out from the form's tables rather than
// taken from the editor; edit 7 shows the third band limit a second time.
constexpr std::pair<int, int> kEditOffsets[] = {
    {14, 78}, {15, 84}, {93, 66}, {94, 72}, {12, 36}, {13, 42}, {91, 48}, {92, 54}, {1, 24}, {2, 30},
    {57, 162}, {4, 6}, {8, 90}, {5, 12}, {9, 96}, {6, 18}, {10, 102}, {7, 18}, {11, 108}, {96, 60},
    {3, 0}, {16, 114}, {17, 120}, {85, 126}, {86, 132}, {88, 138}, {87, 144}, {90, 150}, {89, 156},
    // Element rows: family B price, family A price, height; row r at 168 + 18 r.
    {18, 168}, {19, 174}, {20, 180}, {21, 186}, {22, 192}, {23, 198}, {24, 204}, {25, 210}, {26, 216},
    {27, 222}, {28, 228}, {29, 234}, {33, 240}, {34, 246}, {35, 252}, {36, 258}, {37, 264}, {38, 270},
    {39, 276}, {40, 282}, {41, 288}, {42, 294}, {43, 300}, {44, 306}, {45, 312}, {46, 318}, {47, 324},
    {48, 330}, {49, 336}, {50, 342}, {51, 348}, {52, 354}, {53, 360}, {54, 366}, {55, 372}, {56, 378},
    {58, 384}, {59, 390}, {60, 396}, {61, 402}, {62, 408}, {63, 414}, {30, 420}, {31, 426}, {32, 432},
    {64, 438}, {65, 444}, {66, 450}, {72, 456}, {73, 462}, {84, 468}, {71, 474}, {74, 480}, {83, 486},
    {70, 492}, {75, 498}, {82, 504}, {69, 510}, {76, 516}, {81, 522}, {68, 528}, {77, 534}, {80, 540},
    {67, 546}, {78, 552}, {79, 558}, {95, 564}, {97, 570}, {98, 576}};
static_assert(std::size(kEditOffsets) == ParameterEditor::kEdits);

void PutReal48(QByteArray &bytes, int offset, long double value)
{
    ExtendedToReal48(value, reinterpret_cast<std::uint8_t *>(bytes.data()) + offset);
}

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

    // Every field holds a value of its own, so a swapped or misplaced binding shows.
    void everyEditShowsItsOwnField()
    {
        QByteArray bytes = SerializeParameterRecord(onDisk);
        const auto valueAt = [](int offset) { return 1000 + offset / 6 + 0.25L; };
        for (const auto &[n, offset] : kEditOffsets)
            PutReal48(bytes, offset, valueAt(offset));
        fixtures::WriteBytes(dir->filePath(kFile), bytes);
        open();
        for (const auto &[n, offset] : kEditOffsets)
            QVERIFY2(edit(n)->text() == FormatFixed(valueAt(offset), 0, edit(n)->decimals()),
                     qPrintable(QStringLiteral("edit %1 shows %2").arg(n).arg(edit(n)->text())));
    }

    void everyEditLandsAtItsOwnOffset()
    {
        open();
        QByteArray expected = fileBytes();
        for (const auto &[n, offset] : kEditOffsets) {
            const long double value = 100 + n + 0.5L;
            edit(n)->setText(FormatFixed(value, 0, edit(n)->decimals()));
            if (n != 6) // the mirror edit 7 writes the same field after it
                PutReal48(expected, offset, value);
        }
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        const QByteArray written = fileBytes();
        for (const auto &[n, offset] : kEditOffsets)
            QVERIFY2(written.mid(offset, 6) == expected.mid(offset, 6), qPrintable(QStringLiteral("edit %1").arg(n)));
        QCOMPARE(written, expected); // the language file's name included
    }

    // A value the engine or the drawings cannot work with, typed or found in the file.
    void refusedValuesNameTheirFieldAndChangeNothing_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("typed"); // empty: the file holds `stored`
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("message");
        const QString above = QStringLiteral("\n\nThe value must be greater than ");
        const QString negative = QStringLiteral("\n\nThe value must not be negative.");
        QTest::newRow("narrow frame within its bar") << 20 << "5" << 0.0 << "Frame narrow, Height mm" + above + "5.00";
        QTest::newRow("wide frame within its bar") << 23 << "12.5" << 0.0 << "Frame wide, Height mm" + above + "12.50";
        QTest::newRow("post without width") << 26 << "0" << 0.0 << "Post narrow, Height mm" + above + "0.00";
        QTest::newRow("closing profile flat") << 32 << "0" << 0.0 << "Closing profile, Height mm" + above + "0.00";
        QTest::newRow("panel flat") << 35 << "0" << 0.0 << "Panel 1x13 mm, Height mm" + above + "0.00";
        QTest::newRow("fixed profile flat") << 98 << "0" << 0.0 << "Profile 1x35 mm, Height mm" + above + "0.00";
        QTest::newRow("markup takes everything") << 1 << "-100" << 0.0 << "Markup 1 (%)" + above + "-100.00";
        QTest::newRow("surcharge below -100") << 11 << "-150" << 0.0 << "Surcharge (%), above" + above + "-100.00";
        QTest::newRow("negative height in file") << 50 << "" << -20.0 << "Panel 1x25 mm, Height mm" + above + "0.00";
        QTest::newRow("negative price in file") << 37 << "" << -3.0 << "Panel 2x13 mm, Price A EUR/m" + negative;
        QTest::newRow("negative cost in file") << 91 << "" << -1.0 << "Price per cut piece (reserve 1)" + negative;
        QTest::newRow("negative area in file") << 5 << "" << -1.0 << QString("Area (m²), 0.5000 -" + negative);
        QTest::newRow("unused row below zero") << 60 << "" << -1.0 << "Additional profile, Height mm" + negative;
    }

    void refusedValuesNameTheirFieldAndChangeNothing()
    {
        QFETCH(int, number);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        QFETCH(QString, message);
        if (typed.isEmpty()) {
            QByteArray bytes = SerializeParameterRecord(onDisk);
            for (const auto &[n, offset] : kEditOffsets)
                if (n == number)
                    PutReal48(bytes, offset, stored);
            fixtures::WriteBytes(dir->filePath(kFile), bytes);
            onDisk = *ParseParameterRecord(bytes, kFile, nullptr);
        }
        open();
        if (!typed.isEmpty())
            edit(number)->setText(typed);
        QString text;
        ModalAnswers answers({{QStringLiteral("RefusedValueBox"), [&text](QWidget *w) {
                                   auto *box = static_cast<QMessageBox *>(w);
                                   text = box->text();
                                   if (const QString out = qEnvironmentVariable("TABLIX_GRAB_DIR"); !out.isEmpty())
                                       box->grab().save(QDir(out).filePath(QStringLiteral("refused_%1.png").arg(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_'))));
                                   box->accept();
                               }}});
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        VERIFY_ANSWERED(answers);
        QCOMPARE(text, QStringLiteral("This value cannot be used:\n") + message);
        QVERIFY(form->isVisible());
        QCOMPARE(form->focusWidget(), edit(number));
        QCOMPARE(fileBytes(), SerializeParameterRecord(onDisk));
        QCOMPARE(SerializeParameterRecord(state->parameters), SerializeParameterRecord(onDisk));
    }

    void discountsAndRowsWithoutUseAreAccepted()
    {
        open();
        for (const auto &[n, text] : {std::pair{1, "-20"}, {11, "-99.5"}, {60, "0"}, {20, "5.01"}, {57, "0"}})
            edit(n)->setText(QLatin1String(text));
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        const auto written = ParseParameterRecord(fileBytes(), kFile, nullptr);
        QVERIFY(written);
        QCOMPARE(written->markupPercent1.get(), -20.0L);
        QCOMPARE(written->areaBandValue4.get(), RoundToReal48(-99.5L));
        QCOMPARE(written->elementRows[12].heightMm.get(), 0.0L);
        QCOMPARE(written->elementRows[0].heightMm.get(), RoundToReal48(5.01L));
    }

    // The currency belongs to the prices: kept beside the parameter file, not in it or the language.
    void theCurrencyIsEditedAsASetting()
    {
        open();
        auto *currency = form->findChild<QLineEdit *>(QStringLiteral("currencyEdit"));
        QVERIFY(currency);
        QCOMPARE(label(QStringLiteral("currencyLabel"))->text(), QStringLiteral("Currency"));
        QCOMPARE(currency->text(), QStringLiteral("EUR"));
        currency->setText(QStringLiteral(" PLN "));
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(fileBytes(), SerializeParameterRecord(onDisk));
        QCOMPARE(CurrencySetting(dir->path()), QStringLiteral("PLN"));
        const QByteArray ini = fixtures::ReadBytes(dir->filePath(QLatin1String(kSettingsFileName)));
        QVERIFY2(ini.contains("[prices]") && ini.contains("currency=PLN"), ini.constData());
        QCOMPARE(state->LanguageEntry(text::kCurrency), QStringLiteral(" PLN"));
        QCOMPARE(state->LanguageEntry(text::kCostItem1Unit), QStringLiteral("PLN/pc"));
        QCOMPARE(state->LanguageEntry(text::kPriceBHeading), QStringLiteral("Price B PLN/m"));

        open();
        QCOMPARE(currency->text(), QStringLiteral("PLN"));
        QCOMPARE(label(QStringLiteral("UnitLabel12"))->text(), QStringLiteral("PLN/pc"));
    }

    void anUnusableCurrencyIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        // Which words are usable is the core's table; here the window's answer.
        QTest::newRow("blanks") << QStringLiteral("   ");
        QTest::newRow("digit") << QStringLiteral("5 EUR");
    }

    void anUnusableCurrencyIsRefused()
    {
        QFETCH(QString, typed);
        open();
        auto *currency = form->findChild<QLineEdit *>(QStringLiteral("currencyEdit"));
        currency->setText(typed);
        QString text;
        ModalAnswers answers({modal::messageBox(&text, QStringLiteral("RefusedValueBox"))});
        form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        VERIFY_ANSWERED(answers);
        QCOMPARE(text, QStringLiteral("This value cannot be used:\nCurrency\n\n") + state->LanguageEntry(text::kUnusableCurrency));
        QCOMPARE(form->focusWidget(), currency);
        QVERIFY(!QFile::exists(dir->filePath(QLatin1String(kSettingsFileName))));
        QCOMPARE(state->LanguageEntry(text::kCurrency), QStringLiteral(" EUR"));
        QCOMPARE(fileBytes(), SerializeParameterRecord(onDisk));
    }

    // Only the texts change: the percentage the last sign was priced at stays, and so does the currency.
    void aLanguageSwitchKeepsThePercentageAndTheCurrency()
    {
        for (const char *file : {"tablix_lng.eng", "tablix_lng.pol"})
            QFile::copy(fixtures::DataFile(QLatin1String(file)), dir->filePath(QLatin1String(file)));
        state->derived.FixedPricePercent.set(80);
        QVERIFY(!state->derived.HasFixedPricePercent);
        const auto choose = [this](const QString &name) {
            LanguageChooser chooser(*state);
            chooser.listLanguages();
            auto *combo = chooser.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
            combo->setCurrentIndex(combo->findText(name));
            chooser.okClicked();
            QCOMPARE(chooser.result(), int(QDialog::Accepted));
        };
        choose(QStringLiteral("Polski"));
        QCOMPARE(state->LanguageEntry(text::kMenuProject), QStringLiteral("Projekt"));
        QCOMPARE(state->derived.FixedPricePercent.get(), 80.0L);
        QCOMPARE(state->LanguageEntry(text::kCurrency), QStringLiteral(" EUR"));
        QCOMPARE(state->LanguageEntry(text::kCostItem1Unit), QStringLiteral("EUR/szt."));
        QCOMPARE(CurrencySetting(dir->path()), QStringLiteral("EUR")); // the next start keeps it too
        QCOMPARE(ParseParameterRecord(fileBytes(), kFile, nullptr)->languageFile(), QStringLiteral("tablix_lng.pol"));

        open();
        QCOMPARE(form->findChild<QLineEdit *>(QStringLiteral("currencyEdit"))->text(), QStringLiteral("EUR"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Ceny i parametry"));
        form->reject();

        QVERIFY(WriteCurrencySetting(dir->path(), QStringLiteral("zł"), nullptr));
        choose(QStringLiteral("English"));
        QCOMPARE(state->LanguageEntry(text::kMenuProject), QStringLiteral("Project"));
        QCOMPARE(state->LanguageEntry(text::kCurrency), QStringLiteral(" zł")); // the file is the setting
        QCOMPARE(state->LanguageEntry(text::kPriceAHeading), QStringLiteral("Price A zł/m"));
        QCOMPARE(state->derived.FixedPricePercent.get(), 80.0L);
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
        // The panels lay out again after the captions changed, however slow the build.
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCoreApplication::processEvents();
        }
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
