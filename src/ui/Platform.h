#pragma once

namespace orv {
class Trash;
}

namespace orv::ui {

class Clipboard;
class FileOpener;
class Prompts;
class ReportPrinter;

// The desktop services the windows use, each behind a narrow interface: the
// program passes the Qt implementations, tests pass fakes.
struct Platform {
    Prompts& prompts;
    Clipboard& clipboard;
    FileOpener& opener;
    ReportPrinter& printer;
    Trash& trash;
};

} // namespace orv::ui
