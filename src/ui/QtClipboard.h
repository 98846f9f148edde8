#pragma once

#include "ui/Clipboard.h"

namespace orv::ui {

class QtClipboard : public Clipboard {
  public:
    void setText(const QString& text) override;
};

} // namespace orv::ui
