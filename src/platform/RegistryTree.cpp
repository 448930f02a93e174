#include "platform/RegistryTree.h"

#include <algorithm>

namespace xr::platform {

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isBelow(const QString& path, const QString& ancestor)
{
    return path.size() > ancestor.size() && path.at(ancestor.size()) == QLatin1Char('\\') &&
           path.startsWith(ancestor, Qt::CaseInsensitive);
}

} // namespace

const RegistryTree::Value* RegistryTree::Key::findValue(const QString& name) const
{
    auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) { return sameName(v.name, name); });
    return it == values.end() ? nullptr : &*it;
}

void RegistryTree::Key::setValue(Value value)
{
    auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) { return sameName(v.name, value.name); });
    if (it == values.end()) {
        values.push_back(std::move(value));
        return;
    }
    value.name = it->name; // the name keeps its first spelling
    *it = std::move(value);
}

void RegistryTree::Key::removeValue(const QString& name)
{
    std::erase_if(values, [&](const Value& v) { return sameName(v.name, name); });
}

const RegistryTree::Key* RegistryTree::findKey(const QString& path) const
{
    auto it = std::find_if(m_keys.begin(), m_keys.end(), [&](const Key& k) { return sameName(k.path, path); });
    return it == m_keys.end() ? nullptr : &*it;
}

RegistryTree::Key* RegistryTree::findKey(const QString& path)
{
    return const_cast<Key*>(std::as_const(*this).findKey(path));
}

RegistryTree::Key& RegistryTree::ensureKey(const QString& path)
{
    if (Key* key = findKey(path))
        return *key;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('\\'));
    if (cut <= 0) {
        m_keys.push_back(Key{path, {}, {}});
        return m_keys.back();
    }
    // A root exists without a section of its own; below it, the new key takes its parent's
    // spelling for the part they share.
    QString parent = path.left(cut);
    if (parent.contains(QLatin1Char('\\')))
        parent = ensureKey(parent).path;
    const auto last = std::find_if(m_keys.rbegin(), m_keys.rend(),
                                   [&](const Key& k) { return sameName(k.path, parent) || isBelow(k.path, parent); });
    const auto position = last == m_keys.rend() ? m_keys.end() : last.base();
    return *m_keys.insert(position, Key{parent + path.mid(cut), {}, {}});
}

void RegistryTree::removeTree(const QString& path)
{
    std::erase_if(m_keys, [&](const Key& k) { return sameName(k.path, path) || isBelow(k.path, path); });
}

} // namespace xr::platform
