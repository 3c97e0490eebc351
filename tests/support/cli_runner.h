// A program of the build (mostly tablix-cli) run as a separate process, as scripts run it.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <functional>

namespace support {

struct CliRun {
    int exitCode; // -1 when the program crashed or did not finish
    QByteArray out, err;
};

struct RunOptions {
    QString workdir{};              // given to the tool as --workdir when not empty
    QProcessEnvironment env{};      // replaces the environment when not empty
    QByteArray input{};             // standard input
    QString workingDirectory{};     // where it starts
    std::function<void()> prepare{}; // runs in the child before the program (limits, signals)
    QString stdoutFile{};           // standard output goes there instead of `out`
    int timeoutMs = 60000;
};

inline CliRun RunProgram(const QString &program, QStringList args, const RunOptions &o = {})
{
    if (!o.workdir.isEmpty())
        args = QStringList{QStringLiteral("--workdir"), o.workdir} + args;
    QProcess p;
    if (!o.env.isEmpty())
        p.setProcessEnvironment(o.env);
    if (!o.workingDirectory.isEmpty())
        p.setWorkingDirectory(o.workingDirectory);
    if (o.prepare)
        p.setChildProcessModifier(o.prepare);
    if (!o.stdoutFile.isEmpty())
        p.setStandardOutputFile(o.stdoutFile);
    p.start(program, args);
    if (!o.input.isEmpty())
        p.write(o.input);
    p.closeWriteChannel();
    p.waitForFinished(o.timeoutMs);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

#ifdef TABLIX_CLI
inline CliRun RunCli(const QStringList &args, const RunOptions &o = {})
{
    return RunProgram(QStringLiteral(TABLIX_CLI), args, o);
}
#endif

} // namespace support
