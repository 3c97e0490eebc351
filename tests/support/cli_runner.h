// tablix-cli run as a separate process, as scripts run it.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace support {

struct CliRun {
    int exitCode; // -1 when the tool crashed or did not finish
    QByteArray out, err;
};

// With a non-empty `workdir` the tool reads its data from there; `env` replaces the
// environment when it is not empty; `input` goes to the tool's standard input.
inline CliRun RunCli(QStringList args, const QString &workdir = QString(), const QProcessEnvironment &env = {},
                     const QByteArray &input = QByteArray())
{
    if (!workdir.isEmpty())
        args = QStringList{QStringLiteral("--workdir"), workdir} + args;
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(QStringLiteral(TABLIX_CLI), args);
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace support
