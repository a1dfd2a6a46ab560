#include "platform/posix/temp_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <string_view>

namespace platform::posix {
namespace {

struct FolderAndName {
    std::string folder;
    std::string name;
};

FolderAndName Split(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos) {
        return {".", target};
    }
    return {slash == 0 ? "/" : target.substr(0, slash), target.substr(slash + 1)};
}

std::string TempName(std::string_view name, pid_t pid, unsigned serial) {
    return "." + std::string(name) + "." + std::to_string(pid) + "." + std::to_string(serial) +
           ".tmp";
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether `entry` is one of the names TempName gives for `name`.
bool IsTempName(std::string_view entry, std::string_view name) {
    const std::string prefix = "." + std::string(name) + ".";
    constexpr std::string_view suffix = ".tmp";
    if (entry.size() < prefix.size() + suffix.size() || !entry.starts_with(prefix) ||
        !entry.ends_with(suffix)) {
        return false;
    }
    const std::string_view middle =
        entry.substr(prefix.size(), entry.size() - prefix.size() - suffix.size());
    const std::size_t dot = middle.find('.');
    return dot != std::string_view::npos && AllDigits(middle.substr(0, dot)) &&
           AllDigits(middle.substr(dot + 1));
}

// A lock of the open file itself (not of the process), so that it also
// keeps the clean-up of another save in this process away, and the kernel
// drops it when a killed process's files are closed.
bool LockWholeFile(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool StillNamed(const std::string& path, int fd) {
    struct stat named {};
    struct stat opened {};
    return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 &&
           SameFile(named, opened);
}

struct FolderCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

void RemoveIfAbandoned(int folderFd, const char* entry) {
    UniqueFd fd(::openat(folderFd, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    // A save still running holds its lock; one that cannot be taken for any
    // reason (locks not supported there included) leaves the file alone.
    if (!fd.valid() || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        !LockWholeFile(fd.get(), F_RDLCK)) {
        return;
    }
    struct stat named {};
    if (::fstatat(folderFd, entry, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(named, opened)) {
        ::unlinkat(folderFd, entry, 0);
    }
}

}  // namespace

std::optional<TempFile> TempFile::CreateBeside(const std::string& target) {
    const auto [folder, name] = Split(target);
    static std::atomic<unsigned> serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = folder + "/" + TempName(name, ::getpid(), ++serial);
        // 0666 lets the umask decide a new file's permissions, as for any new file.
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.valid()) {
            if (errno != EEXIST) {
                return std::nullopt;
            }
            continue;
        }
        // Another save's clean-up may have found the file before it was
        // locked; it then takes it away, and this save uses another name.
        const bool locked = LockWholeFile(fd.get(), F_WRLCK);
        if ((locked || (errno != EAGAIN && errno != EACCES)) && StillNamed(path, fd.get())) {
            return std::optional<TempFile>(std::in_place, path, std::move(fd));
        }
    }
    errno = EEXIST;
    return std::nullopt;
}

TempFile::~TempFile() {
    if (!committed_) {
        ::unlink(path_.c_str());
    }
}

bool TempFile::renameTo(const std::string& target) {
    committed_ = ::rename(path_.c_str(), target.c_str()) == 0;
    return committed_;
}

void RemoveAbandonedTempFiles(const std::string& target) {
    const auto [folder, name] = Split(target);
    const std::unique_ptr<DIR, FolderCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        return;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsTempName(entry->d_name, name)) {
            RemoveIfAbandoned(::dirfd(dir.get()), entry->d_name);
        }
    }
}

}  // namespace platform::posix
