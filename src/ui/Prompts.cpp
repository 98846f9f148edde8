#include "ui/Prompts.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace orv::ui {

Prompts::Answer askToOverwrite(Prompts& prompts, QWidget* parent, const QString& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(QFile::encodeName(path).toStdString()), error))
        return Prompts::Answer::Yes;
    return prompts.ask(parent, QStringLiteral("File already exists"), QStringLiteral("Overwrite the existing file?"),
                       Prompts::Buttons::YesNoCancel, Prompts::Icon::Exclamation);
}

} // namespace orv::ui
