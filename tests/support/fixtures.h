// Small builders shared by the core tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <clocale>
#include <QString>

#include "core/project/app_state.h"
#include "core/params/language_entries.h"

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
    std::setlocale(LC_NUMERIC, "C"); // the application adopts the user's locale
}

// Element row k gets prices 100+k / 200+k and a height of 10*(k+1) mm.
inline tablix::ParameterRecord SampleParameters()
{
    tablix::ParameterRecord p{};
    for (int k = 0; k < 23; ++k) {
        p.elementRows[k].priceB.set(100 + k);
        p.elementRows[k].priceA.set(200 + k);
        p.elementRows[k].heightMm.set(10 * (k + 1));
    }
    p.markupPercent1.set(20);
    p.areaBandLimit1.set(0.5L);
    p.setLanguageFile(QStringLiteral("tablix_lng.eng"));
    return p;
}

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

inline void Prepare(tablix::AppState &s)
{
    s.parameters = SampleParameters();
    s.language = SampleLanguage();
    s.RefreshParameters();
}

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

inline void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace fixtures
