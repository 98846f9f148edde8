// One input cut into the .orv file, the five data files and the names of the
// gfx folder's files; the project is loaded and every report kind runs on
// it, as the command line would run them.

#include "ProjectInput.h"

#include "audit/AuditLists.h"
#include "audit/MissingUnusedFilesReport.h"
#include "data/LoadProject.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

const fs::path& projectFolder() { return orv::fuzz::scratchFolder(); }

void writeFile(const fs::path& file, const std::string& bytes) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f)
        return; // a name the file system refuses
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

class QuietHost : public orv::ReportHost {
public:
    std::string today() const override { return "01-01-2000"; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orv::fuzz::ProjectInput input =
        orv::fuzz::splitProjectInput({reinterpret_cast<const char*>(data), size});
    const fs::path& folder = projectFolder();
    std::error_code ec;
    fs::remove_all(folder / "resource", ec);
    fs::create_directories(folder / "resource" / "gfx");
    fs::create_directories(folder / "resource" / "mmedia");
    writeFile(folder / "game.orv", input.projectFile);
    for (std::size_t n = 0; n < 5; ++n)
        if (input.present[n])
            writeFile(folder / "resource" / ("Orvanta" + std::to_string(n + 1) + ".dat"), input.dataFiles[n]);
    for (const std::string& name : input.gfxNames)
        writeFile(folder / "resource" / "gfx" / name, name);

    orv::ProjectState project;
    orv::ChooseProjectFile(project, folder / "game.orv");
    if (!orv::LoadProject(project, orv::noEventLoop()).loaded())
        return 0;

    orv::AuditLists lists;
    QuietHost host;
    const orv::Integer flag = static_cast<orv::Integer>(size % 255 + 1);
    for (orv::Integer kind : {orv::ResourceFilesKind, orv::UnusedFlagsKind, orv::ScenePropertiesKind,
                              orv::FlagsByFlagKind, orv::FlagsBySceneKind}) {
        orv::RunState run;
        orv::ReportText text;
        orv::ReportContext ctx{project, run, text, host};
        ctx.resourceFilesReport = [&lists](orv::ReportContext& c) { orv::MissingUnusedFilesReport(c, lists); };
        run.TrackedFlag = flag;
        run.TrackedScene = kind == orv::FlagsBySceneKind && size % 2 ? orv::AllSelector : 1;
        run.ScenePickerPurpose = kind == orv::ScenePropertiesKind ? 1 : 2;
        run.ReportRunning = true;
        (void)orv::RunReport(kind, ctx);
        orv::FinishRun(ctx);
    }
    return 0;
}
