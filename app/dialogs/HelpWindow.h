// HelpWindow: the manual in a window of the program, for a desktop where no
// browser takes the help file. A QTextBrowser shows the installed HTML
// manual; its links to other pages of the manual open in the same window,
// links to the web in the desktop's browser when there is one.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

class QTextBrowser;
class QUrl;

namespace quillon {

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    // Shows helpFile; a file that cannot be read shows an empty page.
    explicit HelpWindow(const std::string& helpFile, QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};

// Opens helpFile in the desktop's browser through opener (QDesktopServices
// in the program); when that fails, in a HelpWindow of the program, which
// is returned (owned by parent's window system: it deletes itself when
// closed). Null when the browser took the file.
HelpWindow* OpenHelp(QWidget* parent, const std::string& helpFile,
                     const std::function<bool(const QUrl&)>& opener);

} // namespace quillon
