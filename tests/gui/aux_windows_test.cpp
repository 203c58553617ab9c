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

#include <memory>
#include <stdexcept>

#include "app/version.h"
#include "gui/about_box.h"
#include "gui/help_form.h"
#include "gui/log_viewer_form.h"
#include "gui/main_form.h"
#include "gui_test_support.h"

namespace tagmora {

using testing::RecordingHook;
using testing::ScratchStartFolder;
using Texts = std::vector<std::string>;

namespace {

// An object whose event handler fails, as one might on a full disk.
class FailingObject final : public QObject {
public:
    bool event(QEvent*) override { throw std::runtime_error("event failed"); }
};

}  // namespace

class AuxWindowsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchStartFolder> start;
    std::unique_ptr<RecordingHook> hook;

    static int VisibleAboutBoxes() {
        int count = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            count += qobject_cast<TAboutBox*>(window) && window->isVisible() ? 1 : 0;
        return count;
    }

private slots:
    void init() {
        start = std::make_unique<ScratchStartFolder>();
        hook = std::make_unique<RecordingHook>();
    }
    void cleanup() {
        hook.reset();
        start.reset();
    }

    void aboutTwiceLeavesOneBox() {
        TForm1 form;
        auto* about = form.findChild<QAction*>("About1");
        about->trigger();
        about->trigger();
        QCOMPARE(VisibleAboutBoxes(), 1);
        TAboutBox* box = form.AboutBox();
        QVERIFY(!box->isModal());
        QCOMPARE(box->windowTitle(), QString("About"));
        QCOMPARE(box->size(), QSize(298, 213));
        auto* product = box->findChild<QLabel*>("ProductName");
        QCOMPARE(product->text(), QString("Tagmora"));
        QVERIFY(product->font().bold());
        QCOMPARE(box->findChild<QLabel*>("Label1")->text(), QString("Unified Version"));
        auto* version = box->findChild<QLabel*>("VersionLabel");
        QCOMPARE(version->text(), "Version " + QString::fromStdString(FileVersionText()));
        auto* panel = box->findChild<QWidget*>("Panel1");
        QCOMPARE(version->x(), panel->width() / 2 - version->width() / 2);
        QCOMPARE(version->y(), 72);

        box->findChild<QPushButton*>("OKButton")->click();
        QCOMPARE(VisibleAboutBoxes(), 0);
        about->trigger();
        QCOMPARE(VisibleAboutBoxes(), 1);
        QCOMPARE(form.AboutBox(), box);
    }

    void theLogViewerOpensAtTheEndOfTheLog() {
        std::string log;
        for (int run = 0; run < 40; ++run)
            log += "\r\n01/02/26, 10:00:00\r\nVersion 1.0.0\r\nProcessing General images\r\n"
                   "Renamed the following files:\r\n\r\nDirectory = /photos\r\n\r\nIMG_1.jpg renamed QSZ1.jpg\r\n";
        log += "IMG_2.jpg: Unable to open image.\r\n";
        start->folder.Write("Tagmora.log", log);
        TForm1 form;

        bool checked = false;
        testing::ModalScript script;
        script.Then([&](QWidget* modal) {
            auto* viewer = qobject_cast<TLogViewerForm*>(modal);
            if (!viewer) return false;
            auto* memo = viewer->findChild<QPlainTextEdit*>("Memo1");
            QScrollBar* bar = memo->verticalScrollBar();
            checked = viewer->windowTitle() == "Tagmora Log File" && bar->maximum() > 0 &&
                      bar->value() == bar->maximum() &&
                      memo->toPlainText().endsWith("IMG_2.jpg: Unable to open image.\n");
            memo->appendPlainText("typed by the user");  // never reaches the file
            viewer->findChild<QPushButton*>("Button1")->click();
            return true;
        });
        form.findChild<QAction*>("ViewLogFile1")->trigger();
        QVERIFY(script.Finished());
        QVERIFY(checked);
        QCOMPARE(start->folder.Read("Tagmora.log"), log);
    }

    void viewingAMissingLogIsReportedAndTheProgramGoesOn() {
        TForm1 form;
        form.findChild<QAction*>("ViewLogFile1")->trigger();
        QCOMPARE(hook->messages, Texts{"Unable to open file: " + (start->folder / "Tagmora.log")});
        QCOMPARE(hook->messageCaptions, Texts{"Tagmora"});
    }

    void theHelpWindowShowsTheShippedPage() {
        TForm1 form;
        QString page;
        testing::ModalScript script;
        script.Then([&](QWidget* modal) {
            auto* help = qobject_cast<THelpForm*>(modal);
            if (!help) return false;
            if (help->windowTitle() == "TGM Online Help") page = help->findChild<QTextBrowser*>("WebBrowser1")->toPlainText();
            help->findChild<QPushButton*>("Button1")->click();
            return true;
        });
        form.findChild<QAction*>("Help2")->trigger();
        QVERIFY(script.Finished());
        QVERIFY(page.contains("http://tagmora.example.org/Herbarium/Help.html"));
        for (const char* topic : {"Demo/Debug", "Close-up", "Suffix Format", "Rename Raw files", "Skip"})
            QVERIFY2(page.contains(topic), topic);
    }

    void anErrorInAHandlerIsShownAndTheProgramGoesOn() {
        QPushButton button;
        connect(&button, &QPushButton::clicked, &button, Guarded([] { throw std::runtime_error("click failed"); }));
        button.click();
        FailingObject failing;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&failing, &event);
        QCOMPARE(hook->messages, (Texts{"click failed", "event failed"}));
        QCOMPARE(hook->messageCaptions, (Texts{"Tagmora", "Tagmora"}));
        button.click();
        QCOMPARE(hook->messages.size(), 3u);
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::AuxWindowsTest)
#include "aux_windows_test.moc"
