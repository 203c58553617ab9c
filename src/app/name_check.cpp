#include "app/name_check.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <set>
#include <system_error>
#include <thread>

#include "app/context.h"
#include "app/run_report.h"
#include "base/file_system.h"
#include "base/silent_front_end.h"
#include "photo/jpeg_intake.h"
#include "symbology/format_match.h"

namespace tagmora {

namespace {

constexpr std::array<std::string_view, 7> kVerdictTexts{
    "agrees",           "disagrees",
    "no label",         "no label, no agreeing photograph",
    "unreadable label", "not a catalogue name",
    "cannot open",
};
static_assert(kVerdictTexts.size() == static_cast<std::size_t>(NameVerdict::CannotOpen) + 1);

constexpr std::string_view kHeader = "folder,file,number in name,number on label,verdict\r\n";

// The label against the name, before the folder's other photographs are
// known. A whole label of another format is a number the photograph is not
// filed under either.
NameCheckRow Compare(NameCheckRow row, const ScanVerdict& verdict) {
    if (verdict.Read()) {
        row.LabelNumber = verdict.Text;
        row.Verdict = verdict.Text == row.NameNumber ? NameVerdict::Agrees : NameVerdict::Disagrees;
    } else if (!verdict.UnmatchedBarcode.empty()) {
        row.LabelNumber = verdict.UnmatchedBarcode;
        row.Verdict = NameVerdict::Disagrees;
    } else {
        row.Verdict = verdict.BarcodeSeen ? NameVerdict::UnreadableLabel : NameVerdict::NoLabel;
    }
    return row;
}

// One worker's own program-wide state: the pipelines' carried-over values
// are reset for every photograph, so that a photograph reads the same
// whichever worker takes it and whatever it took before.
class CheckWorker {
public:
    CheckWorker(const std::string& folder, const SettingValues& values) : folder_(folder), ui_(values) {
        state_.run.PhotoFolder = folder;
        state_.run.VerticalScan = values.RotationIndex != 0;
    }

    NameCheckRow Check(const std::string& file) {
        NameCheckRow row{.Folder = folder_, .File = file};
        const std::string format = ui_.Settings().BarcodeFormat();
        const std::string number = BarcodeFromName(file, format);
        if (!MatchesFormat(number, format)) return row;
        row.NameNumber = number;
        if (LoadJpegGrey(JoinPath(folder_, file), state_.bitmap) != JpegResult::Ok) {
            row.Verdict = NameVerdict::CannotOpen;
            return row;
        }
        state_.general = {};
        state_.closeUp = {};
        state_.run.KeepGoing = true;
        state_.run.CurrentImage = file;
        Context ctx = state_.ContextFor(ui_);
        const bool general = ui_.Settings().IsGeneralType();
        return Compare(std::move(row), general ? ReadGeneralImage(ctx.General()) : ReadCloseUpImage(ctx.CloseUp()));
    }

private:
    const std::string& folder_;
    SilentFrontEnd ui_;
    CoreState state_;
};

// A photograph without a label is a detail of the specimen it is named
// after: fine when a photograph of the folder shows that label.
void JudgeDetails(std::vector<NameCheckRow>& rows) {
    std::set<std::string> agreeing;
    for (const NameCheckRow& row : rows)
        if (row.Verdict == NameVerdict::Agrees) agreeing.insert(row.NameNumber);
    for (NameCheckRow& row : rows)
        if (row.Verdict == NameVerdict::NoLabel && !agreeing.contains(row.NameNumber))
            row.Verdict = NameVerdict::NoLabelAlone;
}

}  // namespace

std::string_view VerdictText(NameVerdict verdict) { return kVerdictTexts[static_cast<std::size_t>(verdict)]; }

bool NeedsAttention(NameVerdict verdict) {
    return verdict == NameVerdict::Disagrees || verdict == NameVerdict::UnreadableLabel ||
           verdict == NameVerdict::CannotOpen;
}

std::size_t CheckWorkersForThisMachine() { return std::max(1U, std::thread::hardware_concurrency()); }

std::optional<std::vector<NameCheckRow>> CheckFolderNames(const std::string& folder, SettingValues values,
                                                          std::size_t workers) {
    std::vector<std::string> files;
    if (!ListJpegFiles(folder, files)) return std::nullopt;
    // The check only reads: nothing may prompt or pause.
    values.ModeIndex = 0;
    values.PauseEachLine = false;

    std::vector<NameCheckRow> rows(files.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        CheckWorker worker(folder, values);
        for (std::size_t at = next++; at < files.size(); at = next++) rows[at] = worker.Check(files[at]);
    };
    {
        std::vector<std::jthread> threads;
        const std::size_t count = std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(files.size(), 1));
        // A worker that cannot be started leaves its share to the others.
        try {
            for (std::size_t i = 1; i < count; ++i) threads.emplace_back(work);
        } catch (const std::system_error&) {
        }
        work();
    }
    JudgeDetails(rows);
    return rows;
}

std::string NameCheckCsv(std::span<const NameCheckRow> rows, bool header) {
    std::string csv = header ? std::string(kHeader) : std::string();
    for (const NameCheckRow& row : rows) {
        csv += CsvField(row.Folder) + "," + CsvField(row.File) + "," + CsvField(row.NameNumber) + "," +
               CsvField(row.LabelNumber) + "," + CsvField(VerdictText(row.Verdict)) + "\r\n";
    }
    return csv;
}

}  // namespace tagmora
