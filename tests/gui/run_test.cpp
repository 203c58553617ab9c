// Whole runs driven through the main window: Execute, the photo window with
// its picture and scan lines, and Abort and Skip clicked while images are read.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "gui/main_form.h"
#include "gui/photo_form.h"
#include "gui/picture_view.h"
#include "gui_test_support.h"

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
        QTest::mouseClick(execute, Qt::LeftButton);

        QCOMPARE(clicked.size(), std::size_t{3});
        QVERIFY(photoShown && !photo->isVisible());
        QCOMPARE(hook->messages,
                 (Texts{"IMG_2.jpg skipped.", "Process Aborted by User",
                        "No Errors encountered with 3 images.\r\nPlease read the log file for details."}));
        QCOMPARE(Child<QLabel>(*photo, "CountLabel")->text(), QString("3/3"));
        // A click takes effect between the scan lines: the photographs skipped
        // and aborted keep their names, the fourth is never handed on.
        QCOMPARE(support::FileNames(photos),
                 (std::set<std::string>{"QSZ0000001.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg"}));
        const std::string log = start->Read("Tagmora.log");
        QVERIFY(log.find("IMG_2.jpg skipped by user.\r\n") != std::string::npos);
        QVERIFY(log.find("Process aborted by user\r\n") != std::string::npos);
        QCOMPARE(log.find("Directory = "), log.rfind("Directory = "));  // one run only
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

        // The picture keeps the last image with its strips: black rows right
        // across for the lines tried, red over the label for the line read.
        const QImage picture = Child<PictureView>(*form.PhotoForm(), "Image1")->Picture();
        QCOMPARE(picture.size(), QSize(617, 561));
        // The rows in which every one of the columns has the colour.
        const auto rowsOf = [&picture](QRgb colour, std::initializer_list<int> columns) {
            QList<int> rows;
            for (int y = 0; y < picture.height(); ++y)
                if (std::ranges::all_of(columns, [&](int x) { return picture.pixel(x, y) == colour; })) rows << y;
            return rows;
        };
        QVERIFY(rowsOf(qRgb(0, 0, 0), {0, 308, 616}).size() >= 2);
        // Over the label, whose centre (700, 650 of 1200 x 900) is shown at
        // (360, 405): a strip two display pixels thick.
        const QList<int> red = rowsOf(qRgb(255, 0, 0), {360});
        QVERIFY2(red.size() == 2 && red[0] >= 360 && red[1] == red[0] + 1 && red[1] <= 450,
                 qPrintable(QString::number(red.value(0))));
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::RunTest)
#include "run_test.moc"
