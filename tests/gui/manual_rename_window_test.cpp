// Manual Rename through its window: the last run's problem images offered
// one by one, click-to-zoom, a refused name, Rename with the raw file, Skip.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>
#include <set>

#include "gui/main_form.h"
#include "gui/manual_form.h"
#include "gui/picture_view.h"
#include "gui_test_support.h"
#include "photo/work_bitmap.h"
#include "support/synthetic_sheet.h"

namespace tagmora {

using testing::RecordingHook;
using testing::ScratchStartFolder;
using Texts = std::vector<std::string>;

namespace {

// 2000 x 1500: dark but for the rightmost 600 columns, so that a view shows
// which part of the bitmap it holds.
void WriteTwoToneJpeg(const std::string& path) {
    WorkBitmap bitmap;
    bitmap.Resize(2000, 1500);
    for (std::int32_t y = 0; y < bitmap.Height; ++y)
        for (std::int32_t x = 0; x < bitmap.Width; ++x) bitmap.Row(y)[x] = x < 1400 ? 40 : 220;
    testing::WriteJpegFile(path, bitmap, 90);
}

int Grey(const QImage& picture, int x, int y) { return qGray(picture.pixel(x, y)); }

}  // namespace

class ManualRenameWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchStartFolder> start;
    std::unique_ptr<RecordingHook> hook;
    QString photos;

    void StartReviewFromKeyboard(TForm1& form) {
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_M, Qt::ControlModifier);
    }

private slots:
    void init() {
        start = std::make_unique<ScratchStartFolder>();
        hook = std::make_unique<RecordingHook>();
        photos = start->Path() + "/photos";
        std::filesystem::create_directory(photos.toStdString());
    }
    void cleanup() {
        hook.reset();
        start.reset();
    }

    void offersEachProblemImageOfTheLastRun() {
        const std::string folder = photos.toStdString();
        WriteTwoToneJpeg(folder + "/IMG_7.jpg");
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
        auto* logLabel = manual->findChild<QLabel*>("LogLabel");
        auto* oldName = manual->findChild<QLabel*>("OldNameLabel");
        auto* newName = manual->findChild<QLineEdit*>("NewNameEdit");
        auto* fullImage = manual->findChild<PictureView*>("FullImage");
        auto* rename = manual->findChild<QPushButton*>("RenameButton");
        testing::ModalScript script;
        bool firstChecked = false;
        script.Then([&](QWidget* modal) {
            if (modal != manual || logLabel->text() != "IMG_7.jpg: Unable to open image.") return false;
            firstChecked = manual->windowTitle() == "Tagmora -- Manual Rename" && oldName->text() == "IMG_7.jpg" &&
                           newName->text() == "IMG_7.jpg" && fullImage->size() == QSize(601, 444);
            // Whole view: the dark part on the left, the light columns on the right.
            const bool wholeFirst = Grey(fullImage->Picture(), 100, 200) < 80 && Grey(fullImage->Picture(), 590, 200) > 180;
            // A click near the right edge shows the rightmost 600 columns only.
            QTest::mouseClick(fullImage, Qt::LeftButton, {}, QPoint(595, 222));
            const bool zoomed = Grey(fullImage->Picture(), 5, 200) > 180 && Grey(fullImage->Picture(), 590, 200) > 180;
            QTest::mouseClick(fullImage, Qt::LeftButton, {}, QPoint(300, 300));
            const bool wholeAgain = Grey(fullImage->Picture(), 100, 200) < 80;
            firstChecked = firstChecked && wholeFirst && zoomed && wholeAgain;

            newName->setText("IMG_9.jpg");  // taken: refused, the window stays
            rename->click();
            firstChecked = firstChecked && manual->isVisible() && hook->messages == Texts{"Unable to rename file."};
            newName->setText("QSZ0001234.JPG");
            rename->click();
            return true;
        });
        script.Then([&](QWidget* modal) {
            if (modal != manual || !logLabel->text().startsWith(">>>>>IMG_9.jpg")) return false;
            if (oldName->text() == "IMG_9.jpg") manual->findChild<QPushButton*>("SkipButton")->click();
            return true;
        });
        StartReviewFromKeyboard(form);

        QVERIFY(script.Finished());
        QVERIFY(firstChecked);
        QVERIFY(!manual->isVisible());
        QCOMPARE(hook->messages, (Texts{"Unable to rename file.", "Complete"}));
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
        QCOMPARE(names, (std::set<std::string>{"QSZ0001234.JPG", "QSZ0001234.CR2", "IMG_9.jpg"}));
    }

    void aMissingLogIsReportedAndTheProgramGoesOn() {
        TForm1 form;
        StartReviewFromKeyboard(form);
        QCOMPARE(hook->messages, Texts{"Unable to open file: " + (start->folder / "Tagmora.log")});
        QVERIFY(form.isVisible());
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::ManualRenameWindowTest)
#include "manual_rename_window_test.moc"
