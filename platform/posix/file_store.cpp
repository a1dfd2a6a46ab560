#include "platform/file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/posix/temp_file.h"
#include "platform/posix/unique_fd.h"

namespace platform {
namespace {

using posix::TempFile;
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

enum class Outcome { kSaved, kFailed, kFolderRefused };

// A folder the user may not write, or a sticky one holding another user's
// file, allows no temporary file or no rename over the old file.
bool FolderRefuses(int error) {
    return error == EACCES || error == EPERM;
}

Outcome ReplaceAtomically(const std::string& target, const struct stat* old,
                          std::string_view bytes) {
    auto temp = TempFile::CreateBeside(target);
    if (!temp) {
        return FolderRefuses(errno) ? Outcome::kFolderRefused : Outcome::kFailed;
    }
    posix::RemoveAbandonedTempFiles(target);
    if (!WriteAll(temp->fd(), bytes)) {
        return Outcome::kFailed;
    }
    if (old != nullptr) {
        // Only the owner or root can hand the file back; otherwise it stays ours.
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(temp->fd(), old->st_uid, old->st_gid);
        }
        // After fchown, which may clear set-id bits.
        if (::fchmod(temp->fd(), old->st_mode & 07777) != 0) {
            return Outcome::kFailed;
        }
    }
    if (::fsync(temp->fd()) != 0) {
        return Outcome::kFailed;
    }
    if (!temp->renameTo(target)) {
        return FolderRefuses(errno) ? Outcome::kFolderRefused : Outcome::kFailed;
    }
    SyncFolderOf(target);
    return Outcome::kSaved;
}

// The fallback without a temporary file: the new text goes over the old one,
// so a crash part-way can leave the file partly rewritten.
bool OverwriteInPlace(const std::string& target, std::string_view bytes) {
    UniqueFd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    const auto size = static_cast<off_t>(bytes.size());
    // Room for a longer text is taken before any byte changes, so that a full
    // disk refuses the save whole.
    if (size > st.st_size && ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
        (errno == ENOSPC || errno == EDQUOT)) {
        return false;
    }
    return WriteAll(fd.get(), bytes) && ::ftruncate(fd.get(), size) == 0 &&
           ::fsync(fd.get()) == 0 && fd.close();
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
    switch (ReplaceAtomically(target, exists ? &old : nullptr, bytes)) {
        case Outcome::kSaved:
            return true;
        case Outcome::kFailed:
            return false;
        case Outcome::kFolderRefused:
            return exists && OverwriteInPlace(target, bytes);
    }
    return false;
}

}  // namespace platform
