#pragma once
// Windows paths in place on a POSIX host. The wizard composes and records paths in Windows
// form ("D:\Apps\ZELMORIC\Quorvex_Plus"); this unit says where such a path lies on the host.
// The Windows root W is $WINEPREFIX when set, else ~/.wine when it exists, else a private
// root in the user's data folder, created on first use. A drive X: is W/dosdevices/x: when
// that entry exists; otherwise C: is W/drive_c and D: is the user's home folder.
//
// Windows-form texts are Windows-1252 bytes, host paths are UTF-8. Nothing here touches the
// files named, except creating the private root.

#include <string>

namespace platform {

// The special folders the wizard places shortcuts in; the values are the shell's folder ids.
enum class TSpecialFolder : int {
  Programs = 2,         // the user's Start-menu programs folder
  Desktop = 16,         // the user's desktop folder
  CommonPrograms = 23,  // the all-users Start-menu programs folder
};

// Returns the host path of the Windows root W, without a trailing "/". When neither
// $WINEPREFIX nor ~/.wine is there, creates the private root (and its drive_c) first.
// Raises EPlatformError when the private root cannot be created.
std::string WindowsRoot();

// Returns the host folder of drive `letter` (either case), without a trailing "/": the
// dosdevices entry when it exists, else W/drive_c for C:, the home folder for D:, and the
// (absent) dosdevices entry for any other letter, so that using it fails as a missing drive
// does. Raises EPlatformError when `letter` is not a letter.
std::string DriveRoot(char letter);

// Maps a Windows-form path onto the host. "X:" and "X:\..." start at DriveRoot(X); a path
// beginning with "\" starts at the root of C:; any other path stays relative to the current
// folder. Every "\" becomes "/"; bytes 0x80-0xFF are converted from Windows-1252 to UTF-8.
// A doubled separator is kept (the host accepts it as Windows does). An empty path gives "".
std::string ToHostPath(const std::string& windows_path);

// Converts a host path that lies below DriveRoot(letter) (or is that folder) into its
// Windows form: "D:\" for the root itself, "D:\Apps\Data" below it. Returns "" when the path
// is not below that drive or holds a character that Windows-1252 cannot store.
std::string ToWindowsPath(const std::string& host_path, char letter);

// Returns the Windows-form path of a special folder, under C: as Windows keeps it:
// "C:\users\<user>\Desktop", "C:\users\<user>\AppData\Roaming\Microsoft\Windows\Start
// Menu\Programs", "C:\ProgramData\Microsoft\Windows\Start Menu\Programs". <user> is the
// login name ($USER, else the password database, else "user").
std::string SpecialFolderPath(TSpecialFolder folder);

}  // namespace platform
