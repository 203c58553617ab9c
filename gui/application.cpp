#include "gui/application.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <exception>
#include <string>

#include "gui/icons.h"
#include "gui/local_text.h"

namespace tagmora {

namespace {

MessageHook* messageHook = nullptr;

}  // namespace

void SetMessageHook(MessageHook* hook) { messageHook = hook; }

MessageHook* CurrentMessageHook() { return messageHook; }

void ShowErrorBox(const QString& text) {
    if (messageHook) return messageHook->Message(kApplicationTitle, Local8Bit(text));
    QMessageBox::critical(QApplication::activeWindow(), QLatin1StringView(kApplicationTitle), text);
}

bool AskOkCancel(QWidget* parent, const QString& text) {
    if (messageHook) return messageHook->Prompt(kApplicationTitle, Local8Bit(text));
    QMessageBox box(QMessageBox::Question, QLatin1StringView(kApplicationTitle), text,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

QString ChooseCsvFile(QWidget* parent, const QString& caption, const QString& suggested) {
    if (messageHook) {
        const std::optional<std::string> chosen = messageHook->SaveFileName(Local8Bit(suggested));
        return chosen ? FromLocal8Bit(*chosen) : QString();
    }
    QFileDialog dialog(parent, caption, suggested, QFileDialog::tr("CSV files (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString AskText(QWidget* parent, const QString& question, const QString& suggested) {
    if (messageHook) {
        const std::optional<std::string> answer = messageHook->AskText(Local8Bit(question), Local8Bit(suggested));
        return answer ? FromLocal8Bit(*answer) : QString();
    }
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, QLatin1StringView(kApplicationTitle), question,
                                                 QLineEdit::Normal, suggested, &ok);
    return ok ? answer.trimmed() : QString();
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowErrorBox(QCoreApplication::translate("tagmora::RunGuarded", "Unknown error"));
    }
}

TagmoraApplication::TagmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The display name stays unset: Qt would append it to every window title.
    setApplicationName(QLatin1StringView(kApplicationTitle));
    setDesktopFileName(QStringLiteral("tagmora"));
    setWindowIcon(ApplicationIcon());
}

bool TagmoraApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace tagmora
