#include "gui/application.h"

#include <QMessageBox>

#include <exception>
#include <string>

#include "gui/icons.h"

namespace tagmora {

namespace {

MessageHook* messageHook = nullptr;

}  // namespace

void SetMessageHook(MessageHook* hook) { messageHook = hook; }

MessageHook* CurrentMessageHook() { return messageHook; }

void ShowErrorBox(const QString& text) {
    if (messageHook) {
        const QByteArray bytes = text.toLocal8Bit();
        messageHook->Message(kApplicationTitle, std::string_view(bytes.constData(), bytes.size()));
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), kApplicationTitle, text);
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Unknown error"));
    }
}

TagmoraApplication::TagmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The display name stays unset: Qt would append it to every window title.
    setApplicationName(kApplicationTitle);
    setDesktopFileName(QStringLiteral("tagmora"));
    setWindowIcon(ApplicationIcon());
}

bool TagmoraApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace tagmora
