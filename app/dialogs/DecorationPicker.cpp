#include "app/dialogs/DecorationPicker.h"

#include "app/DocumentController.h"
#include "app/QtBitmap.h"
#include "app/dialogs/Dialogs.h"
#include "document/PhotoDocument.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/FrameStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cstdio>

namespace quillon {

namespace {

constexpr int kImageRole = Qt::UserRole; // the item's picture as a QImage
// The width of the picture lists' rows: the picture, then its name.
constexpr int kPatternPopupWidth = 170;
constexpr int kMouldingPopupWidth = 200;
constexpr int kTextPopupWidth = 190;

// The name a person knows a decoration file by: its file name without the
// folder and the extension.
QString DecorationName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    return QString::fromStdString(name);
}

// Draws a picture item: its picture stretched into the row's left square
// (for the moulding list inset by 3 on the left and 2 below, for patterns by
// 1 below), its name beside it, or "None" for the item that removes the
// decoration.
class PictureItemDelegate final : public QStyledItemDelegate {
public:
    PictureItemDelegate(bool moulding, QObject* parent)
        : QStyledItemDelegate(parent), moulding_(moulding) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        const QImage image = index.data(kImageRole).value<QImage>();
        const int h = option.rect.height();
        const QRect target =
            moulding_ ? QRect(option.rect.left() + 3, option.rect.top() + 1, h - 3, h - 4)
                      : QRect(option.rect.left(), option.rect.top() + 1, h, h - 2);
        if (!image.isNull()) painter->drawImage(target, image);
        const QString path = index.data(Qt::DisplayRole).toString();
        const QString name =
            path.isEmpty() ? QStringLiteral("None") : DecorationName(path.toStdString());
        const QRect text(target.right() + 6, option.rect.top(),
                         option.rect.right() - target.right() - 6, h);
        painter->setPen(option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                          option.fontMetrics.elidedText(name, Qt::ElideRight, text.width()));
    }

private:
    bool moulding_;
};

// Shows an overlay or mask item by its name alone; the item's text still
// carries the path after the 60 characters of the name, as the choosing
// reads it.
class NamedItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = option->text.left(60).trimmed();
    }
};

} // namespace

std::string DecorationItemText(const std::string& fileName, const std::string& path) {
    const std::string name = fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : "";
    char head[61];
    std::snprintf(head, sizeof head, "%-60.60s", name.c_str());
    return std::string(head) + path;
}

std::string DecorationItemPath(const std::string& itemText) {
    if (itemText.size() <= 60) return {};
    // The whole rest: a fixed cut would break the longer paths that
    // ordinary home and data folders give.
    return itemText.substr(60);
}

PickerPlace PickerPlaceFor(const PickerAnchor& a, int popupWidth) {
    PickerPlace place;
    place.top = a.mainTop + a.editTop + a.editHeight + 40;
    if (a.mainLeft + a.panelLeft + a.borderY + popupWidth < a.mainLeft + a.mainWidth)
        place.left = a.mainLeft + a.panelLeft + a.borderY;
    else
        place.left = a.mainLeft + a.mainWidth - a.borderY - popupWidth;
    return place;
}

void CreateListOfFiles(const std::string& folder, const std::string& mask, QListWidget* list) {
    if (folder.empty() || mask.empty() || !list) return;
    const std::size_t dot = mask.rfind('.');
    const std::string extension = dot == std::string::npos ? mask : mask.substr(dot + 1);
    for (const std::string& path : ListFilesNoCase(folder, {extension})) {
        const std::size_t slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        const std::string full = folder + "/" + name;
        auto* item = new QListWidgetItem(QString::fromStdString(DecorationItemText(name, full)));
        const QString shown = DecorationName(full);
        item->setToolTip(shown + "\n" + QString::fromStdString(full));
        item->setData(Qt::AccessibleTextRole, shown);
        list->addItem(item);
    }
}

