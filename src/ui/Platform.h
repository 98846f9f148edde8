#pragma once

#include <QString>

class QWidget;

namespace orv {
class Trash;
}

namespace orv::ui {

class Prompts;

// The system clipboard, as far as the report window uses it.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Empties the clipboard, then puts `text` on it as plain text.
    virtual void setText(const QString& text) = 0;
};

// The desktop's "open" action: shows a file with its default program.
class FileOpener {
  public:
    virtual ~FileOpener() = default;
    // True when the desktop accepted the request.
    virtual bool OpenWithShell(const QString& file) = 0;
};

// Prints a report's text at once, with no page setup.
class ReportPrinter {
  public:
    virtual ~ReportPrinter() = default;
    // `documentName` names the print job (and a PDF file the user may be
    // offered instead of a printer).
    virtual void PrintReport(QWidget* parent, const QString& documentName, const QString& reportText) = 0;
};

// The desktop services the windows use, each behind a narrow interface: the
// program passes the Qt implementations (QtPlatform.h), tests pass fakes.
// The Trash's interface is the core's, which recycles through it.
struct Platform {
    Prompts& prompts;
    Clipboard& clipboard;
    FileOpener& opener;
    ReportPrinter& printer;
    Trash& trash;
};

} // namespace orv::ui
