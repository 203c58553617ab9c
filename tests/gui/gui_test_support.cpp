#include "gui_test_support.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

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

}  // namespace tagmora::testing
