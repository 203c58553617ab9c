#include "gui/qt_front_end.h"

#include <QApplication>
#include <QMessageBox>
#include <string>

#include "gui/application.h"
#include "gui/local_text.h"
#include "gui/photo_form.h"

namespace tagmora {

namespace {

constexpr const char* kPromptCaption = "TGM";

// Messages break their lines with CR LF, as the log does; a label wants LF.
QString DisplayText(std::string_view text) {
    QString display = FromLocal8Bit(text);
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return display;
}

}  // namespace

QtFrontEnd::QtFrontEnd(const RunSettings& settings, QWidget* mainWindow)
    : settings_(settings), mainWindow_(mainWindow) {}

QWidget* QtFrontEnd::MessageParent() const {
    QWidget* active = QApplication::activeWindow();
    return active ? active : mainWindow_;
}

void QtFrontEnd::ShowMessage(std::string_view text) {
    if (quiet_) return;
    if (MessageHook* hook = CurrentMessageHook()) return hook->Message(kApplicationTitle, text);
    QMessageBox box(QMessageBox::NoIcon, QLatin1StringView(kApplicationTitle), DisplayText(text), QMessageBox::Ok,
                    MessageParent());
    box.exec();
}

bool QtFrontEnd::AskOkCancel(std::string_view text) {
    if (quiet_) return false;
    if (MessageHook* hook = CurrentMessageHook()) return hook->Prompt(kPromptCaption, text);
    QMessageBox box(QMessageBox::NoIcon, QLatin1StringView(kPromptCaption), DisplayText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, MessageParent());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

void QtFrontEnd::ShowPhotoWindow(std::int32_t total) {
    if (!photoForm_) return;
    photoForm_->StartRun(static_cast<int>(total));
    photoForm_->ShowOverMainWindow();
}

void QtFrontEnd::HidePhotoWindow() {
    if (photoForm_) photoForm_->hide();
}

void QtFrontEnd::SetImageName(std::string_view name) {
    if (photoForm_) photoForm_->SetImageName(name);
}

void QtFrontEnd::SetCountText(std::string_view text) {
    if (photoForm_) photoForm_->SetCountText(text);
}

void QtFrontEnd::ShowPicture(const WorkBitmap& bitmap) {
    if (photoForm_) photoForm_->ShowPicture(bitmap);
}

void QtFrontEnd::DrawStrip(const PixelRect& rect, StripColour colour) {
    if (photoForm_) photoForm_->DrawStrip(rect, colour);
}

void QtFrontEnd::DrawOutline(std::span<const PicturePoint> points, bool closed, StripColour colour) {
    if (photoForm_) photoForm_->DrawOutline(points, closed, colour);
}

void QtFrontEnd::ImageFinished(std::int32_t index, std::int32_t total, std::string_view) {
    if (photoForm_) photoForm_->SetProgress(index, total);
}

void QtFrontEnd::ProcessPendingEvents() {
    if (MessageHook* hook = CurrentMessageHook()) hook->BeforeProcessEvents();
    QCoreApplication::processEvents();
}

}  // namespace tagmora
