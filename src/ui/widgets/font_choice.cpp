// The font dialog of the report and the summary: fixed-pitch fonts, opened on the font in use.
#include "ui/widgets/font_choice.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>

namespace tablix {

QFont FontAsListed(const QFont &current)
{
    // A family list or a style the dialog does not list ("Normal" where the font says "Book")
    // would make it select another entry, and OK would change the font.
    const QFontInfo drawn(current);
    QFont listed = QFontDatabase::font(drawn.family(), drawn.styleName(), 0);
    listed.setFamily(drawn.family());
    listed.setStyleName(drawn.styleName());
    listed.setPointSizeF(drawn.pointSizeF());
    listed.setUnderline(current.underline());
    listed.setStrikeOut(current.strikeOut());
    return listed;
}

std::optional<QFont> ChooseFixedPitchFont(QWidget *parent, const QFont &current, const QString &title)
{
    QFontDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("FontDialog1"));
    dialog.setOptions(QFontDialog::MonospacedFonts);
    dialog.setCurrentFont(FontAsListed(current));
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    const QFont opened = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    return chosen == opened ? current : chosen;
}

} // namespace tablix
