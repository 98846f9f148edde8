#include "ui/ReportLauncher.h"

#include "audit/MissingUnusedFilesReport.h"
#include "data/ProgramInfo.h"
#include "reports/ReportContext.h"
#include "reports/RunReport.h"
#include "ui/Platform.h"
#include "ui/ProgramState.h"
#include "ui/Prompts.h"
#include "ui/QtReportHost.h"
#include "ui/QtText.h"
#include "ui/ReportWindow.h"
#include "ui/Wording.h"

namespace orv::ui {

bool RunWindowPass(QWidget* parent, ProgramState& state, Platform& platform, QtReportHost& host,
                   std::string_view cannotMake, const std::function<std::optional<Failure>()>& pass) {
    state.run.ReportRunning = true;
    host.setBusy(true);
    const std::optional<Failure> failure = pass();
    host.setBusy(false);
    state.run.ReportRunning = false;
    host.setProgressValue(0);
    if (failure)
        platform.prompts.showMessage(parent, toQString(ApplicationTitle),
                                     toQString(FailureMessage(cannotMake, *failure)), Prompts::Icon::Exclamation);
    return !failure;
}

std::string UnlistableFolderMessage(const Failure& folder) {
    return "The folder " + folder.path.string() + " could not be listed (" + folder.reason +
           "). The report counts it as empty: its files are not listed as unused, and the files the project "
           "names in it are listed as missing.";
}

ReportLauncher::ReportLauncher(ProgramState& state, Platform& platform, QtReportHost& host, FilesManager& filesManager,
                               QWidget* windowParent)
    : state_(state), platform_(platform), host_(host), filesManager_(filesManager), windowParent_(windowParent) {}

void ReportLauncher::run(Integer kind) {
    ReportContext ctx{state_.project, state_.run, state_.text, host_};
    if (busy_) {
        // Only reachable if a caller skipped its own guard; the run that is
        // in progress keeps the run state.
        return;
    }
    busy_ = true;
    struct Release {
        bool& flag;
        ~Release() { flag = false; }
    } release{busy_};

    ctx.resourceFilesReport = [this](ReportContext& c) { MissingUnusedFilesReport(c, state_.audit); };
    RunOutcome outcome;
    try {
        outcome = RunReport(kind, ctx);
    } catch (const RunAbandoned&) {
    }
    if (host_.abandoned()) {
        // The program is ending: no question, no report window.
        state_.text.clear();
        FinishRun(ctx);
        return;
    }
    if (stateChanged_)
        stateChanged_();

    switch (outcome.status) {
    case RunOutcome::Status::Failed:
        FinishRun(ctx);
        platform_.prompts.showMessage(windowParent_, toQString(ApplicationTitle),
                                      toQString(FailureMessage("The report could not be run.", *outcome.failure)),
                                      Prompts::Icon::Exclamation);
        return;
    case RunOutcome::Status::Discard: return; // RunReport has finished the run
    case RunOutcome::Status::Show: break;
    }

    // A media folder that could not be read is said before the report, whose
    // lists it has left incomplete, is shown.
    if (state_.run.FilesReportRan && !state_.audit.lists.UnlistableFolders.empty()) {
        std::string text;
        for (const Failure& folder : state_.audit.lists.UnlistableFolders)
            text += (text.empty() ? "" : "\r") + UnlistableFolderMessage(folder);
        platform_.prompts.showMessage(windowParent_, toQString(ApplicationTitle), toQString(text),
                                      Prompts::Icon::Exclamation);
    }

    {
        ReportWindow window(state_, platform_, filesManager_, windowParent_);
        window.setFilesManagerButtonVisible(state_.run.FilesReportRan);
        window.exec();
    }
    // The report lives only as long as its window.
    state_.text.clear();
    FinishRun(ctx);
}

} // namespace orv::ui
