#pragma once

#include <QString>

namespace orv::ui {

// The system clipboard, as far as the report window uses it.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Empties the clipboard, then puts `text` on it as plain text.
    virtual void setText(const QString& text) = 0;
};

} // namespace orv::ui
