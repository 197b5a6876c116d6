#include "app/dialogs/Patterns.h"

#include "app/EditBar.h"
#include "app/Mainfrm.h"
#include "app/QtBitmap.h"
#include "app/Wind.h"
#include "canvas/Canvas.h"
#include "document/Butbar.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/OrnateFrame.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cstdio>
#include <memory>
#include <vector>

namespace quillon {

TfrmPattern* frmPattern = nullptr;

namespace {

constexpr int kImageRole = Qt::UserRole;      // the item's picture as a QImage
constexpr int kBitmapRole = Qt::UserRole + 1; // index into the loaded bitmaps
constexpr Rect kSwatchRect{1, 1, 17, 17};

bool Contains(const std::string& s, const char* a, const char* b, const char* c) {
    return s.find(a) != std::string::npos || s.find(b) != std::string::npos ||
           s.find(c) != std::string::npos;
}

// Draws an item's picture alone, stretched into the item's row: for the
// ornate list inset by 3 on the left and 2 below, for patterns by 1 below.
class TPictureItemDelegate final : public QStyledItemDelegate {
public:
    TPictureItemDelegate(bool ornate, QObject* parent)
        : QStyledItemDelegate(parent), ornate_(ornate) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        const QImage image = index.data(kImageRole).value<QImage>();
        const int h = option.rect.height();
        const QRect target =
            ornate_ ? QRect(option.rect.left() + 3, option.rect.top() + 1, h - 3, h - 4)
                    : QRect(option.rect.left(), option.rect.top() + 1, h, h - 2);
        if (!image.isNull()) painter->drawImage(target, image);
    }

private:
    bool ornate_;
};

// The loaded pictures of the drawn lists, kept for the run.
std::vector<std::unique_ptr<Bitmap>>& LoadedPictures() {
    static std::vector<std::unique_ptr<Bitmap>> pictures;
    return pictures;
}

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

TOrnateChoice OrnateChoice(const std::string& path, int photoWidth, int photoHeight,
                           int patternHeight) {
    TOrnateChoice choice;
    const bool trn = Contains(path, "trn", "Trn", "TRN");
    if (Contains(path, "clip", "CLIP", "Clip"))
        choice.ClipCorners = true;
    else if (trn)
        choice.TransparentPieces = true;
    // The size follows the trn spellings alone: a transparent ornament lies
    // over the photo, any other surrounds it.
    if (trn) {
        choice.OutputWidth = photoWidth;
        choice.OutputHeight = photoHeight;
    } else {
        choice.OutputWidth = photoWidth + 2 * patternHeight;
        choice.OutputHeight = photoHeight + 2 * patternHeight;
    }
    return choice;
}

TPickerPlace PickerPlace(int mainLeft, int mainTop, int mainWidth, int editTop, int editHeight,
                         int panelLeft, int borderY, int popupWidth) {
    TPickerPlace place;
    place.Top = mainTop + editTop + editHeight + 40;
    if (mainLeft + panelLeft + borderY + popupWidth < mainLeft + mainWidth)
        place.Left = mainLeft + panelLeft + borderY;
    else
        place.Left = mainLeft + mainWidth - borderY - popupWidth;
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

TfrmPattern::TfrmPattern(TfrmMain& main)
    : QWidget(&main, Qt::Tool | Qt::FramelessWindowHint), main_(main) {
    setObjectName("frmPattern");
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
    lbPatterns = list("lbPatterns");
    lbOrnate = list("lbOrnate");
    lbOverlay = list("lbOverlay");
    lbMask = list("lbMask");
    lbPatterns->setItemDelegate(new TPictureItemDelegate(false, lbPatterns));
    lbOrnate->setItemDelegate(new TPictureItemDelegate(true, lbOrnate));
    QFont text("MS Sans Serif");
    text.setPixelSize(13);
    for (QListWidget* l : {lbOverlay, lbMask}) {
        l->setFont(text);
        QPalette p = l->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, Qt::black);
        l->setPalette(p);
    }
    const std::pair<QListWidget*, void (TfrmPattern::*)()> handlers[] = {
        {lbPatterns, &TfrmPattern::lbPatternsDblClick},
        {lbOrnate, &TfrmPattern::lbOrnateDblClick},
        {lbOverlay, &TfrmPattern::lbOverlayDblClick},
        {lbMask, &TfrmPattern::lbMaskDblClick}};
    for (const auto& [l, handler] : handlers)
        connect(l, &QListWidget::itemDoubleClicked, this,
                [this, handler] { main_.RunCommand([this, handler] { (this->*handler)(); }); });
    frmPattern = this;
}

void TfrmPattern::FillPictureList(QListWidget* list, const std::string& folder) {
    for (const std::string& path : ListFilesNoCase(folder, {"bmp"})) {
        auto bitmap = std::make_unique<Bitmap>();
        LoadBmpFile(path, *bitmap);
        auto* item = new QListWidgetItem(QString::fromStdString(path));
        item->setData(kImageRole, ToQImage(*bitmap));
        item->setData(kBitmapRole, int(LoadedPictures().size()));
        LoadedPictures().push_back(std::move(bitmap));
        list->addItem(item);
    }
}

void TfrmPattern::FillTextList(QListWidget* list, const std::string& sub,
                               const std::string& userFolder) {
    list->clear();
    const std::string own = StartFolderFile(sub);
    CreateListOfFiles(own, "*.bmp", list);
    CreateListOfFiles(userFolder, "*.bmp", list);
    CreateListOfFiles(own, "*.jpg", list);
    CreateListOfFiles(userFolder, "*.jpg", list);
}

void TfrmPattern::PatternClick() {
    if (isVisible()) {
        hide();
        return;
    }
    const int style = main_.Document ? main_.Document->Style : fsNone;
    QListWidget* shown = style == fsOrnate    ? lbOrnate
                         : style == fsMask    ? lbMask
                         : style == fsOverlay ? lbOverlay
                                              : lbPatterns;
    for (QListWidget* l : {lbPatterns, lbOrnate, lbOverlay, lbMask}) l->setVisible(l == shown);
    int width = 0, height = 0;
    if (shown == lbOrnate) {
        if (lbOrnate->count() == 0) FillPictureList(lbOrnate, StartFolderFile("Ornate"));
        width = 60;
        height = 10 * 40;
    } else if (shown == lbMask) {
        if (lbMask->count() == 0) FillTextList(lbMask, "masks", main_.Folders.UserMaskFolder);
        width = 130;
        height = 20 * 16;
    } else if (shown == lbOverlay) {
        if (lbOverlay->count() == 0)
            FillTextList(lbOverlay, "Overlay", main_.Folders.UserOverlayFolder);
        width = 130;
        height = 20 * 16;
    } else {
        if (lbPatterns->count() == 0) FillPictureList(lbPatterns, StartFolderFile("Patterns"));
        width = 40;
        height = 20 * 18 + 20;
    }
    const int itemHeight = shown == lbOrnate ? 40 : shown == lbPatterns ? 18 : 16;
    for (int i = 0; i < shown->count(); ++i) shown->item(i)->setSizeHint(QSize(width, itemHeight));
    resize(width, height);
    for (QListWidget* l : {lbPatterns, lbOrnate, lbOverlay, lbMask}) l->setGeometry(rect());
    const QWidget* panel = main_.EditBar->pnlPattern;
    const QPoint editTop = main_.pnlEdit->mapTo(&main_, QPoint(0, 0));
    const TPickerPlace place =
        PickerPlace(main_.x(), main_.y(), main_.width(), editTop.y(), main_.pnlEdit->height(),
                    panel->x(), main_.Metrics.BorderY, width);
    move(place.Left, place.Top);
    show();
    // The list ends at its last whole item.
    resize(width, height / itemHeight * itemHeight);
    shown->setGeometry(rect());
}

void TfrmPattern::lbPatternsDblClick() {
    QListWidgetItem* item = lbPatterns->currentItem();
    TButtonBar* doc = main_.Document.get();
    if (!item || !doc) return;
    if (main_.frmWindow) main_.frmWindow->SetScrollPositions(0, 0);
    doc->SetPattern(item->text().toStdString());
    doc->DrawPictureCentred();
    doc->DrawFrame();
    const Bitmap& picture = *LoadedPictures()[std::size_t(item->data(kBitmapRole).toInt())];
    main_.EditBar->PatternPicture.canvas().StretchDraw(kSwatchRect, picture);
    main_.EditBar->ShowPatternPicture();
    if (main_.frmWindow) main_.frmWindow->ImageChanged();
}

void TfrmPattern::lbOrnateDblClick() {
    QListWidgetItem* item = lbOrnate->currentItem();
    TButtonBar* doc = main_.Document.get();
    if (!item || !doc) return;
    if (main_.frmWindow) main_.frmWindow->SetScrollPositions(0, 0);
    const std::string path = item->text().toStdString();
    doc->SetPattern(path);
    doc->SetFrameHeight(doc->GetPatternHeight());
    doc->SetFrameWidth(doc->GetPatternHeight());
    const TOrnateChoice choice = OrnateChoice(path, doc->GetPictureWidth(), doc->GetPictureHeight(),
                                              doc->GetPatternHeight());
    if (auto* ornate = dynamic_cast<OrnateFrame*>(doc->CurrentFrame())) {
        ornate->ClipCorners = choice.ClipCorners;
        ornate->TransparentPieces = choice.TransparentPieces;
    }
    doc->SetOutputSize(choice.OutputWidth, choice.OutputHeight);
    doc->DrawFrame();
    const Bitmap& picture = *LoadedPictures()[std::size_t(item->data(kBitmapRole).toInt())];
    main_.EditBar->PatternPicture.canvas().StretchDraw(kSwatchRect, picture);
    main_.EditBar->ShowPatternPicture();
    main_.AdjustWindow();
}

void TfrmPattern::ChooseDecoration(QListWidget* list, bool overlay) {
    QListWidgetItem* item = list->currentItem();
    TButtonBar* doc = main_.Document.get();
    if (!item || !doc) return;
    if (main_.frmWindow) main_.frmWindow->SetScrollPositions(0, 0);
    const std::string path = DecorationItemPath(item->text().toStdString());
    doc->SetPattern(path);
    doc->DrawPictureCentred();
    doc->DrawFrame();
    if (main_.frmWindow) main_.frmWindow->ImageChanged();
    Bitmap preview;
    LoadDecorationPicture(path, preview);
    if (overlay) preview.Transparent = false;
    main_.EditBar->PatternPicture.canvas().StretchDraw(kSwatchRect, preview);
    main_.EditBar->ShowPatternPicture();
}

void TfrmPattern::lbOverlayDblClick() {
    ChooseDecoration(lbOverlay, true);
}

void TfrmPattern::lbMaskDblClick() {
    ChooseDecoration(lbMask, false);
}

bool TfrmPattern::eventFilter(QObject* watched, QEvent* event) {
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
