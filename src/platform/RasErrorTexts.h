#pragma once
// The Chinese texts of the dial-up service's own result codes, shared by the back-ends that
// answer with them.

#include <cstdint>
#include <string>

namespace xr::platform {

// Sets `text` and answers true when `code` is one of the service's codes.
bool rasErrorText(std::uint32_t code, std::string& text);

} // namespace xr::platform
