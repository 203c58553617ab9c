// The windows around the main window: About, the log viewer, the help page,
// Manual Rename, and the guard that shows an error escaping a handler and
// carries on.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include <stdexcept>

#include "base/version.h"
#include "gui/about_box.h"
#include "gui/help_form.h"
#include "gui/log_viewer_form.h"
#include "gui/main_form.h"
#include "gui/manual_form.h"
#include "gui/picture_view.h"
#include "gui_test_support.h"
#include "photo/work_bitmap.h"
#include "support/synthetic_sheet.h"

namespace tagmora {

using Texts = std::vector<std::string>;

namespace {

// An object whose event handler fails, as one might on a full disk.
class FailingObject final : public QObject {
public:
    bool event(QEvent*) override { throw std::runtime_error("event failed"); }
};

int VisibleAboutBoxes() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<TAboutBox*>(window) && window->isVisible() ? 1 : 0;
    return count;
}

}  // namespace

class AuxWindowsTest : public support::WindowTest {
    Q_OBJECT

private slots:
    void aboutShowsTheVersionCentredAndTwiceLeavesOneBox() {
        TForm1 form;
        auto* about = Child<QAction>(form, "About1");
        about->trigger();
        about->trigger();
        QCOMPARE(VisibleAboutBoxes(), 1);
        TAboutBox* box = form.AboutBox();
        QVERIFY(!box->isModal());
        QCOMPARE(box->windowTitle(), QString("About"));
        QCOMPARE(box->size(), QSize(298, 213));
        support::CheckControls(*box, {
            {"Panel1", QRect(8, 8, 281, 161)},
            {"ProductName", QRect(80, 16, 0, 0), "Tagmora"},
            {"Label1", QRect(108, 44, 0, 0), "Unified Version"},
            {"OKButton", QRect(111, 180, 75, 25), "OK"},
        });
        QVERIFY(Child<QLabel>(*box, "ProductName")->font().bold());
        QVERIFY(Child<QPushButton>(*box, "OKButton")->isDefault());
        auto* version = Child<QLabel>(*box, "VersionLabel");
        QCOMPARE(version->text(), "Version " + QString::fromStdString(FileVersionText()));
        QCOMPARE(version->pos(), QPoint(Child(*box, "Panel1")->width() / 2 - version->width() / 2, 72));

        Child<QPushButton>(*box, "OKButton")->click();
        QCOMPARE(VisibleAboutBoxes(), 0);
        about->trigger();
        QCOMPARE(VisibleAboutBoxes(), 1);
        QCOMPARE(form.AboutBox(), box);
    }

    void theLogViewerOpensAtTheEndOfTheLogAndNeverWritesIt() {
        TForm1 form;
        QCOMPARE(form.LogViewerForm()->size(), QSize(574, 629));
        support::CheckControls(*form.LogViewerForm(),
                               {{"Button1", QRect(248, 8, 73, 25), "Close"}, {"Memo1", QRect(0, 40, 574, 589)}});
        auto* viewLog = Child<QAction>(form, "ViewLogFile1");
        viewLog->trigger();  // no log yet: said so, and the program goes on
        QCOMPARE(hook->messages, Texts{"Unable to open file: " + (*start / "Tagmora.log")});
        QCOMPARE(hook->messageCaptions, Texts{"Tagmora"});

        std::string log;
        for (int line = 0; line < 300; ++line) log += "IMG_1.jpg renamed QSZ1.jpg\r\n";
        log += "IMG_2.jpg: Unable to open image.\r\n";
        start->Write("Tagmora.log", log);
        bool atEnd = false;
        support::ModalScript script;
        script.Then([&](QWidget* modal) {
            auto* viewer = qobject_cast<TLogViewerForm*>(modal);
            if (!viewer) return false;
            auto* memo = Child<QPlainTextEdit>(*viewer, "Memo1");
            QScrollBar* bar = memo->verticalScrollBar();
            atEnd = viewer->windowTitle() == "Tagmora Log File" && bar->maximum() > 0 &&
                    bar->value() == bar->maximum() && memo->toPlainText().endsWith("Unable to open image.\n");
            memo->appendPlainText("typed by the user");
            Child<QPushButton>(*viewer, "Button1")->click();
            return true;
        });
        viewLog->trigger();
        QVERIFY(script.Finished() && atEnd);
        QCOMPARE(start->Read("Tagmora.log"), log);
    }

