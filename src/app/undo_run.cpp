#include "app/undo_run.h"

#include <ctime>
#include <optional>

#include "app/batch_run.h"
#include "app/context.h"
#include "base/file_helpers.h"
#include "base/file_system.h"
#include "base/run_log.h"
#include "base/text_helpers.h"

namespace tagmora {

namespace {

std::string RefusalFor(const LogSection& section) {
    switch (section.Kind) {
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
    if (FileExists(JoinPath(folder, move.To))) return move.To + " is taken";
    return std::nullopt;
}

}  // namespace

UndoPlan PlanUndo(std::string_view log) {
    const LogSection section = LastLogSection(log);
    UndoPlan plan;
    plan.Folder = section.Folder;
    const bool undoable = section.Kind == SectionKind::Production || section.Kind == SectionKind::DemoDebug;
    if (undoable) {
        // Taken back newest first, so a name a later rename freed is free again
        // when an earlier one needs it.
        const std::vector<FileMove> moves = SectionMoves(section);
        for (auto move = moves.rbegin(); move != moves.rend(); ++move) plan.Moves.push_back({move->To, move->From});
    }
    if (!undoable || plan.Moves.empty()) plan.Refusal = RefusalFor(section);
    return plan;
}

std::string UndoQuestionText(const UndoPlan& plan) {
    return "Rename back the " + std::to_string(plan.Moves.size()) + " files the last run renamed in " + plan.Folder +
           "?" + std::string(kCrLf) + "Newest first; a file whose old name is taken meanwhile is left as it is.";
}

UndoResult CarryOutUndo(Context& ctx, const UndoPlan& plan) {
    UndoResult result;
    AppendLogLine(ctx, SectionHeaderText(std::time(nullptr), std::string(kUndoHeaderLine) + std::string(kCrLf)));
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

std::string UndoSummaryText(const UndoResult& result) {
    std::string text = std::to_string(result.Undone.size()) + " renames of the last run undone.";
    if (result.Left.empty()) return text;
    text += kCrLf;
    text += std::to_string(result.Left.size()) + " left as they are:";
    for (const std::string& left : result.Left) text += std::string(kCrLf) + left;
    return text;
}

UndoEnd UndoLastRun(Context& ctx, const std::function<bool(const UndoPlan&)>& confirm) {
    const std::optional<std::string> log = ReadTextFile(LogFilePath(ctx.run), ctx.ui);
    if (!log) return UndoEnd::NoLog;
    const UndoPlan plan = PlanUndo(*log);
    if (!plan.Refusal.empty()) {
        ctx.ui.ShowMessage(plan.Refusal);
        return UndoEnd::NothingToDo;
    }
    if (confirm && !confirm(plan)) return UndoEnd::Cancelled;
    const UndoResult result = CarryOutUndo(ctx, plan);
    ctx.ui.ShowMessage(UndoSummaryText(result));
    return result.Left.empty() ? UndoEnd::Done : UndoEnd::Partly;
}

}  // namespace tagmora
