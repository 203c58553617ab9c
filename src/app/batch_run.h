#pragma once
// The batch run behind Execute: log header, file list, each image in turn,
// Skip and Abort, counts and summary.
#include <string>

namespace tagmora {

struct Context;

// The run log header entry for the current settings and time.
std::string RunHeaderText(Context& ctx);

// The summary message at the end of a run.
std::string SummaryText(int errorCount, int processedCount);

// One run over the settings' photo folder. Returns false without doing
// anything when a run is already in progress.
bool ExecuteRun(Context& ctx);

}  // namespace tagmora
