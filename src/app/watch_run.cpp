#include "app/watch_run.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <set>
#include <string_view>
#include <vector>

#include "app/batch_run.h"
#include "app/context.h"
#include "app/decode_ahead.h"
#include "app/process_image.h"
#include "app/run_section.h"
#include "base/file_system.h"
#include "base/folder_lock.h"
#include "base/folder_watcher.h"
#include "base/run_log.h"
#include "base/text_helpers.h"

namespace tagmora {

namespace {

// Passes everything on to the real front end and keeps the log lines of the
// photograph in hand: they tell what it was renamed to.
class LogLineRecorder final : public FrontEnd {
public:
    explicit LogLineRecorder(FrontEnd& ui) : ui_(ui) {}

    std::vector<std::string> lines;

    const RunSettings& Settings() const override { return ui_.Settings(); }
    void ShowMessage(std::string_view text) override { ui_.ShowMessage(text); }
    bool AskOkCancel(std::string_view text) override { return ui_.AskOkCancel(text); }
    void ShowPhotoWindow(std::int32_t total) override { ui_.ShowPhotoWindow(total); }
    void HidePhotoWindow() override { ui_.HidePhotoWindow(); }
    void SetImageName(std::string_view name) override { ui_.SetImageName(name); }
    void SetCountText(std::string_view text) override { ui_.SetCountText(text); }
    void ShowPicture(const WorkBitmap& bitmap) override { ui_.ShowPicture(bitmap); }
    void DrawStrip(const PixelRect& rect, StripColour colour) override { ui_.DrawStrip(rect, colour); }
    void DrawOutline(std::span<const PicturePoint> points, bool closed, StripColour colour) override {
        ui_.DrawOutline(points, closed, colour);
    }
    void ProcessPendingEvents() override { ui_.ProcessPendingEvents(); }
    void ProcessEventsDuringImage() override { ui_.ProcessEventsDuringImage(); }
    void LogLineAppended(std::string_view line) override {
        lines.emplace_back(line);
        ui_.LogLineAppended(line);
    }
    void ImageFinished(std::int32_t index, std::int32_t total, std::string_view name) override {
        ui_.ImageFinished(index, total, name);
    }

private:
    FrontEnd& ui_;
};

struct NameOrder {
    bool operator()(const std::string& a, const std::string& b) const { return LessByNameNoCase(a, b); }
};

// A photograph renamed with the files of its base name: a file of that base
// name arriving later takes the same new base name.
struct RenamedBase {
    std::string Old;    // the photograph's base name before the watch renamed it
    std::string New;    // its base name since
    std::string Photo;  // the photograph's old name, for the log
};

// Written to within the quiet period: it may still be being written.
bool RecentlyWritten(const std::string& path, std::chrono::milliseconds quiet) {
    const std::optional<FileIdentity> identity = IdentityOfPath(path);
    if (!identity) return false;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto written =
        std::chrono::seconds(identity->ModifiedSeconds) + std::chrono::nanoseconds(identity->ModifiedNanoseconds);
    return now - written < quiet;
}

constexpr std::chrono::milliseconds kLongestWait{500};

}  // namespace

struct FolderWatch::State {
    State(Context& outer, WatchOptions watchOptions)
        : options(std::move(watchOptions)),
          recorder(outer.ui),
          ctx{{outer.run, recorder}, outer.general, outer.closeUp, outer.bitmap} {}

    WatchOptions options;
    LogLineRecorder recorder;
    Context ctx;
    std::optional<FolderLock> lock;
    std::optional<RunInProgressGuard> inProgress;
    std::optional<FolderWatcher> watcher;
    std::set<std::string, NameOrder> ready;  // complete photographs not yet handed on
    std::set<std::string> own;               // names the watch gave, and photographs it handed on that kept their name
    std::vector<RenamedBase> renamed;
    std::optional<WatchEnd> ended;
    bool stepping = false;

    bool StopAsked() const { return options.StopAsked && options.StopAsked(); }
    std::string Path(std::string_view name) const { return JoinPath(ctx.run.PhotoFolder, name); }

