// Reading a cut list back from the CSV file the program writes, to plan it without the project.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/workshop/cut_list.h"
#include "core/workshop/stock.h"

namespace tablix {

// Lines of profile, length in cm ("." decimals), count; further columns are ignored. The first line
// may be a header: one of `headers` (profile, length and count headings of a language). Nothing,
// and `error` says "line N: why", when a line is not such a row.
std::optional<CutList> CutListFromCsv(const QByteArray &bytes, const QList<QStringList> &headers, QString *error,
                                      const ProfileLabels &labels = {});

} // namespace tablix
