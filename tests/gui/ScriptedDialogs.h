// A TDialogs for tests: every question is answered from a script and every
// message is recorded, so commands run headless.
#pragma once

#include "app/Dialogs.h"

#include <QDialog>
#include <QPoint>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

struct TShownMessage {
    std::string Caption;
    std::string Text;
    TMsgIcon Icon;
    TMsgButtons Buttons;
};

class TScriptedDialogs final : public TDialogs {
public:
    // Answers, consumed in order; an empty queue answers Ok / Yes / cancel.
    std::deque<TMsgResult> MessageAnswers;
    std::deque<std::optional<std::string>> OpenAnswers;
    std::deque<std::optional<std::string>> SaveAnswers;
    std::deque<std::optional<std::string>> FolderAnswers;
    std::deque<std::optional<Color>> ColorAnswers;
    // Runs while a modal window "shows"; returns its result code.
    std::function<int(QDialog&)> OnModal;
    // Chooses from an opened pop-up menu.
    std::function<QAction*(QMenu&)> OnPopup;

    std::vector<TShownMessage> Messages;
    std::vector<TFileRequest> OpenRequests;
    std::vector<TFileRequest> SaveRequests;
    std::vector<std::string> FolderStarts;
    std::vector<std::string> ModalShown; // object class names
    std::vector<QPoint> PopupPositions;
    std::vector<std::string> HelpFiles;

    TMsgResult MessageBox(QWidget*, const std::string& caption, const std::string& text,
                          TMsgIcon icon, TMsgButtons buttons) override {
        Messages.push_back({caption, text, icon, buttons});
        if (!MessageAnswers.empty()) {
            const TMsgResult r = MessageAnswers.front();
            MessageAnswers.pop_front();
            return r;
        }
        return buttons == TMsgButtons::YesNo ? TMsgResult::Yes : TMsgResult::Ok;
    }
    std::optional<std::string> OpenPicture(QWidget*, const TFileRequest& request) override {
        OpenRequests.push_back(request);
        return Next(OpenAnswers);
    }
    std::optional<std::string> SavePicture(QWidget*, const TFileRequest& request) override {
        SaveRequests.push_back(request);
        return Next(SaveAnswers);
    }
    std::optional<Color> ChooseColor(QWidget*, Color) override {
        if (ColorAnswers.empty()) return std::nullopt;
        const auto answer = ColorAnswers.front();
        ColorAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseFolder(QWidget*, const std::string& start) override {
        FolderStarts.push_back(start);
        return Next(FolderAnswers);
    }
    int RunModal(QDialog& dialog) override {
        // Recorded without the namespace: tests name dialogs by their class.
        std::string name = dialog.metaObject()->className();
        if (const auto colons = name.rfind("::"); colons != std::string::npos)
            name.erase(0, colons + 2);
        ModalShown.push_back(name);
        if (!OnModal) return QDialog::Rejected;
        dialog.show();
        const int result = OnModal(dialog);
        dialog.hide();
        return result;
    }
    QAction* PopupMenu(QMenu& menu, const QPoint& pos) override {
        PopupPositions.push_back(pos);
        QAction* chosen = OnPopup ? OnPopup(menu) : nullptr;
        if (chosen) chosen->trigger();
        return chosen;
    }
    void PrinterSetup(QWidget*) override {}
    void ShowHelp(QWidget*, const std::string& file) override { HelpFiles.push_back(file); }

    int CountModal(const std::string& className) const {
        int n = 0;
        for (const auto& c : ModalShown) n += c == className;
        return n;
    }

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& queue) {
        if (queue.empty()) return std::nullopt;
        auto r = queue.front();
        queue.pop_front();
        return r;
    }
};

} // namespace quillon
