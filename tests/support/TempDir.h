#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace orv::testing {

// A fresh folder under the system's temporary folder, removed with all its content when the object goes.
class TempDir {
  public:
    TempDir() {
        // mkdtemp picks a name that nobody holds and creates the folder in one step.
        std::string name = (std::filesystem::temp_directory_path() / "orvanta-test-XXXXXX").string();
        if (!mkdtemp(name.data()))
            throw std::runtime_error("cannot create a temporary folder " + name);
        path_ = name;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return path_ / relative; }

  private:
    std::filesystem::path path_;
};

} // namespace orv::testing
