// The windows around the main window: About, the log viewer, the help page,
// and the guard that shows an error escaping a handler and carries on.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include <stdexcept>

#include "app/version.h"
#include "gui/about_box.h"
#include "gui/help_form.h"
#include "gui/log_viewer_form.h"
#include "gui/main_form.h"
#include "gui_test_support.h"

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

class AuxWindowsTest : public testing::WindowTest {
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
        testing::CheckControls(*box, {
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
        std::string log;
        for (int run = 0; run < 40; ++run)
            log += "\r\n01/02/26, 10:00:00\r\nVersion 1.0.0\r\nProcessing General images\r\n"
                   "Renamed the following files:\r\n\r\nDirectory = /photos\r\n\r\nIMG_1.jpg renamed QSZ1.jpg\r\n";
        log += "IMG_2.jpg: Unable to open image.\r\n";
        start->folder.Write("Tagmora.log", log);
        TForm1 form;
        QCOMPARE(form.LogViewerForm()->size(), QSize(574, 629));
        testing::CheckControls(*form.LogViewerForm(),
                               {{"Button1", QRect(248, 8, 73, 25), "Close"}, {"Memo1", QRect(0, 40, 574, 589)}});

        bool atEnd = false;
        testing::ModalScript script;
        script.Then([&](QWidget* modal) {
            auto* viewer = qobject_cast<TLogViewerForm*>(modal);
            if (!viewer) return false;
            auto* memo = Child<QPlainTextEdit>(*viewer, "Memo1");
            QScrollBar* bar = memo->verticalScrollBar();
            atEnd = viewer->windowTitle() == "Tagmora Log File" && bar->maximum() > 0 &&
                    bar->value() == bar->maximum() && memo->toPlainText().endsWith("IMG_2.jpg: Unable to open image.\n");
            memo->appendPlainText("typed by the user");
            Child<QPushButton>(*viewer, "Button1")->click();
            return true;
        });
        Child<QAction>(form, "ViewLogFile1")->trigger();
        QVERIFY(script.Finished());
        QVERIFY(atEnd);
        QCOMPARE(start->folder.Read("Tagmora.log"), log);
    }

    void viewingAMissingLogIsReportedAndTheProgramGoesOn() {
        TForm1 form;
        Child<QAction>(form, "ViewLogFile1")->trigger();
        QCOMPARE(hook->messages, Texts{"Unable to open file: " + (start->folder / "Tagmora.log")});
        QCOMPARE(hook->messageCaptions, Texts{"Tagmora"});
    }

    void theHelpWindowShowsTheShippedPage() {
        TForm1 form;
        THelpForm* help = form.HelpForm();
        QCOMPARE(help->size(), QSize(804, 473));
        testing::CheckControls(*help, {{"Button1", QRect(352, 8, 97, 33), "Close"},
                                       {"WebBrowser1", QRect(0, 56, 804, 417)}});
        QString page;
        testing::ModalScript script;
        script.Then([&](QWidget* modal) {
            if (modal != help) return false;
            if (help->windowTitle() == "TGM Online Help") page = Child<QTextBrowser>(*help, "WebBrowser1")->toPlainText();
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
