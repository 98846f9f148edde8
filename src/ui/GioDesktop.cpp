#include "ui/GioDesktop.h"

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

OpenOutcome OpenWithGio(const std::filesystem::path& file) {
    GFile* handle = g_file_new_for_path(file.c_str());
    char* uri = g_file_get_uri(handle);
    g_object_unref(handle);
    GError* error = nullptr;
    OpenOutcome outcome;
    outcome.opened = g_app_info_launch_default_for_uri(uri, nullptr, &error) != FALSE;
    g_free(uri);
    if (error) {
        if (!outcome.opened && error->message)
            outcome.reason = error->message;
        g_error_free(error);
    }
    if (!outcome.opened && outcome.reason.empty())
        outcome.reason = "No program could be started for the file.";
    return outcome;
}

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
