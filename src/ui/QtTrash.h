#pragma once

#include "audit/Recycling.h"

namespace orv::ui {

// The desktop's Trash (Recycle Bin), through QFile::moveToTrash.
class QtTrash : public Trash {
public:
    bool RecycleFile(const std::filesystem::path& file) override;
};

} // namespace orv::ui