DecorationPicker::DecorationPicker(DocumentController& controller, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint), controller_(controller) {
    setObjectName("decorationPicker");
    setAccessibleName("Decorations");
    resize(162, 254);
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    setFont(font);
    auto list = [this](const char* name, const char* accessible) {
        auto* l = new QListWidget(this);
        l->setObjectName(name);
        l->setAccessibleName(accessible);
        l->setSortingEnabled(true);
        l->setUniformItemSizes(true);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        l->setMouseTracking(true); // the items' tooltips
        l->hide();
        l->installEventFilter(this);
        l->viewport()->installEventFilter(this);
        return l;
    };
    patternList = list("patternList", "Patterns");
    mouldingList = list("mouldingList", "Picture frames");
    overlayList = list("overlayList", "Overlays");
    maskList = list("maskList", "Masks");
    patternList->setItemDelegate(new PictureItemDelegate(false, patternList));
    mouldingList->setItemDelegate(new PictureItemDelegate(true, mouldingList));
    QFont text("MS Sans Serif");
    text.setPixelSize(13);
    for (QListWidget* l : {overlayList, maskList}) {
        l->setItemDelegate(new NamedItemDelegate(l));
        l->setFont(text);
        QPalette p = l->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, Qt::black);
        l->setPalette(p);
    }
    const std::pair<QListWidget*, void (DecorationPicker::*)()> handlers[] = {
        {patternList, &DecorationPicker::choosePattern},
        {mouldingList, &DecorationPicker::chooseMoulding},
        {overlayList, &DecorationPicker::chooseOverlay},
        {maskList, &DecorationPicker::chooseMask}};
    // One click chooses, and so does Enter (or the platform's activation);
    // the pop-up stays open so that several can be tried in a row.
    for (const auto& [l, handler] : handlers) {
        const auto choose = [this, handler] {
            RunCommand(parentWidget(), [this, handler] { (this->*handler)(); });
        };
        connect(l, &QListWidget::itemClicked, this, choose);
        connect(l, &QListWidget::itemActivated, this, choose);
    }
    // With the picture goes the frame a decoration would be for.
    connect(&controller_, &DocumentController::documentClosed, this, &QWidget::hide);
}

void DecorationPicker::fillPictureList(QListWidget* list, const std::string& folder) {
    for (const std::string& path : ListFilesNoCase(folder, {"bmp"})) {
        Bitmap bitmap;
        LoadBmpFile(path, bitmap);
        auto* item = new QListWidgetItem(QString::fromStdString(path));
        item->setData(kImageRole, ToQImage(bitmap));
        const QString name = DecorationName(path);
        item->setToolTip(name);
        item->setData(Qt::AccessibleTextRole, name);
        list->addItem(item);
    }
}

void DecorationPicker::addNoneItem(QListWidget* list) {
    // The empty text sorts first and chooses no decoration.
    auto* none = new QListWidgetItem(QString());
    none->setToolTip("None: no pattern");
    none->setData(Qt::AccessibleTextRole, QStringLiteral("None"));
    list->addItem(none);
}

void DecorationPicker::fillTextList(QListWidget* list, const std::string& sub,
                                    const std::string& userFolder) {
    list->clear();
    const std::string own = StartFolderFile(sub);
    CreateListOfFiles(own, "*.bmp", list);
    CreateListOfFiles(userFolder, "*.bmp", list);
    CreateListOfFiles(own, "*.jpg", list);
    CreateListOfFiles(userFolder, "*.jpg", list);
}

