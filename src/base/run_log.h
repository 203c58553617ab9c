#pragma once
// The run log, Tagmora.log beside Config.txt: append-only, one entry per call,
// each ended with CR LF, the file opened and closed for every entry.
#include <string>
#include <string_view>

namespace tagmora {

struct ImageOutcome;
struct RunContext;
struct RunState;

inline constexpr std::string_view kLogFileName = "Tagmora.log";
// The General pipeline puts this before the image name of its problem lines.
inline constexpr std::string_view kProblemMarker = ">>>>>";

std::string LogFilePath(const RunState& run);

// Appends text + CR LF to the log; on failure the user is told and the run goes on.
void AppendLogLine(RunContext& ctx, std::string_view text);

// Logs an outcome's line, if it has one, and counts it when it is a problem:
// the summary and the exit status follow the kinds logged.
void LogOutcome(RunContext& ctx, const ImageOutcome& outcome);

// The last run's outcome lines: what follows the last CR LF CR LF of the log.
std::string LastRunSection(std::string log);

}  // namespace tagmora
