#include "app/dialogs/Dialogs.h"

#include "app/QtBitmap.h"
#include "app/dialogs/HelpWindow.h"
#include "app/print/PrintPreviewDialog.h"

#include <QAction>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include <exception>
#include <memory>

namespace quillon {

namespace {

Dialogs* installed = nullptr;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The label beside the open dialog's list that shows the selected picture,
// decoded by the program's own readers so that it shows what Open will load.
class PreviewLabel final : public QLabel {
public:
    explicit PreviewLabel(QWidget* parent) : QLabel(parent) {
        setFixedSize(kSide + 8, kSide + 8);
        setAlignment(Qt::AlignCenter);
        setFrameShape(QFrame::StyledPanel);
    }
    void ShowFile(const QString& path) {
        clear();
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile()) return;
        try {
            auto bitmap = LoadPictureFile(path.toStdString());
            if (!bitmap || bitmap->Empty()) return;
            QImage image = ToQImage(*bitmap);
            setPixmap(QPixmap::fromImage(
                image.scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        } catch (const std::exception&) {
            setText(tr("(no preview)"));
        }
    }

private:
    static constexpr int kSide = 200;
};

} // namespace

Dialogs& Dialogs::current() {
    static QtDialogs qtDialogs;
    return installed ? *installed : qtDialogs;
}

void Dialogs::install(Dialogs* dialogs) {
    installed = dialogs;
}

void ShowError(QWidget* parent, const std::string& text) {
    ShowError(parent, "Quillon", text);
}

void ShowError(QWidget* parent, const std::string& caption, const std::string& text) {
    Dialogs::current().messageBox(parent, caption, text, MessageIcon::Error, MessageButtons::Ok);
}

void RunCommand(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        ShowError(parent, e.what());
    }
}

std::string QtFilterString(const std::vector<FileFilter>& filters) {
    std::string out;
    for (const auto& f : filters) {
        if (!out.empty()) out += ";;";
        std::string patterns = f.Patterns;
        for (auto& c : patterns)
            if (c == ';') c = ' ';
        std::string description = f.Description;
        while (!description.empty() && description.back() == ' ') description.pop_back();
        // Qt reads the patterns from the last bracketed group; a description
        // that already ends with exactly that group is not given it twice.
        const std::string group = "(" + patterns + ")";
        const bool hasGroup =
            description.size() >= group.size() &&
            description.compare(description.size() - group.size(), group.size(), group) == 0;
        out += hasGroup ? description : description + " " + group;
    }
    return out;
}

std::string CompleteSaveName(const std::string& name, const std::string& filterPatterns,
                             const std::string& defaultExtension) {
    const auto slash = name.find_last_of('/');
    const std::string filePart = slash == std::string::npos ? name : name.substr(slash + 1);
    if (filePart.empty() || filePart.find('.') != std::string::npos) return name;
    std::string ext = filterPatterns.substr(0, filterPatterns.find(';'));
    if (ext.empty() || ext.find('.') == std::string::npos) ext = defaultExtension;
    const auto dot = ext.find('.');
    if (dot == std::string::npos) return name;
    ext = ext.substr(dot);
    if (ext.find_first_of("*?") != std::string::npos) return name;
    return name + ext;
}

MessageResult QtDialogs::messageBox(QWidget* parent, const std::string& caption,
                                    const std::string& text, MessageIcon icon,
                                    MessageButtons buttons) {
    QMessageBox box(parent);
    box.setWindowTitle(Q(caption));
    box.setText(Q(text));
    switch (icon) {
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (buttons == MessageButtons::SaveDiscardCancel) {
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
        case QMessageBox::Save:
            return MessageResult::Save;
        case QMessageBox::Discard:
            return MessageResult::Discard;
        default:
            return MessageResult::Cancel;
        }
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageResult::Ok;
}

namespace {
// A start folder that does not exist (the default "Pictures" beside the
// program, say) opens the dialog in the current folder; Qt would otherwise
// show the missing folder's name in the file-name box.
QString ExistingFolder(const std::string& folder) {
    return !folder.empty() && QDir(Q(folder)).exists() ? Q(folder) : QDir::currentPath();
}
} // namespace

std::unique_ptr<QFileDialog> MakeOpenPictureDialog(QWidget* parent, const FileRequest& request) {
    auto dialog =
        std::make_unique<QFileDialog>(parent, Q(request.title), ExistingFolder(request.initialDir),
                                      Q(QtFilterString(request.filters)));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    auto* preview = new PreviewLabel(dialog.get());
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(dialog.get(), &QFileDialog::currentChanged, preview, &PreviewLabel::ShowFile);
    // A name typed or selected by the program also updates the preview.
    if (auto* nameEdit = dialog->findChild<QLineEdit*>("fileNameEdit")) {
        QFileDialog* d = dialog.get();
        QObject::connect(nameEdit, &QLineEdit::textChanged, preview,
                         [d, preview](const QString& t) {
                             if (!t.isEmpty())
                                 preview->ShowFile(d->directory().absoluteFilePath(t));
                         });
    }
    return dialog;
}

std::optional<std::string> QtDialogs::openPicture(QWidget* parent, const FileRequest& request) {
    const auto dialog = MakeOpenPictureDialog(parent, request);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::openFile(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, Q(request.title), ExistingFolder(request.initialDir),
                       Q(QtFilterString(request.filters)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::savePicture(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent, Q(request.title), ExistingFolder(request.initialDir),
                       Q(QtFilterString(request.filters)));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The program asks the overwrite question itself, naming only the file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filterNames = Q(QtFilterString(request.filters)).split(";;");
    for (std::size_t i = 0; i < request.filters.size() && i < std::size_t(filterNames.size()); ++i)
        if (request.filters[i].Patterns == request.selectedPatterns)
            dialog.selectNameFilter(filterNames[qsizetype(i)]);
    if (!request.fileName.empty()) dialog.selectFile(Q(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    std::string patterns;
    const QStringList names = Q(QtFilterString(request.filters)).split(";;");
    const int index = int(names.indexOf(dialog.selectedNameFilter()));
    if (index >= 0 && index < int(request.filters.size()))
        patterns = request.filters[std::size_t(index)].Patterns;
    return CompleteSaveName(dialog.selectedFiles().front().toStdString(), patterns,
                            request.defaultExtension);
}

std::optional<Color> QtDialogs::chooseColor(QWidget* parent, Color initial) {
    const Color start = colorChosen_ ? lastColor_ : initial;
    const QColor chosen = QColorDialog::getColor(
        QColor(GetRValue(start), GetGValue(start), GetBValue(start)), parent);
    if (!chosen.isValid()) return std::nullopt;
    lastColor_ = RGB(chosen.red(), chosen.green(), chosen.blue());
    colorChosen_ = true;
    return lastColor_;
}

std::optional<std::string> QtDialogs::chooseFolder(QWidget* parent, const std::string& start) {
    QFileDialog dialog(parent, QObject::tr("Select Directory"), Q(start));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::ReadOnly); // no "create folder" button
    dialog.setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

int QtDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}

QAction* QtDialogs::popupMenu(QMenu& menu, const QPoint& screenPos) {
    return menu.exec(screenPos);
}

void QtDialogs::printerSetup(QWidget* parent) {
    QPrintDialog dialog(&CurrentPrinter(), parent);
    dialog.setWindowTitle(QObject::tr("Printer Setup"));
    dialog.exec();
}

void QtDialogs::showHelp(QWidget* parent, const std::string& helpFile) {
    if (!QFileInfo::exists(Q(helpFile))) {
        messageBox(parent, "Quillon", "The help file " + helpFile + " was not found.",
                   MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    // Without a browser the manual opens in a window of the program.
    OpenHelp(parent, helpFile, [](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

} // namespace quillon
