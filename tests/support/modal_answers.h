// Answers the modal windows a command opens with exec(): one step per window, in the order they come.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "support/fixtures.h"

// Each step names the window it expects, by objectName or by class (such as QMessageBox), and
// acts on it; the act closes the window, or leaves it open for a later step. A window that is
// not the next step's, or one that comes after the last step, is recorded as unexpected and
// closed once it has waited a while, so a wrong path fails the test instead of hanging it.
// Modal windows already open when the answers start belong to the test and are left alone.
class ModalAnswers : public QObject {
public:
    using Act = std::function<void(QWidget *)>;
    struct Step {
        QString window;
        Act act;
    };

    explicit ModalAnswers(std::vector<Step> steps) : steps_(std::move(steps))
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->isModal())
                testsOwn_.append(w);
        connect(&timer_, &QTimer::timeout, this, &ModalAnswers::poll);
        timer_.start(10);
    }

    ~ModalAnswers() override
    {
        // A test that forgot to check its answers still fails when a step was missed.
        if (!checked_ && !complete() && QTest::currentTestFunction() && !QTest::currentTestFailed())
            QTest::qFail(qPrintable(QStringLiteral("modal answers never checked: ") + report()), __FILE__, __LINE__);
    }

    // Every step has run and no other window came.
    bool done() const
    {
        checked_ = true;
        return complete();
    }

    // What was answered, what is still awaited and what came unexpected.
    QString report() const
    {
        QStringList awaited;
        for (size_t i = next_; i < steps_.size(); ++i)
            awaited << steps_[i].window;
        QString text = QStringLiteral("answered [%1]").arg(seen.join(QStringLiteral(", ")));
        if (!awaited.isEmpty())
            text += QStringLiteral(", never came [%1]").arg(awaited.join(QStringLiteral(", ")));
        if (!unexpected.isEmpty())
            text += QStringLiteral(", unexpected [%1]").arg(unexpected.join(QStringLiteral(", ")));
        return text;
    }

    QStringList seen;       // the windows answered, as their steps name them
    QStringList unexpected; // the windows no step expected, with a message box's text

    // How long a window that is not the next step's may stay before it counts as unexpected.
    static constexpr int kPatienceMs = 5000;

private:
    bool complete() const { return next_ == steps_.size() && unexpected.isEmpty(); }

    static bool matches(const QWidget *w, const QString &window)
    {
        return w->objectName() == window || w->inherits(qPrintable(window));
    }

    static QString describe(const QWidget *w)
    {
        QString name = w->objectName().isEmpty() ? QLatin1String(w->metaObject()->className()) : w->objectName();
        if (auto *box = qobject_cast<const QMessageBox *>(w))
            name += QStringLiteral(" \"%1\"").arg(box->text());
        return name;
    }

    void poll()
    {
        testsOwn_.removeIf([](const QPointer<QWidget> &w) { return !w || !w->isVisible(); });
        busy_.removeAll(nullptr);
        QWidget *w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || busy_.contains(w) || testsOwn_.contains(w)) {
            waiting_ = nullptr;
            return;
        }
        if (next_ < steps_.size() && matches(w, steps_[next_].window)) {
            waiting_ = nullptr;
            const Step &step = steps_[next_++];
            seen << step.window;
            busy_.append(w);
            // A fresh timer, so that this one goes on answering the windows the act opens in turn.
            QTimer::singleShot(0, this, [this, act = step.act, target = QPointer<QWidget>(w)] {
                if (!target)
                    return;
                act(target);
                busy_.removeAll(target);
            });
            return;
        }
        if (waiting_ != w) {
            waiting_ = w;
            waited_.start();
            return;
        }
        if (waited_.elapsed() < kPatienceMs)
            return;
        unexpected << describe(w);
        waiting_ = nullptr;
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    mutable bool checked_ = false;
    QList<QPointer<QWidget>> busy_;     // windows whose act is running
    QList<QPointer<QWidget>> testsOwn_; // modal windows open before the answers started
    QPointer<QWidget> waiting_;         // a window no step has taken yet
    QElapsedTimer waited_;
    QTimer timer_;
};

// Fails the test with what was and was not answered.
#define VERIFY_ANSWERED(answers) QVERIFY2((answers).done(), qPrintable((answers).report()))

// Steps for the common answers.
namespace modal {

using Step = ModalAnswers::Step;

// Clicks the named button of the window.
inline Step click(const QString &window, const char *control)
{
    return {window, [name = QByteArray(control)](QWidget *w) { fixtures::child(w, name.constData())->click(); }};
}

inline Step reject(const QString &window)
{
    return {window, [](QWidget *w) { static_cast<QDialog *>(w)->reject(); }};
}

// Keeps the box's text and confirms it.
inline Step messageBox(QString *text = nullptr, const QString &window = QStringLiteral("QMessageBox"))
{
    return {window, [text](QWidget *w) {
                auto *box = static_cast<QMessageBox *>(w);
                if (text)
                    *text = box->text();
                box->accept();
            }};
}

// Answers the program's notice, keeping its message with the line break as "#".
inline Step notice(bool agree, QString *message = nullptr)
{
    return {QStringLiteral("Form8"), [agree, message](QWidget *w) {
                const QString first = fixtures::child<QLabel>(w, "Label1")->text();
                const QString second = fixtures::child<QLabel>(w, "Label2")->text();
                if (message)
                    *message = second.isEmpty() ? first : first + QLatin1Char('#') + second;
                fixtures::child(w, agree ? "BitBtn1" : "BitBtn2")->click();
            }};
}

} // namespace modal
