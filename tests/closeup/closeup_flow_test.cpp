#include "closeup/closeup_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/run_log.h"
#include "closeup/code39_rows.h"
#include "photo/scan_line_mark.h"
#include "support/fake_front_end.h"
#include "support/hard_sheet.h"
#include "support/synthetic_sheet.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using support::DrawCode39Row;
using support::FillBitmap;
using support::PaintRows;
using support::TempFolder;
using support::TestCore;

using Files = std::map<std::string, std::string>;

constexpr int kWidth = 900;
constexpr std::uint8_t kPaper = 200;

std::vector<std::uint8_t> BarcodeRow(std::string_view text) { return DrawCode39Row(text, 4, 10, 40, kWidth); }

// The same contents under the new names: nothing lost, nothing overwritten.
void ExpectRenamed(const Files& before, const Files& after, const std::map<std::string, std::string>& renames) {
    Files expected = before;
    for (const auto& [from, to] : renames) {
        ASSERT_EQ(expected.count(from), 1u) << from;
        ASSERT_EQ(expected.count(to), 0u) << to;
        expected[to] = expected[from];
        expected.erase(from);
    }
    EXPECT_EQ(after, expected);
}

class CloseUpFlowTest : public ::testing::Test {
protected:
    TestCore core;
    Context& ctx = core.ctx;
    RunState& run = core.state.run;
    CloseUpState& closeUp = core.state.closeUp;
    support::FakeFrontEnd& ui = core.ui;
    TempFolder photos;
    TempFolder startFolder;  // the log lives here, away from the photographs

    void SetUp() override {
        run.PhotoFolder = photos.path();
        run.StartFolder = startFolder.path();
        run.KeepGoing = true;
    }

    void Demo() { core.settings().ModeIndex = 1; }

    // Photograph files; their bytes only tell them apart.
    void AddPhotos(std::initializer_list<const char*> names) {
        for (const char* name : names) photos.Write(name, std::string("photo ") + name);
    }
    // The picture of the image in hand: blank paper, or a barcode over rows 300 to 700.
    void Blank(const std::string& name, int height = 1000) {
        run.CurrentImage = name;
        FillBitmap(core.state.bitmap, kWidth, height, kPaper);
    }
    void Barcode(const std::string& name, std::string_view text) {
        Blank(name);
        PaintRows(core.state.bitmap, 300, 700, BarcodeRow(text));
    }

    // Processes the image and returns its log line ("" when none was written).
    std::string Process() {
        const std::size_t lines = ui.logLines.size();
        LogOutcome(ctx, ProcessCloseUpImage(ctx.CloseUp()));
        return ui.logLines.size() > lines ? ui.logLines.back() : std::string();
    }

    // Display rows of the strips drawn, and those of the given bitmap rows.
    std::vector<std::int32_t> StripTops() const {
        std::vector<std::int32_t> tops;
        for (const auto& strip : ui.strips) tops.push_back(strip.Rect.Top);
        return tops;
    }
    std::vector<std::int32_t> TopsOf(const std::vector<std::int32_t>& rows) const {
        std::vector<std::int32_t> tops;
        for (const std::int32_t row : rows)
            tops.push_back(ScanLineStrip(kWidth, core.state.bitmap.Height, false, StripColour::Black, row, 0, 0).Top);
        return tops;
    }
};

struct RowsCase {
    int height;
    std::vector<std::int32_t> rows;
};

TEST_F(CloseUpFlowTest, FirstPassRowsFromTheMiddleOutwards) {
    Demo();
    const RowsCase cases[] = {
        {3000, {1500, 1300, 1100, 900, 700, 500, 1700, 1900, 2100, 2300}},
        {1000, {500, 375, 250, 125, 625, 750, 875}},  // 0, -125 and 1000 lie outside
        {1200, {600, 400, 200, 800, 1000}},           // tall enough for the 200-row step
        {1199, {599, 450, 301, 152, 3, 748, 897, 1046, 1195}},
    };
    for (const RowsCase& c : cases) {
        ui.strips.clear();
        Blank("IMG.jpg", c.height);
        EXPECT_EQ(Process(), "IMG.jpg:  Unable to find barcode");
        EXPECT_EQ(StripTops(), TopsOf(c.rows)) << c.height;
    }
    EXPECT_EQ(run.ErrorCount, 4);
    EXPECT_EQ(ui.prompts, std::vector<std::string>(4, "Can't find barcode"));
}

// Seen on row 1300, but its fifth character is not one the reader knows: no row reads.
// The last row of the refinement crosses the printed number under the bars,
// with plenty of edges but no start character; the image still shows a
// barcode and must not be named after the previous specimen.
TEST_F(CloseUpFlowTest, RefinementAroundTheRowThatSawABarcode) {
    Demo();
    Blank("IMG.jpg", 3000);
    PaintRows(core.state.bitmap, 1290, 1310, BarcodeRow("QSZ0$23456"));
    std::vector<int> lettering;
    for (int i = 0; i < 80; ++i) lettering.insert(lettering.end(), {-3, 5});
    PaintRows(core.state.bitmap, 1450, 1470, support::DrawRuns(lettering, 40, kWidth));
    closeUp.CloseUpLastBarcode = "QSZ0999999";
    EXPECT_EQ(Process(), "IMG.jpg: Found barcode, but unable to read");
    EXPECT_EQ(StripTops(), TopsOf({1500, 1300, 1300, 1260, 1220, 1180, 1140, 1100, 1340, 1380, 1420, 1460}));
    EXPECT_EQ(ui.prompts, std::vector<std::string>{"Found barcode, but unable to read"});
    EXPECT_EQ(closeUp.CloseUpLastBarcode, "");
    EXPECT_EQ(run.ErrorCount, 1);
}

TEST_F(CloseUpFlowTest, BarcodeImageGetsTheLeadingANameThenTheNumberedOnes) {
    AddPhotos({"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.jpg"});
    Files before = photos.Files();
    Barcode("IMG_0001.jpg", "QSZ0123456");
    closeUp.CloseUpSuffix = "d";
    EXPECT_EQ(Process(), "IMG_0001.jpg renamed AQSZ0123456.jpg");
    ExpectRenamed(before, photos.Files(), {{"IMG_0001.jpg", "AQSZ0123456.jpg"}});
    EXPECT_EQ(closeUp.CloseUpLastBarcode, "QSZ0123456");
    EXPECT_EQ(closeUp.CloseUpSuffix, "a");
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_EQ(startFolder.Read("Tagmora.log"), "IMG_0001.jpg renamed AQSZ0123456.jpg\r\n");

    before = photos.Files();
    Barcode("IMG_0002.jpg", "QSZ0123456");
    EXPECT_EQ(Process(), "IMG_0002.jpg renamed QSZ0123456-1.jpg");
    ExpectRenamed(before, photos.Files(), {{"IMG_0002.jpg", "QSZ0123456-1.jpg"}});
    EXPECT_EQ(run.ErrorCount, 0);

    for (int n = 2; n <= 9; ++n) photos.Write("QSZ0123456-" + std::to_string(n) + ".jpg", "earlier");
    before = photos.Files();
    Barcode("IMG_0003.jpg", "QSZ0123456");
    EXPECT_EQ(Process(), "IMG_0003.jpg found barcode, but unable to rename file.");
    EXPECT_EQ(photos.Files(), before);
    EXPECT_EQ(run.ErrorCount, 1);
}

TEST_F(CloseUpFlowTest, ImagesAfterABarcodeTakeItWithLetterSuffixes) {
    AddPhotos({"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.jpg", "IMG_0004.jpg", "IMG_0005.jpg", "IMG_0006.jpg",
               "IMG_0001.CR2", "IMG_0002.CR2"});  // raw files are not a close-up's business
    const Files before = photos.Files();
    Barcode("IMG_0001.jpg", "QSZ0123456");
    Process();
    for (const char* name : {"IMG_0002.jpg", "IMG_0003.jpg", "IMG_0004.jpg"}) {
        Blank(name);
        Process();
    }
    EXPECT_EQ(closeUp.CloseUpSuffix, "d");
    // A whole label of another format ends the series: the next image
    // without a barcode is a problem, not another suffix.
    Barcode("IMG_0005.jpg", "QSZ01234567");
    Process();
    Blank("IMG_0006.jpg");
    Process();

    ExpectRenamed(before, photos.Files(),
                  {{"IMG_0001.jpg", "AQSZ0123456.jpg"},
                   {"IMG_0002.jpg", "QSZ0123456a.jpg"},
                   {"IMG_0003.jpg", "QSZ0123456b.jpg"},
                   {"IMG_0004.jpg", "QSZ0123456c.jpg"}});
    EXPECT_EQ(ui.logLines, (std::vector<std::string>{
                               "IMG_0001.jpg renamed AQSZ0123456.jpg",
                               "IMG_0002.jpg renamed to QSZ0123456a.jpg",
                               "IMG_0003.jpg renamed to QSZ0123456b.jpg",
                               "IMG_0004.jpg renamed to QSZ0123456c.jpg",
                               "IMG_0005.jpg: Found barcode QSZ01234567, but unable to match the format QSZ0######",
                               "IMG_0006.jpg:  Unable to find barcode",
                           }));
    EXPECT_EQ(run.ErrorCount, 2);
}

// With "Rename W/O Barcode" off an image without barcode keeps its name
// whatever came before it; so does a whole label of another format when no
// barcode came before it.
TEST_F(CloseUpFlowTest, WithoutRenameWOAnImageWithoutBarcodeKeepsItsName) {
    core.settings().RenameWithoutBarcode = false;
    closeUp.CloseUpLastBarcode = "QSZ0123456";
    AddPhotos({"IMG_1.jpg", "IMG_2.jpg"});
    const Files before = photos.Files();
    Blank("IMG_1.jpg");
    EXPECT_EQ(Process(), "No barcode found on IMG_1.jpg");
    EXPECT_EQ(closeUp.CloseUpSuffix, "a");
    closeUp.CloseUpLastBarcode.clear();
    Barcode("IMG_2.jpg", "ABC0123456");
    EXPECT_EQ(Process(), "IMG_2.jpg: Found barcode ABC0123456, but unable to match the format QSZ0######");
    EXPECT_EQ(photos.Files(), before);
    EXPECT_EQ(run.ErrorCount, 2);
}

TEST_F(CloseUpFlowTest, SuffixNameThatCannotBeGivenIsNotRetried) {
    closeUp.CloseUpLastBarcode = "QSZ0123456";
    photos.Write("QSZ0123456a.jpg", "earlier");
    AddPhotos({"IMG_0002.jpg"});
    const Files before = photos.Files();
    Blank("IMG_0002.jpg");
    EXPECT_EQ(Process(), "IMG_0002.jpg unable to rename to QSZ0123456a.jpg");
    EXPECT_EQ(closeUp.CloseUpSuffix, "b");
    EXPECT_EQ(photos.Files(), before);
    EXPECT_EQ(run.ErrorCount, 1);

    // A last barcode that is no plain file name is refused like a taken name.
    closeUp.CloseUpLastBarcode = "../QSZ";
    EXPECT_EQ(Process(), "IMG_0002.jpg unable to rename to ../QSZb.jpg");
    EXPECT_EQ(photos.Files(), before);
    EXPECT_EQ(run.ErrorCount, 2);
}

// The refinement ends at the first row that reads; Demo/Debug asks instead
// of renaming, and Cancel ends the run after the image.
TEST_F(CloseUpFlowTest, DemoModeAsksAndRenamesNothing) {
    Demo();
    AddPhotos({"IMG_0001.jpg", "IMG_0002.jpg"});
    const Files before = photos.Files();
    Blank("IMG_0001.jpg", 3000);
    PaintRows(core.state.bitmap, 1290, 1310, BarcodeRow("QSZ0$23456"));
    PaintRows(core.state.bitmap, 1255, 1265, BarcodeRow("QSZ0123456"));
    EXPECT_EQ(Process(), "IMG_0001.jpg found Barcode: QSZ0123456");
    EXPECT_EQ(StripTops(), TopsOf({1500, 1300, 1300, 1260}));
    EXPECT_EQ(ui.strips.back().Colour, StripColour::Red);

    Blank("IMG_0002.jpg");
    ui.promptAnswers = {false};
    EXPECT_EQ(Process(), "IMG_0002.jpg would be renamed to QSZ0123456a.jpg");
    EXPECT_FALSE(run.KeepGoing);
    EXPECT_EQ(closeUp.CloseUpSuffix, "b");
    EXPECT_EQ(ui.prompts,
              (std::vector<std::string>{"QSZ0123456", "No barcode found. Would rename to QSZ0123456a.jpg"}));
    EXPECT_EQ(photos.Files(), before);
    EXPECT_EQ(run.ErrorCount, 0);
}

TEST_F(CloseUpFlowTest, SuffixLettersRunOnAsLettersOnly) {
    Demo();
    closeUp.CloseUpLastBarcode = "QSZ0123456";
    struct Step {
        std::string suffix, next;
    };
    const Step steps[] = {{"a", "b"}, {"z", "aa"}, {"az", "ba"}, {"zz", "aaa"}, {"{", "a"}};
    for (const Step& s : steps) {
        closeUp.CloseUpSuffix = s.suffix;
        Blank("IMG.jpg");
        EXPECT_EQ(Process(), "IMG.jpg would be renamed to QSZ0123456" + s.suffix + ".jpg");
        EXPECT_EQ(closeUp.CloseUpSuffix, s.next);
    }
}

// Rendered close-ups: blur, JPEG and module widths. Three-pixel modules with
// wide elements of two modules are not read: narrow and wide widths as
// measured overlap (3 to 5 against 5 to 7), the histograms show no valley and
// the start pattern never appears. Such images are reported, never misnamed;
// Deep Search, on, reads them.
TEST_F(CloseUpFlowTest, RenderedCloseUpsAreReadOrReportedNeverMisnamed) {
    Demo();
    const struct {
        int moduleWidth;
        double blurSigma;
        int jpegQuality;
    } cases[] = {{4, 0.0, 0}, {4, 1.0, 85}, {4, 2.0, 85}, {5, 0.0, 0},  {5, 1.0, 85}, {6, 0.0, 85},
                 {6, 2.0, 0}, {8, 1.0, 85}, {3, 0.0, 0},  {3, 1.0, 85}, {3, 2.0, 0}};
    for (const bool deepSearch : {false, true}) {
        core.settings().DeepSearch = deepSearch;
        for (const auto& c : cases) {
            const support::SheetOptions options{.width = 1600,
                                                .height = 1000,
                                                .moduleWidth = c.moduleWidth,
                                                .barHeight = 450,
                                                .blurSigma = c.blurSigma,
                                                .noiseSigma = 3.0,
                                                .seed = 3,
                                                .jpegQuality = c.jpegQuality};
            core.state.bitmap = support::MakeSheet(support::Symbology::Code39, "QSZ0123456", options);
            closeUp = CloseUpState{};
            run.CurrentImage = "IMG.jpg";
            const bool read = c.moduleWidth > 3 || deepSearch;
            EXPECT_EQ(Process(), read ? "IMG.jpg found Barcode: QSZ0123456" : "IMG.jpg:  Unable to find barcode")
                << c.moduleWidth << " px, blur " << c.blurSigma << ", Deep Search " << deepSearch;
        }
    }
}

// Between a close-up the rows read and a detail photograph: a turned label
// and one whose text does not fit. Without Deep Search all three take the
// first specimen's number with a suffix; with it the turned label names its
// own photograph, the unfitting one is a problem, and the detail photograph
// after it takes no number at all.
class CloseUpDeepSearchTest : public CloseUpFlowTest, public ::testing::WithParamInterface<bool> {
protected:
    void Turned(const std::string& name, support::Symbology symbology, std::string_view text, double angle) {
        run.CurrentImage = name;
        core.state.bitmap = support::MakeTurnedSheet({{support::RenderModules(symbology, text), 4.0, angle}},
                                                     {.width = kWidth, .height = 1000, .barHeight = 150});
    }
};

