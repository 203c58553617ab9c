#include "base/run_log.h"

#include "base/file_helpers.h"
#include "base/file_system.h"
#include "base/image_outcome.h"
#include "base/run_context.h"
#include "base/text_helpers.h"

namespace tagmora {

std::string LogFilePath(const RunState& run) { return JoinPath(run.StartFolder, kLogFileName); }

void AppendLogLine(RunContext& ctx, std::string_view text) {
    std::string entry(text);
    entry += kCrLf;
    AppendTextToFile(entry, LogFilePath(ctx.run), ctx.ui);
    ctx.ui.LogLineAppended(text);
}

void LogOutcome(RunContext& ctx, const ImageOutcome& outcome) {
    if (CountsAsProblem(outcome.Kind)) ++ctx.run.ErrorCount;
    const std::string line = OutcomeLogLine(outcome);
    if (!line.empty()) AppendLogLine(ctx, line);
}

std::string LastRunSection(std::string log) {
    // Every run begins with an empty line and its header ends with one, so the
    // last run's outcome lines follow the last blank line.
    constexpr std::string_view kBlankLine = "\r\n\r\n";
    std::size_t from = 0;
    for (std::size_t at = log.find(kBlankLine); at != std::string::npos; at = log.find(kBlankLine, from))
        from = at + kBlankLine.size();
    return log.substr(from);
}

}  // namespace tagmora
