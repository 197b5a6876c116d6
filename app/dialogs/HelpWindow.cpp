#include "app/dialogs/HelpWindow.h"

#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon {

HelpWindow::HelpWindow(const std::string& helpFile, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("helpWindow");
    setWindowTitle(tr("Quillon Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpBrowser");
    browser_->setAccessibleName(tr("Manual"));
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_);
    browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(helpFile)));
    // The page's own title, once it has one.
    if (!browser_->documentTitle().isEmpty()) setWindowTitle(browser_->documentTitle());
    resize(760, 820);
    // Closed from the keyboard as any document window is.
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

HelpWindow* OpenHelp(QWidget* parent, const std::string& helpFile,
                     const std::function<bool(const QUrl&)>& opener) {
    if (opener(QUrl::fromLocalFile(QString::fromStdString(helpFile)))) return nullptr;
    // One help window at a time: asking again brings it to the front.
    static QPointer<HelpWindow> shown;
    if (!shown) {
        shown = new HelpWindow(helpFile, parent);
        shown->setAttribute(Qt::WA_DeleteOnClose);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

} // namespace quillon
