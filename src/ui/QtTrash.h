#pragma once

#include "audit/Recycling.h"

namespace orv::ui {

class Prompts;

// The desktop's Trash (Recycle Bin): GIO on Linux, QFile::moveToTrash
// elsewhere. A file that cannot be moved stays where it is, and a message
// names it with the system's reason, as the shell's own error report would.
class QtTrash : public Trash {
  public:
    explicit QtTrash(Prompts& prompts) : prompts_(prompts) {}
    bool RecycleFile(const std::filesystem::path& file) override;

  private:
    Prompts& prompts_;
};

} // namespace orv::ui
