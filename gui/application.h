#pragma once
// The Qt application object of Tagmora: the title every plain message box
// carries, and the guard that turns an error escaping a handler into a
// message instead of the end of the program.
#include <QApplication>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace tagmora {

inline constexpr const char* kApplicationTitle = "Tagmora";

// While a hook is installed, every message box and prompt of the program goes
// to it instead of the screen: the GUI tests answer them this way, and it is
// also their place to "click" during a run.
class MessageHook {
public:
    virtual ~MessageHook() = default;
    virtual void Message(std::string_view caption, std::string_view text) = 0;
    virtual bool Prompt(std::string_view caption, std::string_view text) = 0;
    // Called just before pending events are processed in the middle of a run.
    virtual void BeforeProcessEvents() {}
    // The file chosen in a save dialog, or nothing when it was cancelled.
    virtual std::optional<std::string> SaveFileName(std::string_view /*suggested*/) { return std::nullopt; }
    // The text typed in answer to a question, or nothing when it was cancelled.
    virtual std::optional<std::string> AskText(std::string_view /*question*/, std::string_view /*suggested*/) {
        return std::nullopt;
    }
};

void SetMessageHook(MessageHook* hook);
MessageHook* CurrentMessageHook();

// A standard error box with the error's own text.
void ShowErrorBox(const QString& text);

// A question with OK and Cancel, captioned with the application title; true for OK.
bool AskOkCancel(QWidget* parent, const QString& text);

// A save dialog for a CSV file that asks before an existing file is
// replaced; an empty text when cancelled.
QString ChooseCsvFile(QWidget* parent, const QString& caption, const QString& suggested);

// A line of text asked for under the application title; an empty text when
// cancelled.
QString AskText(QWidget* parent, const QString& question, const QString& suggested);

// Runs a handler; an exception leaving it is shown and swallowed, so the
// message loop goes on.
void RunGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(): exceptions never cross Qt's own frames.
template <typename Handler>
auto Guarded(Handler handler) {
    return [handler](auto&&...) { RunGuarded(handler); };
}

class TagmoraApplication : public QApplication {
public:
    TagmoraApplication(int& argc, char** argv);

    // The last line of defence for event handlers (mouse, keys, paint).
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tagmora
