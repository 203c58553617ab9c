#pragma once
// Undo: every rename of one run of the log taken back, newest first, with the
// same never-replace move; the undo writes a section of its own, so the same
// run is never undone twice. Undo Last Run takes the last run that renamed
// something; the history lists every run for a choice.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_section.h"

namespace tagmora {

struct Context;

// One run of the log, as the history lists it.
struct RunEntry {
    int Number = 0;  // 1 for the log's first run
    std::string When;
    std::string Folder;
    SectionKind Kind = SectionKind::Unknown;  // Production or DemoDebug
    std::vector<FileMove> Moves;              // every rename of the run, manual ones included
    bool Undone = false;
};

// The runs of the log, oldest first, each marked when an undo took it back.
std::vector<RunEntry> RunHistory(std::string_view log);

// One line per run: number, date and time, folder, mode, files renamed,
// undone or not, separated by tabs.
std::string RunEntryText(const RunEntry& run);

struct UndoPlan {
    int Number = 0;                        // the run's number in the history, named in the undo's header
    std::string When;                      // and its date and time
    std::string RunName = "the last run";  // how messages name it
    std::string Folder;
    std::vector<FileMove> Moves;  // newest first; From is the name now, To the name it goes back to
    std::string Refusal;          // why nothing can be undone; empty when Moves are to be undone
};

// What undoing run number (0: the last run that renamed something) would do.
UndoPlan PlanUndo(std::string_view log, int number = 0);

struct UndoResult {
    std::vector<FileMove> Undone;
    std::vector<std::string> Left;  // one line per rename left as it is, saying why
};

// What the user is asked before the plan is carried out.
std::string UndoQuestionText(const UndoPlan& plan);

// Carries the plan out in its folder and appends the undo's section to the
// log: the header first, then one line per move as it is made.
UndoResult CarryOutUndo(Context& ctx, const UndoPlan& plan);

std::string UndoSummaryText(const UndoResult& result, std::string_view runName = "the last run");

// Busy: another run holds the folder; nothing was moved.
enum class UndoEnd { NoLog, NothingToDo, Cancelled, Busy, Done, Partly };

// The whole of File > Undo Last Run: reads the log, asks confirm (when given)
// before anything moves, and tells the outcome through ctx.ui.
UndoEnd UndoLastRun(Context& ctx, const std::function<bool(const UndoPlan&)>& confirm);
// The same for run number of the history.
UndoEnd UndoRun(Context& ctx, int number, const std::function<bool(const UndoPlan&)>& confirm);

}  // namespace tagmora
