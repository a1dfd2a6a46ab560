#pragma once

#include <string>
#include <string_view>

namespace platform {

// Whole-file reads and writes for small text files such as the settings
// file. Paths are the file system's own, in UTF-8.

enum class FileReadResult {
    kRead,     // the file's bytes were read
    kMissing,  // no file at that path (or a folder on the way is missing)
    kFailed,   // there is something, but it could not be read as a file
};

FileReadResult ReadWholeFile(const std::string& path, std::string& bytes);

// Replaces the file's contents with `bytes`, creating the file if needed.
// Where the folder allows it, the new text goes to a temporary file in the
// same folder that is then renamed over the old one, so that a crash or a
// full disk during the save leaves either the old file or the new one whole;
// the old file's permission bits (and, where allowed, its owner) carry over.
// The temporary files of earlier saves that were killed are removed then.
// Where the folder refuses a temporary file or the rename, a writable file is
// rewritten in place and flushed instead. Returns false on any failure; the
// atomic save then leaves the old file untouched and no temporary file behind.
bool ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace platform
