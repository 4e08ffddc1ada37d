// Reading the start of a file that the player may have replaced by anything: a pipe or a
// device is refused before a byte is read, so the game never waits on one.
#pragma once

#include <cstddef>
#include <string>

namespace vern {

// Reads at most `limit` bytes from the start of the regular file at path into bytes and its
// whole size into size. Returns 0, or the errno of the failure: the open's own (ENOENT …),
// EISDIR for a folder, ENODEV for anything else that is not a regular file, the read's own.
int ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes, long long& size);

} // namespace vern
