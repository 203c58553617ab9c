// Every window opens at its designed size and, made larger, gives the room to
// its folder tree, picture or text. Run on the offscreen platform like the
// other window tests, and by scripts/test on a real X server (Xvfb), where a
// window manager's resize goes through the windowing system.
#include <QTest>
#include <functional>

#include "gui/help_form.h"
#include "gui/log_viewer_form.h"
#include "gui/main_form.h"
#include "gui/manual_form.h"
#include "gui/photo_form.h"
#include "gui_test_support.h"

namespace tagmora {

class ResizingTest : public support::WindowTest {
    Q_OBJECT

private slots:
    void everyWindowGrowsWhatItShows() {
        TForm1 form;
        const struct {
            QWidget* window;
            const char* grower;
            QSize designed;  // the least it opens at
        } windows[] = {
            {&form, "SourceDirCombo", QSize(443, 330)},        {form.PhotoForm(), "Image1", QSize(648, 626)},
            {form.ManualForm(), "FullImage", QSize(617, 538)}, {form.HelpForm(), "WebBrowser1", QSize(804, 473)},
            {form.LogViewerForm(), "Memo1", QSize(574, 629)},
        };
        for (const auto& w : windows) {
            const QString name = w.window->objectName();
            w.window->show();
            QVERIFY2(QTest::qWaitForWindowExposed(w.window), qPrintable(name));
            QVERIFY2(w.window->width() >= w.designed.width() && w.window->height() >= w.designed.height(),
                     qPrintable(name));
            QWidget* grower = Child(*w.window, w.grower);
            const QSize before = grower->size();
            const QSize larger = w.window->size() + QSize(240, 160);
            w.window->resize(larger);
            QVERIFY2(QTest::qWaitFor([&] { return w.window->size() == larger; }, 5000), qPrintable(name));
            QVERIFY2(QTest::qWaitFor([&] { return grower->width() >= before.width() + 200; }, 5000), qPrintable(name));
            QVERIFY2(grower->height() >= before.height() + 120, qPrintable(name));
            w.window->hide();
        }
    }
};

}  // namespace tagmora

TAGMORA_GUI_TEST_MAIN(tagmora::ResizingTest)
#include "resizing_test.moc"
