#pragma once
// Reading one scan line of a whole-sheet photograph: what the caller passes
// in (the pipeline's lists, the format the text must fit, an observer for the
// lines tried) and what comes back. The reading code reaches neither the run
// state nor the front end: the flow turns the marks into strips and prompts
// and the result into the image's outcome.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/front_end.h"
#include "general/general_state.h"
#include "symbology/code39.h"
#include "symbology/format_match.h"

namespace tagmora {

// Told of every mark the reading makes on the line: black for a stretch
// tried, red for the one that read. The band is the stretch of the line
// that was handed to the engine.
class LineObserver {
public:
    virtual ~LineObserver() = default;
    virtual void LineMarked(StripColour colour, std::int32_t line, std::int32_t bandStart, std::int32_t bandEnd) = 0;
};

// What one scan line tells about the image besides its text.
struct LineResult {
    std::optional<bool> StartSeen;  // the line's latest Code 39 attempt met the start character
    std::string UnmatchedBarcode;   // the first whole text that did not fit the format
};

// The state of one line's reading, handed down from the line analysis to
// the decoders. readValid is the verdict so far, as each step leaves it.
struct LineReading {
    LineReading(GeneralState& lists, std::string_view textFormat, LineObserver& marks, std::int32_t lineTried = 0)
        : general(lists), format(textFormat), observer(marks), line(lineTried) {}

    GeneralState& general;
    std::string_view format;
    LineObserver& observer;
    std::int32_t line = 0;
    bool readValid = false;
    LineResult result;

    void Mark(StripColour colour) { observer.LineMarked(colour, line, general.BandStart, general.BandEnd); }

    // Accepts the text when it fits the format: readValid, the verdict so
    // far, becomes the format check's answer, which is returned.
    bool Accept(std::string_view text) {
        readValid = MatchesFormat(text, format);
        return readValid;
    }

    // Decodes a Code 39 run string, keeping what the attempt tells about the
    // line; readValid then says whether the text fits the format.
    std::string DecodeCode39(std::string_view runString) {
        Code39Read read = tagmora::DecodeCode39(runString, format);
        result.StartSeen = read.StartSeen;
        readValid = read.Accepted;
        NoteUnmatched(read.Unmatched(), read.Text);
        return std::move(read.Text);
    }

    void NoteUnmatched(bool unmatched, std::string_view text) {
        if (unmatched && result.UnmatchedBarcode.empty()) result.UnmatchedBarcode = text;
    }
};

}  // namespace tagmora
