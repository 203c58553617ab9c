#include "general/general_flow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "app/context.h"
#include "app/process_image.h"
#include "base/run_log.h"
#include "support/folder_rig.h"
#include "support/hard_sheet.h"
#include "support/synthetic_sheet.h"

namespace tagmora {
namespace {

using support::Symbology;
using Lines = std::vector<std::string>;
using Positions = std::vector<std::int32_t>;
using Names = std::set<std::string>;

// The order of the lines tried on small images is checked with the flow below.
TEST(CandidateLinesTest, GridInThreePasses) {
    const Positions lines = CandidateLines(2000, 0);
    ASSERT_EQ(lines.size(), 101u);
    EXPECT_EQ(lines[33], 1980);
    EXPECT_EQ(lines[34], 20);
    EXPECT_EQ(lines[67], 2000);  // one past the last row
    EXPECT_EQ(lines[68], 40);
    EXPECT_EQ(lines.back(), 1960);
    EXPECT_EQ(CandidateLines(19, 0), (Positions{0}));
    EXPECT_EQ(CandidateLines(20, 0), (Positions{0, 20}));
}

TEST(CandidateLinesTest, ThePreviousLineIsSearchedAroundFirst) {
    const Positions lines = CandidateLines(2000, 1000);
    ASSERT_EQ(lines.size(), 111u);
    EXPECT_EQ(Positions(lines.begin(), lines.begin() + 11),
              (Positions{900, 920, 940, 960, 980, 1000, 1020, 1040, 1060, 1080, 0}));
    // Near the end of a smaller image the neighbourhood stops at its extent.
    const Positions nearEnd = CandidateLines(1000, 950);
    EXPECT_EQ(Positions(nearEnd.begin(), nearEnd.begin() + 9), (Positions{850, 870, 890, 910, 930, 950, 970, 990, 0}));
    // A previous line beyond a smaller image adds nothing.
    EXPECT_EQ(CandidateLines(100, 2000), CandidateLines(100, 0));
}

struct GeneralFlowTest : ::testing::Test, support::FolderRig {
    void SetUp() override { core.settings().SuffixFormat = "@"; }
    static support::SheetOptions Small() { return {.width = 800, .height = 600, .moduleWidth = 4, .barHeight = 80}; }
    void Sheet(std::string_view text, support::SheetOptions options = Small()) {
        core.state.bitmap = support::MakeSheet(Symbology::Code39, text, options);
    }
    void Blank(support::SheetOptions options = Small()) { core.state.bitmap = support::MakeBlankSheet(options); }
    // Labels at any angle and place, 2-pixel modules: the scan lines miss them.
    void Turned(std::vector<support::TurnedLabel> labels) {
        core.state.bitmap = support::MakeTurnedSheet(labels, {.width = 1000, .height = 700, .barHeight = 50});
    }
    static support::TurnedLabel Label(Symbology symbology, std::string_view text, double angle, double x = -1,
                                      double y = -1) {
        return {support::RenderModules(symbology, text), 2.0, angle, 0.0, x, y};
    }
    void Photo(std::string name, std::initializer_list<const char*> companions = {}) {
        photos.Write(name, "photo " + name);
        for (const char* companion : companions) photos.Write(companion, "companion");
        core.state.run.CurrentImage = std::move(name);
    }
    void Demo(bool pause = false) {
        core.settings().ModeIndex = 1;
        core.settings().PauseEachLine = pause;
    }
};

TEST_F(GeneralFlowTest, AReadBarcodeRenamesThePhotographAndItsRawFile) {
    Sheet("QSZ0123456");
    Photo("IMG_1.jpg", {"IMG_1.CR2"});
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(FileNames(), (Names{"QSZ0123456.jpg", "QSZ0123456.CR2"}));
    EXPECT_EQ(core.ui.logLines,
              (Lines{"-Renamed IMG_1.jpg to QSZ0123456.jpg", "-Renamed IMG_1.CR2 to QSZ0123456.CR2"}));
    EXPECT_EQ(core.state.run.LastBarcode, "QSZ0123456");
    EXPECT_EQ(core.state.run.ErrorCount, 0);
    EXPECT_EQ(core.ui.picturesShown, 1);
    EXPECT_EQ(core.ui.StripsOf(StripColour::Black), 0);  // Production shows only the line read
    EXPECT_GE(core.ui.StripsOf(StripColour::Red), 1);
    EXPECT_GT(core.state.general.LastLine, 0);  // the next search starts around it

    // The next photograph without a label is the same specimen.
    Blank();
    Photo("IMG_2.jpg", {"IMG_2.CR2"});
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(FileNames(), (Names{"QSZ0123456.jpg", "QSZ0123456.CR2", "QSZ0123456a.jpg", "QSZ0123456a.CR2"}));
    EXPECT_EQ(Lines(core.ui.logLines.begin() + 2, core.ui.logLines.end()),
              (Lines{"-Renamed IMG_2.jpg to QSZ0123456a.jpg", "-Renamed IMG_2.CR2 to QSZ0123456a.CR2",
                     "IMG_2.jpg renamed with previous barcode QSZ0123456"}));
    EXPECT_EQ(core.state.run.ErrorCount, 0);
    EXPECT_TRUE(core.ui.prompts.empty());  // Production asks nothing
}

TEST_F(GeneralFlowTest, ColumnsAreSearchedInVerticalOrientation) {
    Sheet("QSZ0123456", {.width = 600, .height = 1000, .moduleWidth = 4, .barHeight = 80, .vertical = true});
    core.state.run.VerticalScan = true;
    Photo("IMG_1.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.logLines, (Lines{"-Renamed IMG_1.jpg to QSZ0123456.jpg"}));
}

// The failed renames come first, then the image's own line; only the
// failures count.
TEST_F(GeneralFlowTest, APreviousBarcodeWhoseNamesAreTakenLogsBoth) {
    core.settings().SuffixFormat = "";
    core.state.run.LastBarcode = "QSZ0123456";
    photos.Write("QSZ0123456.jpg", "other");
    for (int n = 1; n <= 99; ++n) photos.Write("QSZ0123456" + std::to_string(n) + ".jpg", "other");
    Blank();
    Photo("IMG_2.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.logLines, (Lines{">>>>>IMG_2.jpg found barcode, but unable to rename IMG_2.jpg",
                                       "IMG_2.jpg renamed with previous barcode QSZ0123456"}));
    EXPECT_EQ(core.state.run.ErrorCount, 1);
    EXPECT_EQ(photos.Read("IMG_2.jpg"), "photo IMG_2.jpg");
}

// Each outcome once: read, previous barcode, a whole Code 39 label whose text
// does not fit the format, which forgets the previous barcode and line, so
// that the next image has no number to take, and seen but unreadable.
TEST_F(GeneralFlowTest, DemoDebugReportsAndRenamesNothing) {
    Demo();
    Sheet("QSZ0123456");
    Photo("IMG_1.jpg", {"IMG_1.CR2"});
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    Blank();
    Photo("IMG_2.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    Sheet("ABC0123456");
    Photo("IMG_3.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.state.run.LastBarcode, "");
    EXPECT_EQ(core.state.general.LastLine, 0);
    Blank();
    Photo("IMG_4.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    Sheet("QSZ0$23456");  // '$' is not a character this reader knows
    Photo("IMG_5.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));

    EXPECT_EQ(FileNames(), (Names{"IMG_1.jpg", "IMG_1.CR2", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg", "IMG_5.jpg"}));
    const std::string mismatch = "Found barcode ABC0123456, but unable to match the format QSZ0######";
    EXPECT_EQ(core.ui.prompts, (Lines{"    QSZ0123456", "    Can't find Barcode", mismatch, "    Can't find Barcode",
                                      "Found barcode, but unable to read"}));
    EXPECT_EQ(core.ui.logLines,
              (Lines{"IMG_1.jpg found Barcode: QSZ0123456",
                     "IMG_2.jpg would be renamed with previous barcode QSZ0123456", ">>>>>IMG_3.jpg: " + mismatch,
                     "No barcode found on IMG_4.jpg", ">>>>>IMG_5.jpg: Found barcode, but unable to read"}));
    EXPECT_EQ(core.state.run.ErrorCount, 3);
    EXPECT_GT(core.ui.StripsOf(StripColour::Black), 4);  // every line tried is shown
    EXPECT_TRUE(core.state.run.KeepGoing);
}

// With "Rename W/O Barcode" off a photograph without a label keeps its name
// and is a problem, although a previous barcode is known.
TEST_F(GeneralFlowTest, WithoutRenameWOAPhotographWithoutLabelKeepsItsName) {
    core.settings().RenameWithoutBarcode = false;
    core.state.run.LastBarcode = "QSZ0123456";
    Blank();
    Photo("IMG_2.jpg", {"IMG_2.CR2"});
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.logLines, (Lines{"No barcode found on IMG_2.jpg"}));
    EXPECT_EQ(FileNames(), (Names{"IMG_2.jpg", "IMG_2.CR2"}));
    EXPECT_EQ(core.state.run.ErrorCount, 1);
}

TEST_F(GeneralFlowTest, CancelInAResultBoxEndsTheRunButTheImageIsLogged) {
    Demo();
    core.ui.promptAnswers = {false};
    Sheet("QSZ0123456");
    Photo("IMG_1.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_FALSE(core.state.run.KeepGoing);
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_1.jpg found Barcode: QSZ0123456"}));
    EXPECT_EQ(core.state.run.LastBarcode, "QSZ0123456");
}

TEST_F(GeneralFlowTest, LinesAreTriedInListOrderFromTheSecondEntry) {
    Demo(/*pause=*/true);
    Blank({.width = 800, .height = 100});
    Photo("IMG_1.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.prompts, (Lines{"60", "20", "80", "40", "100", "    Can't find Barcode"}));
    EXPECT_EQ(core.state.general.LastLine, 100);

    core.ui.prompts.clear();
    core.state.general.LastLine = 50;
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.prompts,
              (Lines{"20", "40", "60", "80", "0", "60", "20", "80", "40", "100", "    Can't find Barcode"}));

    // An empty format string is met by any text: one line is tried.
    core.ui.prompts.clear();
    core.state.general.LastLine = 0;
    core.settings().BarcodeFormat = "";
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.prompts, (Lines{"60", "    Can't find Barcode"}));

    // Under 20 rows the list holds the one line that is never tried.
    core.ui.prompts.clear();
    core.state.general.LastLine = 0;
    core.state.bitmap.Resize(300, 15);
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.prompts, (Lines{"    Can't find Barcode"}));
}

// KeepGoing is looked at after each line is drawn, before it is sampled. A
// stopped image has no outcome: it keeps its name, logs no line of its own,
// and the previous barcode is forgotten, so the next image cannot take it.
TEST_F(GeneralFlowTest, AStoppedImageIsNeitherReadNorRenamed) {
    Demo(/*pause=*/true);
    core.ui.promptAnswers = {false};
    Sheet("QSZ0123456");
    Photo("IMG_1.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.prompts, (Lines{"60"}));
    EXPECT_EQ(core.ui.strips.size(), 1u);
    EXPECT_TRUE(core.ui.logLines.empty());
    EXPECT_EQ(core.state.general.LastLine, 60);

    // Production, a previous barcode known, Skip clicked while the label is
    // read: the photograph keeps its name.
    core.settings().ModeIndex = 0;
    core.state.run.KeepGoing = true;
    core.state.run.LastBarcode = "QSZ0999999";
    core.ui.onEventsDuringImage = [this](int) { SkipClicked(core.ctx); };  // also clicked twice
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_1.jpg skipped by user."}));
    EXPECT_EQ(FileNames(), (Names{"IMG_1.jpg"}));
    EXPECT_EQ(core.state.run.LastBarcode, "");
    EXPECT_EQ(core.state.run.ErrorCount, 0);
}

// Between a sheet the scan lines read and a detail photograph: a turned label
// and one whose text does not fit. Without Deep Search all three are filed
// under the first specimen's number; with it the turned label names its own
// photograph, the unfitting one is a problem, and so the detail photograph
// after it takes no number at all.
struct DeepSearchFlowTest : GeneralFlowTest, ::testing::WithParamInterface<bool> {};

TEST_P(DeepSearchFlowTest, TurnedOrUnreadLabelsNeverTakeThePreviousNumber) {
    core.settings().DeepSearch = GetParam();
    Sheet("QSZ0111111");
    Photo("IMG_1.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    Turned({Label(Symbology::Code128, "QSZ0222222", 30)});
    Photo("IMG_2.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    const std::size_t outlinesOfTheTurnedLabel = core.ui.outlines.size();
    Turned({Label(Symbology::Code39, "ABC0333333", 120)});
    Photo("IMG_3.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    Blank();
    Photo("IMG_4.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));

    const Lines off{"-Renamed IMG_1.jpg to QSZ0111111.jpg",
                    "-Renamed IMG_2.jpg to QSZ0111111a.jpg",
                    "IMG_2.jpg renamed with previous barcode QSZ0111111",
                    "-Renamed IMG_3.jpg to QSZ0111111b.jpg",
                    "IMG_3.jpg renamed with previous barcode QSZ0111111",
                    "-Renamed IMG_4.jpg to QSZ0111111c.jpg",
                    "IMG_4.jpg renamed with previous barcode QSZ0111111"};
    const Lines on{"-Renamed IMG_1.jpg to QSZ0111111.jpg", "-Renamed IMG_2.jpg to QSZ0222222.jpg",
                   ">>>>>IMG_3.jpg: Found barcode, but unable to read", "No barcode found on IMG_4.jpg"};
    EXPECT_EQ(core.ui.logLines, GetParam() ? on : off);
    EXPECT_TRUE(core.ui.prompts.empty());

    // Production shows only what read, in red: the region round the turned
    // label at the picture's centre, then the line across it.
    if (!GetParam()) {
        EXPECT_TRUE(core.ui.outlines.empty());
        return;
    }
    ASSERT_EQ(outlinesOfTheTurnedLabel, 2u);
    ASSERT_EQ(core.ui.outlines.size(), 2u);
    const support::DrawnOutline& region = core.ui.outlines[0];
    const support::DrawnOutline& line = core.ui.outlines[1];
    EXPECT_TRUE(region.Closed && region.Colour == StripColour::Red && region.Points.size() == 4u);
    EXPECT_TRUE(!line.Closed && line.Colour == StripColour::Red && line.Points.size() == 2u);
    for (const support::DrawnOutline* outline : {&region, &line}) {
        for (const PicturePoint& p : outline->Points) {
            EXPECT_NEAR(p.X, kPictureWidth / 2.0, kPictureWidth / 3.0);
            EXPECT_NEAR(p.Y, kPictureHeight / 2.0, kPictureHeight / 3.0);
        }
    }
    // The line runs along the label, turned 30 degrees on the bitmap.
    const double dx = (line.Points[1].X - line.Points[0].X) * 1000.0 / kPictureWidth;
    const double dy = (line.Points[1].Y - line.Points[0].Y) * 700.0 / kPictureHeight;
    EXPECT_NEAR(std::fmod(std::atan2(dy, dx) * 180 / std::numbers::pi + 360, 180), 30, 3);
}

INSTANTIATE_TEST_SUITE_P(DeepSearch, DeepSearchFlowTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "On" : "Off"; });

// Two specimens on one sheet, both labels turned: the one met first from the
// top names the photograph, the Demo/Debug box says there were several, and
// every region tried is outlined in black.
TEST_F(GeneralFlowTest, OfSeveralSpecimensTheFirstFromTheTopNamesThePhotograph) {
    Demo();
    core.settings().DeepSearch = true;
    Turned(
        {Label(Symbology::Code39, "QSZ0111111", 30, 600, 500), Label(Symbology::Code128, "QSZ0222222", 300, 300, 200)});
    Photo("IMG_1.jpg");
    LogOutcome(core.ctx, ProcessGeneralImage(core.ctx.General()));
    EXPECT_EQ(core.ui.prompts, (Lines{"    QSZ0222222  (the first of several barcodes)"}));
    EXPECT_EQ(core.ui.logLines, (Lines{"IMG_1.jpg found Barcode: QSZ0222222"}));
    int black = 0;
    for (const support::DrawnOutline& outline : core.ui.outlines) black += outline.Colour == StripColour::Black;
    EXPECT_GE(black, 2);
    ASSERT_EQ(core.ui.outlines.size(), static_cast<std::size_t>(black) + 2);
    // The red region is the upper label's, centred at (300, 200) of 1000 x 700.
    PicturePoint centre{};
    for (const PicturePoint& p : core.ui.outlines[static_cast<std::size_t>(black)].Points)
        centre = {centre.X + p.X / 4, centre.Y + p.Y / 4};
    EXPECT_NEAR(centre.X, 300.0 * kPictureWidth / 1000, 20);
    EXPECT_NEAR(centre.Y, 200.0 * kPictureHeight / 700, 20);
}

}  // namespace
}  // namespace tagmora
