#include "platform/file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/posix/unique_fd.h"

namespace platform {
namespace {

using posix::UniqueFd;

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A temporary file that is removed again unless it was renamed into place.
class TempFile {
  public:
    TempFile(std::string path, UniqueFd fd) : path_(std::move(path)), fd_(std::move(fd)) {}
    ~TempFile() {
        fd_.reset();
        if (!committed_) {
            ::unlink(path_.c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_.get(); }
    bool close() { return fd_.close(); }
    bool renameTo(const std::string& target) {
        committed_ = ::rename(path_.c_str(), target.c_str()) == 0;
        return committed_;
    }

  private:
    std::string path_;
    UniqueFd fd_;
    bool committed_ = false;
};

std::optional<TempFile> CreateTempBeside(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    static std::atomic<unsigned> counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = folder + "/." + name + "." + std::to_string(::getpid()) + "." +
                                 std::to_string(++counter) + ".tmp";
        // 0666 lets the umask decide a new file's permissions, as for any new file.
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.valid()) {
            return std::optional<TempFile>(std::in_place, path, std::move(fd));
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The file that a save replaces: the target of a symbolic link rather than
// the link, so that the link survives the rename.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

void SyncFolderOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
}

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // O_NONBLOCK: a FIFO in the file's place must not hang the read; for a
    // regular file it changes nothing.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return (errno == ENOENT || errno == ENOTDIR) ? FileReadResult::kMissing
                                                     : FileReadResult::kFailed;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return FileReadResult::kFailed;
    }
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            bytes.clear();
            return FileReadResult::kFailed;
        }
        if (got == 0) {
            return FileReadResult::kRead;
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

bool ReplaceFile(const std::string& path, std::string_view bytes) {
    const std::string target = ResolveTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists &&
        (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
        // A file its owner made read-only stays as it is, as a write in place would.
        return false;
    }
    auto temp = CreateTempBeside(target);
    if (!temp || !WriteAll(temp->fd(), bytes)) {
        return false;
    }
    if (exists) {
        // Only the owner or root can hand the file back; otherwise it stays ours.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(temp->fd(), old.st_uid, old.st_gid);
        }
        // After fchown, which may clear set-id bits.
        if (::fchmod(temp->fd(), old.st_mode & 07777) != 0) {
            return false;
        }
    }
    if (::fsync(temp->fd()) != 0 || !temp->close() || !temp->renameTo(target)) {
        return false;
    }
    SyncFolderOf(target);
    return true;
}

}  // namespace platform
