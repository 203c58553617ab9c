#include "general/renaming.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/file_system.h"
#include "base/run_log.h"
#include "base/text_helpers.h"

namespace tagmora {

namespace {

// Attempts per file: the bare name, then the suffixes 1 .. kLast.
constexpr std::int32_t kImageOnlyLastSuffix = 9;
constexpr std::int32_t kImageFilesLastSuffix = 99;

std::string PadLeft(std::string digits, std::size_t width) {
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

std::string NewBase(const RunContext& ctx, std::string_view barcode, std::int32_t counter) {
    std::string newBase(barcode);
    if (counter > 0) newBase += FormatSuffix(ctx.Settings().SuffixFormat(), counter);
    return newBase;
}

// The folder's names a new name must not clash with: all but the files moving.
std::vector<std::string> NamesBesides(const std::string& folder, const std::vector<std::string>& moving) {
    std::vector<std::string> names = ListAllNames(folder);
    std::erase_if(names, [&moving](const std::string& held) {
        return std::find(moving.begin(), moving.end(), held) != moving.end();
    });
    return names;
}

void LogUnrenamed(RunContext& ctx, const std::string& file) {
    LogOutcome(
        ctx,
        {.Kind = OutcomeKind::UnableToRenameFile, .File = ctx.run.CurrentImage, .OtherFile = file, .General = true});
}

// A companion takes the name its photograph has taken, or keeps its own.
void MoveCompanion(RunContext& ctx, const std::string& file, const std::string& target) {
    if (RenameNoReplace(ctx.run.PhotoFolder, file, target))
        LogOutcome(ctx, {.Kind = OutcomeKind::FileRenamed, .File = file, .NewName = target});
    else
        LogUnrenamed(ctx, file);
}

}  // namespace

std::string FormatSuffix(std::string_view fmt, std::int32_t n) {
    const std::string digits = std::to_string(n);
    // The longest run of '#' that occurs decides the padding width.
    struct HashRule {
        std::string_view token;
        std::size_t width;
    };
    constexpr std::array<HashRule, 4> kHashRules{{{"####", 4}, {"###", 3}, {"##", 2}, {"#", 0}}};
    for (const HashRule& rule : kHashRules) {
        if (fmt.find(rule.token) != std::string_view::npos)
            return ReplaceAll(fmt, rule.token, PadLeft(digits, rule.width));
    }
    if (fmt.find('@') != std::string_view::npos) {
        // 1 gives "a"; after "z" come "aa", "ab", ...: letters only, never
        // the characters that follow 'z' in the code table.
        return ReplaceAll(fmt, "@", LetterSuffix(n));
    }
    return digits;
}

ImageOutcome RenameImageOnly(RunContext& ctx, std::string_view barcode) {
    const std::string name = ctx.run.CurrentImage;
    const std::vector<std::string> others = NamesBesides(ctx.run.PhotoFolder, {name});
    const std::int32_t first = ctx.Settings().SuffixAll() ? 1 : 0;
    for (std::int32_t counter = first; counter <= kImageOnlyLastSuffix; ++counter) {
        const std::string newBase = NewBase(ctx, barcode, counter);
        // The raw files stay behind under the old name; the photograph must
        // still not join another photograph's raw file under this one.
        if (HoldsBaseNoCase(others, newBase)) continue;
        const std::string target = newBase + ".jpg";
        if (RenameNoReplace(ctx.run.PhotoFolder, name, target))
            return {.Kind = OutcomeKind::Renamed, .File = name, .NewName = target};
    }
    return {.Kind = OutcomeKind::UnableToRename, .File = name, .General = true};
}

void RenameImageFiles(RunContext& ctx, std::string_view barcode) {
    const std::string name = ctx.run.CurrentImage;
    const std::string base = PhotoBaseName(name);
    // Taken once, before anything moves, so renamed files are not met again.
    std::vector<std::string> files = ListFilesWithBase(ctx.run.PhotoFolder, base);
    // Another photograph is never a companion, even when its name begins with
    // this base (IMG_1.5.jpg beside IMG_1.jpg, IMG_1.jpg beside IMG_1.JPG): it
    // shows a sheet of its own and is read in its own turn.
    std::erase_if(files, [&name](const std::string& file) { return file != name && EndsWithJpgNoCase(file); });
    if (files.empty()) {
        LogOutcome(ctx, {.Kind = OutcomeKind::NotInFolder, .File = name});
        return;
    }
    // The photograph leads: once it has moved, its companions follow it.
    std::stable_partition(files.begin(), files.end(), [&name](const std::string& file) { return file == name; });

    const std::vector<std::string> others = NamesBesides(ctx.run.PhotoFolder, files);
    const std::int32_t first = ctx.Settings().SuffixAll() ? 1 : 0;
    for (std::int32_t counter = first; counter <= kImageFilesLastSuffix; ++counter) {
        const std::string newBase = NewBase(ctx, barcode, counter);
        if (HoldsBaseNoCase(others, newBase)) continue;
        std::vector<std::string> targets;
        for (const std::string& file : files) targets.push_back(ReplaceAllNoCase(file, base, newBase));
        if (std::any_of(targets.begin(), targets.end(),
                        [&others](const std::string& target) { return HoldsNameNoCase(others, target); }))
            continue;
        if (!RenameNoReplace(ctx.run.PhotoFolder, files.front(), targets.front())) continue;
        LogOutcome(ctx, {.Kind = OutcomeKind::FileRenamed, .File = files.front(), .NewName = targets.front()});
        for (std::size_t i = 1; i < files.size(); ++i) MoveCompanion(ctx, files[i], targets[i]);
        return;
    }
    for (const std::string& file : files) LogUnrenamed(ctx, file);
}

}  // namespace tagmora
