#include "platform/PppPeerFolder.h"

#include "platform/PppOptionWords.h"
#include "platform/PppPeer.h"
#include "platform/PppSecrets.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace xr::platform {

namespace fs = std::filesystem;

std::string readTextFile(const std::string& path, int& error)
{
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = errno != 0 ? errno : ENOENT;
        return {};
    }
    std::ostringstream text;
    text << file.rdbuf();
    error = 0;
    return text.str();
}

bool isPeerFileName(const std::string& name)
{
    static constexpr std::array<const char*, 10> BackupEndings = {
        "~", ".bak", ".old", ".orig", ".swp", ".dpkg-old", ".dpkg-new", ".dpkg-dist", ".rpmnew", ".rpmsave"};
    if (name.empty() || name.front() == '.' || name.front() == '#')
        return false;
    return std::none_of(BackupEndings.begin(), BackupEndings.end(),
                        [&](const char* ending) { return name.ends_with(ending); });
}

std::uint32_t PppPeerFolder::peerNames(std::vector<std::string>& names) const
{
    names.clear();
    std::error_code error;
    if (fs::status(m_locations.peers, error).type() == fs::file_type::not_found)
        return ras::Success;
    fs::directory_iterator it(m_locations.peers, error);
    if (error)
        return ras::ErrorCannotOpenPhonebook;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (isPeerFileName(name) && it->is_regular_file(error))
            names.push_back(name);
    }
    if (error)
        return ras::ErrorCannotOpenPhonebook;
    std::sort(names.begin(), names.end());
    return ras::Success;
}

std::uint32_t PppPeerFolder::readPeer(const std::string& name, std::string& optionsText) const
{
    if (!isPeerFileName(name) || name.find('/') != std::string::npos)
        return ras::ErrorCannotFindPhonebookEntry;
    int error = 0;
    optionsText = readTextFile((fs::path(m_locations.peers) / name).string(), error);
    if (error == ENOENT || error == ENOTDIR || error == EISDIR)
        return ras::ErrorCannotFindPhonebookEntry;
    return error == 0 ? ras::Success : ras::ErrorCannotOpenPhonebook;
}

std::uint32_t PppPeerFolder::dialParams(const std::string& name, RasDialParams& params) const
{
    std::string text;
    if (const std::uint32_t result = readPeer(name, text); result != ras::Success)
        return result;
    const PppPeer peer = parsePppPeer(optionWords(text));
    params = RasDialParams{name, phoneNumber(peer), {}, peer.user, password(peer), {}};
    return ras::Success;
}

std::string PppPeerFolder::deviceType(const std::string& name) const
{
    std::string text;
    readPeer(name, text);
    return parsePppPeer(optionWords(text)).deviceType();
}

std::string PppPeerFolder::password(const PppPeer& peer) const
{
    if (peer.password)
        return *peer.password;
    if (peer.user.empty())
        return {};
    bool hidden = false;
    for (const char* file : {"chap-secrets", "pap-secrets"}) {
        int error = 0;
        const std::string text = readTextFile((fs::path(m_locations.secrets) / file).string(), error);
        if (const auto secret = findPppSecret(text, peer.user, peer.remoteName))
            return *secret;
        hidden = hidden || (error != 0 && error != ENOENT);
    }
    return hidden ? HiddenPassword : "";
}

std::string PppPeerFolder::phoneNumber(const PppPeer& peer) const
{
    const ChatSource source = chatSource(peer.connect);
    if (source.scriptFile.empty())
        return chatPhoneNumber(source.inlineWords, source.telephone);
    int error = 0;
    const std::string script = readTextFile(source.scriptFile, error);
    return chatPhoneNumber(optionWords(script, Backslash::Kept), source.telephone);
}

} // namespace xr::platform
