#pragma once
// Guard against a second copy of the program in the same user's desktop session, held from its
// making (PlatformServices::takeSingleInstance) until it is destroyed.

namespace xr::platform {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;

    // True when another copy holds the guard. When the guard cannot be made at all it is not
    // held, and no copy is refused for it.
    virtual bool heldByAnother() const = 0;
};

} // namespace xr::platform
