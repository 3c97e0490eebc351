// The pictures of the four layouts, drawn at the size they are shown.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

#include "core/project/sign_kinds.h"

namespace tablix {

struct LanguageTable;

inline constexpr QSize kLayoutPictureSize(90, 60);

// Layout 1: family A in a closed frame; 2: family A between two side posts; 3 and 4 the same for
// family B. Anything else gives an empty picture.
QPixmap LayoutPicture(int layout, QSize size = kLayoutPictureSize, qreal devicePixelRatio = 1.0);

// What a layout's picture shows, in words: the frame or the posts, and the profile family.
QString LayoutToolTip(const LanguageTable &language, Layout layout);

} // namespace tablix
