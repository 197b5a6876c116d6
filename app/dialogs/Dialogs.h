// TDialogs: the one door through which the program asks the person in front
// of it anything: message boxes, the file, colour and folder dialogs, modal
// windows, pop-up menus and the help viewer. The desktop program installs
// TQtDialogs; tests install a scripted implementation so that every command
// can run headless and every question can be answered from the test.
#pragma once

#include "canvas/Types.h"
#include "formats/Formats.h"

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

enum class TMsgIcon { Error, Warning, Information, Question };
enum class TMsgButtons { Ok, YesNo };
enum class TMsgResult { Ok, Yes, No };

// What a file dialog is asked to show.
struct TFileRequest {
    std::string Title;
    std::string InitialDir;
    std::string FileName;
    std::vector<FileFilter> Filters;
    // Appended (without the "*") to a name typed without an extension.
    std::string DefaultExtension;
};

class TDialogs {
public:
    virtual ~TDialogs() = default;

    virtual TMsgResult MessageBox(QWidget* parent, const std::string& caption,
                                  const std::string& text, TMsgIcon icon, TMsgButtons buttons) = 0;
    // The chosen file, or nothing when cancelled.
    virtual std::optional<std::string> OpenPicture(QWidget* parent,
                                                   const TFileRequest& request) = 0;
    virtual std::optional<std::string> SavePicture(QWidget* parent,
                                                   const TFileRequest& request) = 0;
    virtual std::optional<Color> ChooseColor(QWidget* parent, Color initial) = 0;
    // A folder chosen starting at start (no folder creation), or nothing.
    virtual std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& start) = 0;
    // Runs a modal window until it closes; returns its result code.
    virtual int RunModal(QDialog& dialog) = 0;
    // Opens menu at a screen point and waits; returns the chosen action or null.
    virtual QAction* PopupMenu(QMenu& menu, const QPoint& screenPos) = 0;
    virtual void PrinterSetup(QWidget* parent) = 0;
    // Shows a help file's contents page.
    virtual void ShowHelp(QWidget* parent, const std::string& helpFile) = 0;
};

// The dialogs of the running program, built on Qt.
class TQtDialogs final : public TDialogs {
public:
    TMsgResult MessageBox(QWidget* parent, const std::string& caption, const std::string& text,
                          TMsgIcon icon, TMsgButtons buttons) override;
    std::optional<std::string> OpenPicture(QWidget* parent, const TFileRequest& request) override;
    std::optional<std::string> SavePicture(QWidget* parent, const TFileRequest& request) override;
    std::optional<Color> ChooseColor(QWidget* parent, Color initial) override;
    std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& start) override;
    int RunModal(QDialog& dialog) override;
    QAction* PopupMenu(QMenu& menu, const QPoint& screenPos) override;
    void PrinterSetup(QWidget* parent) override;
    void ShowHelp(QWidget* parent, const std::string& helpFile) override;

private:
    Color lastColor_ = kBlack;
    bool colorChosen_ = false;
};

// The dialogs the program uses now (TQtDialogs unless replaced).
TDialogs& Dialogs();
// Installs another implementation (not owned); null restores the Qt one.
void SetDialogs(TDialogs* dialogs);

// The open dialog of the program: Qt's own file dialog with a preview of the
// selected picture beside the list, decoded by the program's readers.
std::unique_ptr<QFileDialog> MakeOpenPictureDialog(QWidget* parent, const TFileRequest& request);

// Qt's filter string for a list of filters ("All Images (*.bmp *.jpg);;...").
std::string QtFilterString(const std::vector<FileFilter>& filters);
// Completes a save name typed without an extension by the chosen filter's
// first pattern, or by defaultExtension when the filter gives none.
std::string CompleteSaveName(const std::string& name, const std::string& filterPatterns,
                             const std::string& defaultExtension);

} // namespace quillon
