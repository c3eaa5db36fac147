#pragma once
// Where a path the engines hold (Windows-1252 bytes, possibly in Windows form with a drive
// letter and "\" separators) lies on the host. Every file service of this folder resolves
// its path argument through HostPath, so the engines and the wizard keep Windows-form paths
// in what they store and display.

#include <string>
#include <string_view>

namespace platform {

// The host path (UTF-8) of an engine path (Windows-1252). A path with a drive letter goes
// through the Windows-root mapping; "\" becomes "/"; other paths are taken as they are.
std::string HostPath(std::string_view ansi_path);

}  // namespace platform
