#pragma once

#include "audit/Recycling.h"

#include <functional>
#include <vector>

namespace orv::testing {

// Records each request; `onRecycle` lets a test look at the windows while
// the request is made.
class FakeTrash : public Trash {
public:
    bool RecycleFile(const std::filesystem::path& file) override {
        recycled.push_back(file);
        if (onRecycle)
            onRecycle(file);
        return succeeds;
    }
    std::vector<std::filesystem::path> recycled;
    std::function<void(const std::filesystem::path&)> onRecycle;
    bool succeeds = true;
};

} // namespace orv::testing
