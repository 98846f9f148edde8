#include "audit/Recycling.h"

#include <algorithm>

namespace orv {

std::vector<std::string> RecycleSelected(std::vector<std::string>& list, const std::vector<bool>& selected,
                                         const std::filesystem::path& folder, Trash& trash) {
    std::vector<std::string> chosen;
    for (std::size_t i = 0; i < list.size() && i < selected.size(); ++i)
        if (selected[i])
            chosen.push_back(list[i]);

    // The names leave the list before any file moves, and stay out of it
    // whatever the Trash answers.
    for (const std::string& name : chosen)
        if (auto it = std::find(list.begin(), list.end(), name); it != list.end())
            list.erase(it);

    // Nothing is moved through a link out of the project: when the media
    // folder or the resource folder above it is a link, the files it leads
    // to lie elsewhere. A file that is itself a link is moved as the link.
    std::error_code ec;
    for (const std::filesystem::path& step : {folder, folder.parent_path()})
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(step, ec)))
            return chosen;
    for (const std::string& name : chosen)
        static_cast<void>(trash.RecycleFile(folder / name));
    return chosen;
}

} // namespace orv
