#include "app/run_report.h"

#include <gtest/gtest.h>

#include "base/file_helpers.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

TEST(RunReportTest, FieldsAreUtf8AndQuotedAsRfc4180Asks) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"IMG_1.jpg", "IMG_1.jpg"},
        {"a,b", "\"a,b\""},
        {"say \"cheese\"", "\"say \"\"cheese\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"Bl\xC3\xBCte", "Bl\xC3\xBCte"},  // UTF-8 stays
        {"Bl\xFCte", "Bl\xC3\xBCte"},      // a Latin-1 name becomes UTF-8
        {"\xE2\x82", "\xC3\xA2\xC2\x82"},  // a cut sequence too
        {"", ""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

TEST(RunReportTest, TheBarcodeIsTheStretchOfANewNameThatFitsTheFormat) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"QSZ0123456.jpg", "QSZ0######", "QSZ0123456"},
        {"QSZ0123456a.jpg", "QSZ0######", "QSZ0123456"},
        {"QSZ0123456-1.jpg", "QSZ0######", "QSZ0123456"},
        {"AQSZ0123456.jpg", "QSZ0######", "QSZ0123456"},  // close-up names begin with "A"
        {"XY12.jpg", "QSZ0######", "XY12"},               // fits no stretch: the whole base name
        {"QSZ0123456b.jpg", "", "QSZ0123456b"},
        {"AQSZ0\u00B123456-1.jpg", "QSZ0??????", "QSZ0\u00B123456"},  // counted in characters, not bytes
    };
    for (const auto& [name, format, barcode] : cases) EXPECT_EQ(BarcodeFromName(name, format), barcode) << name;
}

TEST(RunReportTest, OneRowPerPhotographOfTheLastRun) {
    const std::string log =
        "\r\n01/02/26, 10:00:00\r\nVersion 1.0.0\r\nProcessing General images\r\nRenamed the following files:\r\n"
        "\r\nDirectory = /data/Sheets, May\r\n\r\n"
        "-Renamed IMG_1.CR2 to QSZ0000001.CR2\r\n-Renamed IMG_1.jpg to QSZ0000001.jpg\r\n"
        "-Renamed IMG_2.jpg to QSZ0000001a.jpg\r\nIMG_2.jpg renamed with previous barcode QSZ0000001\r\n"
        ">>>>>IMG_3.jpg: Found barcode, but unable to read\r\n"
        ">>>>>IMG_4.jpg: Found barcode AB1, but unable to match the format QSZ0######\r\n"
        "No barcode found on IMG_5.jpg\r\nIMG_6.jpg: Unable to open image.\r\nIMG_7.jpg skipped by user.\r\n"
        ">>>>>IMG_8.jpg found barcode, but unable to rename file.\r\n"
        "-Manually renamed IMG_5.jpg to QSZ0000005.jpg\r\nProcess aborted by user\r\n";
    const LastRunReport report = ReportOfLastRun(log, "QSZ0######");
    EXPECT_EQ(report.Refusal, "");
    EXPECT_EQ(report.Csv,
              "folder,original name,new name,barcode,outcome,raw files,sha256\r\n"
              "\"/data/Sheets, May\",IMG_1.jpg,QSZ0000001.jpg,QSZ0000001,read,QSZ0000001.CR2,\r\n"
              "\"/data/Sheets, May\",IMG_2.jpg,QSZ0000001a.jpg,QSZ0000001,previous barcode,,\r\n"
              "\"/data/Sheets, May\",IMG_3.jpg,,,seen but unreadable,,\r\n"
              "\"/data/Sheets, May\",IMG_4.jpg,,AB1,format mismatch,,\r\n"
              "\"/data/Sheets, May\",IMG_5.jpg,QSZ0000005.jpg,QSZ0000005,renamed by hand,,\r\n"
              "\"/data/Sheets, May\",IMG_6.jpg,,,unable to open,,\r\n"
              "\"/data/Sheets, May\",IMG_7.jpg,,,skipped,,\r\n"
              "\"/data/Sheets, May\",IMG_8.jpg,,,unable to rename,,\r\n");
    // For Symbiota, the renamed photographs only, a manual rename included.
    EXPECT_EQ(ReportOfLastRun(log, "QSZ0######", {ReportStyle::Symbiota, "https://x.org/h"}).Csv,
              "catalogNumber,originalUrl\r\nQSZ0000001,https://x.org/h/QSZ0000001.jpg\r\n"
              "QSZ0000001,https://x.org/h/QSZ0000001a.jpg\r\nQSZ0000005,https://x.org/h/QSZ0000005.jpg\r\n");

    const std::string undone = log +
                               "\r\n01/02/26, 11:00:00\r\nVersion 1.0.0\r\nUndo of the last run:\r\n\r\n"
                               "Directory = /data\r\n\r\n";
    EXPECT_EQ(ReportOfLastRun(undone, "QSZ0######").Refusal,
              "The last run has been undone: there is no run to report.");
}

TEST(RunReportTest, AReportNeverReplacesAFile) {
    support::TempFolder folder;
    std::string error;
    ASSERT_TRUE(WriteNewFile(folder / "run.csv", "a,b\r\n", error)) << error;
    EXPECT_FALSE(WriteNewFile(folder / "run.csv", "other", error));
    EXPECT_EQ(error, (folder / "run.csv") + ": the file exists already");
    EXPECT_EQ(folder.Read("run.csv"), "a,b\r\n");
    EXPECT_FALSE(WriteNewFile(folder / "missing/run.csv", "x", error));
}

}  // namespace
}  // namespace tagmora
