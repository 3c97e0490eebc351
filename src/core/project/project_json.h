// A project (the twenty sign records) as JSON for people and scripts; dump and load give back the file byte for byte.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

#include "core/project/sign_record.h"

namespace tablix {

// {"signs": [...]}: one object per slot that differs from a blank new sign (title empty,
// layout 4, sign type 1, everything else 0); slots left out are such blank signs. Field names
// follow SignRecord. Row lists stop at their last non-zero entry; the rest is 0. The title is
// text; when the text cannot give back the stored bytes (bytes after the title, a length over
// 20) "titleBytes" holds all 21 bytes in hexadecimal. Numbers are the exact values of their
// 6-byte reals; a zero stored with stray bytes also comes as "<name>Bytes".
QJsonObject ProjectToJsonObject(const SignSlotArray &signs);
// Indented, one field per line, each number written with the fewest digits that give back
// its 6-byte real.
QByteArray ProjectToJson(const SignSlotArray &signs);

// A missing or ill-typed field gives an error naming it, e.g. `field "signs[2].width" is missing`.
std::optional<SignSlotArray> ProjectFromJsonObject(const QJsonObject &root, QString *error);
// As above; text that is not a JSON object gives the error of JsonObjectFrom.
std::optional<SignSlotArray> ProjectFromJson(const QByteArray &json, QString *error);

// The record a slot left out of the JSON stands for.
SignRecord BlankSlotRecord();

} // namespace tablix
