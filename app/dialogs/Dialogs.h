// Dialogs: the one door through which the program asks the person in front
// of it anything: message boxes, the file, colour and folder dialogs, modal
// windows, pop-up menus and the help viewer. The desktop program uses
// QtDialogs; tests install a scripted implementation so that every command
// can run headless and every question can be answered from the test.
#pragma once

#include "canvas/Types.h"
#include "formats/Formats.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QFileDialog;
class QMenu;
class QPoint;
class QWidget;

namespace quillon {

enum class MessageIcon { Error, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo, SaveDiscardCancel };
enum class MessageResult { Ok, Yes, No, Save, Discard, Cancel };

// What a file dialog is asked to show.
struct FileRequest {
    std::string title;
    std::string initialDir;
    std::string fileName;
    std::vector<FileFilter> filters;
    // Appended (without the "*") to a name typed without an extension.
    std::string defaultExtension;
    // The patterns of the filter shown first (a save dialog's format);
    // empty for the first filter.
    std::string selectedPatterns;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The dialogs the program uses now (QtDialogs unless replaced).
    static Dialogs& current();
    // Installs another implementation (not owned); null restores the Qt one.
    static void install(Dialogs* dialogs);

    virtual MessageResult messageBox(QWidget* parent, const std::string& caption,
                                     const std::string& text, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    // The chosen file, or nothing when cancelled.
    virtual std::optional<std::string> openPicture(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<std::string> savePicture(QWidget* parent, const FileRequest& request) = 0;
    // An existing file that is not a picture (a recipe), or nothing.
    virtual std::optional<std::string> openFile(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<Color> chooseColor(QWidget* parent, Color initial) = 0;
    // A folder chosen starting at start (no folder creation), or nothing.
    virtual std::optional<std::string> chooseFolder(QWidget* parent, const std::string& start) = 0;
    // Runs a modal window until it closes; returns its result code.
    virtual int runModal(QDialog& dialog) = 0;
    // Opens menu at a screen point and waits; returns the chosen action or null.
    virtual QAction* popupMenu(QMenu& menu, const QPoint& screenPos) = 0;
    virtual void printerSetup(QWidget* parent) = 0;
    // Shows a help file's contents page.
    virtual void showHelp(QWidget* parent, const std::string& helpFile) = 0;
};

// The dialogs of the running program, built on Qt.
class QtDialogs final : public Dialogs {
public:
    MessageResult messageBox(QWidget* parent, const std::string& caption, const std::string& text,
                             MessageIcon icon, MessageButtons buttons) override;
    std::optional<std::string> openPicture(QWidget* parent, const FileRequest& request) override;
    std::optional<std::string> savePicture(QWidget* parent, const FileRequest& request) override;
    std::optional<std::string> openFile(QWidget* parent, const FileRequest& request) override;
    std::optional<Color> chooseColor(QWidget* parent, Color initial) override;
    std::optional<std::string> chooseFolder(QWidget* parent, const std::string& start) override;
    int runModal(QDialog& dialog) override;
    QAction* popupMenu(QMenu& menu, const QPoint& screenPos) override;
    void printerSetup(QWidget* parent) override;
    void showHelp(QWidget* parent, const std::string& helpFile) override;

private:
    Color lastColor_ = kBlack;
    bool colorChosen_ = false;
};

// Runs one command at its edge: an exception becomes the program's error box
// (caption "Quillon", the exception's text) and the program goes on.
void RunCommand(QWidget* parent, const std::function<void()>& command);
// The error box itself.
void ShowError(QWidget* parent, const std::string& text);
// An error box whose caption says what failed ("Could not open photo").
void ShowError(QWidget* parent, const std::string& caption, const std::string& text);

// The open dialog of the program: Qt's own file dialog with a preview of the
// selected picture beside the list, decoded by the program's readers.
std::unique_ptr<QFileDialog> MakeOpenPictureDialog(QWidget* parent, const FileRequest& request);

// Qt's filter string for a list of filters ("All Images (*.bmp *.jpg);;...").
std::string QtFilterString(const std::vector<FileFilter>& filters);
// Completes a save name typed without an extension by the chosen filter's
// first pattern, or by defaultExtension when the filter gives none.
std::string CompleteSaveName(const std::string& name, const std::string& filterPatterns,
                             const std::string& defaultExtension);

} // namespace quillon
