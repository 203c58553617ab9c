#pragma once
// Everything the program works with, passed by reference: the program-wide
// state objects, the work bitmap and the front end (which also serves the
// settings). The pipelines are handed only their part of it.
#include "base/run_context.h"
#include "closeup/closeup_flow.h"
#include "closeup/closeup_state.h"
#include "general/general_flow.h"
#include "general/general_state.h"
#include "photo/work_bitmap.h"

namespace tagmora {

struct Context : RunContext {
    GeneralState& general;
    CloseUpState& closeUp;
    WorkBitmap& bitmap;

    // Each type, Deep Search on, lets the other type's lines read a
    // photograph its own lines did not, before the whole of it is searched.
    GeneralContext General() {
        return {{run, ui}, general, bitmap, [ctx = CloseUpOnly()] { return ReadRowsForGeneral(ctx); }};
    }
    CloseUpContext CloseUp() {
        return {{run, ui}, closeUp, bitmap, [ctx = GeneralOnly()] { return ReadLinesForCloseUp(ctx); }};
    }

private:
    GeneralContext GeneralOnly() { return {{run, ui}, general, bitmap, {}}; }
    CloseUpContext CloseUpOnly() { return {{run, ui}, closeUp, bitmap, {}}; }
};

// Owns one set of the program-wide objects; the front ends and tests make one.
struct CoreState {
    RunState run;
    GeneralState general;
    CloseUpState closeUp;
    WorkBitmap bitmap;

    Context ContextFor(FrontEnd& ui) { return Context{{run, ui}, general, closeUp, bitmap}; }
};

}  // namespace tagmora
