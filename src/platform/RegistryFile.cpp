#include "platform/RegistryFile.h"

#include "platform/RegistryText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace xr::platform {

namespace {

const QString kRoot = QStringLiteral("HKEY_LOCAL_MACHINE");

QString fullPath(const std::string& path)
{
    return kRoot + QLatin1Char('\\') + QString::fromStdString(path);
}

// A key of the file. Reads come from the key as it was opened; each change goes through to
// the file and, once stored, to this copy.
class RegistryFileKey final : public RegistryKey {
public:
    RegistryFileKey(RegistryFile& file, RegistryTree::Key key) : m_file(file), m_key(std::move(key)) {}

    std::optional<std::uint32_t> readDword(const std::string& name) const override
    {
        const RegistryTree::Value* value = m_key.findValue(QString::fromStdString(name));
        if (!value || value->type != RegistryTree::ValueType::Dword)
            return std::nullopt;
        return value->dword;
    }

    std::optional<std::string> readString(const std::string& name) const override
    {
        const RegistryTree::Value* value = m_key.findValue(QString::fromStdString(name));
        if (!value || value->type != RegistryTree::ValueType::String)
            return std::nullopt;
        return value->text.toStdString();
    }

    bool writeDword(const std::string& name, std::uint32_t number) override
    {
        return store({QString::fromStdString(name), RegistryTree::ValueType::Dword, number, {}});
    }

    bool writeString(const std::string& name, const std::string& text) override
    {
        return store({QString::fromStdString(name), RegistryTree::ValueType::String, 0, QString::fromStdString(text)});
    }

    bool deleteValue(const std::string& name) override
    {
        const QString valueName = QString::fromStdString(name);
        if (!m_key.findValue(valueName))
            return true;
        return change([&](RegistryTree::Key& key) { key.removeValue(valueName); });
    }

private:
    bool store(RegistryTree::Value value)
    {
        if (!isStorableText(value.name) || !isStorableText(value.text))
            return false;
        return change([&](RegistryTree::Key& key) { key.setValue(value); });
    }

    // A key deleted since it was opened takes no more changes.
    bool change(const std::function<void(RegistryTree::Key&)>& edit)
    {
        RegistryTree::Key changed;
        const bool stored = m_file.update([&](RegistryTree& tree) {
            RegistryTree::Key* key = tree.findKey(m_key.path);
            if (!key)
                return false;
            edit(*key);
            changed = *key;
            return true;
        });
        if (stored)
            m_key = std::move(changed);
        return stored;
    }

    RegistryFile& m_file;
    RegistryTree::Key m_key;
};

} // namespace

RegistryFile::RegistryFile(QString path) : m_path(std::move(path)) {}

std::unique_ptr<RegistryKey> RegistryFile::openKey(const std::string& path, bool create)
{
    const QString keyPath = fullPath(path);
    if (!isValidKeyPath(keyPath) || !fullAccess())
        return nullptr;
    std::optional<RegistryTree> tree = read();
    if (!tree)
        return nullptr;
    if (const RegistryTree::Key* key = tree->findKey(keyPath))
        return std::make_unique<RegistryFileKey>(*this, *key);
    if (!create)
        return nullptr;
    RegistryTree::Key created;
    const bool stored = update([&](RegistryTree& current) {
        created = current.ensureKey(keyPath);
        return true;
    });
    if (!stored)
        return nullptr;
    return std::make_unique<RegistryFileKey>(*this, std::move(created));
}

bool RegistryFile::deleteKey(const std::string& path)
{
    const QString keyPath = fullPath(path);
    if (!isValidKeyPath(keyPath))
        return false;
    const std::optional<RegistryTree> tree = read();
    if (!tree)
        return false;
    if (!tree->findKey(keyPath))
        return true;
    return update([&](RegistryTree& current) {
        current.removeTree(keyPath);
        return true;
    });
}

std::optional<RegistryTree> RegistryFile::read() const
{
    QFile file(m_path);
    if (!file.exists())
        return RegistryTree();
    if (!file.open(QIODevice::ReadOnly)) {
        warnOnce(QStringLiteral("无法读取"));
        return std::nullopt;
    }
    RegistryTextRead read = parseRegistryText(file.readAll());
    for (const QString& note : read.notes)
        warnOnce(read.tree ? note : note + QStringLiteral("，整个文件无法读取，使用默认设置，文件不作改动"));
    return std::move(read.tree);
}

// Standard error hears of each problem of the file once in a run, however often it is read.
void RegistryFile::warnOnce(const QString& problem) const
{
    if (m_warned.contains(problem))
        return;
    m_warned.append(problem);
    std::fprintf(stderr, "%s\n", qUtf8Printable(QStringLiteral("设置文件 %1：%2").arg(m_path, problem)));
}

bool RegistryFile::update(const std::function<bool(RegistryTree&)>& change)
{
    if (!fullAccess())
        return false;
    std::optional<RegistryTree> tree = read();
    if (!tree || !change(*tree))
        return false;
    const QByteArray text = formatRegistryText(*tree);
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

// Read and write access to the file, and a folder that can take its replacement.
bool RegistryFile::fullAccess() const
{
    const QFileInfo file(m_path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return false;
    return !file.exists() || (file.isFile() && file.isReadable() && file.isWritable());
}

QString defaultRegistryPath(const QString& programFolder)
{
    const QString chosen = qEnvironmentVariable("XARVANE_REGISTRY");
    if (!chosen.isEmpty())
        return chosen;
    return QDir(programFolder).filePath(QStringLiteral("Xarvane.reg"));
}

} // namespace xr::platform
