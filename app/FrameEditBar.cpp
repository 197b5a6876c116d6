#include "app/FrameEditBar.h"

#include "app/ColorChoicePopup.h"
#include "app/DocumentController.h"
#include "app/EditBarLayout.h"
#include "app/EditBarTooltips.h"
#include "app/QtBitmap.h"
#include "app/dialogs/Dialogs.h"
#include "canvas/Canvas.h"
#include "document/PhotoDocument.h"
#include "frames/FrameStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <exception>

namespace quillon {

namespace {

constexpr Rect kSwatchRect{1, 1, 17, 17};
constexpr int kSwatchSide = 18;
constexpr int kPrintSizeComboWidth = 74;
constexpr int kDpiSpinWidth = 64;

// The units a length field offers, with the words the tooltips use.
struct UnitChoice {
    LengthUnit unit;
    const char* words;
};
constexpr UnitChoice kUnitChoices[] = {
    {LengthUnit::Pixels, "pixels"},
    {LengthUnit::Percent, "% of the photo's shorter side"},
    {LengthUnit::Millimetres, "millimetres"},
    {LengthUnit::Inches, "inches"},
};

const char* UnitWords(LengthUnit unit) {
    for (const UnitChoice& c : kUnitChoices)
        if (c.unit == unit) return c.words;
    return "";
}

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

FrameEditBar::FrameEditBar(DocumentController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller), swatchPicture_(kSwatchSide, kSwatchSide),
      typingTimer_(new QTimer(this)) {
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
    typingTimer_->setSingleShot(true);
    typingTimer_->setInterval(kTypingPauseMs);
    connect(typingTimer_, &QTimer::timeout, this,
            [this] { runCommand([this] { applyTypedFields(); }); });
    auto edit = [this](const char* name, int index) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setGeometry(0, 1, kEditBoxWidth, 21);
        e->setFocusPolicy(Qt::ClickFocus); // not a tab stop of the window
        e->installEventFilter(this);
        // Typing (not the bar's own refresh) waits for a pause.
        connect(e, &QLineEdit::textEdited, this, [this, index] {
            typed_[std::size_t(index)] = true;
            typingTimer_->start();
        });
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
    frameHeightEdit = edit("frameHeightEdit", 0);
    frameHeightUpDown = makeUpDown("frameHeight", &FrameEditBar::stepFrameHeight);
    frameHeightUnit = makeUnitButton("frameHeightUnit", EditField::FrameHeight);
    frameWidthLabel = label("frameWidthLabel", "Frame Width");
    frameWidthEdit = edit("frameWidthEdit", 1);
    frameWidthUpDown = makeUpDown("frameWidth", &FrameEditBar::stepFrameWidth);
    frameWidthUnit = makeUnitButton("frameWidthUnit", EditField::FrameWidth);
    borderWidthLabel = label("borderWidthLabel", "Border Width");
    borderWidthEdit = edit("borderWidthEdit", 2);
    borderWidthUpDown = makeUpDown("borderWidth", &FrameEditBar::stepBorderWidth);
    borderWidthUnit = makeUnitButton("borderWidthUnit", EditField::BorderWidth);
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

    printSizeLabel = label("printSizeLabel", "for");
    printSizeCombo = new QComboBox(this);
    printSizeCombo->setObjectName("printSizeCombo");
    printSizeCombo->setAccessibleName("Print size");
    printSizeCombo->setToolTip("The print size that millimetres and inches refer to: the photo "
                               "printed to fit this box, or at a number of dots an inch (DPI)");
    printSizeLabel->setToolTip(printSizeCombo->toolTip());
    printSizeCombo->setFocusPolicy(Qt::NoFocus);
    printSizeCombo->setGeometry(0, 1, kPrintSizeComboWidth, 22);
    connect(printSizeCombo, &QComboBox::activated, this,
            [this](int index) { runCommand([this, index] { choosePrintSize(index); }); });
    dpiSpin = new QSpinBox(this);
    dpiSpin->setObjectName("dpiSpin");
    dpiSpin->setAccessibleName("Print resolution in dots an inch");
    dpiSpin->setToolTip("Pixels an inch that millimetres and inches refer to (1 to 100000)");
    dpiSpin->setRange(1, 100000);
    dpiSpin->setValue(300);
    dpiSpin->setSuffix(" dpi");
    dpiSpin->setGeometry(0, 1, kDpiSpinWidth, 22);
    connect(dpiSpin, &QSpinBox::editingFinished, this,
            [this] { runCommand([this] { chooseDpi(dpiSpin->value()); }); });
    // Spun or typed, the resolution applies after the same pause as the
    // numbers (while it is what physical lengths refer to).
    auto* dpiPause = new QTimer(this);
    dpiPause->setSingleShot(true);
    dpiPause->setInterval(kTypingPauseMs);
    connect(dpiSpin, &QSpinBox::valueChanged, dpiPause, qOverload<>(&QTimer::start));
    connect(dpiPause, &QTimer::timeout, this, [this] {
        if (controller_.editUnits().dpi) runCommand([this] { chooseDpi(dpiSpin->value()); });
    });
    for (QWidget* w : {static_cast<QWidget*>(printSizeLabel), static_cast<QWidget*>(printSizeCombo),
                       static_cast<QWidget*>(dpiSpin)})
        w->hide();

    colorChoice = new ColorChoicePopup(this);
    connect(colorChoice, &ColorChoicePopup::colorChosen, this, [this](Color color) {
        runCommand([this, color] {
            if (colorTarget_ == ColorTarget::Frame)
                setFrameColor(color);
            else
                setBorderColor(color);
        });
    });
    connect(colorChoice, &ColorChoicePopup::moreColorsRequested, this, [this] {
        runCommand([this] {
            if (colorTarget_ == ColorTarget::Frame)
                chooseFrameColor();
            else
                chooseBorderColor();
        });
    });

    connect(&controller_, &DocumentController::styleChanged, this, &FrameEditBar::showStyle);
    connect(&controller_, &DocumentController::frameChanged, this, &FrameEditBar::showValues);
    connect(&controller_, &DocumentController::decorationChosen, this,
            &FrameEditBar::drawChosenDecoration);
    connect(&controller_, &DocumentController::unitsChanged, this, [this] {
        showUnits();
        showValues();
    });
    hide();
}

QToolButton* FrameEditBar::makeUnitButton(const char* name, EditField field) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText("px");
    button->setGeometry(0, 1, kUnitButtonWidth, 22);
    button->setFocusPolicy(Qt::NoFocus);
    button->setPopupMode(QToolButton::InstantPopup);
    // The text says what the button is; the menu arrow would not fit.
    button->setStyleSheet("QToolButton::menu-indicator { image: none; width: 0px; }");
    auto* menu = new QMenu(button);
    menu->setObjectName(QString::fromLatin1(name) + "Menu");
    for (const UnitChoice& c : kUnitChoices) {
        QAction* action = menu->addAction(QString::fromLatin1(UnitButtonText(c.unit)) + "  " +
                                          QString::fromLatin1(c.words));
        action->setObjectName(QString::fromLatin1(name) + "_" + UnitButtonText(c.unit));
        action->setData(int(c.unit));
        action->setCheckable(true);
        const LengthUnit unit = c.unit;
        connect(action, &QAction::triggered, this, [this, field, unit] {
            runCommand([this, field, unit] { chooseUnit(field, unit); });
        });
    }
    button->setMenu(menu);
    return button;
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
    for (QToolButton* b : {up, down}) {
        b->setFocusPolicy(Qt::NoFocus);
        // Held down, an arrow goes on stepping.
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(80);
    }
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
    // Typing not yet applied belonged to the style shown before.
    typingTimer_->stop();
    typed_ = {};
    rangeNotice_.clear();
    if (!style) {
        hide();
        return;
    }
    showCaptions(StyleInfoOf(*style).captions);
    ShowFieldTooltips(*this, StyleInfoOf(*style));
    show();
    showUnits();
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
    const std::optional<StyleId> style = controller_.style();
    const bool thirdIsLength = !style || StyleInfoOf(*style).thirdFieldIsLength;
    const EditBarPlaces places = EditBarLayout(
        captions, [&labels](EditField field) { return labels[int(field)]->width(); },
        thirdIsLength);
    QToolButton* units[] = {frameHeightUnit, frameWidthUnit, borderWidthUnit};
    for (int i = 0; i < kLengthFieldCount; ++i) {
        const EditFieldPlace& place = places[std::size_t(i)];
        units[i]->setVisible(place.visible && place.unitLeft > 0);
        units[i]->move(place.unitLeft, units[i]->y());
    }
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
    const std::pair<QLineEdit*, EditField> boxes[] = {{frameHeightEdit, EditField::FrameHeight},
                                                      {frameWidthEdit, EditField::FrameWidth},
                                                      {borderWidthEdit, EditField::BorderWidth}};
    const int pixels[] = {document->GetFrameHeight(), document->GetFrameWidth(),
                          document->GetBorderWidth()};
    for (int i = 0; i < kLengthFieldCount; ++i) {
        const auto [box, field] = boxes[i];
        if (typed_[std::size_t(i)]) continue; // what is being typed stays
        if (controller_.editUnits().Unit(field) == LengthUnit::Pixels || !hasUnit(field))
            box->setText(QString::number(pixels[i]));
        else
            box->setText(FromStd(LengthValueText(controller_.shownLength(field))));
    }
    setSwatchColor(frameColorSwatch, document->GetFrameColor());
    setSwatchColor(borderColorSwatch, document->GetBorderColor());
    scaledCheck->setChecked(document->GetScaled());
    showRanges();
}

bool FrameEditBar::hasUnit(EditField field) const {
    const std::optional<StyleId> style = controller_.style();
    return style && (field != EditField::BorderWidth || StyleInfoOf(*style).thirdFieldIsLength);
}

bool FrameEditBar::physicalUnitShown() const {
    const std::optional<StyleId> style = controller_.style();
    if (!style) return false;
    for (EditField field : {EditField::FrameHeight, EditField::FrameWidth, EditField::BorderWidth})
        if (StyleInfoOf(*style).Shows(field) && hasUnit(field) &&
            Length{0, controller_.editUnits().Unit(field)}.IsPhysical())
            return true;
    return false;
}

void FrameEditBar::showRanges() {
    const std::optional<StyleId> style = controller_.style();
    if (!style) return;
    const StyleInfo& info = StyleInfoOf(*style);
    const std::pair<QLineEdit*, EditField> boxes[] = {{frameHeightEdit, EditField::FrameHeight},
                                                      {frameWidthEdit, EditField::FrameWidth},
                                                      {borderWidthEdit, EditField::BorderWidth}};
    const EditUnits& units = controller_.editUnits();
    const std::string at = units.dpi ? " at " + LengthValueText(*units.dpi) + " dpi"
                                     : " for a " + PrintSizeText(units.printSize) + " print";
    for (const auto& [box, field] : boxes) {
        const std::string caption = info.Caption(field);
        const std::string limit = LengthValueText(controller_.lengthLimit(field));
        std::string tip;
        if (!hasUnit(field)) {
            tip = caption + ": 0 to " + limit;
        } else {
            const LengthUnit unit = units.Unit(field);
            tip = caption + ": 0 to " + limit + " " + UnitWords(unit);
            if (Length{0, unit}.IsPhysical()) tip += at;
            if (unit != LengthUnit::Pixels) tip += " (half the photo's shorter side)";
        }
        box->setToolTip(FromStd(tip));
        box->setAccessibleName(FromStd(caption));
    }
}

void FrameEditBar::showUnits() {
    const std::optional<StyleId> style = controller_.style();
    const EditUnits& units = controller_.editUnits();
    QToolButton* buttons[] = {frameHeightUnit, frameWidthUnit, borderWidthUnit};
    for (int i = 0; i < kLengthFieldCount; ++i) {
        const auto field = EditField(i);
        const LengthUnit unit = units.Unit(field);
        buttons[i]->setText(QString::fromLatin1(UnitButtonText(unit)));
        for (QAction* a : buttons[i]->menu()->actions())
            a->setChecked(a->data().toInt() == int(unit));
        const QString caption =
            style ? QString::fromLatin1(StyleInfoOf(*style).Caption(field)) : QString();
        buttons[i]->setAccessibleName(caption + " unit");
        buttons[i]->setToolTip("Unit of " + caption + ": " + UnitWords(unit));
    }
    // The print-size list: the common sizes, the one in use if it is not
    // among them (a photo size printed), and the DPI entry last.
    printSizes_.clear();
    for (const NamedPrintSize& n : CommonPrintSizes()) printSizes_.push_back(n.size);
    if (std::find(printSizes_.begin(), printSizes_.end(), units.printSize) == printSizes_.end())
        printSizes_.push_back(units.printSize);
    const QSignalBlocker block(printSizeCombo);
    const QSignalBlocker blockDpi(dpiSpin);
    printSizeCombo->clear();
    for (const PrintSize& size : printSizes_) printSizeCombo->addItem(FromStd(PrintSizeText(size)));
    printSizeCombo->addItem("DPI");
    if (units.dpi) {
        printSizeCombo->setCurrentIndex(printSizeCombo->count() - 1);
        dpiSpin->setValue(int(std::lround(*units.dpi)));
    } else {
        printSizeCombo->setCurrentIndex(
            int(std::find(printSizes_.begin(), printSizes_.end(), units.printSize) -
                printSizes_.begin()));
    }
    placePrintSize();
}

void FrameEditBar::placePrintSize() {
    const bool shown = !isHidden() && physicalUnitShown();
    const bool dpi = controller_.editUnits().dpi.has_value();
    printSizeLabel->setVisible(shown);
    printSizeCombo->setVisible(shown);
    dpiSpin->setVisible(shown && dpi);
    if (!shown) return;
    // After the bar's last shown field.
    int x = 0;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != printSizeLabel && w != printSizeCombo && w != dpiSpin && !w->isHidden())
            x = std::max(x, w->geometry().right() + 1);
    x += 12;
    printSizeLabel->move(x, printSizeLabel->y());
    x += printSizeLabel->width() + 3;
    printSizeCombo->move(x, printSizeCombo->y());
    dpiSpin->move(x + kPrintSizeComboWidth + 3, dpiSpin->y());
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
    const FrameStyle* frame = document ? document->CurrentFrame() : nullptr;
    if (frame && frame->PatternName.empty()) {
        // "None": an empty outlined square.
        Canvas& canvas = swatchPicture_.canvas();
        canvas.brush.SetColor(kWhite);
        canvas.FillRect(Rect(0, 0, kSwatchSide, kSwatchSide));
        canvas.Rectangle(kSwatchRect);
        showSwatchPicture();
        return;
    }
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
    applyBoxes(false);
}

