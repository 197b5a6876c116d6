#include "app/dialogs/DecorationPicker.h"

#include "app/DocumentController.h"
#include "app/QtBitmap.h"
#include "app/dialogs/Dialogs.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cstdio>

namespace quillon {

namespace {

constexpr int kImageRole = Qt::UserRole; // the item's picture as a QImage

// Draws an item's picture alone, stretched into the item's row: for the
// moulding list inset by 3 on the left and 2 below, for patterns by 1 below.
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
    }

private:
    bool moulding_;
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
        list->addItem(QString::fromStdString(DecorationItemText(name, folder + "/" + name)));
    }
}

DecorationPicker::DecorationPicker(DocumentController& controller, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint), controller_(controller) {
    setObjectName("decorationPicker");
    resize(162, 254);
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    setFont(font);
    auto list = [this](const char* name) {
        auto* l = new QListWidget(this);
        l->setObjectName(name);
        l->setSortingEnabled(true);
        l->setUniformItemSizes(true);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        l->hide();
        l->installEventFilter(this);
        l->viewport()->installEventFilter(this);
        return l;
    };
    patternList = list("patternList");
    mouldingList = list("mouldingList");
    overlayList = list("overlayList");
    maskList = list("maskList");
    patternList->setItemDelegate(new PictureItemDelegate(false, patternList));
    mouldingList->setItemDelegate(new PictureItemDelegate(true, mouldingList));
    QFont text("MS Sans Serif");
    text.setPixelSize(13);
    for (QListWidget* l : {overlayList, maskList}) {
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
    for (const auto& [l, handler] : handlers)
        connect(l, &QListWidget::itemDoubleClicked, this, [this, handler] {
            RunCommand(parentWidget(), [this, handler] { (this->*handler)(); });
        });
    // With the picture goes the frame a decoration would be for.
    connect(&controller_, &DocumentController::documentClosed, this, &QWidget::hide);
}

void DecorationPicker::fillPictureList(QListWidget* list, const std::string& folder) {
    for (const std::string& path : ListFilesNoCase(folder, {"bmp"})) {
        Bitmap bitmap;
        LoadBmpFile(path, bitmap);
        auto* item = new QListWidgetItem(QString::fromStdString(path));
        item->setData(kImageRole, ToQImage(bitmap));
        list->addItem(item);
    }
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
        width = 60;
        height = 10 * 40;
    } else if (shown == maskList) {
        if (maskList->count() == 0)
            fillTextList(maskList, "masks", controller_.folders().userMaskFolder);
        width = 130;
        height = 20 * 16;
    } else if (shown == overlayList) {
        if (overlayList->count() == 0)
            fillTextList(overlayList, "Overlay", controller_.folders().userOverlayFolder);
        width = 130;
        height = 20 * 16;
    } else {
        if (patternList->count() == 0) fillPictureList(patternList, StartFolderFile("Patterns"));
        width = 40;
        height = 20 * 18 + 20;
    }
    const int itemHeight = shown == mouldingList ? 40 : shown == patternList ? 18 : 16;
    for (int i = 0; i < shown->count(); ++i) shown->item(i)->setSizeHint(QSize(width, itemHeight));
    resize(width, height);
    for (QListWidget* l : {patternList, mouldingList, overlayList, maskList})
        l->setGeometry(rect());
    const PickerPlace place = PickerPlaceFor(anchor, width);
    move(place.left, place.top);
    show();
    // The list ends at its last whole item.
    resize(width, height / itemHeight * itemHeight);
    shown->setGeometry(rect());
}

void DecorationPicker::chooseFrom(QListWidget* list, bool textItems) {
    const QListWidgetItem* item = list->currentItem();
    if (!item) return;
    const std::string text = item->text().toStdString();
    controller_.chooseDecoration(textItems ? DecorationItemPath(text) : text);
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

bool DecorationPicker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hide();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillon
