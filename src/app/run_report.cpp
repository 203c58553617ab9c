#include "app/run_report.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>

#include "base/file_system.h"
#include "base/sha256.h"
#include "base/text_helpers.h"
#include "symbology/format_match.h"

namespace tagmora {

namespace {

constexpr std::array<std::string_view, 7> kColumns{"folder",  "original name", "new name", "barcode",
                                                   "outcome", "raw files",     "sha256"};
constexpr std::string_view kSymbiotaHeader = "catalogNumber,originalUrl\r\n";
constexpr std::array<std::string_view, 2> kUrlSchemes{"http://", "https://"};

// What a URL may hold as it is (RFC 3986); everything else is percent-encoded.
constexpr bool IsUnreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string NameWithoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

}  // namespace

std::string BarcodeFromName(std::string_view name, std::string_view format) {
    const std::string base = NameWithoutExtension(name);
    // Counted in characters: a barcode may hold extended characters.
    const std::size_t length = CharacterCount(format);
    if (format.empty()) return base;
    for (std::size_t at = 0; at < base.size(); at += CharacterAt(base, at).size()) {
        const std::string_view stretch = FirstCharacters(std::string_view(base).substr(at), length);
        if (CharacterCount(stretch) < length) break;
        if (MatchesFormat(stretch, format)) return std::string(stretch);
    }
    return base;
}

std::vector<ReportRow> ReportRows(const LogSection& section, std::string_view format) {
    std::vector<ReportRow> rows;
    for (const PhotoRecord& record : PhotoRecords(section)) {
        ReportRow row;
        row.Folder = section.Folder;
        row.Original = record.Name;
        if (record.Current != record.Name) row.NewName = record.Current;
        row.Barcode = record.Barcode;
        if (row.Barcode.empty() && !record.RunTarget.empty()) row.Barcode = BarcodeFromName(record.RunTarget, format);
        // The number typed by hand is the one the photograph now carries.
        if (record.Outcome == OutcomeKind::RenamedByHand) row.Barcode = BarcodeFromName(record.Current, format);
        row.Outcome = ReportWord(record.Outcome);
        for (const FileMove& companion : record.Companions)
            row.RawFiles += (row.RawFiles.empty() ? "" : "; ") + companion.To;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string AsUtf8(std::string_view bytes) {
    std::string text;
    for (std::size_t at = 0; at < bytes.size();) {
        if (const std::size_t length = Utf8SequenceLength(bytes, at); length > 0) {
            text += bytes.substr(at, length);
            at += length;
            continue;
        }
        text += Latin1ToUtf8(bytes.substr(at++, 1));
    }
    return text;
}

std::string CsvField(std::string_view text) {
    const std::string utf8 = AsUtf8(text);
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string quoted = "\"";
    for (const char c : utf8) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string ReportCsv(const std::vector<ReportRow>& rows) {
    std::string csv;
    const auto addLine = [&csv](const std::array<std::string_view, kColumns.size()>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) csv += (i == 0 ? "" : ",") + CsvField(fields[i]);
        csv += "\r\n";
    };
    addLine(kColumns);
    for (const ReportRow& row : rows)
        addLine({row.Folder, row.Original, row.NewName, row.Barcode, row.Outcome, row.RawFiles, row.Sha256});
    return csv;
}

namespace {

// The SHA-256 of a row's photograph under its present name; empty when it is
// not there, or when the log names no folder or a name that is no plain file
// name (a log edited by hand must not make us read another file).
std::string PhotographChecksum(const ReportRow& row) {
    const std::string& name = row.NewName.empty() ? row.Original : row.NewName;
    if (row.Folder.empty() || !IsPlainFileName(name)) return {};
    return FileSha256Hex(JoinPath(row.Folder, name)).value_or(std::string());
}

}  // namespace

void AddChecksums(std::vector<ReportRow>& rows) {
    std::atomic<std::size_t> next = 0;
    const auto work = [&rows, &next] {
        for (std::size_t i = next++; i < rows.size(); i = next++) rows[i].Sha256 = PhotographChecksum(rows[i]);
    };
    const std::size_t workers = std::min<std::size_t>(std::max(1U, std::thread::hardware_concurrency()), rows.size());
    std::vector<std::jthread> threads;
    for (std::size_t i = 1; i < workers; ++i) threads.emplace_back(work);
    work();
}

std::string UrlPrefixProblem(std::string_view prefix) {
    const std::string shown = AsUtf8(prefix);
    const auto scheme = std::find_if(kUrlSchemes.begin(), kUrlSchemes.end(), [prefix](std::string_view s) {
        return prefix.size() >= s.size() && EqualsNoCase(prefix.substr(0, s.size()), s);
    });
    if (scheme == kUrlSchemes.end())
        return "The URL prefix must start with http:// or https://, not \"" + shown + "\".";
    if (prefix.size() == scheme->size() || prefix[scheme->size()] == '/')
        return "The URL prefix names no server after " + std::string(*scheme) + ": \"" + shown + "\".";
    if (std::any_of(prefix.begin(), prefix.end(),
                    [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; }))
        return "The URL prefix holds a blank or a control character (write a blank as %20): \"" + shown + "\".";
    return {};
}

std::string PhotographUrl(std::string_view prefix, std::string_view name) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string url(prefix);
    if (!url.ends_with('/')) url += '/';
    for (const char c : AsUtf8(name)) {
        if (IsUnreserved(c)) {
            url += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        url += '%';
        url += kHex[byte >> 4];
        url += kHex[byte & 0x0F];
    }
    return url;
}

std::string SymbiotaCsv(const std::vector<ReportRow>& rows, std::string_view format, std::string_view urlPrefix) {
    std::string csv(kSymbiotaHeader);
    for (const ReportRow& row : rows) {
        if (row.NewName.empty()) continue;
        // The name is what the portal's record will be known by: a number
        // typed by hand in Manual Rename wins over a text read.
        const bool nameCarriesBarcode = !row.Barcode.empty() && row.NewName.find(row.Barcode) != std::string::npos;
        const std::string number = nameCarriesBarcode ? row.Barcode : BarcodeFromName(row.NewName, format);
        csv += CsvField(number) + "," + CsvField(PhotographUrl(urlPrefix, row.NewName)) + "\r\n";
    }
    return csv;
}

std::string ReportRefusal(const LogSection& section) {
    if (section.Kind == SectionKind::Production || section.Kind == SectionKind::DemoDebug) return {};
    return section.Kind == SectionKind::Undo ? "The last run has been undone: there is no run to report."
                                             : "The end of the log is not a run: there is nothing to report.";
}

LastRunReport ReportOfLastRun(std::string_view log, std::string_view format, const ReportLayout& layout) {
    const LogSection section = LastLogSection(log);
    if (std::string refusal = ReportRefusal(section); !refusal.empty()) return {{}, std::move(refusal)};
    std::vector<ReportRow> rows = ReportRows(section, format);
    if (layout.Style == ReportStyle::Symbiota) return {SymbiotaCsv(rows, format, layout.UrlPrefix), {}};
    AddChecksums(rows);
    return {ReportCsv(rows), {}};
}

}  // namespace tagmora
