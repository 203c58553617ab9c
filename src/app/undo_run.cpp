#include "app/undo_run.h"

#include <ctime>
#include <optional>
#include <vector>

#include "app/batch_run.h"
#include "app/context.h"
#include "base/file_helpers.h"
#include "base/file_system.h"
#include "base/folder_lock.h"
#include "base/run_log.h"
#include "base/text_helpers.h"

namespace tagmora {

namespace {

std::string RefusalFor(SectionKind kind) {
    switch (kind) {
    case SectionKind::Undo:
        return "The last run has been undone already: there is nothing to undo.";
    case SectionKind::DemoDebug:
        return "The last run was a Demo/Debug run and renamed nothing: there is nothing to undo.";
    case SectionKind::Production:
        return "The last run renamed nothing: there is nothing to undo.";
    case SectionKind::Unknown:
        break;
    }
    return "The end of the log is not a run that can be undone.";
}

// Why a move back cannot be made, or nothing when it can be tried.
std::optional<std::string> Obstacle(const std::string& folder, const FileMove& move) {
    if (!IsPlainFileName(move.From) || !IsPlainFileName(move.To)) return "not a plain file name";
    if (!FileExists(JoinPath(folder, move.From))) return move.From + " is no longer there";
    std::vector<std::string> others = ListAllNames(folder);
    std::erase(others, move.From);
    if (HoldsNameNoCase(others, move.To)) return move.To + " is taken";
    return std::nullopt;
}

// Whether an undo's header names this run: its date, time and folder (two
// runs may start within one second), and one that renamed something.
bool Names(const LogSection& undo, const RunEntry& run) {
    return run.When == undo.UndoneRun && run.Folder == undo.Folder && !run.Moves.empty() && !run.Undone;
}

// An undo marks the run it names: by number, unless the log was cut since,
// then the latest one that fits. An undo of "the last run" took back the run
// just before it.
void MarkUndone(std::vector<RunEntry>& runs, const LogSection& undo) {
    if (undo.UndoneRun.empty()) {
        if (!runs.empty()) runs.back().Undone = true;
        return;
    }
    const auto numbered = static_cast<std::size_t>(undo.UndoneNumber);
    if (numbered >= 1 && numbered <= runs.size() && Names(undo, runs[numbered - 1])) {
        runs[numbered - 1].Undone = true;
        return;
    }
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        if (!Names(undo, *run)) continue;
        run->Undone = true;
        return;
    }
}

// The last run that renamed something, undone or not: a later Demo/Debug
// run, or one that found nothing to rename, does not hide it.
const RunEntry* LastRenamingRun(const std::vector<RunEntry>& runs) {
    for (auto run = runs.rbegin(); run != runs.rend(); ++run)
        if (!run->Moves.empty()) return &*run;
    return nullptr;
}

}  // namespace

std::vector<RunEntry> RunHistory(std::string_view log) {
    std::vector<RunEntry> runs;
    for (LogSection& section : AllLogSections(log)) {
        if (section.Kind == SectionKind::Undo) {
            MarkUndone(runs, section);
            continue;
        }
        if (section.Kind != SectionKind::Production && section.Kind != SectionKind::DemoDebug) continue;
        RunEntry run;
        run.Number = static_cast<int>(runs.size()) + 1;
        run.Moves = SectionMoves(section);
        run.When = std::move(section.When);
        run.Folder = std::move(section.Folder);
        run.Kind = section.Kind;
        runs.push_back(std::move(run));
    }
    return runs;
}

std::string RunEntryText(const RunEntry& run) {
    return std::to_string(run.Number) + "\t" + run.When + "\t" + run.Folder + "\t" +
           (run.Kind == SectionKind::Production ? "Production" : "Demo/Debug") + "\t" +
           std::to_string(run.Moves.size()) + " renamed\t" + (run.Undone ? "undone" : "not undone");
}

