#include "ui/GioOpener.h"

#include <gio/gio.h>

namespace orv::ui {

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

} // namespace orv::ui