void FrameEditBar::applyTypedFields() {
    applyBoxes(true);
}

void FrameEditBar::applyBoxes(bool typedOnly) {
    typingTimer_->stop();
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    FrameEdit edit;
    LengthEdit lengths;
    bool any = false;
    bool withUnits = false;
    std::exception_ptr failure;
    QString notice;
    QLineEdit* noticeBox = nullptr;
    const std::tuple<QLineEdit*, EditField, std::optional<int> FrameEdit::*,
                     std::optional<Length> LengthEdit::*>
        boxes[] = {{frameHeightEdit, EditField::FrameHeight, &FrameEdit::frameHeight,
                    &LengthEdit::frameHeight},
                   {frameWidthEdit, EditField::FrameWidth, &FrameEdit::frameWidth,
                    &LengthEdit::frameWidth},
                   {borderWidthEdit, EditField::BorderWidth, &FrameEdit::borderWidth,
                    &LengthEdit::borderWidth}};
    for (const auto& [box, field, pixels, length] : boxes) {
        bool& typed = typed_[std::size_t(field)];
        if (box->isHidden() || (typedOnly && !typed)) continue;
        const LengthUnit unit = controller_.editUnits().Unit(field);
        Length entry;
        try {
            entry = EditBoxEntry(box->text().toStdString(), unit, hasUnit(field));
        } catch (const std::exception&) {
            // While typing, a box that holds no number yet waits for more.
            if (typedOnly) continue;
            failure = std::current_exception();
            break;
        }
        typed = false;
        const Length kept = controller_.clampedLength(field, entry);
        if (kept.value != entry.value) {
            const QString unitText = kept.unit == LengthUnit::Pixels || !hasUnit(field)
                                         ? QString()
                                         : QString::fromLatin1(UnitButtonText(kept.unit));
            notice = box->toolTip() + "\n" + box->text().trimmed() + " is out of range: set to " +
                     FromStd(LengthValueText(kept.value)) + unitText;
            noticeBox = box;
        }
        any = true;
        lengths.*length = kept;
        if (kept.unit == LengthUnit::Pixels || !hasUnit(field))
            edit.*pixels = int(kept.value);
        else
            withUnits = true;
    }
    if (!typedOnly) typed_ = {};
    rangeNotice_ = notice;
    if (any) {
        // Pixels alone take the way they always have.
        if (withUnits)
            controller_.editFrameLengths(lengths);
        else
            controller_.editFrame(edit);
        drawSwatchAfterEdit();
    }
    // The box shows the value it was given, and says why.
    if (noticeBox)
        QToolTip::showText(noticeBox->mapToGlobal(QPoint(0, noticeBox->height())), notice,
                           noticeBox);
    if (failure) std::rethrow_exception(failure);
}

