#pragma once
// The Close-up pipeline's flow for one photograph of a label: rows tried,
// refinement, outcome, rename and log line. It turns what the row reading
// reports into strips and prompts, and its verdict into the photograph's outcome.
#include <string>

#include "base/image_outcome.h"
#include "base/run_context.h"
#include "base/scan_verdict.h"
#include "closeup/closeup_state.h"
#include "deep_search/deep_search_stage.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// What the pipeline works with: the run and its front end, the pipeline's
// own state and the picture of the photograph in hand.
struct CloseUpContext : RunContext {
    CloseUpState& closeUp;
    const WorkBitmap& bitmap;
    OtherTypeReading sheetLines;  // the General type's lines, tried before Deep Search
};

// One close-up photograph: rows tried, rename or report; the outcome to log.
ImageOutcome ProcessCloseUpImage(CloseUpContext ctx);

// The same rows without renaming or asking: what the photograph's label says.
ScanVerdict ReadCloseUpImage(CloseUpContext ctx);

// The rows as the General type's second reading: the text they read if it
// fits the format, else empty. The strips stay drawn; the pipeline's own
// values are left as they were.
std::string ReadRowsForGeneral(CloseUpContext ctx);

}  // namespace tagmora
