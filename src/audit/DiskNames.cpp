#include "audit/DiskNames.h"

#include "data/FolderHandle.h"

#include <sys/stat.h>

namespace orv {

std::size_t validUtf8Length(std::string_view text) {
    if (text.empty())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(0);
    if (first < 0x80)
        return 1;
    std::size_t length = 0;
    char32_t cp = 0, least = 0;
    if (first >= 0xC2 && first <= 0xDF)
        length = 2, cp = first & 0x1F, least = 0x80;
    else if (first >= 0xE0 && first <= 0xEF)
        length = 3, cp = first & 0x0F, least = 0x800;
    else if (first >= 0xF0 && first <= 0xF4)
        length = 4, cp = first & 0x07, least = 0x10000;
    else
        return 0;
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

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
    try {
        return SizeOfFile(FolderHandle::open(folder), name);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace orv