void FrameEditBar::focusNextBox(QLineEdit* from, bool forward) {
    std::vector<QLineEdit*> shown;
    for (QLineEdit* box : {frameHeightEdit, frameWidthEdit, borderWidthEdit})
        if (!box->isHidden()) shown.push_back(box);
    const auto at = std::find(shown.begin(), shown.end(), from);
    if (at == shown.end()) return;
    const std::ptrdiff_t i = at - shown.begin() + (forward ? 1 : -1);
    if (i < 0 || i >= std::ptrdiff_t(shown.size())) return;
    QLineEdit* next = shown[std::size_t(i)];
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    next->selectAll();
}

void FrameEditBar::stepLength(EditField field, int step) {
    const LengthUnit unit = controller_.editUnits().Unit(field);
    const double value = controller_.shownLength(field) + step * UnitStep(unit);
    if (value < 0) return;
    LengthEdit edit;
    const Length length{value, unit};
    if (field == EditField::FrameHeight) edit.frameHeight = length;
    if (field == EditField::FrameWidth) edit.frameWidth = length;
    if (field == EditField::BorderWidth) edit.borderWidth = length;
    controller_.editFrameLengths(edit);
    drawSwatchAfterEdit();
}

void FrameEditBar::stepFrameHeight(int step) {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    if (controller_.editUnits().Unit(EditField::FrameHeight) != LengthUnit::Pixels)
        return stepLength(EditField::FrameHeight, step);
    FrameEdit edit;
    edit.frameHeight = document->GetFrameHeight() + step;
    controller_.editFrame(edit);
    drawSwatchAfterEdit();
}