void DecorationPicker::toggle(const PickerAnchor& anchor) {
    if (isVisible()) {
        hide();
        return;
    }
    const std::optional<StyleId> style = controller_.style();
    QListWidget* shown = style == StyleId::Ornate    ? mouldingList
                         : style == StyleId::Mask    ? maskList
                         : style == StyleId::Overlay ? overlayList
                                                     : patternList;
    for (QListWidget* l : {patternList, mouldingList, overlayList, maskList})
        l->setVisible(l == shown);
    int width = 0, height = 0;
    if (shown == mouldingList) {
        if (mouldingList->count() == 0) fillPictureList(mouldingList, StartFolderFile("Ornate"));
        width = kMouldingPopupWidth;
        height = 10 * 40;
    } else if (shown == maskList) {
        if (maskList->count() == 0)
            fillTextList(maskList, "masks", controller_.folders().userMaskFolder);
        width = kTextPopupWidth;
        height = 20 * 16;
    } else if (shown == overlayList) {
        if (overlayList->count() == 0)
            fillTextList(overlayList, "Overlay", controller_.folders().userOverlayFolder);
        width = kTextPopupWidth;
        height = 20 * 16;
    } else {
        if (patternList->count() == 0) {
            addNoneItem(patternList);
            fillPictureList(patternList, StartFolderFile("Patterns"));
        }
        width = kPatternPopupWidth;
        height = 20 * 18 + 20;
    }
    const int itemHeight = shown == mouldingList ? 40 : shown == patternList ? 18 : 16;
    for (int i = 0; i < shown->count(); ++i) shown->item(i)->setSizeHint(QSize(width, itemHeight));
    markCurrent(shown);
    resize(width, height);
    for (QListWidget* l : {patternList, mouldingList, overlayList, maskList})
        l->setGeometry(rect());
    const PickerPlace place = PickerPlaceFor(anchor, width);
    move(place.left, place.top);
    show();
    // The list ends at its last whole item.
    resize(width, height / itemHeight * itemHeight);
    shown->setGeometry(rect());
    // Escape reaches the list at once, and a click anywhere else closes it.
    activateWindow();
    shown->setFocus();
    qApp->installEventFilter(this);
}

void DecorationPicker::markCurrent(QListWidget* list) {
    const PhotoDocument* document = controller_.document();
    const FrameStyle* frame = document ? document->CurrentFrame() : nullptr;
    if (!frame) return;
    const bool textItems = list == overlayList || list == maskList;
    for (int i = 0; i < list->count(); ++i) {
        const std::string text = list->item(i)->text().toStdString();
        if ((textItems ? DecorationItemPath(text) : text) == frame->PatternName) {
            list->setCurrentRow(i);
            list->scrollToItem(list->item(i));
            return;
        }
    }
    list->setCurrentRow(-1);
}

void DecorationPicker::hideEvent(QHideEvent* event) {
    qApp->removeEventFilter(this);
    QWidget::hideEvent(event);
}

void DecorationPicker::chooseFrom(QListWidget* list, bool textItems) {
    const QListWidgetItem* item = list->currentItem();
    if (!item) return;
    const std::string text = item->text().toStdString();
    const std::string file = textItems ? DecorationItemPath(text) : text;
    // A click on the decoration already there (or the second click of a
    // double click) changes nothing.
    const PhotoDocument* document = controller_.document();
    const FrameStyle* frame = document ? document->CurrentFrame() : nullptr;
    if (frame && frame->PatternName == file) return;
    controller_.chooseDecoration(file);
}

void DecorationPicker::choosePattern() {
    chooseFrom(patternList, false);
}

void DecorationPicker::chooseMoulding() {
    chooseFrom(mouldingList, false);
}

void DecorationPicker::chooseOverlay() {
    chooseFrom(overlayList, true);
}

void DecorationPicker::chooseMask() {
    chooseFrom(maskList, true);
}

bool DecorationPicker::isOpener(QObject* object) const {
    // The swatch that opened the pop-up toggles it itself.
    for (auto* w = qobject_cast<QWidget*>(object); w; w = w->parentWidget())
        if (w->objectName() == QLatin1String("decorationPanel")) return true;
    return false;
}

bool DecorationPicker::eventFilter(QObject* watched, QEvent* event) {
    const bool inside = watched == this ||
                        (watched->isWidgetType() && isAncestorOf(static_cast<QWidget*>(watched)));
    switch (event->type()) {
    case QEvent::KeyPress:
        // Escape in a message box over the program is the box's own.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && isVisible() &&
            !QApplication::activeModalWidget()) {
            hide();
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
        // Answering a message box (a decoration that could not be read)
        // leaves the pop-up open for the next try.
        if (!isVisible() || QApplication::activeModalWidget()) break;
        if (inside && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            hide();
            return true;
        }
        // A press on any other widget closes the pop-up and goes on to it.
        // (The press reaches the window object first; its widget decides.)
        if (watched->isWidgetType() && !inside && !isOpener(watched)) hide();
        break;
    case QEvent::ApplicationDeactivate:
        hide();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillon
