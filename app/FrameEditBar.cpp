#include "app/FrameEditBar.h"

#include "app/DocumentController.h"
#include "app/EditBarLayout.h"
#include "app/QtBitmap.h"
#include "app/dialogs/Dialogs.h"
#include "canvas/Canvas.h"
#include "document/PhotoDocument.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>

#include <algorithm>
#include <exception>

namespace quillon {

namespace {

constexpr Rect kSwatchRect{1, 1, 17, 17};
constexpr int kSwatchSide = 18;

} // namespace

FrameEditBar::FrameEditBar(DocumentController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller), swatchPicture_(kSwatchSide, kSwatchSide) {
    setObjectName("frameEditBar");
    setFixedHeight(kHeight);
    QFont font("Arial");
    font.setPointSize(8);
    setFont(font);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);
    // A mouse move over the bar closes the decoration picker.
    setMouseTracking(true);

    auto label = [this](const char* name, const char* caption) {
        auto* l = new QLabel(QString::fromLatin1(caption), this);
        l->setObjectName(name);
        l->adjustSize();
        l->move(0, 5);
        return l;
    };
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setGeometry(0, 1, kEditBoxWidth, 21);
        e->setFocusPolicy(Qt::ClickFocus); // not a tab stop
        e->installEventFilter(this);
        return e;
    };
    auto swatch = [this](const char* name, int w, int h) {
        auto* f = new QFrame(this);
        f->setObjectName(name);
        f->setFrameShape(QFrame::Box);
        f->setGeometry(0, (kHeight - h) / 2, w, h);
        f->setAutoFillBackground(true);
        f->installEventFilter(this);
        return f;
    };

    frameHeightLabel = label("frameHeightLabel", "Frame Height");
    frameHeightEdit = edit("frameHeightEdit");
    frameHeightUpDown = makeUpDown("frameHeight", &FrameEditBar::stepFrameHeight);
    frameWidthLabel = label("frameWidthLabel", "Frame Width");
    frameWidthEdit = edit("frameWidthEdit");
    frameWidthUpDown = makeUpDown("frameWidth", &FrameEditBar::stepFrameWidth);
    borderWidthLabel = label("borderWidthLabel", "Border Width");
    borderWidthEdit = edit("borderWidthEdit");
    borderWidthUpDown = makeUpDown("borderWidth", &FrameEditBar::stepBorderWidth);
    frameColorLabel = label("frameColorLabel", "Frame Color");
    frameColorSwatch = swatch("frameColorSwatch", kSwatchWidth, kSwatchHeight);
    setSwatchColor(frameColorSwatch, RGB(128, 128, 0));
    borderColorLabel = label("borderColorLabel", "Border Color");
    borderColorSwatch = swatch("borderColorSwatch", kSwatchWidth, kSwatchHeight);
    setSwatchColor(borderColorSwatch, kBlack);
    decorationLabel = label("decorationLabel", "Pattern");
    decorationPanel = swatch("decorationPanel", kDecorationPanelWidth, kDecorationPanelHeight);
    decorationPanel->setFrameShape(QFrame::NoFrame);
    decorationSwatch = new QLabel(decorationPanel);
    decorationSwatch->setObjectName("decorationSwatch");
    decorationSwatch->setGeometry(1, 1, kDecorationImageWidth, kDecorationPanelHeight - 2);
    decorationSwatch->setScaledContents(true);
    decorationSwatch->installEventFilter(this);
    swatchPicture_.canvas().brush.SetColor(kWhite);
    swatchPicture_.canvas().FillRect(Rect(0, 0, kSwatchSide, kSwatchSide));
    showSwatchPicture();
    scaledCheck = new QCheckBox(QStringLiteral("Scale To Fit"), this);
    scaledCheck->setObjectName("scaledCheck");
    scaledCheck->setLayoutDirection(Qt::RightToLeft); // caption on the left
    scaledCheck->setChecked(true);
    scaledCheck->setFocusPolicy(Qt::NoFocus);
    scaledCheck->setGeometry(0, 2, kCheckBoxWidth, 20);
    connect(scaledCheck, &QCheckBox::clicked, this,
            [this] { runCommand([this] { toggleScaled(); }); });

    connect(&controller_, &DocumentController::styleChanged, this, &FrameEditBar::showStyle);
    connect(&controller_, &DocumentController::frameChanged, this, &FrameEditBar::showValues);
    connect(&controller_, &DocumentController::decorationChosen, this,
            &FrameEditBar::drawChosenDecoration);
    hide();
}

