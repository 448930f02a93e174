#pragma once
// Building a window's controls: each gets its stable object name, and a label names its buddy.

#include <QLabel>
#include <QString>

namespace xr {

template <class Control> Control* named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A new control of `parent`, named `name`.
template <class Control> Control* makeNamed(QWidget* parent, const QString& name)
{
    auto* control = new Control(parent);
    control->setObjectName(name);
    return control;
}

inline QLabel* labelFor(const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    return label;
}

} // namespace xr
