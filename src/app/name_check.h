#pragma once
// Checking photographs already named: each one whose name holds a catalogue
// number is read again and its label compared with the name. Nothing is
// renamed, asked or logged; the photographs are read in parallel, each
// worker with its own program-wide state, as no previous barcode is used.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/run_settings.h"

namespace tagmora {

enum class NameVerdict : std::uint8_t {
    Agrees,            // the label reads the number in the name
    Disagrees,         // the label reads another number (or a text of another format)
    NoLabel,           // no barcode, and a photograph of the folder agrees with the number
    NoLabelAlone,      // no barcode, and no photograph of the folder agrees with the number
    UnreadableLabel,   // a barcode seen but not read
    NotCatalogueName,  // the name holds no text the format accepts
    CannotOpen,        // the file cannot be decoded
};

struct NameCheckRow {
    std::string Folder;
    std::string File;
    std::string NameNumber{};   // the number in the name; empty for a name without one
    std::string LabelNumber{};  // the text on the label; empty when none was read
    NameVerdict Verdict = NameVerdict::NotCatalogueName;
};

std::string_view VerdictText(NameVerdict verdict);

// A photograph that needs a look: filed under a wrong number, or one that
// cannot be told.
bool NeedsAttention(NameVerdict verdict);

// One worker per core, at least one.
std::size_t CheckWorkersForThisMachine();

// Every *.jpg of folder in the order a run lists them, read with the
// settings' type, orientation, format and Deep Search; nothing when the
// folder cannot be read. folder is written into the rows as given.
std::optional<std::vector<NameCheckRow>> CheckFolderNames(const std::string& folder, SettingValues values,
                                                          std::size_t workers = CheckWorkersForThisMachine());

// The rows as CSV (UTF-8, CRLF line ends), after the header line when asked.
std::string NameCheckCsv(std::span<const NameCheckRow> rows, bool header);

}  // namespace tagmora
