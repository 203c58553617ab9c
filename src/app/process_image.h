#pragma once
// One image of a run: decode it into the work bitmap, show its name, hand it
// to the pipeline the Type setting selects.
#include <string>

#include "base/image_outcome.h"
#include "photo/jpeg_intake.h"

namespace tagmora {

struct Context;

// Loads fileName from the run's photo folder, then runs the pipeline; the
// outcome is logged (and counted when it is a problem) and returned.
ImageOutcome ProcessImage(Context& ctx, const std::string& fileName);

// The same with the decoding already done (ctx.bitmap holds the picture when
// result is Ok); the batch driver decodes the next image ahead of time.
ImageOutcome ProcessDecodedImage(Context& ctx, const std::string& fileName, JpegResult result);

// The photo window's buttons.
void AbortClicked(Context& ctx);  // Abort
void SkipClicked(Context& ctx);   // Skip

}  // namespace tagmora