void FrameEditBar::stepFrameWidth(int step) {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    if (controller_.editUnits().Unit(EditField::FrameWidth) != LengthUnit::Pixels)
        return stepLength(EditField::FrameWidth, step);
    FrameEdit edit;
    edit.frameWidth = document->GetFrameWidth() + step;
    controller_.editFrame(edit);
    drawSwatchAfterEdit();
}

void FrameEditBar::stepBorderWidth(int step) {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    if (hasUnit(EditField::BorderWidth) &&
        controller_.editUnits().Unit(EditField::BorderWidth) != LengthUnit::Pixels)
        return stepLength(EditField::BorderWidth, step);
    FrameEdit edit;
    edit.borderWidth = document->GetBorderWidth() + step;
    controller_.editFrame(edit);
    drawSwatchAfterEdit();
}

void FrameEditBar::chooseUnit(EditField field, LengthUnit unit) {
    controller_.setLengthUnit(field, unit);
}

void FrameEditBar::choosePrintSize(int index) {
    if (index >= 0 && index < int(printSizes_.size()))
        controller_.setPrintSize(printSizes_[std::size_t(index)]);
    else
        controller_.setPrintDpi(dpiSpin->value());
}

void FrameEditBar::chooseDpi(int dpi) {
    if (controller_.editUnits().dpi != double(dpi)) controller_.setPrintDpi(dpi);
}

