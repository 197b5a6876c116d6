// The start routine: the application, the main window (which makes the
// program's other windows), and the message loop until the main window
// closes.
#include "app/MainWindow.h"
#include "app/ProgramIcon.h"
#include "app/dialogs/Dialogs.h"

#include <QApplication>

#include <exception>

using namespace quillon;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quillon");
    QApplication::setApplicationDisplayName("Quillon");
    QApplication::setOrganizationName("Marrowind Software");
    QApplication::setWindowIcon(ProgramIcon());
    int result = 0;
    try {
        MainWindow window;
        if (const auto file = StartupFile(QApplication::arguments())) window.setStartupFile(*file);
        window.show();
        result = QApplication::exec();
    } catch (const std::exception& e) {
        ShowError(nullptr, e.what());
        result = 0;
    }
    return result;
}
