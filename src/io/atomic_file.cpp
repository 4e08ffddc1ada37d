// The temporary file, the flush and the rename behind every file the game writes.
#include "io/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vern {

namespace {

// A temporary name beside path that no other process and no other write of this one uses.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

void SyncFolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

int ReplaceFile(const std::string& path, const std::string& bytes, mode_t mode) {
    static const bool fileSizeSignalIgnored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)fileSizeSignalIgnored;
    const std::string temp = TemporaryName(path);
    // O_EXCL and O_NOFOLLOW: a fresh regular file of our own, never anything planted there.
    const int fd = ::open(temp.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, mode);
    if (fd < 0) return errno;
    const auto fail = [&](bool open) {
        const int err = errno;
        if (open) ::close(fd);
        ::unlink(temp.c_str());
        return err;
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return fail(true);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(true);
    if (::close(fd) != 0) return fail(false);
    if (::rename(temp.c_str(), path.c_str()) != 0) return fail(false);
    // Make the rename itself durable; the new file is in place whatever this says.
    SyncFolderOf(path);
    return 0;
}

std::string WritableTarget(const std::string& path, int& err) {
    err = 0;
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0) {
        if (errno == ENOENT) return path; // a new file
        err = errno;
        return "";
    }
    if (S_ISREG(link.st_mode)) return path;
    if (!S_ISLNK(link.st_mode)) {
        err = S_ISDIR(link.st_mode) ? EISDIR : ENODEV;
        return "";
    }
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0) {
        err = errno; // ENOENT for a dangling link, ELOOP for a loop
        return "";
    }
    if (!S_ISREG(target.st_mode)) {
        err = S_ISDIR(target.st_mode) ? EISDIR : ENODEV;
        return "";
    }
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) {
        err = errno;
        return "";
    }
    std::string resolved(real);
    std::free(real);
    return resolved;
}

int RemoveStaleTemporaries(const std::string& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec), end;
    int removed = 0;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // NAME.dat.PID-N.tmp
        const std::size_t dat = name.find(".dat.");
        if (dat == std::string::npos || name.size() < 4 || name.compare(name.size() - 4, 4, ".tmp"))
            continue;
        const std::string tag = name.substr(dat + 5, name.size() - 4 - dat - 5);
        const std::size_t dash = tag.find('-');
        if (dash == 0 || dash == std::string::npos || dash + 1 == tag.size() ||
            tag.find_first_not_of("0123456789-") != std::string::npos ||
            tag.find('-', dash + 1) != std::string::npos || dash > 10)
            continue;
        const long pid = std::strtol(tag.substr(0, dash).c_str(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

} // namespace vern
