// Whole runs driven through the main window: Execute, the photo window with
// its picture and scan lines, and Abort and Skip clicked while images are read.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <string>

#include "gui/main_form.h"
#include "gui/photo_form.h"
#include "gui/picture_view.h"
#include "gui_test_support.h"

namespace tagmora {

using Texts = std::vector<std::string>;

class RunTest : public testing::WindowTest {
    Q_OBJECT

    std::string Photo(const char* name) const { return photos.toStdString() + "/" + name; }
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
            testing::WriteSheetPhoto(Photo(("IMG_" + std::to_string(i) + ".jpg").c_str()), "QSZ000000" + std::to_string(i), i);
        TForm1 form;
        ShowOnPhotos(form);
        TPhotoForm* photo = form.PhotoForm();
        auto* imageName = Child<QLabel>(*photo, "ImageNameLabel");
        auto* execute = Child<QPushButton>(form, "ExecuteButton");

        bool clickedExecute = false, clickedSkip = false, clickedAbort = false, photoShown = true;
        hook->beforeProcessEvents = [&] {
            photoShown = photoShown && photo->isVisible();
            if (imageName->text() == "IMG_1.jpg" && !clickedExecute) {
                clickedExecute = true;  // a second run must not start inside this one
                ClickLater(execute);
            } else if (imageName->text() == "IMG_2.jpg" && !clickedSkip) {
                clickedSkip = true;
                ClickLater(Child<QPushButton>(*photo, "Button2"));
            } else if (imageName->text() == "IMG_3.jpg" && !clickedAbort) {
                clickedAbort = true;
                ClickLater(Child<QPushButton>(*photo, "Button1"));
            }
        };
        QTest::mouseClick(execute, Qt::LeftButton);

        QVERIFY(clickedAbort);
        QVERIFY(photoShown);
        QVERIFY(!photo->isVisible());
        QCOMPARE(hook->messages, (Texts{"IMG_2.jpg skipped.", "Process Aborted by User",
                                        "No Errors encountered with 3 images.\r\nPlease read the log file for details."}));
        QCOMPARE(Child<QLabel>(*photo, "CountLabel")->text(), QString("3/3"));
        // A click takes effect once the image in hand is done: the third
        // photograph is still renamed, the fourth is never handed on.
        QCOMPARE(testing::FileNames(photos),
                 (std::set<std::string>{"QSZ0000001.jpg", "QSZ0000002.jpg", "QSZ0000003.jpg", "IMG_4.jpg"}));
        const std::string log = start->folder.Read("Tagmora.log");
        QVERIFY(log.find("IMG_2.jpg skipped by user.\r\n") != std::string::npos);
        QVERIFY(log.find("Process aborted by user\r\n") != std::string::npos);
        QCOMPARE(log.find("Directory = "), log.rfind("Directory = "));  // one run only
    }

    void demoRunShowsTheScanLinesOnTheStretchedPicture() {
        testing::WriteSheetPhoto(Photo("IMG_1.jpg"), "QSZ0000001", 1);
        TForm1 form;
        ShowOnPhotos(form);
        Child<QRadioButton>(form, "ModeRadioGroupItem1")->click();
        Child<QPushButton>(form, "ExecuteButton")->click();

        QVERIFY(!hook->prompts.empty());
        QCOMPARE(hook->promptCaptions.front(), std::string("TGM"));
        QCOMPARE(testing::FileNames(photos), std::set<std::string>{"IMG_1.jpg"});  // Demo/Debug renames nothing

        // The picture keeps the last image with its strips: black rows right
        // across for the lines tried, red over the label for the line read.
        const QImage picture = Child<PictureView>(*form.PhotoForm(), "Image1")->Picture();
        QCOMPARE(picture.size(), QSize(617, 561));
        int blackRows = 0, redTop = picture.height(), redBottom = -1;
        for (int y = 0; y < picture.height(); ++y) {
            bool allBlack = true;
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb pixel = picture.pixel(x, y);
                allBlack = allBlack && pixel == qRgb(0, 0, 0);
                if (pixel == qRgb(255, 0, 0)) {
                    redTop = std::min(redTop, y);
                    redBottom = std::max(redBottom, y);
                }
            }
            blackRows += allBlack ? 1 : 0;
        }
        QVERIFY(blackRows >= 2);
        // The label's centre row 650 of 900 lies at display row 405.
        QVERIFY2(redTop >= 360 && redBottom <= 450, qPrintable(QString("red rows %1..%2").arg(redTop).arg(redBottom)));
        QCOMPARE(redBottom - redTop, 1);  // a strip two display pixels thick
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::RunTest)
#include "run_test.moc"
