#pragma once
// Help > About: the program's name and version, not modal, one box only.
#include <QDialog>

class QFrame;
class QLabel;

namespace tagmora {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent);

    // Sets the version line, centres it in the panel and brings the box up.
    void ShowAbout();

private:
    QFrame* panel1_;
    QLabel* versionLabel_;
};

}  // namespace tagmora
