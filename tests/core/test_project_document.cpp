// The project document: every edit one step, undo and redo back to the same bytes, and the rules
// of the basic data and construction dialogs.
#include <gtest/gtest.h>

#include "core/engine/compute_sign.h"
#include "core/document/project_document.h"
#include "core/project/sign_rules.h"
#include "support/fixtures.h"
#include "support/random_project.h"

using namespace tablix;

namespace {

struct Document {
    AppState state;
    ProjectDocument document{state};
    Document() { fixtures::Prepare(state); }
    // The file the project would be saved as.
    QByteArray bytes() const { return SerializeProject(state.SignSlots); }
};

// What the window does for each command, with random values.
void RandomEdit(support::Random &r, Document &d)
{
    ProjectDocument &doc = d.document;
    AppState &s = d.state;
    switch (r.below(8)) {
    case 0: { // basic data
        BasicData data{r.amount(10, 500), double(r.between(1, 5)), double(r.between(50, 120)), double(r.between(0, 4)),
                       Layout(r.between(1, 4)), SignType(r.between(1, 6))};
        const BasicDataResult result = ApplyBasicData(doc.CurrentDraft(), data, s.derived, s.language);
        s.workingRows = result.draft.rows;
        doc.ChangeSign(result.draft.sign, text::kStepBasicData, result.pricePercent);
        break;
    }
    case 1:
    case 2: { // construction, now and then with a family switch, kept or cancelled
        doc.BeginEdit();
        SignDraft draft = doc.CurrentDraft();
        if (r.chance(30)) {
            draft = SwitchedFamilyDraft(draft);
            doc.ChangeSign(draft.sign, text::kStepConstruction);
        }
        const int rows = r.between(1, 8);
        draft.rows = {};
        for (int i = 0; i < rows; ++i)
            draft.rows[size_t(i)] = support::RandomElementCode(r);
        draft.rowMarks = KeptRowMarks(RowCodes{std::uint8_t(r.chance(50))}, draft.rows);
        const bool keep = r.chance(80);
        if (keep)
            doc.ChangeSign(CommittedConstruction(draft, s.derived, s.language), text::kStepConstruction);
        doc.EndEdit(keep, text::kStepConstruction);
        s.LoadWorkingState();
        break;
    }
    case 3: { // new sign with its basic data, or cancelled
        doc.BeginEdit();
        const bool added = doc.NewSign();
        const bool given = added && r.chance(70);
        if (given) {
            BasicData data{r.amount(10, 300), 1, 100, 0, Layout(r.between(1, 4)), SignType(r.between(1, 6))};
            doc.ChangeSign(ApplyBasicData(doc.CurrentDraft(), data, s.derived, s.language).draft.sign,
                           text::kStepBasicData);
        }
        doc.EndEdit(given, text::kStepNewSign);
        break;
    }
    case 4: doc.CopySign(); break;
    case 5: doc.DeleteSign(); break;
    case 6: doc.SetSignTitle(support::RandomTitle(r), r.chance(50)); break;
    default: doc.SelectSign(r.between(1, s.signCount)); break;
    }
}

} // namespace

// Undoing every step gives back the project as it started, byte for byte; redoing them all the
// final one; and the project counts as changed exactly when its bytes differ from the saved ones.
TEST(ProjectDocumentProperty, UndoAndRedoRetraceEveryRandomSequence)
{
    for (int seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        support::Random r{std::uint32_t(seed * 7919)};
        Document d;
        d.document.OpenProject(support::RandomProject(r), QStringLiteral("p.tab"));
        const QByteArray start = d.bytes();
        QByteArray saved = start;
        const auto checkMark = [&] {
            ASSERT_EQ(d.document.modified(), d.bytes() != saved);
            if (d.document.undoStack().isClean())
                ASSERT_EQ(d.bytes(), saved);
        };
        ASSERT_FALSE(d.document.modified());
        const int edits = r.between(1, 40);
        for (int e = 0; e < edits; ++e) {
            RandomEdit(r, d);
            if (r.chance(5)) {
                d.document.MarkSaved(QStringLiteral("p.tab"));
                saved = d.bytes();
            }
            checkMark();
        }
        const QByteArray final = d.bytes();
        QUndoStack &stack = d.document.undoStack();
        while (stack.canUndo()) {
            stack.undo();
            checkMark();
        }
        ASSERT_EQ(d.bytes(), start);
        while (stack.canRedo()) {
            stack.redo();
            checkMark();
        }
        ASSERT_EQ(d.bytes(), final);
    }
}

TEST(ProjectDocument, StepsAreNamedKeptAndClearedByOpening)
{
    Document d;
    d.state.language = fixtures::ShippedLanguage();
    d.document.OpenProject(SignSlotArray{fixtures::SignWith(7, QStringLiteral("!Shop fascia"))}, QString());
    int changed = 0;
    QObject::connect(&d.document, &ProjectDocument::changed, [&changed] { ++changed; });
    for (int i = 0; i < 150; ++i)
        d.document.SetSignTitle(QStringLiteral("T%1").arg(i), false);
    EXPECT_EQ(changed, 150);
    EXPECT_EQ(d.document.undoStack().count(), 150); // at least a hundred steps are kept
    EXPECT_EQ(d.document.undoStack().undoText(), QStringLiteral("Title of T149"));

    // Undo brings back the page of the step.
    SignRecord second = fixtures::SignWith(3, QStringLiteral("Second"));
    d.document.CopySign();
    EXPECT_EQ(d.state.currentSign, 2);
    d.document.SelectSign(1);
    d.document.undoStack().undo();
    EXPECT_EQ(d.state.currentSign, 1);
    EXPECT_EQ(d.state.signCount, 1);
    d.document.undoStack().redo();
    EXPECT_EQ(d.state.currentSign, 2);

    d.document.ChangeSign(second, text::kStepConstruction);
    EXPECT_EQ(d.document.undoStack().undoText(), QStringLiteral("Construction of Second"));
    EXPECT_TRUE(d.document.modified());

    d.document.NewProject();
    EXPECT_EQ(d.document.undoStack().count(), 0);
    EXPECT_FALSE(d.document.modified());
}

