// Controls carry their form names as object names, so that tests and the windows find them.
#pragma once

#include <QString>
#include <QWidget>
#include <utility>

namespace tablix {

// The one way a window makes a named control: a new control of the given form name ("BitBtn1", or
// QStringLiteral("Button%1").arg(row) for numbered ones); further constructor arguments come before
// the parent.
template <typename Control, typename... Args>
Control *Named(QWidget *parent, const QString &name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(name);
    return control;
}

} // namespace tablix
