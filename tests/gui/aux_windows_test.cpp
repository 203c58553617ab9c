// The windows around the main window: About, the log viewer, the help page,
// Manual Rename, and the guard that shows an error escaping a handler and
// carries on.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <cstdlib>
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
        support::CheckControls(
            *box, {{"ProductName", {}, "Tagmora"}, {"Label1", {}, "Unified Version"}, {"OKButton", {}, "OK"}});
        support::CheckOrder(*box, Qt::Vertical, {"ProductName", "Label1", "VersionLabel"});
        support::CheckOrder(*box, Qt::Vertical, {"Panel1", "OKButton"});
        QVERIFY(Child<QLabel>(*box, "ProductName")->font().bold());
        QVERIFY(Child<QPushButton>(*box, "OKButton")->isDefault());
        auto* version = Child<QLabel>(*box, "VersionLabel");
        QCOMPARE(version->text(), "Version " + QString::fromStdString(FileVersionText()));
        // Centred: the version in the panel, the box on the screen.
        const auto centreX = [](const QWidget* widget) { return widget->x() + widget->width() / 2; };
        QVERIFY(std::abs(centreX(version) - Child(*box, "Panel1")->width() / 2) <= 2);
        QVERIFY(version->alignment() & Qt::AlignHCenter);
        const QPoint screenCentre = box->screen()->availableGeometry().center();
        QVERIFY((box->frameGeometry().center() - screenCentre).manhattanLength() <= 4);

        Child<QPushButton>(*box, "OKButton")->click();
        QCOMPARE(VisibleAboutBoxes(), 0);
        about->trigger();
        QCOMPARE(VisibleAboutBoxes(), 1);
        QCOMPARE(form.AboutBox(), box);
    }

    void theLogViewerOpensAtTheEndOfTheLogAndNeverWritesIt() {
        TForm1 form;
        QCOMPARE(form.LogViewerForm()->size(), QSize(574, 629));
        support::CheckControls(*form.LogViewerForm(), {{"Button1", {}, "Close"}});
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
            // Read-only; Close at the bottom right, below the text.
            auto* close = Child<QPushButton>(*viewer, "Button1");
            atEnd = atEnd && memo->isReadOnly() && close->geometry().top() > memo->geometry().bottom() &&
                    viewer->width() - close->geometry().right() < 20 &&
                    viewer->height() - close->geometry().bottom() < 20;
            QTest::keyClicks(memo, "typed by the user");
            close->click();
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
        support::CheckControls(*help, {{"Button1", {}, "Close"}});
        QString page;
        support::ModalScript script;
        script.Then([&](QWidget* modal) {
            if (modal != help) return false;
            if (help->windowTitle() == "Tagmora Help") page = Child<QTextBrowser>(*help, "WebBrowser1")->toPlainText();
            Child<QPushButton>(*help, "Button1")->click();
            return true;
        });
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_F1);
        QVERIFY(script.Finished());
        QVERIFY(page.contains("http://tagmora.example.org/Herbarium/Help.html"));
        for (const char* topic : {"Demo/Debug",
                                  "Pause Each Line",
                                  "Close-up",
                                  "Vertical",
                                  "Ignore if matches",
                                  "Rename Raw files",
                                  "Rename W/O Barcode",
                                  "Suffix All Images",
                                  "Suffix Format",
                                  "Save Settings",
                                  "Skip",
                                  "Abort",
                                  "Ctrl+M",
                                  "Complete",
                                  "Undo Last Run",
                                  "Export Last Run",
                                  "--undo-last-run",
                                  "--report",
                                  "tagmora-batch",
                                  "LastFolder",
                                  "Deep Search",
                                  "(the first of several barcodes)"})
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
        start->Write("Tagmora.log", "Directory = " + folder +
                                        "\r\n\r\nIMG_7.jpg: Unable to open image.\r\n"
                                        "No barcode found on IMG_8.jpg\r\n"
                                        ">>>>>IMG_9.jpg: Found barcode, but unable to read\r\n");
        TForm1 form;
        form.SelectFolder(photos);

        TManualForm* manual = form.ManualForm();
        QCOMPARE(manual->windowTitle(), QString("Tagmora -- Manual Rename"));
        QCOMPARE(manual->size(), QSize(617, 538));  // the client area of a 633 x 577 window
        support::CheckControls(*manual, {{"Label1", {}, "-->"},
                                         {"RenameButton", {}, "Rename"},
                                         {"SkipButton", {}, "Skip"},
                                         {"Label2", {}, "(Click the image to zoom in)"}});
        auto* logLabel = Child<QLabel>(*manual, "LogLabel");
        auto* oldName = Child<QLabel>(*manual, "OldNameLabel");
        auto* newName = Child<QLineEdit>(*manual, "NewNameEdit");
        auto* fullImage = Child<PictureView>(*manual, "FullImage");
        auto* hint = Child<QLabel>(*manual, "Label2");
        // The grey at a fraction of the picture's width, as it is drawn.
        const auto grey = [fullImage](double x) {
            const QImage picture = fullImage->Picture();
            return qGray(picture.pixel(static_cast<int>(x * (picture.width() - 1)), picture.height() / 2));
        };
        const auto click = [fullImage](double x) {
            const QRect shown = fullImage->PictureRect();
            QTest::mouseClick(fullImage, Qt::LeftButton, {},
                              QPoint(shown.left() + static_cast<int>(x * (shown.width() - 1)), shown.center().y()));
        };

        support::ModalScript script;
        bool firstChecked = false;
        script.Then([&](QWidget* modal) {
            if (modal != manual || logLabel->text() != "IMG_7.jpg: Unable to open image.") return false;
            support::CheckOrder(*manual, Qt::Vertical, {"LogLabel", "NewNameEdit", "FullImage", "Label2"});
            support::CheckOrder(*manual, Qt::Horizontal,
                                {"OldNameLabel", "Label1", "NewNameEdit", "RenameButton", "SkipButton"});
            // IMG_8.jpg is gone: two photographs are offered.
            firstChecked = oldName->text() == "IMG_7.jpg" && newName->text() == "IMG_7.jpg" &&
                           Child<QLabel>(*manual, "PositionLabel")->text() == "1 of 2";
            // The whole picture in its own shape; a click near the right edge
            // shows the rightmost 600 columns only, and the hint says how
            // back; the next click the whole picture again.
            const QRect shown = fullImage->PictureRect();
            firstChecked = firstChecked && std::abs(shown.width() * 3 - shown.height() * 4) <= 4;
            firstChecked = firstChecked && grey(0.15) < 80 && grey(0.98) > 180;
            click(0.99);
            firstChecked =
                firstChecked && grey(0.02) > 180 && grey(0.98) > 180 && hint->text() == "(Click the image to zoom out)";
            click(0.5);
            firstChecked = firstChecked && grey(0.15) < 80 && hint->text() == "(Click the image to zoom in)";

            newName->setText("IMG_9");  // taken once ".jpg" is added: refused, the window stays
            Child<QPushButton>(*manual, "RenameButton")->click();
            firstChecked =
                firstChecked && manual->isVisible() && hook->messages == Texts{"IMG_9.jpg is already taken."};
            newName->setText("QSZ0001234.JPG");
            Child<QPushButton>(*manual, "RenameButton")->click();
            return true;
        });
        script.Then([&](QWidget* modal) {
            if (modal != manual || !logLabel->text().startsWith(">>>>>IMG_9.jpg")) return false;
            if (oldName->text() != "IMG_9.jpg") return true;
            newName->clear();
            QTest::keyClicks(newName, "QSZ0001235");
            QTest::keyClick(newName, Qt::Key_Return);  // Enter renames
            return true;
        });
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_M, Qt::ControlModifier);

        QVERIFY(script.Finished());
        QVERIFY(firstChecked);
        QVERIFY(!manual->isVisible());
        QCOMPARE(hook->messages, (Texts{"IMG_9.jpg is already taken.",
                                        "Passed over, no longer in " + folder +
                                            " under the name the log gives:\r\n"
                                            "IMG_8.jpg",
                                        "Complete"}));
        QCOMPARE(support::FileNames(photos),
                 (std::set<std::string>{"QSZ0001234.JPG", "QSZ0001234.CR2", "QSZ0001235.jpg"}));
        // Each rename is a line of the log, for a later review or undo.
        QVERIFY(start->Read("Tagmora.log")
                    .ends_with("-Manually renamed IMG_7.jpg to QSZ0001234.JPG\r\n"
                               "-Manually renamed IMG_7.CR2 to QSZ0001234.CR2\r\n"
                               "-Manually renamed IMG_9.jpg to QSZ0001235.jpg\r\n"));
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
