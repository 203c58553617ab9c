// Manual Rename through its window: the last run's problem images offered
// one by one, click-to-zoom, a refused name, Rename with the raw file, Skip.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/main_form.h"
#include "gui/manual_form.h"
#include "gui/picture_view.h"
#include "gui_test_support.h"
#include "photo/work_bitmap.h"
#include "support/synthetic_sheet.h"

namespace tagmora {

using Texts = std::vector<std::string>;

class ManualRenameWindowTest : public testing::WindowTest {
    Q_OBJECT

private slots:
    void offersEachProblemImageOfTheLastRun() {
        const std::string folder = photos.toStdString();
        // 2000 x 1500, dark but for the rightmost 600 columns, so that a view
        // shows which part of the bitmap it holds.
        WorkBitmap twoTone;
        twoTone.Resize(2000, 1500);
        for (std::int32_t y = 0; y < twoTone.Height; ++y)
            for (std::int32_t x = 0; x < twoTone.Width; ++x) twoTone.Row(y)[x] = x < 1400 ? 40 : 220;
        testing::WriteJpegFile(folder + "/IMG_7.jpg", twoTone, 90);
        testing::WriteSheetPhoto(folder + "/IMG_9.jpg", "", 9);
        start->folder.Write("photos/IMG_7.CR2", "raw");
        start->folder.Write("Tagmora.log",
                            "\r\n01/02/26, 10:00:00\r\nVersion 1.0.0\r\nProcessing General images\r\n"
                            "Renamed the following files:\r\n\r\nDirectory = " + folder + "\r\n\r\n"
                            "IMG_7.jpg: Unable to open image.\r\nNo barcode found on IMG_8.jpg\r\n"
                            ">>>>>IMG_9.jpg: Found barcode, but unable to read\r\n");
        TForm1 form;
        form.SelectFolder(photos);

        TManualForm* manual = form.ManualForm();
        QCOMPARE(manual->windowTitle(), QString("Tagmora -- Manual Rename"));
        QCOMPARE(manual->size(), QSize(617, 538));  // the client area of a 633 x 577 window
        testing::CheckControls(*manual, {
            {"LogLabel", QRect(32, 8, 0, 0)},
            {"Label1", QRect(179, 36, 0, 0), "-->"},
            {"NewNameEdit", QRect(200, 34, 193, 21)},
            {"RenameButton", QRect(424, 32, 65, 25), "Rename"},
            {"SkipButton", QRect(512, 32, 65, 25), "Skip"},
            {"FullImage", QRect(8, 72, 601, 444)},
            {"Label2", QRect(240, 520, 0, 0), "(Click the image to zoom in)"},
        });
        auto* logLabel = Child<QLabel>(*manual, "LogLabel");
        auto* oldName = Child<QLabel>(*manual, "OldNameLabel");
        auto* newName = Child<QLineEdit>(*manual, "NewNameEdit");
        auto* fullImage = Child<PictureView>(*manual, "FullImage");
        const auto grey = [fullImage](int x) { return qGray(fullImage->Picture().pixel(x, 200)); };

        testing::ModalScript script;
        bool firstChecked = false;
        script.Then([&](QWidget* modal) {
            if (modal != manual || logLabel->text() != "IMG_7.jpg: Unable to open image.") return false;
            firstChecked = oldName->text() == "IMG_7.jpg" && newName->text() == "IMG_7.jpg";
            // Whole view; a click near the right edge shows the rightmost
            // 600 columns only; the next click the whole view again.
            firstChecked = firstChecked && grey(100) < 80 && grey(590) > 180;
            QTest::mouseClick(fullImage, Qt::LeftButton, {}, QPoint(595, 222));
            firstChecked = firstChecked && grey(5) > 180 && grey(590) > 180;
            QTest::mouseClick(fullImage, Qt::LeftButton, {}, QPoint(300, 300));
            firstChecked = firstChecked && grey(100) < 80;

            newName->setText("IMG_9.jpg");  // taken: refused, the window stays
            Child<QPushButton>(*manual, "RenameButton")->click();
            firstChecked = firstChecked && manual->isVisible() && hook->messages == Texts{"Unable to rename file."};
            newName->setText("QSZ0001234.JPG");
            Child<QPushButton>(*manual, "RenameButton")->click();
            return true;
        });
        script.Then([&](QWidget* modal) {
            if (modal != manual || !logLabel->text().startsWith(">>>>>IMG_9.jpg")) return false;
            if (oldName->text() == "IMG_9.jpg") Child<QPushButton>(*manual, "SkipButton")->click();
            return true;
        });
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_M, Qt::ControlModifier);

        QVERIFY(script.Finished());
        QVERIFY(firstChecked);
        QVERIFY(!manual->isVisible());
        QCOMPARE(hook->messages, (Texts{"Unable to rename file.", "Complete"}));
        QCOMPARE(testing::FileNames(photos), (std::set<std::string>{"QSZ0001234.JPG", "QSZ0001234.CR2", "IMG_9.jpg"}));
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::ManualRenameWindowTest)
#include "manual_rename_window_test.moc"
