#include "app/run_section.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tagmora {
namespace {

using Lines = std::vector<std::string>;

std::string Header(std::string_view modeLine, std::string_view folder) {
    return "\r\n01/02/26, 10:00:00\r\nVersion 1.0.0\r\nProcessing General images\r\n" + std::string(modeLine) +
           "\r\n\r\nDirectory = " + std::string(folder) + "\r\n\r\n";
}

constexpr std::string_view kProduction = "Renamed the following files:";

TEST(RunSectionTest, TheLastSectionTellsItsKindFolderAndLines) {
    const std::string older = Header(kProduction, "/old") + "-Renamed A.jpg to B.jpg\r\n";
    const struct {
        std::string log;
        SectionKind kind;
        const char* folder;
        Lines lines;
    } cases[] = {
        {older + Header(kProduction, "/data/Sheets 1") + "No barcode found on X.jpg\r\nY.jpg skipped by user.\r\n",
         SectionKind::Production,
         "/data/Sheets 1",
         {"No barcode found on X.jpg", "Y.jpg skipped by user."}},
        {older + Header("Demo Mode.  Processed the following files:", "/d") + "X.jpg found Barcode: Q1",
         SectionKind::DemoDebug,
         "/d",
         {"X.jpg found Barcode: Q1"}},
        {older + "\r\n01/02/26, 11:00:00\r\nVersion 1.0.0\r\nUndo of the last run:\r\n\r\nDirectory = /old\r\n\r\n"
                 "-Renamed B.jpg to A.jpg\r\n",
         SectionKind::Undo,
         "/old",
         {"-Renamed B.jpg to A.jpg"}},
        {older + Header(kProduction, "/empty"), SectionKind::Production, "/empty", {}},  // found no image
        // A log edited by hand or cut short: the lines stand, the kind is unknown.
        {older + "\r\n\r\nNo barcode found on X.jpg\r\n", SectionKind::Unknown, "", {"No barcode found on X.jpg"}},
        {"No barcode found on X.jpg", SectionKind::Unknown, "", {"No barcode found on X.jpg"}},
        {"", SectionKind::Unknown, "", {}},
    };
    for (const auto& c : cases) {
        const LogSection section = LastLogSection(c.log);
        EXPECT_EQ(section.Kind, c.kind) << c.log;
        EXPECT_EQ(section.Folder, c.folder) << c.log;
        EXPECT_EQ(section.Lines, c.lines) << c.log;
    }
}

// Every line form read back, and written again byte for byte.
TEST(RunSectionTest, EveryLineFormOfBothPipelines) {
    using K = OutcomeKind;
    const struct {
        const char* line;
        K kind;
        const char* file;
        const char* barcode = "";
        const char* newName = "";
    } cases[] = {
        {"-Renamed IMG_1.jpg to QSZ0000001.jpg", K::FileRenamed, "IMG_1.jpg", "", "QSZ0000001.jpg"},
        {"-Renamed IMG_1.CR2 to QSZ0000001a.CR2", K::FileRenamed, "IMG_1.CR2", "", "QSZ0000001a.CR2"},
        // " to " inside a name: the split keeps the extension on both sides.
        {"-Renamed trip to sea.jpg to QSZ1.jpg", K::FileRenamed, "trip to sea.jpg", "", "QSZ1.jpg"},
        {"-Manually renamed IMG_7.jpg to QSZ2", K::RenamedByHand, "IMG_7.jpg", "", "QSZ2"},
        {"IMG_2.jpg renamed with previous barcode QSZ1", K::PreviousBarcode, "IMG_2.jpg", "QSZ1"},
        {"IMG_2.jpg would be renamed with previous barcode QSZ1", K::WouldTakePrevious, "IMG_2.jpg", "QSZ1"},
        {"IMG_3.jpg renamed QSZ3a.jpg", K::Renamed, "IMG_3.jpg", "", "QSZ3a.jpg"},
        {"IMG_3.jpg found Barcode: QSZ3", K::Read, "IMG_3.jpg", "QSZ3"},
        {">>>>>IMG_4.jpg: Found barcode, but unable to read", K::Unreadable, "IMG_4.jpg"},
        {"No barcode found on IMG 5.jpg", K::NoBarcode, "IMG 5.jpg"},
        {">>>>>IMG_6.jpg: Found barcode AB12, but unable to match the format QSZ0######", K::FormatMismatch,
         "IMG_6.jpg", "AB12"},
        {">>>>>IMG_7.jpg found barcode, but unable to rename file.", K::UnableToRename, "IMG_7.jpg"},
        {">>>>>IMG_7.jpg found barcode, but unable to rename IMG_7.CR2", K::UnableToRenameFile, "IMG_7.jpg"},
        {"Unknown error finding IMG_8.jpg in folder...", K::NotInFolder, "IMG_8.jpg"},
        {"IMG_9.jpg renamed to QSZ3b.jpg", K::RenamedAfterPrevious, "IMG_9.jpg", "", "QSZ3b.jpg"},
        {"IMG_9.jpg would be renamed to QSZ3b.jpg", K::WouldBeRenamed, "IMG_9.jpg", "", "QSZ3b.jpg"},
        {"IMG_9.jpg unable to rename to QSZ3b.jpg", K::UnableToRenameTo, "IMG_9.jpg", "", "QSZ3b.jpg"},
        {"IMG_9.jpg found barcode, but unable to rename file.", K::UnableToRename, "IMG_9.jpg"},
        {"IMG_9.jpg: Found barcode, but unable to read", K::Unreadable, "IMG_9.jpg"},
        {"IMG_9.jpg:  Unable to find barcode", K::CloseUpNoBarcode, "IMG_9.jpg"},
        {"IMG_9.JPG: Found barcode A, B, but unable to match the format @", K::FormatMismatch, "IMG_9.JPG", "A, B"},
        {"IMG_9.jpg: Unable to open image.", K::UnableToOpen, "IMG_9.jpg"},
        {"IMG_9.jpg skipped by user.", K::Skipped, "IMG_9.jpg"},
        {"Process aborted by user", K::Aborted, ""},
        // Words of a phrase inside a name: the photograph's name runs to ".jpg".
        {"a renamed b.jpg renamed QSZ1.jpg", K::Renamed, "a renamed b.jpg", "", "QSZ1.jpg"},
        {"IMG_5.jpg renamed QSZ1.jpg (Low confidence", K::Renamed, "IMG_5.jpg", "", "QSZ1.jpg (Low confidence"},
        {"Directory = /x", K::Other, ""},
        {"notes.txt: Unable to open image.", K::Other, ""},
        {"-Renamed nothing", K::Other, ""},
        {"-Renamed x.jpg skipped by user.", K::Other, ""},
    };
    for (const auto& c : cases) {
        const ImageOutcome outcome = ParseOutcomeLine(c.line);
        EXPECT_EQ(std::tie(outcome.Kind, outcome.File, outcome.Barcode, outcome.NewName),
                  std::tie(c.kind, c.file, c.barcode, c.newName))
            << c.line;
        if (c.kind != K::Other) {
            EXPECT_EQ(OutcomeLogLine(outcome), c.line);
        }
    }
    EXPECT_EQ(OutcomeFinding(ParseOutcomeLine(">>>>>IMG_6.jpg: Found barcode AB12, but unable to match the format Q#")),
              "Found barcode AB12, but unable to match the format Q#");
}

TEST(RunSectionTest, RecordsGatherEachPhotographsLinesAndItsCompanions) {
    LogSection section;
    section.Kind = SectionKind::Production;
    section.Lines = {
        "-Renamed IMG_1.CR2 to QSZ1.CR2",  // before its photograph, in name order
        "-Renamed IMG_1.jpg to QSZ1.jpg",
        "-Renamed IMG_1.xmp to QSZ1.xmp",
        "-Renamed IMG_2.CR2 to QSZ1a.CR2",
        "-Renamed IMG_2.jpg to QSZ1a.jpg",
        "IMG_2.jpg renamed with previous barcode QSZ1",
        ">>>>>IMG_3.jpg found barcode, but unable to rename IMG_3.CR2",
        "-Renamed IMG_3.jpg to QSZ4.jpg",  // the raw file failed: still a problem
        "No barcode found on IMG_4.jpg",
        "IMG_4.jpg skipped by user.",
        "-Renamed IMG_2.DNG to QSZ1a.DNG",  // arrived late in a watched folder
        "IMG_5.jpg: Unable to open image.",
        "-Manually renamed IMG_5.jpg to QSZ5.jpg",
        "-Manually renamed IMG_5.CR2 to QSZ5.CR2",
        "-Manually renamed QSZ1.jpg to QSZ9.jpg",
        "-Manually renamed QSZ1.CR2 to QSZ9.CR2",
        "Process aborted by user",
    };
    using K = OutcomeKind;
    using Moves = std::vector<FileMove>;
    const struct {
        const char* name;
        const char* current;
        const char* runTarget;
        const char* barcode;
        K outcome;
        bool problem;
        Moves companions;
    } expected[] = {
        {"IMG_1.jpg",
         "QSZ9.jpg",
         "QSZ1.jpg",
         "",
         K::RenamedByHand,  // renamed again by hand: the typed name is the last word
         false,
         {{"IMG_1.CR2", "QSZ9.CR2"}, {"IMG_1.xmp", "QSZ1.xmp"}}},
        {"IMG_2.jpg",
         "QSZ1a.jpg",
         "QSZ1a.jpg",
         "QSZ1",
         K::PreviousBarcode,
         false,
         {{"IMG_2.CR2", "QSZ1a.CR2"}, {"IMG_2.DNG", "QSZ1a.DNG"}}},
        {"IMG_3.jpg", "QSZ4.jpg", "QSZ4.jpg", "", K::UnableToRenameFile, true, {}},
        {"IMG_4.jpg", "IMG_4.jpg", "", "", K::Skipped, true, {}},
        {"IMG_5.jpg", "QSZ5.jpg", "", "", K::RenamedByHand, true, {{"IMG_5.CR2", "QSZ5.CR2"}}},
    };
    const std::vector<PhotoRecord> records = PhotoRecords(section);
    ASSERT_EQ(records.size(), std::size(expected));
    for (std::size_t i = 0; i < records.size(); ++i) {
        const PhotoRecord& r = records[i];
        const auto& e = expected[i];
        EXPECT_EQ(std::tie(r.Name, r.Current, r.RunTarget, r.Barcode, r.Outcome, r.Problem),
                  std::tie(e.name, e.current, e.runTarget, e.barcode, e.outcome, e.problem))
            << e.name;
        EXPECT_EQ(r.Companions, e.companions) << e.name;
    }
    EXPECT_EQ(records[2].ProblemLine, ">>>>>IMG_3.jpg found barcode, but unable to rename IMG_3.CR2");

    const Moves moves = SectionMoves(section);
    ASSERT_EQ(moves.size(), 11u);
    EXPECT_EQ(moves.front(), (FileMove{"IMG_1.CR2", "QSZ1.CR2"}));
    EXPECT_EQ(moves.back(), (FileMove{"QSZ1.CR2", "QSZ9.CR2"}));
}

}  // namespace
}  // namespace tagmora
