#pragma once
// A registry file in a fresh folder, with the dial-up service and the message boxes that the
// settings load may use.

#include "FakeRemoteAccess.h"
#include "RegistryFileFixture.h"
#include "ScriptedPrompter.h"

namespace xr::test {

class SettingsFixture : public RegistryFileFixture {
protected:
    // A file holding the settings key with these value lines.
    void writeSettingsKey(const QByteArray& valueLines) const
    {
        writeFile("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n" + valueLines);
    }

    void addPhonebookEntry(const std::string& name) { m_remoteAccess.phonebook.push_back({name, "", "", "", "", ""}); }

    FakeRemoteAccess m_remoteAccess;
    ScriptedPrompter m_prompter;
};

} // namespace xr::test
