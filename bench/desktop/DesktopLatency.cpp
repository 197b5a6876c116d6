// The desktop program's latency, measured on the real main window with Qt's
// offscreen screen: the time from opening a 12-megapixel JPEG to the first
// paint of its view, against the time the decode alone takes; and for each
// frame style, the time from an edit-bar value change (the controller
// command the bar runs) to the repainted view, at 25 % and at 100 % zoom.
// Each figure is the median of several runs, split into the command (the
// style's render) and the view's paint. Prints a table; not a test with a
// time limit, since the machine's load moves the figures. A style's command-line
// name as the argument times that style alone.
#include "app/DocumentController.h"
#include "app/ImageWindow.h"
#include "app/MainWindow.h"
#include "app/StylePictureRenderer.h"
#include "app/dialogs/Dialogs.h"
#include "canvas/Bitmap.h"
#include "document/PhotoDocument.h"
#include "formats/Formats.h"
#include "frames/StyleCatalog.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace quillon;

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr int kRuns = 7;

// Answers every question at once, so that nothing waits for a person.
class QuietDialogs final : public Dialogs {
public:
    MessageResult messageBox(QWidget*, const std::string&, const std::string& text, MessageIcon,
                             MessageButtons) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return MessageResult::Discard;
    }
    std::optional<std::string> openPicture(QWidget*, const FileRequest&) override { return {}; }
    std::optional<std::string> savePicture(QWidget*, const FileRequest&) override { return {}; }
    std::optional<std::string> openFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<Color> chooseColor(QWidget*, Color) override { return {}; }
    std::optional<std::string> chooseFolder(QWidget*, const std::string&) override { return {}; }
    int runModal(QDialog&) override { return 0; }
    QAction* popupMenu(QMenu&, const QPoint&) override { return nullptr; }
    void printerSetup(QWidget*) override {}
    void showHelp(QWidget*, const std::string&) override {}
};

double Milliseconds(const std::function<void()>& work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A photo-like picture: smooth gradients with a fine texture.
void WritePhoto(const std::string& file) {
    Bitmap b(kWidth, kHeight, PixelFormat::Bgrx32);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < kWidth; ++x) {
            row[4 * x] = std::uint8_t((x * 255) / kWidth);
            row[4 * x + 1] = std::uint8_t((y * 255) / kHeight);
            row[4 * x + 2] = std::uint8_t(128 + ((x * 7 + y * 13) % 32));
            row[4 * x + 3] = 0;
        }
    }
    SavePictureFile(b, file);
}

