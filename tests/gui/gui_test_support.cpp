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

namespace tagmora::testing {

RecordingHook::RecordingHook() { SetMessageHook(this); }

RecordingHook::~RecordingHook() { SetMessageHook(nullptr); }

void RecordingHook::Message(std::string_view caption, std::string_view text) {
    messageCaptions.emplace_back(caption);
    messages.emplace_back(text);
}

bool RecordingHook::Prompt(std::string_view caption, std::string_view text) {
    promptCaptions.emplace_back(caption);
    prompts.emplace_back(text);
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingHook::BeforeProcessEvents() {
    if (beforeProcessEvents) beforeProcessEvents();
}

ScratchStartFolder::ScratchStartFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(Path()); }

ScratchStartFolder::~ScratchStartFolder() { QDir::setCurrent(previous_); }

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
        return;
    }
    if (modal && waiting_.elapsed() > kPatienceMs) {
        modal->close();
        return;
    }
    if (modal && steps_.front()(modal)) {
        steps_.pop_front();
        waiting_.start();
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

void WindowTest::init() {
    start = std::make_unique<ScratchStartFolder>();
    hook = std::make_unique<RecordingHook>();
    photos = start->Path() + "/photos";
    std::filesystem::create_directory(photos.toStdString());
}

void WindowTest::cleanup() {
    hook.reset();
    start.reset();
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
        if (designed.place) {
            const bool cornerOnly = designed.place->size() == QSize(0, 0);
            const QRect place = cornerOnly ? QRect(control->pos(), QSize(0, 0)) : control->geometry();
            QVERIFY2(place == *designed.place, qPrintable(QString("%1 at %2,%3 %4x%5").arg(designed.name)
                                                              .arg(place.x()).arg(place.y())
                                                              .arg(place.width()).arg(place.height())));
        }
        if (designed.caption)
            QVERIFY2(CaptionOf(*control) == designed.caption, qPrintable(designed.name + (": " + CaptionOf(*control))));
        if (designed.tip)
            QVERIFY2(control->toolTip() == designed.tip, qPrintable(designed.name + (": " + control->toolTip())));
    }
}

}  // namespace tagmora::testing
