#pragma once
// Everything the core works with, passed by reference: the program-wide state
// objects, the work bitmap and the front end (which also serves the settings).
#include "app/front_end.h"
#include "app/run_state.h"
#include "closeup/closeup_state.h"
#include "general/general_state.h"
#include "photo/work_bitmap.h"

namespace tagmora {

struct Context {
    RunState& run;
    GeneralState& general;
    CloseUpState& closeUp;
    WorkBitmap& bitmap;
    FrontEnd& ui;

    const RunSettings& Settings() const { return ui.Settings(); }
};

// Owns one set of the program-wide objects; the front ends and tests make one.
struct CoreState {
    RunState run;
    GeneralState general;
    CloseUpState closeUp;
    WorkBitmap bitmap;

    Context ContextFor(FrontEnd& ui) { return Context{run, general, closeUp, bitmap, ui}; }
};

}  // namespace tagmora
