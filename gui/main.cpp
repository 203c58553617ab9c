// Tagmora, the desktop program: one main window and its helper windows.
#include <exception>
#include <memory>

#include "gui/application.h"
#include "gui/main_form.h"

int main(int argc, char* argv[]) {
    tagmora::TagmoraApplication application(argc, argv);
    std::unique_ptr<tagmora::TForm1> form1;
    try {
        form1 = std::make_unique<tagmora::TForm1>();
    } catch (const std::exception& error) {
        // Without its windows the program has nothing to offer.
        tagmora::ShowErrorBox(QString::fromLocal8Bit(error.what()));
        return 1;
    }
    form1->show();
    return application.exec();
}
