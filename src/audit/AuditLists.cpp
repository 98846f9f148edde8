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
    return list && std::find(list->begin(), list->end(), name) != list->end();
}

void AddMissing(AuditLists& lists, const std::string& name, FolderKind kind) {
    if (IsListedMissing(lists, name, kind))
        return;
    auto& list = lists.missing(kind);
    list.insert(std::upper_bound(list.begin(), list.end(), name,
                                 [](const std::string& a, const std::string& b) { return ListedBefore(a, b); }),
                name);
}

bool ListedBefore(std::string_view a, std::string_view b) {
    const std::string fa = foldCase(a);
    const std::string fb = foldCase(b);
    if (fa != fb)
        return fa < fb;
    return a < b;
}

} // namespace orv
