// Text from files shown on a terminal or in a line-based output: control characters made visible.
#include "core/number/escaped_text.h"

namespace tablix {

QString EscapedControls(const QString &text, bool backslashes)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' && backslashes)
            out += QStringLiteral("\\\\");
        else if (u == u'\t')
            out += QStringLiteral("\\t");
        else if (u == u'\n')
            out += QStringLiteral("\\n");
        else if (u == u'\r')
            out += QStringLiteral("\\r");
        else if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            out += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace tablix
