#pragma once

#include "audit/Recycling.h"
#include "ui/Platform.h"

namespace orv::ui {

// The Qt implementations of the desktop services in Platform.h.

class QtClipboard : public Clipboard {
  public:
    void setText(const QString& text) override;
};

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

// The default program: through GIO on Linux, which says whether one was
// started, else through QDesktopServices.
class QtFileOpener : public FileOpener {
  public:
    bool OpenWithShell(const QString& file) override;
};

// Prints on the default printer at once. Where no printer is installed the
// system print dialog is offered instead, so that the report can still go
// to a PDF file.
class QtReportPrinter : public ReportPrinter {
  public:
    void PrintReport(QWidget* parent, const QString& documentName, const QString& reportText) override;
};

} // namespace orv::ui
