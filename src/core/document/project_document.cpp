// The project as a document: the only code that changes the signs, with undo and redo.
#include "core/document/project_document.h"

#include <QFileInfo>

#include "core/engine/compute_sign.h"
#include "core/number/real48.h"
#include "core/params/language_entries.h"

namespace tablix {

// A step holds the project before and after it; 4 KB each.
class SnapshotStep : public QUndoCommand {
public:
    SnapshotStep(ProjectDocument &document, ProjectSnapshot before, ProjectSnapshot after, const QString &text)
        : QUndoCommand(text), document_(document), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { document_.Restore(before_); }
    void redo() override
    {
        // Pushed after the change was made.
        if (std::exchange(pushed_, false))
            return;
        document_.Restore(after_);
    }

private:
    ProjectDocument &document_;
    ProjectSnapshot before_, after_;
    bool pushed_ = true;
};

ProjectDocument::ProjectDocument(AppState &state, QObject *parent) : QObject(parent), state_(state)
{
    stack_.setUndoLimit(kUndoLimit);
}

ProjectSnapshot ProjectDocument::Snapshot() const
{
    return {state_.SignSlots,  state_.currentSignRecord, state_.currentSign,
            state_.signCount,  state_.tabCaptions,       state_.derived.FixedPricePercent};
}

void ProjectDocument::Restore(const ProjectSnapshot &s)
{
    state_.SignSlots = s.signs;
    state_.currentSignRecord = s.current;
    state_.currentSign = s.currentSign;
    state_.signCount = s.signCount;
    state_.tabCaptions = s.tabCaptions;
    state_.derived.FixedPricePercent = s.pricePercent;
    state_.LoadWorkingState();
    state_.undoRows = state_.workingRows;
    emit changed();
    emit pageRestored();
}

void ProjectDocument::Push(const ProjectSnapshot &before, const QString &step)
{
    ProjectSnapshot after = Snapshot();
    if (after == before)
        return;
    stack_.push(new SnapshotStep(*this, before, std::move(after), step));
}

template <class F> bool ProjectDocument::Step(const QString &step, F &&change)
{
    BeginEdit();
    const bool done = change();
    EndEdit(done, step);
    return done;
}

void ProjectDocument::BeginEdit()
{
    edits_.push_back(Snapshot());
}

void ProjectDocument::EndEdit(bool keep, const QString &step)
{
    if (edits_.empty())
        return;
    const ProjectSnapshot before = std::move(edits_.back());
    edits_.pop_back();
    if (!keep) {
        if (Snapshot() != before) {
            Restore(before);
        }
        return;
    }
    if (edits_.empty())
        Push(before, step);
    emit changed();
}

void ProjectDocument::StoreAreaSurcharge()
{
    // As the engine picks it whenever it draws the sign: a sign without rows is never drawn.
    SignRecord &sign = state_.currentSignRecord;
    if (!sign.inUse())
        return;
    try {
        sign.areaSurcharge = ComputeSign(sign, StoredRows(sign), state_.parameters, state_.derived, state_.language).areaSurcharge;
    } catch (const FloatingPointOverflow &) {
        // The stored value stays, as every store that overflows leaves its destination.
    }
}

void ProjectDocument::ChangeSign(const SignRecord &sign, int stepEntry, std::optional<Real48> pricePercent)
{
    BeginEdit();
    [&] {
        state_.currentSignRecord = sign;
        if (pricePercent)
            state_.derived.FixedPricePercent = *pricePercent;
        StoreAreaSurcharge();
        state_.SaveCurrentSign();
        const int k = state_.currentSign;
        if (k >= 1 && k <= kMaxSigns && !sign.titleText().isEmpty())
            state_.tabCaptions[size_t(k - 1)] = TabCaption(state_.language, state_.currentSignRecord.titleText(), k);
    }();
    EndEdit(true, StepName(stepEntry));
}

bool ProjectDocument::NewSign()
{
    return Step(state_.LanguageEntry(text::kStepNewSign), [&] { return state_.NewSign(); });
}

bool ProjectDocument::CopySign()
{
    const QString step = StepName(text::kStepCopySign);
    return Step(step, [&] { return state_.CopySign(); });
}

bool ProjectDocument::DeleteSign()
{
    const QString step = StepName(text::kStepDeleteSign);
    return Step(step, [&] {
        if (!state_.DeleteSign())
            return false;
        state_.LoadWorkingState();
        return true;
    });
}

bool ProjectDocument::SetSignTitle(const QString &text, bool automatic)
{
    // Named by the new title.
    BeginEdit();
    const bool done = state_.SetSignTitle(text, automatic);
    EndEdit(done, StepName(text::kStepTitle));
    return done;
}

void ProjectDocument::SelectSign(int k)
{
    if (k < 1 || k > kMaxSigns)
        return;
    state_.SaveCurrentSign();
    state_.SelectSign(k);
    emit changed();
}

void ProjectDocument::LanguageChanged()
{
    state_.RefreshTabCaptions();
    emit changed();
}

void ProjectDocument::NewProject()
{
    edits_.clear();
    state_.NewProject();
    state_.LoadWorkingState();
    stack_.clear();
    stack_.setClean();
    emit changed();
    emit pageRestored();
}

void ProjectDocument::OpenProject(const SignSlotArray &signs, const QString &fileName)
{
    edits_.clear();
    state_.OpenProject(signs, fileName);
    // The drawing shows the sign's own marks, as after selecting its page.
    state_.LoadWorkingState();
    stack_.clear();
    stack_.setClean();
    emit changed();
    emit pageRestored();
}

void ProjectDocument::MarkSaved(const QString &path)
{
    const QFileInfo written(path);
    state_.projectFilePath = written.absoluteFilePath();
    state_.projectFileName = written.fileName();
    state_.MarkProjectSaved();
    stack_.setClean();
    emit changed();
}

SignDraft ProjectDocument::CurrentDraft() const
{
    return {state_.currentSignRecord, state_.workingRows, state_.undoRows, state_.workingRowMarks, state_.workingLowerMarks};
}

QString ProjectDocument::StepName(int entry) const
{
    const int k = state_.currentSign;
    QString title = state_.currentSignRecord.titleText();
    if (title.startsWith(QLatin1Char('!')))
        title.remove(0, 1);
    if (title.isEmpty() && k >= 1 && k <= kMaxSigns)
        title = TabCaption(state_.language, title, k);
    return QString(state_.LanguageEntry(entry)).replace(QStringLiteral("%1"), title);
}

} // namespace tablix