QWidget* FrameEditBar::makeUpDown(const char* name, void (FrameEditBar::*step)(int)) {
    auto* box = new QWidget(this);
    box->setObjectName(QString::fromLatin1(name) + "UpDown");
    box->setGeometry(0, 1, kUpDownWidth, 22);
    auto* up = new QToolButton(box);
    up->setObjectName(QString::fromLatin1(name) + "Up");
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(0, 0, kUpDownWidth, 11);
    auto* down = new QToolButton(box);
    down->setObjectName(QString::fromLatin1(name) + "Down");
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(0, 11, kUpDownWidth, 11);
    for (QToolButton* b : {up, down}) b->setFocusPolicy(Qt::NoFocus);
    connect(up, &QToolButton::clicked, this,
            [this, step] { runCommand([this, step] { (this->*step)(1); }); });
    connect(down, &QToolButton::clicked, this,
            [this, step] { runCommand([this, step] { (this->*step)(-1); }); });
    return box;
}

void FrameEditBar::runCommand(const std::function<void()>& command) {
    RunCommand(window(), command);
}

void FrameEditBar::setSwatchColor(QFrame* swatch, Color color) {
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    swatch->setPalette(p);
}

void FrameEditBar::showSwatchPicture() {
    decorationSwatch->setPixmap(QPixmap::fromImage(ToQImage(swatchPicture_)));
}

// --- Following the controller --------------------------------------------------------

void FrameEditBar::showStyle() {
    const std::optional<StyleId> style = controller_.style();
    if (!style) {
        hide();
        return;
    }
    showCaptions(StyleInfoOf(*style).captions);
    show();
    showValues();
    drawSwatchAfterEdit();
    // The styles whose decoration matters most show it from a clean swatch.
    switch (*style) {
    case StyleId::Shadow:
    case StyleId::Ornate:
    case StyleId::Mask:
    case StyleId::Overlay:
    case StyleId::Box:
        repaintDecorationSwatch();
        break;
    default:
        break;
    }
}

void FrameEditBar::showCaptions(const EditCaptions& captions) {
    QLabel* labels[] = {frameHeightLabel, frameWidthLabel,  borderWidthLabel,
                        frameColorLabel,  borderColorLabel, decorationLabel};
    constexpr int kLabelled = int(EditField::CheckBox);
    for (int i = 0; i < kLabelled; ++i) {
        const char* caption = captions[std::size_t(i)];
        if (caption[0] == '\0') continue; // a hidden label keeps its text
        labels[i]->setText(QString::fromLatin1(caption));
        labels[i]->adjustSize();
    }
    const EditBarPlaces places =
        EditBarLayout(captions, [&labels](EditField field) { return labels[int(field)]->width(); });
    QWidget* controls[][2] = {
        {frameHeightEdit, frameHeightUpDown}, {frameWidthEdit, frameWidthUpDown},
        {borderWidthEdit, borderWidthUpDown}, {frameColorSwatch, nullptr},
        {borderColorSwatch, nullptr},         {decorationPanel, nullptr}};
    for (int i = 0; i < kLabelled; ++i) {
        const EditFieldPlace& place = places[std::size_t(i)];
        labels[i]->setVisible(place.visible);
        for (QWidget* c : controls[i])
            if (c) c->setVisible(place.visible);
        if (!place.visible) continue;
        labels[i]->move(place.labelLeft, labels[i]->y());
        controls[i][0]->move(place.controlLeft, controls[i][0]->y());
        if (controls[i][1]) controls[i][1]->move(place.upDownLeft, controls[i][1]->y());
    }
    const EditFieldPlace& check = places[std::size_t(EditField::CheckBox)];
    scaledCheck->setVisible(check.visible);
    if (check.visible) {
        scaledCheck->setText(QString::fromLatin1(captions[std::size_t(EditField::CheckBox)]));
        // The designed 101 pixels clip longer captions in larger fonts; the
        // box is the bar's last field, so widening it moves nothing.
        scaledCheck->setGeometry(check.controlLeft, scaledCheck->y(),
                                 std::max(kCheckBoxWidth, scaledCheck->sizeHint().width()),
                                 scaledCheck->height());
    }
}

void FrameEditBar::showValues() {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    frameHeightEdit->setText(QString::number(document->GetFrameHeight()));
    frameWidthEdit->setText(QString::number(document->GetFrameWidth()));
    borderWidthEdit->setText(QString::number(document->GetBorderWidth()));
    setSwatchColor(frameColorSwatch, document->GetFrameColor());
    setSwatchColor(borderColorSwatch, document->GetBorderColor());
    scaledCheck->setChecked(document->GetScaled());
}

