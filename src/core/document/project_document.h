// The project as a document: the only code that changes the signs, with undo and redo.
#pragma once

#include <QObject>
#include <QUndoStack>
#include <array>
#include <optional>
#include <vector>

#include "core/project/app_state.h"
#include "core/project/sign_rules.h"

namespace tablix {

// Everything an undo step puts back.
struct ProjectSnapshot {
    SignSlotArray signs{};
    SignRecord current{};
    int currentSign = 1;
    int signCount = 1;
    std::array<QString, kMaxSigns> tabCaptions;
    Real48 pricePercent;
    bool operator==(const ProjectSnapshot &) const = default;
};

class ProjectDocument : public QObject {
    Q_OBJECT
public:
    // Steps kept for undo; older ones are dropped.
    static constexpr int kUndoLimit = 200;

    explicit ProjectDocument(AppState &state, QObject *parent = nullptr);

    const AppState &state() const { return state_; }
    QUndoStack &undoStack() { return stack_; }

    // ---- commands: each is one step that can be undone ----
    bool NewSign();
    bool CopySign();
    bool DeleteSign(); // after the user has confirmed
    bool SetSignTitle(const QString &text, bool automatic);
    // The current sign replaced, with the project's price percentage when given; the step is
    // named by StepName(stepEntry) after the change. Inside an edit it becomes part of its step.
    void ChangeSign(const SignRecord &sign, int stepEntry, std::optional<Real48> pricePercent = {});

    // Changes between BeginEdit and EndEdit make one step named `step`; EndEdit(false) puts the
    // project back as BeginEdit found it. Edits may nest: only the outermost makes a step.
    void BeginEdit();
    void EndEdit(bool keep, const QString &step = QString());
    void EndEdit(bool keep, int stepEntry) { EndEdit(keep, StepName(stepEntry)); }
    bool editing() const { return !edits_.empty(); }

    // ---- changes that are not steps ----
    void SelectSign(int k); // a page change
    void LanguageChanged(); // the untitled signs' captions follow the language
    void NewProject();      // after the user has confirmed; clears the history
    void OpenProject(const SignSlotArray &signs, const QString &fileName);
    // The project was written to `path`: its state is the saved one.
    void MarkSaved(const QString &path);

    // The current sign as its dialogs start from it.
    SignDraft CurrentDraft() const;
    // A step's name for the current sign: `entry` with "%1" the sign's title as its page shows it.
    QString StepName(int entry) const;

    ProjectSnapshot Snapshot() const;
    // Whether the project differs from its file, or from the new project it started as.
    bool modified() const { return state_.ProjectModified(); }

signals:
    // The signs, the pages or the current sign changed: every view redraws.
    void changed();
    // Undo or redo put back a state: the page of its current sign comes to the front.
    void pageRestored();

private:
    friend class SnapshotStep;
    void Restore(const ProjectSnapshot &snapshot);
    void StoreAreaSurcharge();
    void Push(const ProjectSnapshot &before, const QString &step);
    template <class F> bool Step(const QString &step, F &&change);

    AppState &state_;
    QUndoStack stack_;
    std::vector<ProjectSnapshot> edits_;
};

} // namespace tablix
