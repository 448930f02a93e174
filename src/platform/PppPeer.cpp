#include "platform/PppPeer.h"

#include "platform/PppOptionWords.h"

#include <algorithm>
#include <cctype>

namespace xr::platform {

namespace {

bool mentionsPppoe(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text.find("pppoe") != std::string::npos;
}

// chat's options that take a value; the conversation starts after the options.
bool chatOptionTakesValue(const std::string& option)
{
    return option == "-f" || option == "-t" || option == "-r" || option == "-T" || option == "-U";
}

} // namespace

PppPeer parsePppPeer(const std::vector<std::string>& words)
{
    PppPeer peer;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& option = words[i];
        const bool hasValue = i + 1 < words.size();
        if (option == "user" && hasValue)
            peer.user = words[++i];
        else if (option == "remotename" && hasValue)
            peer.remoteName = words[++i];
        else if (option == "password" && hasValue)
            peer.password = words[++i];
        else if (option == "connect" && hasValue)
            peer.connect = words[++i];
        else if ((option == "plugin" || option == "pty") && hasValue)
            peer.pppoe = peer.pppoe || mentionsPppoe(words[++i]);
        else if (option.starts_with("nic-") || option == "pppoe")
            peer.pppoe = true;
    }
    return peer;
}

ChatSource chatSource(const std::string& connectCommand)
{
    const std::vector<std::string> words = optionWords(connectCommand, Backslash::Kept);
    ChatSource source;
    // The conversation's options follow the chat program (which may come after `exec`).
    auto program = std::find_if(words.begin(), words.end(), [](const std::string& word) {
        return word == "chat" || word.ends_with("/chat");
    });
    if (program == words.end())
        return source;
    std::size_t i = static_cast<std::size_t>(program - words.begin()) + 1;
    for (; i < words.size() && words[i].size() > 1 && words[i][0] == '-'; ++i) {
        if (!chatOptionTakesValue(words[i]) || i + 1 >= words.size())
            continue;
        if (words[i] == "-f")
            source.scriptFile = words[i + 1];
        else if (words[i] == "-T")
            source.telephone = words[i + 1];
        ++i;
    }
    source.inlineWords.assign(words.begin() + static_cast<std::ptrdiff_t>(std::min(i, words.size())),
                              words.end());
    return source;
}

std::string chatPhoneNumber(const std::vector<std::string>& chatWords, const std::string& telephone)
{
    for (const std::string& word : chatWords) {
        std::string upper = word;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return std::toupper(c); });
        const std::size_t at = upper.find("ATD");
        if (at == std::string::npos)
            continue;
        std::string number = word.substr(at + 3);
        if (!number.empty() && (number[0] == 'T' || number[0] == 't' || number[0] == 'P' || number[0] == 'p'))
            number.erase(0, 1);
        return number == "\\T" ? telephone : number;
    }
    return {};
}

} // namespace xr::platform
