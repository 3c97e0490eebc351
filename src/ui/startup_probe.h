// Start-up figures, the same lines in Tablix and in the bare window it is measured against: with
// TABLIX_STARTUP_PROBE set, the first paint of the main window prints the time since the process
// started and the resident memory, again two seconds later, and the program ends.
#pragma once

#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace tablix {

namespace startup_probe {

// Milliseconds since the kernel started this process: its start time in /proc/self/stat counts
// clock ticks since boot, so the figure is a tick (10 ms) coarse and never early.
inline double MillisecondsSinceStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name may hold blanks; the fields after it are counted from its closing bracket.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    const double started = fields[19].toDouble() / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (double(now.tv_sec) + double(now.tv_nsec) / 1e9 - started) * 1000;
}

inline long ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Once the painted window has gone to the screen.
            QTimer::singleShot(0, this, [] {
                std::fprintf(stderr, "startup-probe first-paint %.1f ms %ld kB\n", MillisecondsSinceStart(),
                             ResidentKilobytes());
                QTimer::singleShot(2000, [] {
                    std::fprintf(stderr, "startup-probe settled %ld kB\n", ResidentKilobytes());
                    std::fflush(stderr);
                    std::_Exit(0);
                });
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

} // namespace startup_probe

// Does nothing unless TABLIX_STARTUP_PROBE is set.
inline void ProbeStartup(QWidget &mainWindow)
{
    if (qEnvironmentVariableIsEmpty("TABLIX_STARTUP_PROBE"))
        return;
    mainWindow.installEventFilter(new startup_probe::FirstPaint(&mainWindow));
}

} // namespace tablix
