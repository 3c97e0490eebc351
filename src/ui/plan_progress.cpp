// The cutting plan off the GUI thread, with a progress window and Cancel past a short delay.
#include "ui/plan_progress.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <thread>

#include "core/params/language_entries.h"
#include "core/project/app_state.h"

namespace tablix {

CuttingPlan RunPlanWithProgress(QWidget *parent, const AppState &state, const std::function<CuttingPlan(const PlanControl &)> &plan,
                                int delayMs)
{
    std::atomic<bool> cancel{false}, finished{false};
    std::atomic<int> done{0}, profiles{0};
    PlanControl control;
    control.cancel = &cancel;
    control.progress = [&](int d, int n) {
        done = d;
        profiles = n;
    };

    QEventLoop loop;
    CuttingPlan result;
    std::thread worker([&] {
        result = plan(control);
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // A quick plan shows no window at all; meanwhile the user's input waits.
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    delay.start(delayMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    delay.stop();

    if (!finished) {
        QProgressDialog progress(state.LanguageEntry(text::kPlanTitle), state.LanguageEntry(text::kCancel), 0, 0, parent);
        progress.setObjectName(QStringLiteral("PlanProgress"));
        progress.setWindowTitle(state.LanguageEntry(text::kPlanTitle));
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setMinimumDuration(0);
        QObject::connect(&progress, &QProgressDialog::canceled, [&] {
            cancel = true;
            progress.setLabelText(state.LanguageEntry(text::kPlanInterrupted));
            if (auto *button = progress.findChild<QPushButton *>())
                button->setEnabled(false);
        });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (profiles > 0 && progress.maximum() != profiles)
                progress.setMaximum(profiles);
            if (profiles > 0)
                progress.setValue(done);
        });
        poll.start(100);
        progress.show();
        if (!finished)
            loop.exec();
    }
    worker.join();
    return result;
}

} // namespace tablix
