#pragma once
// Conversion of text to and from the GBK code page (936), in which the program's byte-counted
// texts are held (the dot-matrix captions, the companion program list) and in which a Chinese
// system writes its settings exports.

#include <optional>
#include <string>

namespace xr::platform {

// The GBK bytes of UTF-8 text. A character that GBK cannot hold, and every malformed UTF-8
// sequence, becomes one '?', as the system's own code-page conversion does.
std::string toGbk(const std::string& utf8);
// The UTF-8 text of GBK bytes. A byte sequence that GBK does not define becomes one '?'.
std::string fromGbk(const std::string& gbk);

// The UTF-8 text of GBK bytes; nothing when the bytes are not GBK text.
std::optional<std::string> exactFromGbk(const std::string& gbk);
// The GBK bytes of UTF-8 text; nothing when GBK cannot hold all of it.
std::optional<std::string> exactToGbk(const std::string& utf8);

} // namespace xr::platform
