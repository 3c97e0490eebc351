// Shared test fixtures: the shipped parameters and language tables, small records and files, controls by name.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QString>
#include <clocale>
#include <map>
#include <string>

#include "core/engine/compute_sign.h"
#include "core/params/language.h"
#include "core/params/language_entries.h"
#include "core/params/params_json.h"
#include "core/project/app_state.h"

#ifdef QT_WIDGETS_LIB
#include <QAbstractButton>
#include <QWidget>
#endif

namespace fixtures {

// Text needs fonts, and fonts need a GUI application.
inline void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "core_tests";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    (void)app;
}

// The decimal-comma run of a test program (TABLIX_DECIMAL_COMMA set) must really run under a
// locale that writes 1,5: the application adopts the environment's locale, as the program does,
// and a locale that could not be loaded would silently leave the C one.
inline void CheckDecimalCommaRun()
{
    if (!qEnvironmentVariableIsSet("TABLIX_DECIMAL_COMMA"))
        return;
    const char *point = std::localeconv()->decimal_point;
    if (std::string(point) != "," || QLocale().decimalPoint() != QStringLiteral(","))
        qFatal("decimal-comma run without a decimal-comma locale (C library \"%s\", Qt \"%s\"): "
               "is the locale generated and LOCPATH set?",
               point, qPrintable(QLocale().decimalPoint()));
}
Q_COREAPP_STARTUP_FUNCTION(CheckDecimalCommaRun)

// ---- files ----

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file the tests ship with the program.
inline QString DataFile(const QString &name)
{
    return QStringLiteral(TABLIX_DATA_DIR "/") + name;
}

// ---- parameters ----

// The shipped defaults (data/params.json), so that heights and prices are those of real signs.
inline tablix::ParameterRecord ShippedParameters()
{
    static const tablix::ParameterRecord shipped = [] {
        QString error;
        const auto record = tablix::ParametersFromJson(ReadBytes(DataFile(QStringLiteral("params.json"))), &error);
        if (!record)
            qFatal("data/params.json: %s", qPrintable(error));
        return *record;
    }();
    return shipped;
}

// Element row k gets prices 100+k / 200+k and a height of 10*(k+1) mm, values a test can read back.
inline void StepElementRows(tablix::ParameterRecord &p)
{
    for (int k = 0; k < 23; ++k) {
        p.elementRows[k].priceB.set(100 + k);
        p.elementRows[k].priceA.set(200 + k);
        p.elementRows[k].heightMm.set(10 * (k + 1));
    }
}

// ---- language tables ----

// A shipped language file, read once.
inline const tablix::LanguageTable &ShippedLanguage(const QString &file = QStringLiteral("tablix_lng.eng"))
{
    static std::map<QString, tablix::LanguageTable> tables;
    auto it = tables.find(file);
    if (it == tables.end()) {
        const tablix::LanguageLoad load = tablix::LoadLanguageFile(DataFile(file));
        if (!load.table)
            qFatal("%s: %s", qPrintable(file), qPrintable(load.error));
        it = tables.emplace(file, *load.table).first;
    }
    return it->second;
}

// Entry i reads "E<i>", so a test sees which entry a text came from; the family words and the
// untitled sign read as words.
inline tablix::LanguageTable SampleLanguage()
{
    tablix::LanguageTable t;
    for (int i = 0; i < tablix::kLanguageEntries; ++i)
        t.entries[size_t(i)] = QStringLiteral("E%1").arg(i);
    t.entries[tablix::text::kFamilyA] = QStringLiteral("Alu");
    t.entries[tablix::text::kFamilyB] = QStringLiteral("Steel");
    t.entries[tablix::text::kUntitledSign] = QStringLiteral("Sign");
    return t;
}

// The state the core tests start from: the shipped parameters, the sample language.
inline void Prepare(tablix::AppState &s)
{
    s.parameters = ShippedParameters();
    s.language = SampleLanguage();
    s.RefreshParameters();
}

// A state with the results of its current sign beside it, as a window holds them after computing.
struct ComputedState : tablix::AppState {
    tablix::EngineResults results;
};

inline void Compute(ComputedState &s)
{
    s.results = tablix::ComputeSign(s);
}

// ---- signs ----

// A sign in use with the given first row code.
inline tablix::SignRecord SignWith(std::uint8_t code, const QString &title)
{
    tablix::SignRecord r{};
    tablix::BlankSignRecord(r);
    r.rowElements[0] = code;
    r.width.set(100);
    r.setTitle(title);
    return r;
}

// ---- windows ----

#ifdef QT_WIDGETS_LIB
// The control of that name, or the test stops: a renamed control is a broken contract.
template <typename T = QAbstractButton>
T *child(const QObject *parent, const char *name)
{
    T *c = parent->findChild<T *>(QLatin1String(name));
    if (!c)
        qFatal("no %s \"%s\" in %s", T::staticMetaObject.className(), name, qPrintable(parent->objectName()));
    return c;
}

template <typename T = QAbstractButton>
T *child(const QObject *parent, const QString &name)
{
    return child<T>(parent, qPrintable(name));
}
#endif

} // namespace fixtures
