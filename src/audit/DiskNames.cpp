#include "audit/DiskNames.h"

#include "data/FolderHandle.h"
#include "data/Text.h"

#include <sys/stat.h>

namespace orv {

std::string DisplayName(std::string_view name) {
    static constexpr std::string_view Replacement = "\xEF\xBF\xBD";
    std::string shown;
    shown.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = validUtf8Length(name.substr(i));
        const auto first = static_cast<unsigned char>(name[i]);
        const bool control = length == 1
                                 ? (first < 0x20 || first == 0x7F)
                                 : length == 2 && first == 0xC2 && static_cast<unsigned char>(name[i + 1]) < 0xA0;
        if (length == 0 || control) {
            shown += Replacement;
            i += length == 0 ? 1 : length;
        } else {
            shown.append(name.substr(i, length));
            i += length;
        }
    }
    return shown;
}

std::optional<std::uintmax_t> SizeOfFile(const FolderHandle& folder, const std::string& name) {
    struct stat st {};
    if (::fstatat(folder.fd(), name.c_str(), &st, 0) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::uintmax_t>(st.st_size);
}

std::optional<std::uintmax_t> SizeOfFile(const std::filesystem::path& folder, const std::string& name) {
    const Result<FolderHandle> opened = FolderHandle::open(folder);
    if (!opened)
        return std::nullopt;
    return SizeOfFile(*opened, name);
}

} // namespace orv
