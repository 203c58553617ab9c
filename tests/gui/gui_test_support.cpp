#include "gui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <filesystem>

#include "support/synthetic_sheet.h"

namespace tagmora::support {

void WindowTest::init() {
    start = std::make_unique<TempFolder>();
    startPath = QString::fromLocal8Bit(start->path());
    photos = startPath + "/photos";
    std::filesystem::create_directory(photos.toStdString());
    previousFolder_ = QDir::currentPath();
    QDir::setCurrent(startPath);
    hook = std::make_unique<RecordingHook>();
    SetMessageHook(hook.get());
}

void WindowTest::cleanup() {
    SetMessageHook(nullptr);
    hook.reset();
    QDir::setCurrent(previousFolder_);
    start.reset();
}

ModalScript::ModalScript() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

void ModalScript::Then(Step step) {
    steps_.push_back(std::move(step));
    waiting_.start();
    timer_.start();
}

void ModalScript::Tick() {
    constexpr qint64 kPatienceMs = 20000;
    QWidget* modal = QApplication::activeModalWidget();
    if (steps_.empty()) {
        timer_.stop();
    } else if (modal && waiting_.elapsed() > kPatienceMs) {
        modal->close();
    } else if (modal && steps_.front()(modal)) {
        steps_.pop_front();
        waiting_.start();
    }
}

namespace {

QString CaptionOf(const QWidget& control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(&control)) return frame->title();
    if (const auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
    return control.windowTitle();
}

}  // namespace

void CheckControls(const QWidget& window, std::initializer_list<Control> controls) {
    for (const Control& designed : controls) {
        const auto* control = window.findChild<QWidget*>(designed.name);
        QVERIFY2(control, designed.name);
        const QRect place = designed.place && designed.place->size() == QSize(0, 0) ? QRect(control->pos(), QSize(0, 0))
                                                                                    : control->geometry();
        QVERIFY2(!designed.place || place == *designed.place, qPrintable(QString("%1 at %2,%3 %4x%5")
                                                                             .arg(designed.name)
                                                                             .arg(place.x())
                                                                             .arg(place.y())
                                                                             .arg(place.width())
                                                                             .arg(place.height())));
        QVERIFY2(!designed.caption || CaptionOf(*control) == designed.caption,
                 qPrintable(designed.name + (": " + CaptionOf(*control))));
        QVERIFY2(!designed.tip || control->toolTip() == designed.tip,
                 qPrintable(designed.name + (": " + control->toolTip())));
    }
}

void CheckOrder(const QWidget& window, Qt::Orientation orientation, std::initializer_list<const char*> names) {
    const QWidget* previous = nullptr;
    for (const char* name : names) {
        const auto* control = window.findChild<QWidget*>(name);
        QVERIFY2(control && control->isVisibleTo(&window), name);
        if (previous) {
            const QRect before(previous->mapTo(&window, QPoint(0, 0)), previous->size());
            const QRect after(control->mapTo(&window, QPoint(0, 0)), control->size());
            const bool inOrder =
                orientation == Qt::Horizontal ? before.right() < after.left() : before.bottom() < after.top();
            QVERIFY2(inOrder, qPrintable(QString("%1 before %2").arg(previous->objectName(), name)));
        }
        previous = control;
    }
}

void WriteSheetPhoto(const std::string& path, std::string_view text, unsigned seed) {
    SheetOptions options;
    options.width = 1200;
    options.height = 900;
    options.moduleWidth = 4;
    options.barHeight = 90;
    options.centerX = 700;
    options.centerY = 650;
    options.noiseSigma = 2.0;
    options.seed = seed;
    WriteJpegFile(path, text.empty() ? MakeBlankSheet(options) : MakeSheet(Symbology::Code39, text, options), 90);
}

std::set<std::string> FileNames(const QString& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.toStdString()))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace tagmora::support
