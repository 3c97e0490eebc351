// The parameter record as JSON for people and scripts; dump and load give back the record byte for byte.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

#include "core/params/parameters.h"

namespace tablix {

// Numbers are the shortest decimals that read back as the same 6-byte reals; a name the plain text cannot reproduce
// byte for byte (bytes after the name, a length over 15) also comes as "languageFileNameBytes".
QJsonObject ParametersToJsonObject(const ParameterRecord &p);
// One field per line, numbers as JsonNumberReal48 writes them.
QByteArray ParametersToJson(const ParameterRecord &p);

// A missing or ill-typed field gives an error naming it, e.g. `field "costItem7" is missing`.
std::optional<ParameterRecord> ParametersFromJsonObject(const QJsonObject &root, QString *error);
// As above; text that is not a JSON object gives the error of JsonObjectFrom.
std::optional<ParameterRecord> ParametersFromJson(const QByteArray &json, QString *error);

// Helpers for the hand-formatted JSON of the tool, independent of the C locale.
QByteArray JsonNumber17(long double value); // what printf's %.17g writes in the C locale
// The shortest decimal that a JSON reader, storing it as a 6-byte real, turns back into the bytes of
// this value (1.2, not 1.2000000000007276); plain notation between 1e-5 and 1e15, else with an exponent.
QByteArray JsonNumberReal48(long double value);
QByteArray JsonQuoted(const QString &text);  // a JSON string, UTF-8, control characters escaped
// The object a JSON text holds. Invalid JSON gives "invalid JSON at line L, column C: expected ...",
// a list or other value "expected a JSON object ..., found ...".
std::optional<QJsonObject> JsonObjectFrom(const QByteArray &json, QString *error);

} // namespace tablix
