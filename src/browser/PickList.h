#pragma once
// The items of a drop-down list of the query panel and the chosen one (-1: none chosen).

#include <QString>
#include <QStringList>

namespace xr {

struct PickList {
    QStringList items;
    int index = -1;

    // The chosen item's text; empty when none is chosen.
    QString text() const { return items.value(index); }
    bool lastChosen() const { return !items.isEmpty() && index == items.size() - 1; }
    // Chooses the item equal to `item`, or none when no item equals it.
    void choose(const QString& item) { index = static_cast<int>(items.indexOf(item)); }
};

} // namespace xr
