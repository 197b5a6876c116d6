// The start routine: the application, the system clipboard as the engine's
// clipboard, the forms in their order, and the message loop until the main
// window closes.
#include "app/Dialogs.h"
#include "app/Mainfrm.h"
#include "app/ProgramIcon.h"
#include "app/QtBitmap.h"
#include "frames/Clipboard.h"

#include <QApplication>

#include <exception>

using namespace quillon;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quillon");
    QApplication::setApplicationDisplayName("Quillon");
    QApplication::setOrganizationName("Marrowind Software");
    QApplication::setWindowIcon(ProgramIcon());
    TQtClipboard clipboard;
    SetClipboard(&clipboard);
    int result = 0;
    try {
        TProgramForms forms;
        frmMain->show();
        result = QApplication::exec();
    } catch (const std::exception& e) {
        Dialogs().MessageBox(nullptr, "Quillon", e.what(), TMsgIcon::Error, TMsgButtons::Ok);
        result = 0;
    }
    SetClipboard(nullptr);
    return result;
}
