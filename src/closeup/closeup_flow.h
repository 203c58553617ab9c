#pragma once

namespace tagmora {

struct Context;

// One close-up photograph: rows tried, outcome, rename, log line.
void ProcessCloseUpImage(Context& ctx);

}  // namespace tagmora
