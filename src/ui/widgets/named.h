// Controls carry their form names as object names, so that tests and the windows find them.
#pragma once

#include <QLatin1String>
#include <QWidget>
#include <utility>

namespace tablix {

// A new widget of the given form name; further constructor arguments come before the parent.
template <typename Widget, typename... Args>
Widget *Named(QWidget *parent, const char *name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace tablix
