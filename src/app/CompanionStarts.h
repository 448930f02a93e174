#pragma once
// The companion programs after a sign-in: a sign-in that asks for them starts them.

namespace xr {

struct AppContext;
class TwinLogin;
namespace platform {
class FileOpener;
} // namespace platform

// A sign-in that asks for the companion programs starts them with `opener`.
void connectCompanionStarts(AppContext& context, TwinLogin& winLogin, platform::FileOpener& opener);

} // namespace xr
