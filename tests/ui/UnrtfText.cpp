#include "UnrtfText.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace orv::testing {

std::optional<std::string> unrtfText(const std::filesystem::path& rtfFile) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (program.isEmpty())
        return std::nullopt;
    QProcess unrtf;
    unrtf.start(program, {QStringLiteral("--text"), QFile::decodeName(rtfFile.c_str())});
    if (!unrtf.waitForFinished(30000) || unrtf.exitStatus() != QProcess::NormalExit || unrtf.exitCode() != 0)
        return std::nullopt;
    std::string out = unrtf.readAllStandardOutput().toStdString();
    // The banner ends with a line of dashes before the body.
    const std::string rule = "-----------------\n";
    const std::size_t body = out.find(rule);
    if (body == std::string::npos)
        return std::nullopt;
    out.erase(0, body + rule.size());
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

} // namespace orv::testing
