#pragma once

#include <sys/types.h>

#include <string>

namespace orvan {

// The installation's folders and files hold personal data (pay rates, social
// security numbers, passwords), so they are open to their owner and the
// owner's group only: folders rwxrwx---, files rw-rw----, whatever the umask.
// Operating-system users who share an installation share it through the
// group.

inline constexpr mode_t PrivateFolderMode = 0770;
inline constexpr mode_t PrivateFileMode = 0660;

// Creates the folder `path` (its parent must exist) with PrivateFolderMode.
// An existing folder is left as it is. False, with errno set, on failure.
bool MakePrivateFolder(const std::string& path);

// Opens `path` with open(2) `flags`, creating it when missing (O_CREAT is
// added): a file made here gets PrivateFileMode, an existing one loses the
// world's access. The descriptor, or -1 with errno set.
int OpenPrivateFile(const std::string& path, int flags);

// Creates `path` as an empty file with PrivateFileMode; it must not exist.
// False, with errno set, on failure.
bool CreatePrivateFile(const std::string& path);

// Takes the world's access away from the file or folder `path` (not
// following a symbolic link), keeping the owner's and the group's. True when
// its mode changed.
bool TakeWorldAccess(const std::string& path);

// True when the file or folder `path` (not following a symbolic link) is
// open to users outside its owner and group.
bool OpenToOthers(const std::string& path);

// Takes the world's access away from the system, reports and backups
// folders under the installation folder `folder` and from everything in
// them. True when anything changed.
bool MakeInstallationPrivate(const std::string& folder);

} // namespace orvan