TEST_P(CloseUpDeepSearchTest, TurnedOrUnreadLabelsNeverTakeThePreviousNumber) {
    core.settings().DeepSearch = GetParam();
    AddPhotos({"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg"});
    const Files before = photos.Files();
    Barcode("IMG_1.jpg", "QSZ0111111");
    Process();
    Turned("IMG_2.jpg", support::Symbology::Code128, "QSZ0222222", 30);
    Process();
    Turned("IMG_3.jpg", support::Symbology::Code39, "ABC0333333", 120);
    Process();
    Blank("IMG_4.jpg");
    Process();

    const std::vector<std::string> off{"IMG_1.jpg renamed AQSZ0111111.jpg", "IMG_2.jpg renamed to QSZ0111111a.jpg",
                                       "IMG_3.jpg renamed to QSZ0111111b.jpg", "IMG_4.jpg renamed to QSZ0111111c.jpg"};
    const std::vector<std::string> on{"IMG_1.jpg renamed AQSZ0111111.jpg", "IMG_2.jpg renamed AQSZ0222222.jpg",
                                      "IMG_3.jpg: Found barcode, but unable to read",
                                      "IMG_4.jpg:  Unable to find barcode"};
    EXPECT_EQ(ui.logLines, GetParam() ? on : off);
    if (GetParam()) {
        ExpectRenamed(before, photos.Files(), {{"IMG_1.jpg", "AQSZ0111111.jpg"}, {"IMG_2.jpg", "AQSZ0222222.jpg"}});
        EXPECT_EQ(run.ErrorCount, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(DeepSearch, CloseUpDeepSearchTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "On" : "Off"; });

// The name the photograph in picture ends with after one run of the type
// and orientation, Deep Search on.
std::string NameAfterOneImage(const WorkBitmap& picture, int type, int orientation, const std::string& format) {
    TestCore core;
    TempFolder photos, startFolder;
    core.settings().TypeIndex = type;
    core.settings().RotationIndex = orientation;
    core.settings().BarcodeFormat = format;
    core.settings().DeepSearch = true;
    RunState& run = core.state.run;
    run.StartFolder = startFolder.path();
    run.PhotoFolder = photos.path();
    run.KeepGoing = true;
    run.CurrentImage = "IMG.jpg";
    run.VerticalScan = orientation != 0;
    core.state.bitmap = picture;
    photos.Write("IMG.jpg", "photo");
    if (type == 0)
        ProcessGeneralImage(core.ctx.General());
    else
        ProcessCloseUpImage(core.ctx.CloseUp());
    const Files files = photos.Files();
    return files.size() == 1 ? files.begin()->first : "files lost or added";
}

// The same close-ups through both types, in both orientations, Deep Search
// on: each type reads what the other reads, and names the photograph after
// the same text. The first rows are labels of wide modules, blurred and
// unevenly lit, that one type's own lines read across their bars and Deep
// Search reads in the other orientation; the last a Code 128 label with an
// extended character (FNC4) that only Deep Search reads, its name UTF-8 as
// every other.
TEST(BothTypesTest, ReadTheSameCloseUpsUnderTheSameText) {
    const std::string extended =
        "QSZ0\u00B1"
        "23456";  // FNC4 before the 1
    std::vector<int> fnc4Values{'Q' - 32, 'S' - 32, 'Z' - 32, '0' - 32, 100};
    for (const char c : std::string_view("123456")) fnc4Values.push_back(c - 32);
    using support::RenderModules;
    using support::Symbology;
    const struct {
        std::vector<int> runs;
        double module, angle;
        int width, height;
        double blur;
        std::uint8_t dark;
        double unevenLight;
        unsigned seed;
        std::string format, horizontal, vertical;  // the text read in each orientation, "" none
    } rows[] = {
        {RenderModules(Symbology::Code39, "QSZ0123456"), 9, 180, 2000, 1400, 2.2, 85, 0.3, 79, "QSZ0######",
         "QSZ0123456", "QSZ0123456"},
        {RenderModules(Symbology::Code39, "QSZ0123456"), 9, 270, 1400, 2000, 1.8, 85, 0.3, 83, "QSZ0######",
         "QSZ0123456", "QSZ0123456"},
        {RenderModules(Symbology::Code128, "QSZ0123456"), 9, 0, 1400, 2000, 1.8, 70, 0.2, 218, "QSZ0######",
         "QSZ0123456", "QSZ0123456"},
        {RenderModules(Symbology::Code128, "QSZ0987015"), 9, 90, 1600, 1800, 1.4, 70, 0.2, 222, "QSZ0######",
         "QSZ0987015", "QSZ0987015"},
        {support::RenderCode128Values(104, fnc4Values), 3, 20, 1600, 1200, 0.8, 40, 0.0, 5, "QSZ0??????", extended,
         extended},
    };
    for (const auto& row : rows) {
        const WorkBitmap picture = support::MakeTurnedSheet({{row.runs, row.module, row.angle, row.unevenLight / 2}},
                                                            {.width = row.width,
                                                             .height = row.height,
                                                             .barHeight = static_cast<int>(row.module * 30),
                                                             .dark = row.dark,
                                                             .light = 200,
                                                             .background = 215,
                                                             .blurSigma = row.blur,
                                                             .noiseSigma = 6.0,
                                                             .seed = row.seed,
                                                             .clutter = false,
                                                             .jpegQuality = 60,
                                                             .unevenLight = row.unevenLight});
        for (const int orientation : {0, 1}) {
            const std::string& text = orientation == 0 ? row.horizontal : row.vertical;
            EXPECT_EQ(NameAfterOneImage(picture, 0, orientation, row.format), text.empty() ? "IMG.jpg" : text + ".jpg")
                << "General, seed " << row.seed << ", orientation " << orientation;
            EXPECT_EQ(NameAfterOneImage(picture, 1, orientation, row.format),
                      text.empty() ? "IMG.jpg" : "A" + text + ".jpg")
                << "Close-up, seed " << row.seed << ", orientation " << orientation;
        }
    }
}

}  // namespace
}  // namespace tagmora
