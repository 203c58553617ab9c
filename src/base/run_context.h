#pragma once
// The run state and the front end together: what logging, prompting and
// renaming need, without the pipelines' own state. Every layer above passes
// it on; the app layer's Context adds the rest.
#include <string_view>

#include "base/front_end.h"
#include "base/run_settings.h"
#include "base/run_state.h"

namespace tagmora {

struct RunContext {
    RunState& run;
    FrontEnd& ui;

    const RunSettings& Settings() const { return ui.Settings(); }
};

// The prompts of a run (the pause after a line, the Demo/Debug results) are
// OK/Cancel boxes captioned "TGM"; Cancel stops the run after the image in
// hand.
inline void PromptOrStop(RunContext& ctx, std::string_view text) {
    if (!ctx.ui.AskOkCancel(text)) ctx.run.KeepGoing = false;
}

}  // namespace tagmora