// The first field the style's edit bar shows.
EditField FirstField(StyleId id) {
    const StyleInfo& info = StyleInfoOf(id);
    for (EditField f : {EditField::FrameHeight, EditField::FrameWidth, EditField::BorderWidth})
        if (info.Shows(f)) return f;
    return EditField::FrameHeight;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
    qputenv("XDG_CONFIG_HOME", scratch.path().toLocal8Bit());
    QApplication app(argc, argv);
    // The decorations are read from the data folder, the program's start
    // folder.
    QDir::setCurrent(QUILLON_BUILD_DATA_DIR);
    QuietDialogs dialogs;
    Dialogs::install(&dialogs);

    const std::string photo = scratch.path().toStdString() + "/photo.jpg";
    WritePhoto(photo);
    std::printf("Desktop latency on a %d x %d JPEG (%lld KiB), median of %d runs\n", kWidth,
                kHeight, (long long)(std::filesystem::file_size(photo) / 1024), kRuns);

    MainWindow window;
    window.resize(1600, 1000);
    window.show();
    QApplication::processEvents();
    DocumentController& c = window.controller();
    // After an open the Frames menu's pictures are drawn from the photo on a
    // thread of low priority; the figures are taken once they are done, as a
    // person would edit a frame some moments after opening the photo.
    const auto settle = [&] {
        QApplication::processEvents();
        while (window.stylePictureRenderer()->busy())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    };

    // --- Open to first paint, against the decode alone. ---
    std::vector<double> decode, open, openCommand;
    for (int i = 0; i < kRuns; ++i) {
        settle();
        decode.push_back(Milliseconds([&] { LoadPictureFile(photo); }));
        QApplication::processEvents();
        double commandMs = 0;
        open.push_back(Milliseconds([&] {
            commandMs = Milliseconds([&] { c.open(photo); });
            window.imageWindow()->view()->repaint();
        }));
        openCommand.push_back(commandMs);
        QApplication::processEvents();
    }
    const double decodeMs = Median(decode), openMs = Median(open);
    std::printf("\nopen to first paint %.1f ms (the command %.1f ms), decode %.1f ms: %.2fx "
                "(target at most 1.5x), shown at %.1f %%\n",
                openMs, Median(openCommand), decodeMs, openMs / decodeMs, c.zoom() * 100);

    // --- A value change per style, at 25 % and at 100 %. ---
    std::printf("\n%-22s %8s %8s %8s %6s   %8s %8s %8s %6s\n", "style (field)", "25%: cmd", "paint",
                "total", "<=16", "100%: cmd", "paint", "total", "<=50");
    // A style's command-line name as the argument times that style alone.
    const std::string only = argc > 1 ? argv[1] : "";
    for (StyleId id : StylesInMenuOrder()) {
        if (!only.empty() && only != StyleInfoOf(id).cliName) continue;
        c.open(photo);
        QApplication::processEvents();
        c.chooseStyle(id);
        settle();
        const EditField field = FirstField(id);
        const int start = field == EditField::FrameHeight  ? c.document()->GetFrameHeight()
                          : field == EditField::FrameWidth ? c.document()->GetFrameWidth()
                                                           : c.document()->GetBorderWidth();
        double figures[2][3];
        const double zooms[2] = {0.25, 1.0};
        for (int z = 0; z < 2; ++z) {
            c.setZoom(zooms[z]);
            QApplication::processEvents();
            std::vector<double> command, paint, total;
            for (int i = 0; i < kRuns; ++i) {
                FrameEdit edit;
                const int value = start + 1 + (i % 2);
                if (field == EditField::FrameHeight) edit.frameHeight = value;
                if (field == EditField::FrameWidth) edit.frameWidth = value;
                if (field == EditField::BorderWidth) edit.borderWidth = value;
                double commandMs = 0, paintMs = 0;
                commandMs = Milliseconds([&] { c.editFrame(edit); });
                paintMs = Milliseconds([&] { window.imageWindow()->view()->repaint(); });
                command.push_back(commandMs);
                paint.push_back(paintMs);
                total.push_back(commandMs + paintMs);
                QApplication::processEvents();
            }
            figures[z][0] = Median(command);
            figures[z][1] = Median(paint);
            figures[z][2] = Median(total);
        }
        const char* fieldName = field == EditField::FrameHeight  ? "height"
                                : field == EditField::FrameWidth ? "width"
                                                                 : "third";
        char name[64];
        std::snprintf(name, sizeof name, "%s (%s)", StyleInfoOf(id).cliName, fieldName);
        std::printf("%-22s %8.1f %8.1f %8.1f %6s   %8.1f %8.1f %8.1f %6s\n", name, figures[0][0],
                    figures[0][1], figures[0][2], figures[0][2] <= 16 ? "yes" : "no", figures[1][0],
                    figures[1][1], figures[1][2], figures[1][2] <= 50 ? "yes" : "no");
    }

    // --- A value change of a stacked frame: matte, corner and shadow
    // applied, then the bottom (matte) or the top (shadow) group edited. ---
    c.open(photo);
    for (StyleId id : {StyleId::Matte, StyleId::Corner, StyleId::Shadow}) {
        c.chooseStyle(id);
        c.applyFrame();
    }
    settle();
    std::printf("\nstack of matte, corner, shadow   %8s %8s %8s\n", "cmd", "paint", "total");
    for (const std::size_t group : {std::size_t(0), std::size_t(2)}) {
        c.setZoom(1.0);
        c.editGroup(group);
        QApplication::processEvents();
        const int start = c.document()->GetFrameHeight();
        std::vector<double> command, paint, total;
        for (int i = 0; i < kRuns; ++i) {
            FrameEdit edit;
            edit.frameHeight = start + 1 + (i % 2);
            const double commandMs = Milliseconds([&] { c.editFrame(edit); });
            const double paintMs = Milliseconds([&] { window.imageWindow()->view()->repaint(); });
            command.push_back(commandMs);
            paint.push_back(paintMs);
            total.push_back(commandMs + paintMs);
            QApplication::processEvents();
        }
        std::printf("%-32s %8.1f %8.1f %8.1f\n",
                    group == 0 ? "bottom group (matte height)" : "top group (shadow spacing)",
                    Median(command), Median(paint), Median(total));
    }
    Dialogs::install(nullptr);
    return 0;
}
