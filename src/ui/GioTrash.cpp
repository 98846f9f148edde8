#include "ui/GioTrash.h"

#include <gio/gio.h>

namespace orv::ui {

namespace {

// GIO words its error as "Error trashing file PATH: REASON"; the path is
// shown beside the reason anyway.
std::string systemReason(const std::string& message, const std::string& path) {
    const std::string::size_type at = message.find(path + ": ");
    if (at == std::string::npos)
        return message;
    return message.substr(at + path.size() + 2);
}

} // namespace

TrashOutcome MoveToGioTrash(const std::filesystem::path& file) {
    GFile* handle = g_file_new_for_path(file.c_str());
    GError* error = nullptr;
    const bool moved = g_file_trash(handle, nullptr, &error) != FALSE;
    g_object_unref(handle);
    TrashOutcome outcome{moved, {}};
    if (error) {
        if (!moved)
            outcome.reason = systemReason(error->message ? error->message : "", file.string());
        g_error_free(error);
    }
    if (!moved && outcome.reason.empty())
        outcome.reason = "The file could not be moved.";
    return outcome;
}

} // namespace orv::ui
