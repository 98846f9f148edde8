#pragma once

#include <QString>

namespace orv::ui {

// The desktop's "open" action: shows a file with its default program.
class FileOpener {
  public:
    virtual ~FileOpener() = default;
    // True when the desktop accepted the request.
    virtual bool OpenWithShell(const QString& file) = 0;
};

} // namespace orv::ui
