#include "general/renaming.h"

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
    const std::int32_t first = ctx.Settings().SuffixAll() ? 1 : 0;
    for (std::int32_t counter = first; counter <= kImageOnlyLastSuffix; ++counter) {
        std::string target(barcode);
        if (counter > 0) target += FormatSuffix(ctx.Settings().SuffixFormat(), counter);
        target += ".jpg";
        if (RenameNoReplace(ctx.run.PhotoFolder, name, target))
            return {.Kind = OutcomeKind::Renamed, .File = name, .NewName = target};
    }
    return {.Kind = OutcomeKind::UnableToRename, .File = name, .General = true};
}

void RenameImageFiles(RunContext& ctx, std::string_view barcode) {
    const std::string name = ctx.run.CurrentImage;
    const std::string base = ReplaceAllNoCase(name, ".jpg", "");
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

    const std::int32_t first = ctx.Settings().SuffixAll() ? 1 : 0;
    for (const std::string& file : files) {
        bool renamed = false;
        for (std::int32_t counter = first; counter <= kImageFilesLastSuffix && !renamed; ++counter) {
            std::string newBase(barcode);
            if (counter > 0) newBase += FormatSuffix(ctx.Settings().SuffixFormat(), counter);
            const std::string target = ReplaceAllNoCase(file, base, newBase);
            if (RenameNoReplace(ctx.run.PhotoFolder, file, target)) {
                LogOutcome(ctx, {.Kind = OutcomeKind::FileRenamed, .File = file, .NewName = target});
                renamed = true;
            }
        }
        if (!renamed)
            LogOutcome(ctx,
                       {.Kind = OutcomeKind::UnableToRenameFile, .File = name, .OtherFile = file, .General = true});
    }
}

}  // namespace tagmora