    void theHelpWindowShowsTheShippedPage() {
        TForm1 form;
        THelpForm* help = form.HelpForm();
        QCOMPARE(help->size(), QSize(804, 473));
        support::CheckControls(*help, {{"Button1", QRect(352, 8, 97, 33), "Close"},
                                       {"WebBrowser1", QRect(0, 56, 804, 417)}});
        QString page;
        support::ModalScript script;
        script.Then([&](QWidget* modal) {
            if (modal != help) return false;
            if (help->windowTitle() == "TGM Online Help")
                page = Child<QTextBrowser>(*help, "WebBrowser1")->toPlainText();
            Child<QPushButton>(*help, "Button1")->click();
            return true;
        });
        Child<QAction>(form, "Help2")->trigger();
        QVERIFY(script.Finished());
        QVERIFY(page.contains("http://tagmora.example.org/Herbarium/Help.html"));
        for (const char* topic : {"Demo/Debug", "Pause Each Line", "Close-up", "Vertical", "Ignore if matches",
                                  "Rename Raw files", "Rename W/O Barcode", "Suffix All Images", "Suffix Format",
                                  "Save Settings", "Skip", "Abort", "Ctrl+M", "Complete"})
            QVERIFY2(page.contains(topic), topic);
    }

    void manualRenameOffersEachProblemImageOfTheLastRun() {
        const std::string folder = photos.toStdString();
        // 2000 x 1500, dark but for the rightmost 600 columns, so that a view
        // shows which part of the bitmap it holds.
        WorkBitmap twoTone;
        twoTone.Resize(2000, 1500);
        for (std::int32_t y = 0; y < twoTone.Height; ++y)
            for (std::int32_t x = 0; x < twoTone.Width; ++x) twoTone.Row(y)[x] = x < 1400 ? 40 : 220;
        support::WriteJpegFile(folder + "/IMG_7.jpg", twoTone, 90);
        support::WriteSheetPhoto(folder + "/IMG_9.jpg", "", 9);
        start->Write("photos/IMG_7.CR2", "raw");
        start->Write("Tagmora.log", "Directory = " + folder + "\r\n\r\nIMG_7.jpg: Unable to open image.\r\n"
                                    "No barcode found on IMG_8.jpg\r\n"
                                    ">>>>>IMG_9.jpg: Found barcode, but unable to read\r\n");
        TForm1 form;
        form.SelectFolder(photos);

        TManualForm* manual = form.ManualForm();
        QCOMPARE(manual->windowTitle(), QString("Tagmora -- Manual Rename"));
        QCOMPARE(manual->size(), QSize(617, 538));  // the client area of a 633 x 577 window
        support::CheckControls(*manual, {
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

        support::ModalScript script;
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
        QCOMPARE(hook->messages, (Texts{"Unable to rename file.",
                                        "Unable to open file " + folder + "/IMG_8.jpg",
                                        "Complete"}));
        QCOMPARE(support::FileNames(photos), (std::set<std::string>{"QSZ0001234.JPG", "QSZ0001234.CR2", "IMG_9.jpg"}));
    }

    void anErrorInAHandlerIsShownAndTheProgramGoesOn() {
        QPushButton button;
        connect(&button, &QPushButton::clicked, &button, Guarded([] { throw std::runtime_error("click failed"); }));
        button.click();
        FailingObject failing;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&failing, &event);
        button.click();
        QCOMPARE(hook->messages, (Texts{"click failed", "event failed", "click failed"}));
        QCOMPARE(hook->messageCaptions, (Texts{"Tagmora", "Tagmora", "Tagmora"}));
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::AuxWindowsTest)
#include "aux_windows_test.moc"
