// A Dialogs for tests: every question is answered from a script and every
// message is recorded, so commands run headless.
#pragma once

#include "app/dialogs/Dialogs.h"

#include <QAction>
#include <QDialog>
#include <QPoint>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

class ScriptedDialogs final : public Dialogs {
public:
    // Answers, consumed in order; an empty queue answers Ok / Yes / Discard /
    // cancel.
    std::deque<MessageResult> messageAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<Color>> colorAnswers;
    // Runs while a modal window "shows"; returns its result code.
    std::function<int(QDialog&)> onModal;
    // Chooses from an opened pop-up menu.
    std::function<QAction*(QMenu&)> onPopup;

    std::vector<ShownMessage> messages;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    std::vector<std::string> folderStarts;
    std::vector<std::string> modalShown; // class names, without the namespace
    std::vector<QPoint> popupPositions;
    std::vector<std::string> helpFiles;

    MessageResult messageBox(QWidget*, const std::string& caption, const std::string& text,
                             MessageIcon icon, MessageButtons buttons) override {
        messages.push_back({caption, text, icon, buttons});
        if (!messageAnswers.empty()) {
            const MessageResult r = messageAnswers.front();
            messageAnswers.pop_front();
            return r;
        }
        switch (buttons) {
        case MessageButtons::YesNo:
            return MessageResult::Yes;
        case MessageButtons::SaveDiscardCancel:
            return MessageResult::Discard;
        case MessageButtons::Ok:
            break;
        }
        return MessageResult::Ok;
    }
    std::optional<std::string> openPicture(QWidget*, const FileRequest& request) override {
        openRequests.push_back(request);
        return next(openAnswers);
    }
    std::optional<std::string> savePicture(QWidget*, const FileRequest& request) override {
        saveRequests.push_back(request);
        return next(saveAnswers);
    }
    std::optional<std::string> openFile(QWidget*, const FileRequest& request) override {
        openRequests.push_back(request);
        return next(openAnswers);
    }
    std::optional<Color> chooseColor(QWidget*, Color) override {
        if (colorAnswers.empty()) return std::nullopt;
        const auto answer = colorAnswers.front();
        colorAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> chooseFolder(QWidget*, const std::string& start) override {
        folderStarts.push_back(start);
        return next(folderAnswers);
    }
    int runModal(QDialog& dialog) override {
        std::string name = dialog.metaObject()->className();
        if (const auto colons = name.rfind("::"); colons != std::string::npos)
            name.erase(0, colons + 2);
        modalShown.push_back(name);
        if (!onModal) return QDialog::Rejected;
        dialog.show();
        const int result = onModal(dialog);
        dialog.hide();
        return result;
    }
    QAction* popupMenu(QMenu& menu, const QPoint& pos) override {
        popupPositions.push_back(pos);
        QAction* chosen = onPopup ? onPopup(menu) : nullptr;
        if (chosen) chosen->trigger();
        return chosen;
    }
    void printerSetup(QWidget*) override {}
    void showHelp(QWidget*, const std::string& file) override { helpFiles.push_back(file); }

    int countModal(const std::string& className) const {
        int n = 0;
        for (const auto& c : modalShown) n += c == className;
        return n;
    }

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& queue) {
        if (queue.empty()) return std::nullopt;
        auto r = queue.front();
        queue.pop_front();
        return r;
    }
};

} // namespace quillon
