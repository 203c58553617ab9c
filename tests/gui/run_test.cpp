// Whole runs driven through the main window: Execute, the photo window with
// its picture and scan lines, and Abort and Skip clicked while images are read.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "gui/main_form.h"
#include "gui/photo_form.h"
#include "gui/picture_view.h"
#include "gui_test_support.h"
#include "support/barcode_render.h"
#include "support/hard_sheet.h"

namespace tagmora {

using Texts = std::vector<std::string>;

class RunTest : public support::WindowTest {
    Q_OBJECT

    std::string Photo(const std::string& name) const { return photos.toStdString() + "/" + name; }
    // A click as the user makes it: queued, and handled when the run next
    // processes its pending events.
    static void ClickLater(QPushButton* button) {
        QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
    }
    // A main window on the photo folder, shown.
    void ShowOnPhotos(TForm1& form) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.SelectFolder(photos);
    }

private slots:
    void skipAndAbortClickedDuringARun() {
        for (unsigned i = 1; i <= 4; ++i)
            support::WriteSheetPhoto(Photo("IMG_" + std::to_string(i) + ".jpg"), "QSZ000000" + std::to_string(i), i);
        TForm1 form;
        ShowOnPhotos(form);
        TPhotoForm* photo = form.PhotoForm();
        auto* imageName = Child<QLabel>(*photo, "ImageNameLabel");
        auto* execute = Child<QPushButton>(form, "ExecuteButton");

        // The second Execute must not start a run inside this one.
        const std::map<QString, QPushButton*> clickDuring = {{"IMG_1.jpg", execute},
                                                             {"IMG_2.jpg", Child<QPushButton>(*photo, "Button2")},
                                                             {"IMG_3.jpg", Child<QPushButton>(*photo, "Button1")}};
        std::set<QString> clicked;
        bool photoShown = true;
        hook->beforeProcessEvents = [&] {
            photoShown = photoShown && photo->isVisible();
            const auto button = clickDuring.find(imageName->text());
            if (button != clickDuring.end() && clicked.insert(button->first).second) ClickLater(button->second);
        };
        execute->setFocus();
        QTest::mouseClick(execute, Qt::LeftButton);
        // Enter after the end message must not start the same run again.
        QVERIFY(form.focusWidget() != execute);

        QCOMPARE(clicked.size(), std::size_t{3});
        QVERIFY(photoShown && !photo->isVisible());
        QCOMPARE(
            hook->messages,
            (Texts{"IMG_2.jpg skipped.", "Process Aborted by User",
                   "No Errors encountered with 3 images.\r\n1 photograph was skipped: IMG_2.jpg.\r\n"
                   "The run was stopped: 1 photograph was not reached.\r\nPlease read the log file for details."}));
        QCOMPARE(Child<QLabel>(*photo, "CountLabel")->text(), QString("3/3"));
        // The bar counts the folder's photographs; the status bar keeps the summary.
        QCOMPARE(Child<QProgressBar>(*photo, "ProgressBar")->text(), QString("3 of 4"));
        QCOMPARE(Child<QLabel>(form, "RunSummaryLabel")->text(),
                 QString("Last run: No Errors encountered with 3 images."));
        // A click takes effect between the scan lines: the photographs skipped
        // and aborted keep their names, the fourth is never handed on.
        QCOMPARE(support::FileNames(photos),
                 (std::set<std::string>{"QSZ0000001.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg"}));
        const std::string log = start->Read("Tagmora.log");
        QVERIFY(log.find("IMG_2.jpg skipped by user.\r\n") != std::string::npos);
        QVERIFY(log.find("Process aborted by user\r\n") != std::string::npos);
        QCOMPARE(log.find("Directory = "), log.rfind("Directory = "));  // one run only
    }

