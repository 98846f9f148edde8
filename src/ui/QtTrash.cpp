#include "ui/QtTrash.h"

#include <QFile>
#include <QString>

namespace orv::ui {

bool QtTrash::RecycleFile(const std::filesystem::path& file) {
    return QFile::moveToTrash(QFile::decodeName(file.c_str()));
}

} // namespace orv::ui