void FrameEditBar::drawSwatchAfterEdit() {
    const PhotoDocument* document = controller_.document();
    const FrameStyle* frame = document ? document->CurrentFrame() : nullptr;
    if (!frame) return;
    Canvas& canvas = swatchPicture_.canvas();
    const Bitmap* pattern = document->PatternPicture();
    if (!frame->PatternName.empty() && pattern && !pattern->Empty())
        canvas.StretchDraw(kSwatchRect, *pattern);
    else
        canvas.Rectangle(kSwatchRect);
    showSwatchPicture();
}

void FrameEditBar::repaintDecorationSwatch() {
    const PhotoDocument* document = controller_.document();
    Canvas& canvas = swatchPicture_.canvas();
    canvas.brush.SetColor(kWhite);
    canvas.FillRect(kSwatchRect);
    const Bitmap* pattern = document ? document->PatternPicture() : nullptr;
    if (pattern && !pattern->Empty()) canvas.StretchDraw(kSwatchRect, *pattern);
    showSwatchPicture();
}

void FrameEditBar::drawChosenDecoration() {
    const PhotoDocument* document = controller_.document();
    const Bitmap* decoration = document ? document->PatternPicture() : nullptr;
    if (!decoration || decoration->Empty()) return;
    // The swatch shows the picture as it is, whatever the style makes
    // transparent in it.
    Bitmap opaque;
    opaque.Assign(*decoration);
    opaque.Transparent = false;
    swatchPicture_.canvas().StretchDraw(kSwatchRect, opaque);
    showSwatchPicture();
}

// --- The edits ------------------------------------------------------------------------------

void FrameEditBar::applyFields() {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    FrameEdit edit;
    std::exception_ptr failure;
    const std::pair<QLineEdit*, std::optional<int> FrameEdit::*> boxes[] = {
        {frameHeightEdit, &FrameEdit::frameHeight},
        {frameWidthEdit, &FrameEdit::frameWidth},
        {borderWidthEdit, &FrameEdit::borderWidth}};
    for (const auto& [box, field] : boxes) {
        if (box->isHidden()) continue;
        int value = 0;
        try {
            value = EditBoxValue(box->text().toStdString());
        } catch (const std::exception&) {
            failure = std::current_exception();
            break;
        }
        if (value < 0) break;
        edit.*field = value;
    }
    controller_.editFrame(edit);
    drawSwatchAfterEdit();
    if (failure) std::rethrow_exception(failure);
}

void FrameEditBar::stepFrameHeight(int step) {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    FrameEdit edit;
    edit.frameHeight = document->GetFrameHeight() + step;
    controller_.editFrame(edit);
    drawSwatchAfterEdit();
}

void FrameEditBar::stepFrameWidth(int step) {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    FrameEdit edit;
    edit.frameWidth = document->GetFrameWidth() + step;
    controller_.editFrame(edit);
    drawSwatchAfterEdit();
}

void FrameEditBar::stepBorderWidth(int step) {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    FrameEdit edit;
    edit.borderWidth = document->GetBorderWidth() + step;
    controller_.editFrame(edit);
    drawSwatchAfterEdit();
}

void FrameEditBar::chooseFrameColor() {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    const auto color = Dialogs::current().chooseColor(window(), document->GetFrameColor());
    if (!color) return;
    // A colour replaces the fill pattern, and the swatch empties with it.
    swatchPicture_.canvas().brush.SetColor(kWhite);
    swatchPicture_.canvas().FillRect(Rect(0, 0, kSwatchSide, kSwatchSide));
    showSwatchPicture();
    controller_.setFrameColor(*color);
}

void FrameEditBar::chooseBorderColor() {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    const auto color = Dialogs::current().chooseColor(window(), document->GetBorderColor());
    if (!color) return;
    controller_.setBorderColor(*color);
}

void FrameEditBar::toggleScaled() {
    if (!controller_.framing()) return;
    controller_.setScaled(scaledCheck->isChecked());
    drawSwatchAfterEdit();
}

void FrameEditBar::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved();
    QWidget::mouseMoveEvent(event);
}

bool FrameEditBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* box = qobject_cast<QLineEdit*>(watched);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Tab in the first box acts as Enter, as it always has.
        const bool tab = key->key() == Qt::Key_Tab && box == frameHeightEdit;
        if (box && (enter || tab)) {
            runCommand([this] { applyFields(); });
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (watched == frameColorSwatch) {
                runCommand([this] { chooseFrameColor(); });
                return true;
            }
            if (watched == borderColorSwatch) {
                runCommand([this] { chooseBorderColor(); });
                return true;
            }
            if (watched == decorationPanel || watched == decorationSwatch) {
                emit decorationPickerToggled();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillon
