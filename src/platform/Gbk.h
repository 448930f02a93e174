#pragma once
// Conversion of text to the GBK code page (936), in which the program's byte-counted texts are
// held: the dot-matrix captions and the companion program list.

#include <string>

namespace xr::platform {

// The GBK bytes of UTF-8 text. A character that GBK cannot hold, and every malformed UTF-8
// sequence, becomes one '?', as the system's own code-page conversion does.
std::string toGbk(const std::string& utf8);
// The UTF-8 text of GBK bytes. A byte sequence that GBK does not define becomes one '?'.
std::string fromGbk(const std::string& gbk);

} // namespace xr::platform
