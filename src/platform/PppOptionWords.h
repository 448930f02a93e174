#pragma once
// Splits the text of pppd's configuration files (peer options, secrets, chat scripts) into
// words the way pppd reads them: blanks separate words, quotes group them, `#` at the start of
// a word comments out the rest of the line.

#include <string>
#include <string_view>
#include <vector>

namespace xr::platform {

enum class Backslash {
    Escapes, // a backslash takes the next character literally (options and secrets files)
    Kept,    // backslashes stay in the word (chat scripts give them their own meaning)
};

// The words of each non-empty line, in order.
std::vector<std::vector<std::string>> optionLines(std::string_view text,
                                                  Backslash backslash = Backslash::Escapes);

// All words of the text, lines joined.
std::vector<std::string> optionWords(std::string_view text, Backslash backslash = Backslash::Escapes);

} // namespace xr::platform
