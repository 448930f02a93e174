#pragma once
// The content of a registry file: keys in file order, each with its values in file order.
// Key paths are full paths with their root ("HKEY_LOCAL_MACHINE\SOFTWARE\..."); key paths and
// value names compare without regard to letter case, as the registry's do.

#include <QString>

#include <vector>

namespace xr::platform {

class RegistryTree {
public:
    // Raw stands for every type the program does not use (hex:..., hex(n):...); such a value
    // is kept exactly as written.
    enum class ValueType { Dword, String, Raw };

    struct Value {
        QString name; // empty for the key's default value
        ValueType type = ValueType::String;
        quint32 dword = 0;
        QString text; // the string, or the raw data text
    };

    struct Key {
        QString path;
        std::vector<Value> values;
        // Lines of the key's section that are no value of ours (comments, lines that could not
        // be read), kept as written so that rewriting the file loses nothing.
        std::vector<QString> keptLines;

        const Value* findValue(const QString& name) const;
        // Replaces the value of the same name in place, keeping that name's spelling, or
        // appends it.
        void setValue(Value value);
        void removeValue(const QString& name);
    };

    const std::vector<Key>& keys() const { return m_keys; }
    // Lines between the header and the first key, kept as written.
    std::vector<QString>& leadingLines() { return m_leadingLines; }
    const std::vector<QString>& leadingLines() const { return m_leadingLines; }
    const Key* findKey(const QString& path) const;
    Key* findKey(const QString& path);
    // The key, created with its missing ancestors (but not the root) when absent; a new key
    // goes right after its parent's sub-tree.
    Key& ensureKey(const QString& path);
    // Removes the key and every key below it.
    void removeTree(const QString& path);

private:
    std::vector<Key> m_keys;
    std::vector<QString> m_leadingLines;
};

} // namespace xr::platform
