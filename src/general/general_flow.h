#pragma once
// The General pipeline's flow for one whole-sheet photograph: which lines to
// try, the outcome, the renames and the log line. It turns what the line
// reading reports into strips and prompts, and its verdict into the photograph's outcome.
#include <cstdint>
#include <string>
#include <vector>

#include "base/image_outcome.h"
#include "base/run_context.h"
#include "base/scan_verdict.h"
#include "deep_search/deep_search_stage.h"
#include "general/general_state.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// What the pipeline works with: the run and its front end, the pipeline's
// own state and the picture of the photograph in hand.
struct GeneralContext : RunContext {
    GeneralState& general;
    const WorkBitmap& bitmap;
    OtherTypeReading closeUpRows;  // the Close-up type's rows, tried before Deep Search
};

inline constexpr std::int32_t kLineStep = 60;

// The lines to try on an image of the given extent, in order (the first entry
// is never tried).
std::vector<std::int32_t> CandidateLines(std::int32_t extent, std::int32_t lastLine);

// One whole-sheet photograph: search, rename or report; the outcome to log.
ImageOutcome ProcessGeneralImage(GeneralContext ctx);

// The same search without renaming or asking: what the photograph's label
// says. The line to start from next time moves as in a run.
ScanVerdict ReadGeneralImage(GeneralContext ctx);

// The candidate lines as the Close-up type's second reading: the text they
// read if it fits the format, else empty. The strips stay drawn; the line to
// start from next time is left as it was.
std::string ReadLinesForCloseUp(GeneralContext ctx);

}  // namespace tagmora
