// The font dialog of the report and the summary: fixed-pitch fonts, opened on the font in use.
#pragma once

#include <QFont>
#include <QString>
#include <optional>

class QFontDialog;
class QWidget;

namespace tablix {

// The font as the dialog can show it: the family and style really drawn, in points.
QFont FontAsListed(const QFont &current);

// Asks for a fixed-pitch font, opened on `current`; `current` itself when the user confirms
// without a change, nothing when cancelled.
std::optional<QFont> ChooseFixedPitchFont(QWidget *parent, const QFont &current, const QString &title);

} // namespace tablix