    // Watch renames the photographs there and those written after, in turn,
    // until Stop; Execute waits meanwhile.
    void watchRenamesNewPhotographsUntilStop() {
        support::WriteSheetPhoto(Photo("IMG_1.jpg"), "QSZ0000001", 1);
        // Shot before the watch: one written just now may still be being written.
        std::filesystem::last_write_time(Photo("IMG_1.jpg"),
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        TForm1 form;
        ShowOnPhotos(form);
        auto* watch = Child<QPushButton>(form, "WatchButton");
        watch->click();
        QCOMPARE(watch->text(), QString("Stop"));
        QVERIFY(!Child<QPushButton>(form, "ExecuteButton")->isEnabled());
        QVERIFY(QFile::exists(photos + "/QSZ0000001.jpg"));
        support::WriteSheetPhoto(Photo("IMG_2.jpg"), "", 2);
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(photos + "/QSZ00000011.jpg"); }, 5000));
        watch->click();
        QCOMPARE(watch->text(), QString("Watch"));
        QCOMPARE(hook->messages,
                 Texts{"No Errors encountered with 2 images.\r\nPlease read the log file for details."});
        QVERIFY(Child<QPushButton>(form, "ExecuteButton")->isEnabled());

        // While the watch waits for the camera, Skip has nothing to skip and
        // Abort ends the watch.
        watch->click();
        hook->messages.clear();
        Child<QPushButton>(*form.PhotoForm(), "Button2")->click();
        Child<QPushButton>(*form.PhotoForm(), "Button1")->click();
        QVERIFY(QTest::qWaitFor([&] { return watch->text() == QString("Watch"); }, 2000));
        QCOMPARE(hook->messages.front(), std::string("Process Aborted by User"));
        QVERIFY(start->Read("Tagmora.log").find("skipped by user") == std::string::npos);
    }

    void demoRunShowsTheScanLinesOnTheStretchedPicture() {
        support::WriteSheetPhoto(Photo("IMG_1.jpg"), "QSZ0000001", 1);
        TForm1 form;
        ShowOnPhotos(form);
        Child<QRadioButton>(form, "ModeRadioGroupItem1")->click();
        Child<QPushButton>(form, "ExecuteButton")->click();

        QVERIFY(!hook->prompts.empty());
        QCOMPARE(hook->promptCaptions.front(), std::string("TGM"));
        QCOMPARE(support::FileNames(photos), std::set<std::string>{"IMG_1.jpg"});  // Demo/Debug renames nothing

        // The picture keeps the last image, in its own 4:3 shape, with its
        // strips: black rows right across for the lines tried, red over the
        // label for the line read.
        const QImage picture = Child<PictureView>(*form.PhotoForm(), "Image1")->Picture();
        QVERIFY(std::abs(picture.width() * 3 - picture.height() * 4) <= 4);
        // The rows in which every one of the columns has the colour.
        const auto rowsOf = [&picture](QRgb colour, std::initializer_list<int> columns) {
            QList<int> rows;
            for (int y = 0; y < picture.height(); ++y)
                if (std::ranges::all_of(columns, [&](int x) { return picture.pixel(x, y) == colour; })) rows << y;
            return rows;
        };
        const int w = picture.width(), h = picture.height();
        QVERIFY(rowsOf(qRgb(0, 0, 0), {0, w / 2, w - 1}).size() >= 2);
        // Over the label, whose centre is at (700, 650) of 1200 x 900: a strip
        // two display pixels thick.
        const QList<int> red = rowsOf(qRgb(255, 0, 0), {w * 700 / 1200});
        QVERIFY2(red.size() == 2 && red[0] >= h * 64 / 100 && red[1] == red[0] + 1 && red[1] <= h * 80 / 100,
                 qPrintable(QString::number(red.value(0))));
    }

    // Deep Search's red outline round the turned label it read, and the line
    // that read, lie on the picture as the strips do; the next picture starts
    // without them.
    void deepSearchOutlinesTheLabelItRead() {
        const support::SheetOptions sheet{.width = 1200, .height = 900, .barHeight = 50};
        support::WriteJpegFile(
            Photo("IMG_1.jpg"),
            support::MakeTurnedSheet({{support::RenderModules(support::Symbology::Code128, "QSZ0000001"), 2.0, 30}},
                                     sheet),
            90);
        support::WriteSheetPhoto(Photo("IMG_2.jpg"), "", 2);
        TForm1 form;
        ShowOnPhotos(form);
        auto* imageName = Child<QLabel>(*form.PhotoForm(), "ImageNameLabel");
        auto* view = Child<PictureView>(*form.PhotoForm(), "Image1");
        QImage first;
        hook->beforeProcessEvents = [&] {
            if (imageName->text() == "IMG_1.jpg") first = view->Picture();
        };
        Child<QPushButton>(form, "ExecuteButton")->click();
        QCOMPARE(support::FileNames(photos), (std::set<std::string>{"QSZ0000001.jpg", "QSZ00000011.jpg"}));

        // The red lies round the label at the centre, over many rows: no strip.
        const auto redRows = [](const QImage& picture) {
            QList<int> rows;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = picture.width() / 4; x < picture.width() * 3 / 4; ++x)
                    if (picture.pixel(x, y) == qRgb(255, 0, 0)) {
                        rows << y;
                        break;
                    }
            return rows;
        };
        const QList<int> rows = redRows(first);
        QVERIFY2(rows.size() > first.height() / 8, qPrintable(QString::number(rows.size())));
        QVERIFY(std::abs(rows.front() + rows.back() - first.height()) < first.height() / 10);
        QVERIFY(redRows(view->Picture()).isEmpty());
    }

    // Closing the main window (as Ctrl+Q does) during a run asks; stopping
    // ends the run as Abort does and then the program, without end messages.
    void closingTheMainWindowDuringARunAsksAndStopsTheRun() {
        for (unsigned i = 1; i <= 3; ++i)
            support::WriteSheetPhoto(Photo("IMG_" + std::to_string(i) + ".jpg"), "QSZ000000" + std::to_string(i), i);
        TForm1 form;
        ShowOnPhotos(form);
        bool closed = false;
        hook->beforeProcessEvents = [&] {
            if (!std::exchange(closed, true)) QMetaObject::invokeMethod(&form, &QWidget::close, Qt::QueuedConnection);
        };
        QTest::mouseClick(Child<QPushButton>(form, "ExecuteButton"), Qt::LeftButton);
        QCOMPARE(hook->prompts.size(), std::size_t{1});
        QVERIFY(hook->prompts.front().starts_with("A run is in progress in " + photos.toStdString()));
        QCOMPARE(hook->messages, Texts{});
        QVERIFY(!form.isVisible());
        QCOMPARE(support::FileNames(photos), (std::set<std::string>{"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"}));
        QVERIFY(start->Read("Tagmora.log").ends_with("Process aborted by user\r\n"));
    }

    void theLastRunIsExportedAndUndoneFromTheMenu() {
        support::WriteSheetPhoto(Photo("IMG_1.jpg"), "QSZ0000001", 1);
        start->Write("photos/IMG_1.CR2", "raw");
        support::WriteSheetPhoto(Photo("IMG_2.jpg"), "", 2);
        TForm1 form;
        ShowOnPhotos(form);
        Child<QPushButton>(form, "ExecuteButton")->click();
        const std::set<std::string> renamed{"QSZ0000001.jpg", "QSZ0000001.CR2", "QSZ00000011.jpg"};
        QCOMPARE(support::FileNames(photos), renamed);

        // Export: the dialog is offered a name after the folder; cancelled, nothing is written.
        Child<QAction>(form, "ExportLastRun1")->trigger();
        QCOMPARE(hook->suggestedFiles, std::vector<std::string>{*start / "photos.csv"});
        QVERIFY(!start->Exists("photos.csv"));
        hook->saveFileAnswer = *start / "run.csv";
        Child<QAction>(form, "ExportLastRun1")->trigger();
        const std::string csv = start->Read("run.csv");
        QVERIFY2(csv.starts_with("folder,original name,new name,barcode,outcome,raw files,sha256\r\n" +
                                 photos.toStdString() + ",IMG_1.jpg,QSZ0000001.jpg,QSZ0000001,read,QSZ0000001.CR2,"),
                 csv.c_str());
        // For Symbiota: a prefix without a scheme is refused; a good one is kept for next time.
        hook->textAnswer = "images.example.org";
        Child<QAction>(form, "ExportSymbiota1")->trigger();
        QVERIFY(hook->messages.back().starts_with("The URL prefix must start with http:// or https://"));
        hook->textAnswer = "https://images.example.org/h/";
        hook->saveFileAnswer = *start / "symbiota.csv";
        Child<QAction>(form, "ExportSymbiota1")->trigger();
        QCOMPARE(hook->suggestedFiles.back(), *start / "photos for Symbiota.csv");
        QCOMPARE(start->Read("symbiota.csv"),
                 std::string("catalogNumber,originalUrl\r\nQSZ0000001,https://images.example.org/h/QSZ0000001.jpg\r\n"
                             "QSZ0000001,https://images.example.org/h/QSZ00000011.jpg\r\n"));
        hook->textAnswer.reset();
        Child<QAction>(form, "ExportSymbiota1")->trigger();
        QCOMPARE(hook->suggestedTexts.back(), std::string("https://images.example.org/h/"));

        // The renamed folder checked: the table shows the rows, Save writes them.
        hook->saveFileAnswer = *start / "check.csv";
        support::ModalScript script;
        script.Then([&](QWidget* modal) {
            if (modal == nullptr || modal->objectName() != "NameCheckForm") return false;
            Child<QPushButton>(*modal, "SaveButton")->click();
            Child<QPushButton>(*modal, "CloseButton")->click();
            return true;
        });
        Child<QAction>(form, "CheckNames1")->trigger();
        QVERIFY(script.Finished());
        QCOMPARE(start->Read("check.csv"), "folder,file,number in name,number on label,verdict\r\n" +
                                               photos.toStdString() +
                                               ",QSZ0000001.jpg,QSZ0000001,QSZ0000001,agrees\r\n" +
                                               photos.toStdString() + ",QSZ00000011.jpg,QSZ0000001,,no label\r\n");

        // Undo… lists the runs, the last one chosen; Undo asks first, in the
        // program's own caption.
        hook->messages.clear();
        int rows = -1;
        support::ModalScript undoScript;
        undoScript.Then([&](QWidget* modal) {
            auto* table = modal->findChild<QTableWidget*>("RunTable");
            if (!table) return false;
            rows = table->rowCount();
            modal->findChild<QPushButton*>("UndoButton")->click();
            return true;
        });
        Child<QAction>(form, "UndoHistory1")->trigger();
        QCOMPARE(rows, 1);
        QCOMPARE(hook->promptCaptions.back(), std::string("Tagmora"));
        QVERIFY(hook->prompts.back().starts_with("Rename back the 3 files run 1 renamed in " + photos.toStdString()));
        QCOMPARE(support::FileNames(photos), (std::set<std::string>{"IMG_1.jpg", "IMG_1.CR2", "IMG_2.jpg"}));
        QCOMPARE(hook->messages, Texts{"3 renames of run 1 undone."});
        Child<QAction>(form, "UndoLastRun1")->trigger();
        QCOMPARE(hook->messages.back(), std::string("The last run has been undone already: there is nothing to undo."));
        QCOMPARE(support::FileNames(photos), (std::set<std::string>{"IMG_1.jpg", "IMG_1.CR2", "IMG_2.jpg"}));
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::RunTest)
#include "run_test.moc"
