#include "platform/PppOptionWords.h"

namespace xr::platform {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// Reads one line's words from `pos`; leaves `pos` after the line's end.
std::vector<std::string> lineWords(std::string_view text, std::size_t& pos, Backslash backslash)
{
    std::vector<std::string> words;
    while (pos < text.size() && text[pos] != '\n') {
        if (isBlank(text[pos])) {
            ++pos;
            continue;
        }
        if (text[pos] == '#') {
            while (pos < text.size() && text[pos] != '\n')
                ++pos;
            break;
        }
        std::string word;
        char quote = 0;
        for (; pos < text.size() && text[pos] != '\n'; ++pos) {
            const char c = text[pos];
            if (quote == 0 && isBlank(c))
                break;
            if (c == '\\' && pos + 1 < text.size() && text[pos + 1] != '\n') {
                if (backslash == Backslash::Kept)
                    word += c;
                word += text[++pos];
            } else if (quote == 0 && (c == '"' || c == '\'')) {
                quote = c;
            } else if (c == quote) {
                quote = 0;
            } else {
                word += c;
            }
        }
        words.push_back(std::move(word));
    }
    if (pos < text.size())
        ++pos;
    return words;
}

} // namespace

std::vector<std::vector<std::string>> optionLines(std::string_view text, Backslash backslash)
{
    std::vector<std::vector<std::string>> lines;
    std::size_t pos = 0;
    while (pos < text.size())
        if (std::vector<std::string> words = lineWords(text, pos, backslash); !words.empty())
            lines.push_back(std::move(words));
    return lines;
}

std::vector<std::string> optionWords(std::string_view text, Backslash backslash)
{
    std::vector<std::string> words;
    for (std::vector<std::string>& line : optionLines(text, backslash))
        words.insert(words.end(), std::make_move_iterator(line.begin()), std::make_move_iterator(line.end()));
    return words;
}

} // namespace xr::platform
