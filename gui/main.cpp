// Tagmora, the desktop program: one main window and its helper windows.
//   tagmora [FOLDER]   opens with FOLDER chosen
#include <cstdio>
#include <exception>
#include <memory>

#include "gui/application.h"
#include "gui/display_check.h"
#include "gui/main_form.h"

int main(int argc, char* argv[]) {
    // Asked before Qt is started: without a display it would abort.
    if (const std::string reason = tagmora::NoDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "%s\n", tagmora::NoDisplayMessage(reason).c_str());
        return 1;
    }
    tagmora::TagmoraApplication application(argc, argv);
    std::unique_ptr<tagmora::TForm1> form1;
    try {
        form1 = std::make_unique<tagmora::TForm1>();
    } catch (const std::exception& error) {
        // Without its windows the program has nothing to offer.
        tagmora::ShowErrorBox(QString::fromLocal8Bit(error.what()));
        return 1;
    }
    // Qt has taken its own options out of the arguments by now.
    if (argc > 1) form1->OpenFolderArgument(QString::fromLocal8Bit(argv[1]));
    form1->show();
    return application.exec();
}
