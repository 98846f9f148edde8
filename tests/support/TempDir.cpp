#include "support/TempDir.h"

#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace orv::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
    const fs::path base = fs::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 random(seed());
    // create_directory reports whether it made the folder, so a name taken
    // by a parallel test run is simply skipped.
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = base / ("orvanta-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder under " + base.string());
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

} // namespace orv::testing
