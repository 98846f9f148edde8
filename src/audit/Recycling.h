#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orv {

// Moves one file to the desktop's Trash (Recycle Bin). The desktop program
// implements it with the platform's recoverable delete; tests fake it.
class Trash {
  public:
    virtual ~Trash() = default;
    // True when the file was moved.
    virtual bool RecycleFile(const std::filesystem::path& file) = 0;
};

// Sends the selected entries of an unused list to the Trash: the chosen
// names leave the list first, then each file is moved, in list order, and
// the result of each move is not looked at. `selected` holds one flag per
// entry of `list`. When `folder` or the resource folder holding it is a
// symbolic link, nothing is moved (the names still leave the list). Returns
// the names chosen, in order.
std::vector<std::string> RecycleSelected(std::vector<std::string>& list, const std::vector<bool>& selected,
                                         const std::filesystem::path& folder, Trash& trash);

} // namespace orv
