#pragma once
// Undo Last Run: every rename of the log's last run section taken back,
// newest first, with the same never-replace move; the undo writes a section
// of its own, so the same run is never undone twice.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_section.h"

namespace tagmora {

struct Context;

struct UndoPlan {
    std::string Folder;
    std::vector<FileMove> Moves;  // newest first; From is the name now, To the name it goes back to
    std::string Refusal;          // why nothing can be undone; empty when Moves are to be undone
};

// What undoing the last section of this log would do.
UndoPlan PlanUndo(std::string_view log);

struct UndoResult {
    std::vector<FileMove> Undone;
    std::vector<std::string> Left;  // one line per rename left as it is, saying why
};

// What the user is asked before the plan is carried out.
std::string UndoQuestionText(const UndoPlan& plan);

// Carries the plan out in its folder and appends the undo's section to the
// log: the header first, then one line per move as it is made.
UndoResult CarryOutUndo(Context& ctx, const UndoPlan& plan);

std::string UndoSummaryText(const UndoResult& result);

enum class UndoEnd { NoLog, NothingToDo, Cancelled, Done, Partly };

// The whole of File > Undo Last Run: reads the log, asks confirm (when given)
// before anything moves, and tells the outcome through ctx.ui.
UndoEnd UndoLastRun(Context& ctx, const std::function<bool(const UndoPlan&)>& confirm);

}  // namespace tagmora
