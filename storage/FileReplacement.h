#pragma once

#include <functional>
#include <string>

namespace orvan {

// Replaces the content of the file `path` by `bytes` so that the file is at
// every moment either wholly old or wholly new: the bytes go to a temporary
// file in the same folder, which is flushed and synced to disk and then
// renamed over `path`; the folder is synced after the rename. On any failure
// the temporary file is removed, `path` keeps its old bytes and the result is
// False with errno set. When `path` is a symbolic link, the file it names
// is replaced. An existing file its user may not write is refused (EACCES),
// as writing it in place would be; in a folder its user may not write into,
// a file the user may write is rewritten in place (not atomically: there is
// no other way).
//
// The new file gets the old file's mode without the world's access, or the
// private file mode (storage/PrivateFiles.h) when there was no old file.
bool ReplaceFileContent(const std::string& path, const std::string& bytes);

// For tests: a function run by every replacement after the temporary file is
// synced and before the rename (a test ends a child process there). An empty
// function removes it.
void SetBeforeReplaceHook(std::function<void()> hook);

} // namespace orvan
