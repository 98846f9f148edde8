#pragma once

#include "ui/FileOpener.h"

namespace orv::ui {

class QtFileOpener : public FileOpener {
  public:
    bool OpenWithShell(const QString& file) override;
};

} // namespace orv::ui