    void Take(const std::vector<std::string>& complete);
    void HandOnReady();
    bool EarlierStillWritten(const std::string& photo) const;
    void HandOn(const std::string& photo);
    void NoteRenames(const std::string& photo);
    void Follow(const std::string& file);
};

void FolderWatch::State::Take(const std::vector<std::string>& complete) {
    std::vector<std::string> others;
    for (const std::string& name : complete) {
        // The watch's own renames come back as notices; hidden files are
        // other programs' work in progress.
        if (own.count(name) != 0 || IsHiddenName(name) || HoldsLineBreak(name)) continue;
        if (EndsWithJpgNoCase(name))
            ready.insert(name);
        else
            others.push_back(name);
    }
    HandOnReady();
    // After the photographs: a raw file of a photograph handed on just now
    // has moved with it already.
    for (const std::string& name : others) Follow(name);
}

// Shooting order is name order: a photograph waits while one named before it
// is still being written, so that a detail shot never takes the number of a
// label that comes after it.
bool FolderWatch::State::EarlierStillWritten(const std::string& photo) const {
    const std::vector<std::string> incomplete = watcher->Incomplete();
    return std::any_of(incomplete.begin(), incomplete.end(), [&](const std::string& name) {
        return EndsWithJpgNoCase(name) && !IsHiddenName(name) && LessByNameNoCase(name, photo);
    });
}

void FolderWatch::State::HandOnReady() {
    while (!ready.empty() && !ended) {
        if (StopAsked() || !ctx.run.KeepGoing) {
            ended = ctx.run.KeepGoing ? WatchEnd::Stopped : WatchEnd::Aborted;
            return;
        }
        const std::string photo = *ready.begin();
        if (EarlierStillWritten(photo)) return;
        ready.erase(ready.begin());
        if (IsRegularFile(Path(photo))) HandOn(photo);  // gone meanwhile: nothing to do
    }
}

void FolderWatch::State::HandOn(const std::string& photo) {
    if (PassesOver(ctx, photo)) {
        own.insert(photo);
        return;
    }
    recorder.lines.clear();
    ProcessImage(ctx, photo);
    const auto index = ctx.run.ProcessedCount + 1;
    if (!AfterImage(ctx, photo, index, index + static_cast<std::int32_t>(ready.size()))) ended = WatchEnd::Aborted;
    ctx.run.CurrentImage.clear();  // waiting for the camera: nothing in hand to skip
    NoteRenames(photo);
}

// What the log lines of the photograph say it and its files became. A name
// the watch renamed away is free again: a camera may write it once more.
void FolderWatch::State::NoteRenames(const std::string& photo) {
    for (const std::string& line : recorder.lines) {
        const ImageOutcome outcome = ParseOutcomeLine(line);
        if (!MovesFile(outcome.Kind)) continue;
        own.insert(outcome.NewName);
        // "-Renamed" lines come from renaming every file of the base name.
        if (outcome.Kind == OutcomeKind::FileRenamed && outcome.File == photo) {
            const std::string old = PhotoBaseName(photo);
            std::erase_if(renamed, [&](const RenamedBase& base) { return EqualsNoCase(base.Old, old); });
            renamed.push_back({old, PhotoBaseName(outcome.NewName), photo});
        }
    }
    if (IsRegularFile(Path(photo)))
        own.insert(photo);
    else
        own.erase(photo);
}

// A file arriving after its photograph was renamed with the files of its base
// name gets the same new base name; it never replaces a file.
void FolderWatch::State::Follow(const std::string& file) {
    const auto base = std::find_if(renamed.rbegin(), renamed.rend(), [&](const RenamedBase& renamedBase) {
        return StartsWithNoCase(file, renamedBase.Old + ".");
    });
    if (base == renamed.rend() || !IsRegularFile(Path(file))) return;
    const std::string target = ReplaceAllNoCase(file, base->Old, base->New);
    if (RenameNoReplace(ctx.run.PhotoFolder, file, target)) {
        own.insert(target);
        LogOutcome(ctx, {.Kind = OutcomeKind::FileRenamed, .File = file, .NewName = target});
        return;
    }
    LogOutcome(ctx, {.Kind = OutcomeKind::UnableToRenameFile, .File = base->Photo, .OtherFile = file, .General = true});
}

FolderWatch::FolderWatch(Context& ctx, WatchOptions options)
    : state_(std::make_unique<State>(ctx, std::move(options))) {}

FolderWatch::~FolderWatch() = default;

std::optional<WatchEnd> FolderWatch::Start() {
    State& s = *state_;
    Context& ctx = s.ctx;
    if (ctx.run.RunInProgress) return WatchEnd::Refused;
    // Watching starts before the listing, so that a photograph written
    // meanwhile is met by one or the other.
    const std::string folder = ctx.Settings().PhotoFolder();
    s.watcher.emplace(folder, s.options.QuietPeriod);
    if (!s.watcher->Valid()) {
        ctx.ui.ShowMessage("Unable to watch the folder " + s.watcher->Error());
        return WatchEnd::CannotWatch;
    }
    // One run renames in a folder at a time: the lock a batch run takes is
    // taken here too, for the whole watch, before the header is written.
    s.lock.emplace(folder);
    if (s.lock->Refused()) {
        ctx.ui.ShowMessage(FolderBusyText(folder));
        s.lock.reset();
        return WatchEnd::Refused;
    }
    s.inProgress.emplace(ctx.run);
    BeginRunSection(ctx);
    ctx.run.CurrentImage.clear();

    std::vector<std::string> names;
    std::vector<std::string> passedOver;
    ListJpegFiles(ctx.run.PhotoFolder, names, &passedOver);
    for (const std::string& name : passedOver) s.own.insert(name);
    ctx.ui.ShowPhotoWindow(static_cast<std::int32_t>(names.size()));
    for (const std::string& name : names) {
        if (RecentlyWritten(s.Path(name), s.options.QuietPeriod))
            s.watcher->Track(name);
        else
            s.ready.insert(name);
    }
    s.HandOnReady();
    return std::nullopt;
}

int FolderWatch::NoticeFd() const { return state_->watcher ? state_->watcher->Fd() : -1; }

std::optional<std::chrono::milliseconds> FolderWatch::TimeToNextLook() const {
    return state_->watcher ? state_->watcher->TimeToNextLook() : std::nullopt;
}

void FolderWatch::Step(std::chrono::milliseconds wait) {
    State& s = *state_;
    if (s.stepping || s.ended || !s.watcher) return;
    s.stepping = true;
    if (s.StopAsked() || !s.ctx.run.KeepGoing) {
        s.ended = s.ctx.run.KeepGoing ? WatchEnd::Stopped : WatchEnd::Aborted;  // Abort clicked while waiting
    } else {
        s.Take(s.watcher->Wait(wait));
        // Asked during the photograph in hand: it was the last.
        if (!s.ended && s.StopAsked()) s.ended = WatchEnd::Stopped;
        if (!s.ended && s.watcher->FolderGone()) {
            s.ctx.ui.ShowMessage("The folder " + s.ctx.run.PhotoFolder + " is gone: the watch has ended.");
            s.ended = WatchEnd::FolderGone;
        }
    }
    s.stepping = false;
}

std::optional<WatchEnd> FolderWatch::Ended() const { return state_->ended; }

WatchEnd FolderWatch::Finish() {
    State& s = *state_;
    EndRun(s.ctx);
    s.inProgress.reset();
    s.watcher.reset();
    return s.ended.value_or(WatchEnd::Stopped);
}

WatchEnd WatchFolder(Context& ctx, WatchOptions options) {
    FolderWatch watch(ctx, std::move(options));
    if (const std::optional<WatchEnd> refused = watch.Start()) return *refused;
    while (!watch.Ended()) watch.Step(kLongestWait);
    return watch.Finish();
}

}  // namespace tagmora
