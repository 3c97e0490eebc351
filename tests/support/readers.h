// Runs the programs other people read our drawings with (rsvg-convert, poppler, ezdxf).
#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <optional>

namespace readers {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Nothing when the program is not installed.
inline std::optional<Run> Start(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    const QString path = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty() || !QFileInfo(path).isExecutable())
        return std::nullopt;
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForStarted())
        return std::nullopt;
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return Run{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
               process.readAllStandardError()};
}

// The Python of the system, where Debian's python3-ezdxf lives; nothing without ezdxf.
inline bool HasEzdxf()
{
    const auto run = Start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import ezdxf")});
    return run && run->exitCode == 0;
}

} // namespace readers