UndoPlan PlanUndo(std::string_view log, int number) {
    const std::vector<RunEntry> runs = RunHistory(log);
    const RunEntry* run = number == 0 ? LastRenamingRun(runs) : nullptr;
    if (number > 0 && number <= static_cast<int>(runs.size())) run = &runs[static_cast<std::size_t>(number) - 1];
    UndoPlan plan;
    if (run == nullptr) {
        plan.Refusal =
            number == 0 ? RefusalFor(LastLogSection(log).Kind) : "The log holds no run " + std::to_string(number) + ".";
        return plan;
    }
    plan.Folder = run->Folder;
    plan.Number = run->Number;
    plan.When = run->When;
    if (number > 0) plan.RunName = "run " + std::to_string(number);
    if (run->Undone) {
        plan.Refusal =
            number == 0 ? RefusalFor(SectionKind::Undo) : "Run " + std::to_string(number) + " has been undone already.";
        return plan;
    }
    if (run->Moves.empty()) {
        plan.Refusal = "Run " + std::to_string(number) + " renamed nothing: there is nothing to undo.";
        return plan;
    }
    // Taken back newest first, so a name a later rename freed is free again
    // when an earlier one needs it.
    for (auto move = run->Moves.rbegin(); move != run->Moves.rend(); ++move)
        plan.Moves.push_back({move->To, move->From});
    return plan;
}

std::string UndoQuestionText(const UndoPlan& plan) {
    return "Rename back the " + std::to_string(plan.Moves.size()) + " files " + plan.RunName + " renamed in " +
           plan.Folder + "?" + std::string(kCrLf) +
           "Newest first; a file whose old name is taken meanwhile is left as it is.";
}

UndoResult CarryOutUndo(Context& ctx, const UndoPlan& plan) {
    UndoResult result;
    // The run is named by its date and time: it need not be the section
    // just before this one.
    const std::string kindLine = plan.When.empty() ? std::string(kUndoHeaderLine)
                                                   : std::string(kUndoRunHeaderPrefix) + std::to_string(plan.Number) +
                                                         std::string(kUndoRunHeaderOf) + plan.When + ":";
    AppendLogLine(ctx, SectionHeaderText(std::time(nullptr), kindLine + std::string(kCrLf)));
    AppendLogLine(ctx, DirectoryEntryText(plan.Folder));
    for (const FileMove& move : plan.Moves) {
        std::optional<std::string> obstacle = Obstacle(plan.Folder, move);
        if (!obstacle && !RenameNoReplace(plan.Folder, move.From, move.To)) obstacle = "the move failed";
        if (obstacle) {
            result.Left.push_back(move.From + " not renamed back to " + move.To + ": " + *obstacle);
            AppendLogLine(ctx, "Not undone: " + result.Left.back());
            continue;
        }
        LogOutcome(ctx, {.Kind = OutcomeKind::FileRenamed, .File = move.From, .NewName = move.To});
        result.Undone.push_back(move);
    }
    return result;
}

std::string UndoSummaryText(const UndoResult& result, std::string_view runName) {
    std::string text = std::to_string(result.Undone.size()) + " renames of " + std::string(runName) + " undone.";
    if (result.Left.empty()) return text;
    text += kCrLf;
    text += std::to_string(result.Left.size()) + " left as they are:";
    for (const std::string& left : result.Left) text += std::string(kCrLf) + left;
    return text;
}

UndoEnd UndoLastRun(Context& ctx, const std::function<bool(const UndoPlan&)>& confirm) {
    return UndoRun(ctx, 0, confirm);
}

UndoEnd UndoRun(Context& ctx, int number, const std::function<bool(const UndoPlan&)>& confirm) {
    const std::optional<std::string> log = ReadTextFile(LogFilePath(ctx.run), ctx.ui);
    if (!log) return UndoEnd::NoLog;
    const UndoPlan plan = PlanUndo(*log, number);
    if (!plan.Refusal.empty()) {
        ctx.ui.ShowMessage(plan.Refusal);
        return UndoEnd::NothingToDo;
    }
    if (confirm && !confirm(plan)) return UndoEnd::Cancelled;
    const FolderLock lock(plan.Folder);
    if (lock.Refused()) {
        ctx.ui.ShowMessage(FolderBusyText(plan.Folder));
        return UndoEnd::Busy;
    }
    const UndoResult result = CarryOutUndo(ctx, plan);
    ctx.ui.ShowMessage(UndoSummaryText(result, plan.RunName));
    return result.Left.empty() ? UndoEnd::Done : UndoEnd::Partly;
}

}  // namespace tagmora
