// The menu paths the README and the manual pages name are the program's own menus.
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QtTest>

#include "core/project/app_state.h"
#include "support/fixtures.h"
#include "ui/main_window.h"
#include "ui/window_set.h"

using namespace tablix;

namespace {

QString SourceFile(const QString &name)
{
    return QStringLiteral(TABLIX_DATA_DIR "/../") + name;
}

// A caption as a document writes it: no mnemonic, no dots that promise a dialog.
QString Plain(QString caption)
{
    caption.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
    caption.remove(QRegularExpression(QStringLiteral("(\\.\\.\\.|\u2026)\\s*$")));
    return caption.trimmed();
}

// Italic spans of the README ("*Settings > Parameters*") and the quoted arguments of the manual
// pages' font macros (.IR "Settings > Parameters") that hold a " > ".
QStringList DocumentedPaths(const QString &text)
{
    static const QRegularExpression italic(QStringLiteral("(?<!\\*)\\*([^*\\n]+ (?:>|\u2192) [^*\\n]+)\\*"));
    static const QRegularExpression man(QStringLiteral("^\\.[IB]R? \"([^\"]+ > [^\"]+)\""), QRegularExpression::MultilineOption);
    QStringList paths;
    for (const QRegularExpression *pattern : {&italic, &man})
        for (const QRegularExpressionMatch &m : pattern->globalMatch(text))
            paths << m.captured(1);
    return paths;
}

// Follows `path` from the menu bar; empty when it ends at a command, otherwise where it fails.
QString Walk(const QMenuBar &bar, const QString &path)
{
    const QStringList steps = path.split(QRegularExpression(QStringLiteral("\\s+(?:>|\u2192)\\s+")));
    QList<QAction *> actions = bar.actions();
    for (qsizetype i = 0; i < steps.size(); ++i) {
        QAction *found = nullptr;
        for (QAction *a : actions)
            if (!a->isSeparator() && Plain(a->text()) == Plain(steps[i]))
                found = a;
        if (!found) {
            QStringList offered;
            for (QAction *a : actions)
                if (!a->isSeparator())
                    offered << Plain(a->text());
            return QStringLiteral("\"%1\" is not one of: %2").arg(steps[i], offered.join(QStringLiteral(", ")));
        }
        const bool last = i + 1 == steps.size();
        if (last)
            return found->menu() ? QStringLiteral("\"%1\" is a menu, not a command").arg(steps[i]) : QString();
        if (!found->menu())
            return QStringLiteral("\"%1\" is a command, not a menu").arg(steps[i]);
        actions = found->menu()->actions();
    }
    return QStringLiteral("empty path");
}

} // namespace

class MenuPathTest : public QObject {
    Q_OBJECT

private slots:
    void documentsNameTheMenusAsTheProgramShowsThem()
    {
        AppState state;
        state.parameters = fixtures::ShippedParameters();
        state.language = fixtures::ShippedLanguage();
        state.RefreshParameters();
        state.currentSignRecord.width.set(100); // no sign dialogs
        Windows windows(state);
        const QMenuBar *bar = windows.mainWindow().menuBar();
        QVERIFY(bar);

        int checked = 0;
        for (const QString &file : {QStringLiteral("README.md"), QStringLiteral("packaging/tablix.1.in"),
                                    QStringLiteral("packaging/tablix-cli.1.in")}) {
            QFile document(SourceFile(file));
            QVERIFY2(document.open(QIODevice::ReadOnly), qPrintable(file));
            for (const QString &path : DocumentedPaths(QString::fromUtf8(document.readAll()))) {
                const QString fault = Walk(*bar, path);
                QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("%1: %2: %3").arg(file, path, fault)));
                ++checked;
            }
        }
        // The README names at least the export, the parameters and the workshop's commands.
        QVERIFY2(checked >= 6, qPrintable(QString::number(checked)));
    }

    void theWalkFindsWrongPaths()
    {
        AppState state;
        state.language = fixtures::ShippedLanguage();
        state.currentSignRecord.width.set(100);
        Windows windows(state);
        const QMenuBar &bar = *windows.mainWindow().menuBar();
        const struct {
            const char *path;
            bool found;
        } cases[] = {
            {"Settings > Parameters > Edit parameters", true},
            {"Parameters > Edit parameters", false}, // the old wording: no such top menu
            {"Sign > Construction > Export drawing", true},
            {"Sign > Construction", false},          // a menu, not a command
            {"Project > Open > More", false},        // a command has no items
        };
        for (const auto &c : cases)
            QVERIFY2(Walk(bar, QLatin1String(c.path)).isEmpty() == c.found, c.path);
        QCOMPARE(DocumentedPaths(QStringLiteral("**Bold.** *A > B* and *C → D*\n.IR \"E > F\" .\n")),
                 (QStringList{QStringLiteral("A > B"), QStringLiteral("C → D"), QStringLiteral("E > F")}));
    }
};

QTEST_MAIN(MenuPathTest)
#include "test_menu_paths.moc"
