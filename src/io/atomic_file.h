// Writing a file of the player's own (a save, the settings) so that it is always whole: the
// bytes go to a temporary file of this process's own beside it, are flushed to the disk and only
// then renamed over it. Two copies of the game writing the same file at once each write their
// own temporary file; the last rename wins, with a whole file.
#pragma once

#include <string>
#include <sys/types.h>

namespace vern {

// Replaces the file at path by bytes. Returns 0, or the errno of the first failure; the old
// file is untouched unless the rename happened. A file over the process's size limit fails
// like a full disk (EFBIG), never with a signal.
int ReplaceFile(const std::string& path, const std::string& bytes, mode_t mode = 0644);

// The file to write when a player's file is kept at path: path itself when nothing is there or
// a regular file is; through a symbolic link, the regular file it leads to (written through, as
// players who keep their dotfiles elsewhere expect). Empty, with the reason in err, for
// anything else: a folder (EISDIR), a pipe or a device, or a link to one (ENODEV), a dangling
// link (ENOENT), a loop (ELOOP).
std::string WritableTarget(const std::string& path, int& err);

// Removes from folder the temporary files a copy of the game left when it was killed mid-write:
// "NAME.dat.PID-N.tmp" whose process is gone. A file of a copy still running, or any other
// file, stays. Returns how many went.
int RemoveStaleTemporaries(const std::string& folder);

} // namespace vern
