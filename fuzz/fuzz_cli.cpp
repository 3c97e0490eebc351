// The tool's command line: option values from the input, on the shipped data and example project.
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

#include "cli/tool.h"
#include "fuzz_support.h"

namespace {

// A working folder as `make run-dir` prepares it, made once per process.
const QTemporaryDir &Workdir()
{
    static QTemporaryDir dir;
    static const bool ready = [] {
        std::fflush(stdout);
        if (!std::freopen("/dev/null", "w", stdout)) // the reports are not what is checked
            __builtin_trap();
        QFile params(dir.filePath(QStringLiteral("Tablix_pro.dan")));
        QFile project(dir.filePath(QStringLiteral("p.tab")));
        if (!dir.isValid() || !params.open(QIODevice::WriteOnly) || !project.open(QIODevice::WriteOnly))
            __builtin_trap();
        params.write(tablix::SerializeParameterRecord(fuzz::ShippedParameters()));
        project.write(tablix::SerializeProject(fuzz::ExampleProject()));
        for (const char *name : {"tablix_lng.eng", "tablix_lng.pol"}) {
            QFile language(dir.filePath(QString::fromLatin1(name)));
            if (!language.open(QIODevice::WriteOnly))
                __builtin_trap();
            language.write(fuzz::DataFile(name));
        }
        return true;
    }();
    (void)ready;
    return dir;
}

} // namespace

// Byte 0 picks the command, byte 1 which options come (bit per option), then each option's value
// as a text ended by a zero byte; bit 7 puts the options before the command words.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QTemporaryDir &dir = Workdir();
    fuzz::Input in(data, size);
    static const char *const kCommands[] = {"plt", "emf", "cost", "spec", "geometry", "prices", "summary", "info"};
    const char *command = kCommands[in.get<std::uint8_t>() % std::size(kCommands)];
    const auto present = in.get<std::uint8_t>();

    QStringList words{QString::fromLatin1(command)};
    if (std::strcmp(command, "prices") != 0)
        words << dir.filePath(QStringLiteral("p.tab"));
    QStringList options{QStringLiteral("--workdir"), dir.path()};
    static const char *const kOptions[] = {"--scale", "--percent", "--window", "--sign"};
    for (int k = 0; k < 4; ++k)
        if (present & (1 << k)) {
            const QString value = in.text(32);
            // The joined form "--scale=V" as well as the separate one.
            if (present & (1 << (4 + k % 3)))
                options << QString::fromLatin1(kOptions[k]) + QLatin1Char('=') + value;
            else
                options << QString::fromLatin1(kOptions[k]) << value;
        }
    // Exports go nowhere: "-" is standard output, sent to /dev/null.
    options << QStringLiteral("-o") << QStringLiteral("-");
    const QStringList args = (present & 0x80) ? options + words : words + options;
    const int code = tablix::RunTool(args);
    if (code < 0 || code > 2)
        __builtin_trap();
    return 0;
}
