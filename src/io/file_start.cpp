// The non-blocking read behind the save file and the picture loader.
#include "io/file_start.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vern {

int ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes, long long& size) {
    bytes.clear();
    size = 0;
    // Anything but a regular file is refused before it is opened (opening a device can do
    // things of its own); O_NONBLOCK in case one took the file's place since.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) return errno;
    if (S_ISDIR(before.st_mode)) return EISDIR;
    if (!S_ISREG(before.st_mode)) return ENODEV;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return errno;
    struct stat st {};
    int err = 0;
    if (::fstat(fd, &st) != 0)
        err = errno;
    else if (S_ISDIR(st.st_mode))
        err = EISDIR;
    else if (!S_ISREG(st.st_mode))
        err = ENODEV;
    bytes.assign(err ? 0 : limit, '\0');
    std::size_t done = 0;
    while (!err && done < limit) {
        const ssize_t n = ::read(fd, bytes.data() + done, limit - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    size = st.st_size;
    return err;
}

} // namespace vern
