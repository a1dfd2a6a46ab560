#pragma once

#include <optional>
#include <string>

#include "platform/posix/unique_fd.h"

namespace platform::posix {

// A temporary file beside the file a save replaces, named
// ".<name>.<pid>.<n>.tmp". While it is open it holds a lock that tells a
// save still running from one that was killed; it is removed again unless
// it was renamed into place.
class TempFile {
  public:
    // Nothing when the folder refuses a new file; errno tells why.
    static std::optional<TempFile> CreateBeside(const std::string& target);

    TempFile(std::string path, UniqueFd fd) : path_(std::move(path)), fd_(std::move(fd)) {}
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_.get(); }
    // Stays open, and so locked, until the rename is done.
    bool renameTo(const std::string& target);

  private:
    std::string path_;
    UniqueFd fd_;
    bool committed_ = false;
};

// Removes the temporary files of the target's earlier saves that were killed
// before they could clean up: files of its temporary names that no running
// save holds locked. Anything else in the folder is left alone.
void RemoveAbandonedTempFiles(const std::string& target);

}  // namespace platform::posix
