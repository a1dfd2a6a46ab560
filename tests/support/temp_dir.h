#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace test_support {

// A fresh folder under the system's temporary folder, removed with all it
// holds (read-only parts included) when the object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

  private:
    std::string path_;
};

void WriteBytes(const std::string& path, std::string_view bytes);
// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadBytes(const std::string& path);

}  // namespace test_support