void FrameEditBar::openFrameColorChoice() {
    openColorChoice(ColorTarget::Frame);
}

void FrameEditBar::openBorderColorChoice() {
    openColorChoice(ColorTarget::Border);
}

void FrameEditBar::openColorChoice(ColorTarget target) {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    colorTarget_ = target;
    QFrame* swatch = target == ColorTarget::Frame ? frameColorSwatch : borderColorSwatch;
    const Color current =
        target == ColorTarget::Frame ? document->GetFrameColor() : document->GetBorderColor();
    colorChoice->popUp(controller_.photoColors(kPhotoColorCount), current,
                       swatch->mapToGlobal(QPoint(0, swatch->height() + 2)));
}

void FrameEditBar::chooseFrameColor() {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    const auto color = Dialogs::current().chooseColor(window(), document->GetFrameColor());
    if (color) setFrameColor(*color);
}

void FrameEditBar::chooseBorderColor() {
    const PhotoDocument* document = controller_.document();
    if (!document || !controller_.framing()) return;
    const auto color = Dialogs::current().chooseColor(window(), document->GetBorderColor());
    if (color) setBorderColor(*color);
}

void FrameEditBar::setFrameColor(Color color) {
    if (!controller_.framing()) return;
    // A colour replaces the fill pattern, and the swatch empties with it.
    swatchPicture_.canvas().brush.SetColor(kWhite);
    swatchPicture_.canvas().FillRect(Rect(0, 0, kSwatchSide, kSwatchSide));
    showSwatchPicture();
    controller_.setFrameColor(color);
}

void FrameEditBar::setBorderColor(Color color) {
    if (!controller_.framing()) return;
    controller_.setBorderColor(color);
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
        // Tab applies as Enter does, then moves on to the next box.
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (box && enter) {
            runCommand([this] { applyFields(); });
            return true;
        }
        if (box && tab) {
            const bool forward =
                key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
            runCommand([this, box, forward] {
                applyFields();
                focusNextBox(box, forward);
            });
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (watched == frameColorSwatch) {
                runCommand([this] { openFrameColorChoice(); });
                return true;
            }
            if (watched == borderColorSwatch) {
                runCommand([this] { openBorderColorChoice(); });
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
