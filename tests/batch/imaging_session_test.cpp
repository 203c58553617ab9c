// A day's imaging replayed in Production: sheets of several specimens, each
// followed by detail photographs without a label, the labels lying at any
// angle and printed by different label printers. No photograph may end under
// another specimen's number; one not named after its own keeps its name and
// is logged as a problem. Reduced-size photographs keep the runs short.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/batch_run.h"
#include "batch_fixtures.h"
#include "support/barcode_render.h"
#include "support/hard_sheet.h"

namespace tagmora {
namespace {

using support::Distractor;
using support::Symbology;
using support::TurnedLabel;

support::SheetOptions Reduced(unsigned seed) {
    return {.width = 1000, .height = 700, .barHeight = 50, .blurSigma = 0.6, .noiseSigma = 2.0, .seed = seed};
}

// Code 128 from a start symbol and the text's set A or B values, the digits
// after the fourth character in set C when asked.
std::vector<int> Code128From(int start, std::string_view text, bool digitsInC) {
    std::vector<int> values;
    const std::size_t plain = digitsInC ? 4 : text.size();
    for (std::size_t i = 0; i < plain; ++i) values.push_back(text[i] - 32);
    if (digitsInC) values.push_back(99);
    for (std::size_t i = plain; i + 1 < text.size(); i += 2) values.push_back((text[i] - '0') * 10 + text[i + 1] - '0');
    return support::RenderCode128Values(start, values);
}

struct Shot {
    std::string number;  // of the specimen it shows
    std::string jpeg;
};

// Five specimens, each a sheet and then two detail photographs: one label the
// scan lines read, the others turned, or Code 128 in set B throughout or
// from Start A, which the scan lines miss.
const std::vector<Shot>& Session() {
    static const std::vector<Shot> shots = [] {
        struct Specimen {
            std::vector<int> runs;
            double module, angle;
        };
        const std::string numbers[] = {"QSZ0100001", "QSZ0100002", "QSZ0100003", "QSZ0100004", "QSZ0100005"};
        const Specimen specimens[] = {
            {support::RenderModules(Symbology::Code39, numbers[0]), 4.0, 0},
            {support::RenderModules(Symbology::Code128, numbers[1]), 2.0, 30},
            {Code128From(104, numbers[2], false), 2.5, 0},
            {support::RenderModules(Symbology::Code39, numbers[3]), 2.0, 100},
            {Code128From(103, numbers[4], true), 2.5, 200},
        };
        const Distractor details[] = {Distractor::All, Distractor::Table, Distractor::Ruler, Distractor::TypedText,
                                      Distractor::ColourChart};
        std::vector<Shot> list;
        for (unsigned i = 0; i < 5; ++i) {
            TurnedLabel label{specimens[i].runs, specimens[i].module, specimens[i].angle};
            label.centreX = 550 + 60 * i;
            label.centreY = 350 + 40 * i;
            list.push_back({numbers[i], support::EncodeJpeg(support::MakeTurnedSheet({label}, Reduced(10 + i)), 90)});
            list.push_back({numbers[i], support::EncodeJpeg(support::MakeBlankSheet(Reduced(20 + i)), 90)});
            list.push_back(
                {numbers[i], support::EncodeJpeg(support::MakeDistractorSheet(Reduced(30 + i), {}, details[i]), 90)});
        }
        return list;
    }();
    return shots;
}

struct Outcome {
    int own = 0, problems = 0, wrong = 0;
};

// Runs the session through the pipeline of type and counts where the
// photographs ended.
Outcome RunSession(int type, bool deepSearch) {
    support::BatchRig rig;
    rig.core.settings().TypeIndex = type;
    rig.core.settings().DeepSearch = deepSearch;
    rig.core.settings().SuffixFormat = "@";
    std::map<std::string, std::string> numberOf;  // file bytes -> specimen
    for (std::size_t i = 0; i < Session().size(); ++i) {
        const std::string name = "IMG_" + std::to_string(1001 + i) + ".jpg";
        rig.photos.Write(name, Session()[i].jpeg);
        numberOf[Session()[i].jpeg] = Session()[i].number;
    }
    EXPECT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
    Outcome outcome;
    const std::string log = rig.Log();
    for (const auto& [name, content] : rig.photos.Files()) {
        if (name.starts_with("IMG_")) {
            ++outcome.problems;
            EXPECT_NE(log.find(name), std::string::npos) << name << " kept its name without a word\n" << log;
        } else if (name.find(numberOf.at(content)) != std::string::npos) {
            ++outcome.own;
        } else {
            ++outcome.wrong;
            if (deepSearch) ADD_FAILURE() << "a photograph of " << numberOf.at(content) << " ended as " << name;
        }
    }
    std::cout << (type == 0 ? "General" : "Close-up") << ", Deep Search " << (deepSearch ? "on" : "off")
              << ": own number " << outcome.own << ", problems " << outcome.problems << ", another's number "
              << outcome.wrong << " of " << Session().size() << "\n";
    return outcome;
}

// The General scan lines alone file most of the session under another
// specimen's number (the close-up rows read none of these whole sheets, so
// there every photograph is a problem); with Deep Search, in either
// pipeline, none, and nearly all under their own.
TEST(ImagingSessionTest, NoPhotographEndsUnderAnotherSpecimensNumber) {
    EXPECT_GT(RunSession(0, false).wrong, 0);
    for (const int type : {0, 1}) {
        const Outcome on = RunSession(type, true);
        EXPECT_EQ(on.wrong, 0) << type;
        EXPECT_GE(on.own, 13) << type;  // measured 15 of 15
    }
}

// Detail photographs without any label, by what crowds them, through whole
// runs: nothing is read, and with Deep Search few are "seen but unread",
// the scan lines' own flags included. The README's rates come from
// the same table with 25 photographs of each kind.
TEST(ImagingSessionTest, PhotographsWithoutALabelAreRarelyFlagged) {
    constexpr unsigned kPerKind = 4;
    const std::pair<Distractor, const char*> kinds[] = {
        {Distractor::StemsOnly, "stems"}, {Distractor::TypedText, "typed text"},
        {Distractor::Ruler, "rulers"},    {Distractor::ColourChart, "colour charts"},
        {Distractor::Table, "tables"},    {Distractor::All, "all of them"},
    };
    const auto name = [](unsigned k, unsigned n) { return "K" + std::to_string(k) + "_" + std::to_string(n) + ".jpg"; };
    support::TempFolder folder;
    for (unsigned k = 0; k < std::size(kinds); ++k) {
        for (unsigned n = 0; n < kPerKind; ++n) {
            support::SheetOptions options = Reduced(100 * k + n);
            if (n % 2 == 1) options.noiseSigma = 10;
            folder.Write(name(k, n), support::EncodeJpeg(support::MakeDistractorSheet(options, {}, kinds[k].first),
                                                         n % 3 == 2 ? 60 : 90));
        }
    }
    for (const int type : {0, 1}) {
        int flagged[2] = {0, 0};
        for (const bool deepSearch : {false, true}) {
            support::BatchRig rig;
            for (const auto& [file, content] : folder.Files()) rig.photos.Write(file, content);
            rig.core.settings().TypeIndex = type;
            rig.core.settings().DeepSearch = deepSearch;
            ASSERT_EQ(RunBatch(rig.ctx()), RunEnd::Completed);
            for (const std::string& file : rig.FileNames()) EXPECT_TRUE(file.starts_with("K")) << "read: " << file;
            const std::string log = rig.Log();
            std::string report = std::string(type == 0 ? "General" : "Close-up") + ", Deep Search " +
                                 (deepSearch ? "on" : "off") + ", seen but unread without a label:";
            for (unsigned k = 0; k < std::size(kinds); ++k) {
                int seen = 0;
                for (unsigned n = 0; n < kPerKind; ++n)
                    seen += log.find(name(k, n) + ": Found barcode, but unable to read") != std::string::npos;
                report += std::string(" ") + kinds[k].second + " " + std::to_string(seen) + "/" +
                          std::to_string(kPerKind) + ";";
                flagged[deepSearch] += seen;
            }
            std::cout << report << "\n";
        }
        EXPECT_LE(flagged[1] - flagged[0], 1) << type;
        // Deep Search withdraws the scan lines' flags where no region shows
        // bars: at most one of these 24 stays flagged (measured 0 and 0).
        EXPECT_LE(flagged[1], 1) << type;
    }
}

}  // namespace
}  // namespace tagmora
