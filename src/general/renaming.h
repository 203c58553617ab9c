#pragma once
// Giving photographs (and their companions) the barcode as their name, with
// the first free suffix.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/image_outcome.h"
#include "base/run_context.h"

namespace tagmora {

// The suffix for counter n under the suffix format fmt.
std::string FormatSuffix(std::string_view fmt, std::int32_t n);

// Renames the image alone to barcode + ".jpg" (or with the first free
// suffix); the outcome says to which, or that no name was free. A name counts
// as taken when any file of the folder bears its base name, in any letter
// case and with any extension.
ImageOutcome RenameImageOnly(RunContext& ctx, std::string_view barcode);

// Renames every file sharing the image's base name to one new base name, the
// first free for all of them together; the photograph moves first and its
// companions follow. Logs one line per file.
void RenameImageFiles(RunContext& ctx, std::string_view barcode);

}  // namespace tagmora
