#pragma once
// The Close-up pipeline's flow for one photograph of a label: rows tried,
// refinement, outcome, rename and log line. It turns what the row reading
// reports into strips and prompts, and its verdict into the photograph's outcome.
#include "base/image_outcome.h"
#include "base/run_context.h"
#include "closeup/closeup_state.h"
#include "photo/work_bitmap.h"

namespace tagmora {

// What the pipeline works with: the run and its front end, the pipeline's
// own state and the picture of the photograph in hand.
struct CloseUpContext : RunContext {
    CloseUpState& closeUp;
    const WorkBitmap& bitmap;
};

// One close-up photograph: rows tried, rename or report; the outcome to log.
ImageOutcome ProcessCloseUpImage(CloseUpContext ctx);

}  // namespace tagmora