TEST(ProjectDocument, TheDocumentStoresTheAreaSurchargeWhenASignChanges)
{
    Document d;
    SignRecord sign = fixtures::SignWith(7, QStringLiteral("Small"));
    sign.areaSurcharge.set(99); // as a file may hold it
    d.document.ChangeSign(sign, text::kStepConstruction);
    const Real48 picked = ComputeSign(sign, StoredRows(sign), d.state.parameters, d.state.derived, d.state.language).areaSurcharge;
    EXPECT_EQ(d.state.currentSignRecord.areaSurcharge, picked);
    EXPECT_EQ(d.state.slot(1).areaSurcharge, picked);
    EXPECT_EQ(picked.get(), 20.0L); // under half a square metre
}

// The basic data dialog's OK as a function: each row one sign and its values.
TEST(SignRules, BasicData)
{
    AppState s;
    fixtures::Prepare(s);
    struct Case {
        const char *what;
        int layoutBefore;
        std::uint8_t firstRow;
        const char *title;
        BasicData data;
        int layout;
        std::uint8_t row;
        long double aux;
        const char *titleAfter;
    } cases[] = {
        {"same family keeps the rows", 1, 3, "", {120, 2, 90, 3, Layout(2), SignType(1)}, 2, 3, 3, "120.00x"},
        {"other family takes them along", 1, 3, "", {120, 2, 90, 3, Layout(3), SignType(2)}, 3, 12, 3, "120.00x"},
        {"types 3..6 have no posts", 2, 3, "", {80, 1, 100, 5, Layout(4), SignType(4)}, 4, 12, 0, "80.00x"},
        {"a title set by hand stays", 2, 3, "!Mine", {80, 1, 100, 0, Layout(2), SignType(1)}, 2, 3, 0, "!Mine"},
        {"a sign without rows keeps its title", 2, 0, "", {80, 1, 100, 0, Layout(2), SignType(1)}, 2, 0, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SignDraft draft;
        BlankSignRecord(draft.sign);
        draft.sign.layout = Layout(std::uint8_t(c.layoutBefore));
        draft.sign.rowElements[0] = draft.rows[0] = c.firstRow;
        draft.sign.setTitle(QString::fromUtf8(c.title));
        const BasicDataResult r = ApplyBasicData(draft, c.data, s.derived, s.language);
        EXPECT_EQ(Number(r.draft.sign.layout), c.layout);
        EXPECT_EQ(r.draft.sign.rowElements[0], c.row);
        EXPECT_EQ(r.draft.rows[0], c.row);
        EXPECT_EQ(r.draft.sign.auxDimension.get(), c.aux);
        EXPECT_EQ(r.draft.sign.priceLevel, r.pricePercent);
        EXPECT_EQ(r.pricePercent.get(), c.data.percent);
        EXPECT_TRUE(r.draft.sign.titleText().startsWith(QString::fromUtf8(c.titleAfter))) << r.draft.sign.titleText().toStdString();
        EXPECT_EQ(r.draft.sign.titleText().isEmpty(), *c.titleAfter == 0);
    }
    SignDraft draft;
    EXPECT_THROW(ApplyBasicData(draft, BasicData{1e300L, 1, 100, 0, Layout::ClosedFrameA, SignType::NarrowFrame}, s.derived, s.language), FloatingPointOverflow);
}

TEST(SignRules, ConstructionCommitsTheWorkingRowsAndTitlesTheSign)
{
    AppState s;
    fixtures::Prepare(s);
    SignDraft draft;
    BlankSignRecord(draft.sign);
    draft.sign.width.set(150);
    draft.rows = {7, 7, 3};
    draft.rowMarks = {1, 0, 1};
    draft.lowerMarks = {1};
    SignRecord sign = CommittedConstruction(draft, s.derived, s.language);
    EXPECT_EQ(sign.rowElements[2], 3);
    EXPECT_EQ(sign.rowMarks[2], 1);
    EXPECT_EQ(sign.lowerMarks[0], 1);
    EXPECT_EQ(sign.titleText(), AutoTitle(draft.rows, sign, s.derived, s.language));
    draft.sign.setTitle(QStringLiteral("!Kept"));
    EXPECT_EQ(CommittedConstruction(draft, s.derived, s.language).titleText(), QStringLiteral("!Kept"));
    // Switching twice gives back rows and layout.
    const SignDraft twice = SwitchedFamilyDraft(SwitchedFamilyDraft(draft));
    EXPECT_EQ(twice.rows, draft.rows);
    EXPECT_EQ(twice.sign.layout, draft.sign.layout);
}
