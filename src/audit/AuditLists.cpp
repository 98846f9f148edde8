#include "audit/AuditLists.h"

#include "data/Text.h"

#include <algorithm>
#include <stdexcept>

namespace orv {

std::vector<std::string>& AuditLists::missing(FolderKind kind) {
    switch (kind) {
    case FolderKind::Gfx: return MissingGfx;
    case FolderKind::Mmedia: return MissingMmedia;
    }
    throw std::invalid_argument("no such resource folder kind");
}

std::vector<std::string>& AuditLists::unused(FolderKind kind) {
    switch (kind) {
    case FolderKind::Gfx: return UnusedGfx;
    case FolderKind::Mmedia: return UnusedMmedia;
    }
    throw std::invalid_argument("no such resource folder kind");
}

bool IsListedMissing(const AuditLists& lists, std::string_view name, FolderKind kind) {
    const std::vector<std::string>* list = nullptr;
    switch (kind) {
    case FolderKind::Gfx: list = &lists.MissingGfx; break;
    case FolderKind::Mmedia: list = &lists.MissingMmedia; break;
    }
    // The list is kept in ListedBefore order, which tells apart every two
    // different spellings, so an exact match can be searched for.
    return list && std::binary_search(list->begin(), list->end(), name, ListedBefore);
}

void AddMissing(AuditLists& lists, const std::string& name, FolderKind kind) {
    auto& list = lists.missing(kind);
    const auto place = std::lower_bound(list.begin(), list.end(), name, ListedBefore);
    if (place == list.end() || *place != name)
        list.insert(place, name);
}

bool ListedBefore(std::string_view a, std::string_view b) {
    const std::string fa = foldCase(a);
    const std::string fb = foldCase(b);
    if (fa != fb)
        return fa < fb;
    return a < b;
}

} // namespace orv
