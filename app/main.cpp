// The start routine: the application, the main window (which makes the
// program's other windows; one main window per file the command line
// names), and the message loop until the last main window closes.
#include "app/MainWindow.h"
#include "app/ProgramIcon.h"
#include "app/dialogs/Dialogs.h"

#include <QApplication>

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

using namespace quillon;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quillon");
    QApplication::setApplicationDisplayName("Quillon");
    QApplication::setOrganizationName("Marrowind Software");
    QApplication::setWindowIcon(ProgramIcon());
    int result = 0;
    try {
        // One main window, or one for each file the command line names.
        std::vector<std::unique_ptr<MainWindow>> windows;
        const std::vector<std::string> files = StartupFiles(QApplication::arguments());
        const std::size_t count = std::max<std::size_t>(1, files.size());
        for (std::size_t i = 0; i < count; ++i) {
            auto window = std::make_unique<MainWindow>();
            if (i < files.size()) window->setStartupFile(files[i]);
            if (i > 0) {
                window->setAboutAtStart(false);
                // Each later window a step down and right of the one before.
                window->move(windows.back()->pos() + QPoint(32, 32));
            }
            window->show();
            windows.push_back(std::move(window));
        }
        result = QApplication::exec();
    } catch (const std::exception& e) {
        ShowError(nullptr, e.what());
        result = 0;
    }
    return result;
}
