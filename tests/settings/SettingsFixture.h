#pragma once
// A registry file in a fresh folder, with the dial-up service and the message boxes that the
// settings load may use.

#include "platform/RegistryFile.h"

#include "FakeRemoteAccess.h"
#include "ScriptedPrompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace xr::test {

class SettingsFixture : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Xarvane.reg")); }

    void writeFile(const QByteArray& bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray fileBytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A file holding the settings key with these value lines.
    void writeSettingsKey(const QByteArray& valueLines) const
    {
        writeFile("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n" + valueLines);
    }

    void addPhonebookEntry(const std::string& name) { m_remoteAccess.phonebook.push_back({name, "", "", "", "", ""}); }

    QTemporaryDir m_dir;
    platform::RegistryFile m_registry{path()};
    FakeRemoteAccess m_remoteAccess;
    ScriptedPrompter m_prompter;
};

} // namespace xr::test
