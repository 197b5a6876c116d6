#include "app/EditBar.h"

#include "app/Dialogs.h"
#include "app/Mainfrm.h"
#include "app/QtBitmap.h"
#include "app/Wind.h"
#include "canvas/Canvas.h"
#include "document/Butbar.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>

#include <charconv>
#include <stdexcept>

namespace quillon {

namespace {

// Captions in the order FH, FW, BW, FC, BC, P, CB.
const std::array<TEditCaptions, 13> kCaptions = {{
    {"Frame Height", "Frame Width", "Border Width", "Frame Color", "Border Color", "Fill Pattern",
     ""},
    {"Matte Height", "Matte Width", "Border Width", "Matte Color", "Border Color", "Fill Pattern",
     ""},
    {"Horiz Edge", "Vertical Edge", "Thickness", "Background Color", "Border Color", "Fill Pattern",
     ""},
    {"Vertical Gap", "Horiz Gap", "Thickness", "Background Color", "Border Color", "Pattern", ""},
    {"Vertical Gap", "Horiz Gap", "Thickness", "Background Color", "Border Color", "Pattern", ""},
    {"Horizontal Color Band", "Vertical Color Band", "", "", "", "", ""},
    {"Frame Height", "Frame Width", "Thickness", "Frame Color", "Border Color", "Pattern", ""},
    {"Shadow Depth", "", "", "", "", "", ""},
    {"", "", "", "", "", "Picture Frame", ""},
    {"Spacing", "", "", "Shadow Color", "Border Color", "Pattern", "Realistic Shadow"},
    {"", "", "Brightness Level", "Background Color", "", "Mask", ""},
    {"", "", "", "", "", "Overlay", ""},
    {"Box Depth", "", "", "Box Color", "Picture Border Color", "Pattern", "Gradient Effect"},
}};

class THourglass {
public:
    THourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~THourglass() { QApplication::restoreOverrideCursor(); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};

constexpr Rect kSwatchRect{1, 1, 17, 17};

} // namespace

TEditCaptions EditBarCaptions(int style) {
    if (style < 0 || style >= int(kCaptions.size())) return {};
    return kCaptions[std::size_t(style)];
}

TEditBarPlaces EditBarLayout(const TEditCaptions& captions,
                             const std::function<int(int group)>& labelWidth) {
    TEditBarPlaces places{};
    int x = 5;
    for (int g = 0; g < kEditGroupCount; ++g) {
        const std::string& caption = captions[std::size_t(g)];
        TEditGroupPlace& place = places[std::size_t(g)];
        if (caption.empty()) continue;
        place.Visible = true;
        if (g == egCB) {
            place.ControlLeft = x;
            x += kCheckBoxWidth + 12;
            continue;
        }
        place.LabelLeft = x;
        x += labelWidth(g) + 3;
        place.ControlLeft = x;
        switch (g) {
        case egFH:
        case egFW:
        case egBW:
            x += kEditBoxWidth;
            place.UpDownLeft = x;
            x += kUpDownWidth + 12;
            break;
        case egFC:
        case egBC:
            x += kSwatchWidth + 12;
            break;
        default: // the pattern group advances by its image, not its panel
            x += kPatternImageWidth + 12;
            break;
        }
    }
    return places;
}

int EditBoxValue(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    // from_chars takes no '+', which the conversion accepts.
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (text.empty() || error != std::errc() || end != last)
        throw std::runtime_error("'" + text + "' is not a valid integer value");
    return value;
}

TEditBar::TEditBar(TfrmMain& main, QWidget* pnlEdit)
    : QObject(pnlEdit), PatternPicture(18, 18), main_(main) {
    QFont font("Arial");
    font.setPointSize(8);
    pnlEdit->setFont(font);
    QPalette black = pnlEdit->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    pnlEdit->setPalette(black);
    // A mouse move over the bar closes the decoration picker.
    pnlEdit->setMouseTracking(true);
    pnlEdit->installEventFilter(this);
    pnlEdit_ = pnlEdit;

    auto label = [pnlEdit](const char* name, const char* caption) {
        auto* l = new QLabel(QString::fromLatin1(caption), pnlEdit);
        l->setObjectName(name);
        l->adjustSize();
        l->move(0, 5);
        return l;
    };
    auto edit = [this, pnlEdit](const char* name) {
        auto* e = new QLineEdit(pnlEdit);
        e->setObjectName(name);
        e->setGeometry(0, 1, kEditBoxWidth, 21);
        e->setFocusPolicy(Qt::ClickFocus); // not a tab stop
        e->installEventFilter(this);
        return e;
    };
    auto swatch = [this, pnlEdit](const char* name, int w, int h) {
        auto* f = new QFrame(pnlEdit);
        f->setObjectName(name);
        f->setFrameShape(QFrame::Box);
        f->setGeometry(0, (24 - h) / 2, w, h);
        f->setAutoFillBackground(true);
        f->installEventFilter(this);
        return f;
    };

    lblFH = label("lblFH", "Frame Height");
    edFrameHeight = edit("edFrameHeight");
    FrameHeightUD = MakeUpDown(pnlEdit, "FrameHeightUD", &TEditBar::FrameHeightUDClick);
    lblFW = label("lblFW", "Frame Width");
    edFrameWidth = edit("edFrameWidth");
    FrameWidthUD = MakeUpDown(pnlEdit, "FrameWidthUD", &TEditBar::FrameWidthUDClick);
    lblBW = label("lblBW", "Border Width");
    edBorderWidth = edit("edBorderWidth");
    BorderWidthUD = MakeUpDown(pnlEdit, "BorderWidthUD", &TEditBar::BorderWidthUDClick);
    lblFC = label("lblFC", "Frame Color");
    pnlFrameColor = swatch("pnlFrameColor", kSwatchWidth, kSwatchHeight);
    SetSwatch(pnlFrameColor, RGB(128, 128, 0));
    lblBC = label("lblBC", "Border Color");
    pnlBorderColor = swatch("pnlBorderColor", kSwatchWidth, kSwatchHeight);
    SetSwatch(pnlBorderColor, kBlack);
    lblP = label("lblP", "Pattern");
    pnlPattern = swatch("pnlPattern", kPatternPanelWidth, kPatternPanelHeight);
    pnlPattern->setFrameShape(QFrame::NoFrame);
    Pattern = new QLabel(pnlPattern);
    Pattern->setObjectName("Pattern");
    Pattern->setGeometry(1, 1, kPatternImageWidth, kPatternPanelHeight - 2);
    Pattern->setScaledContents(true);
    Pattern->installEventFilter(this);
    PatternPicture.canvas().brush.SetColor(kWhite);
    PatternPicture.canvas().FillRect(Rect(0, 0, 18, 18));
    ShowPatternPicture();
    cbScaled = new QCheckBox(QStringLiteral("Scale To Fit"), pnlEdit);
    cbScaled->setObjectName("cbScaled");
    cbScaled->setLayoutDirection(Qt::RightToLeft); // caption on the left
    cbScaled->setChecked(true);
    cbScaled->setFocusPolicy(Qt::NoFocus);
    cbScaled->setGeometry(0, 2, kCheckBoxWidth, 20);
    connect(cbScaled, &QCheckBox::clicked, this,
            [this] { main_.RunCommand([this] { cbScaledClick(); }); });
}

QWidget* TEditBar::MakeUpDown(QWidget* parent, const char* name, void (TEditBar::*click)(int)) {
    auto* box = new QWidget(parent);
    box->setObjectName(name);
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
            [this, click] { main_.RunCommand([this, click] { (this->*click)(1); }); });
    connect(down, &QToolButton::clicked, this,
            [this, click] { main_.RunCommand([this, click] { (this->*click)(-1); }); });
    return box;
}

void TEditBar::SetSwatch(QFrame* swatch, Color color) {
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    swatch->setPalette(p);
}

void TEditBar::ShowPatternPicture() {
    Pattern->setPixmap(QPixmap::fromImage(ToQImage(PatternPicture)));
}

void TEditBar::SetEditBar(const TEditCaptions& captions) {
    QLabel* labels[] = {lblFH, lblFW, lblBW, lblFC, lblBC, lblP};
    for (int g = 0; g < egCB; ++g) {
        const std::string& caption = captions[std::size_t(g)];
        if (!caption.empty()) {
            labels[g]->setText(QString::fromStdString(caption));
            labels[g]->adjustSize();
        }
    }
    const TEditBarPlaces places =
        EditBarLayout(captions, [&labels](int group) { return labels[group]->width(); });
    QWidget* controls[][2] = {{edFrameHeight, FrameHeightUD}, {edFrameWidth, FrameWidthUD},
                              {edBorderWidth, BorderWidthUD}, {pnlFrameColor, nullptr},
                              {pnlBorderColor, nullptr},      {pnlPattern, nullptr}};
    for (int g = 0; g < egCB; ++g) {
        const TEditGroupPlace& place = places[std::size_t(g)];
        labels[g]->setVisible(place.Visible);
        for (QWidget* c : controls[g])
            if (c) c->setVisible(place.Visible);
        if (!place.Visible) continue;
        labels[g]->move(place.LabelLeft, labels[g]->y());
        controls[g][0]->move(place.ControlLeft, controls[g][0]->y());
        if (controls[g][1]) controls[g][1]->move(place.UpDownLeft, controls[g][1]->y());
    }
    const TEditGroupPlace& cb = places[egCB];
    cbScaled->setVisible(cb.Visible);
    if (cb.Visible) {
        cbScaled->setText(QString::fromStdString(captions[egCB]));
        // The designed 101 pixels clip longer captions in larger fonts; the
        // box is the bar's last group, so widening it moves nothing.
        cbScaled->setGeometry(cb.ControlLeft, cbScaled->y(),
                              std::max(kCheckBoxWidth, cbScaled->sizeHint().width()),
                              cbScaled->height());
    }
}

void TEditBar::FillEditBoxes() {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return;
    edFrameHeight->setText(QString::number(doc->GetFrameHeight()));
    edFrameWidth->setText(QString::number(doc->GetFrameWidth()));
    edBorderWidth->setText(QString::number(doc->GetBorderWidth()));
    SetSwatch(pnlFrameColor, doc->GetFrameColor());
    SetSwatch(pnlBorderColor, doc->GetBorderColor());
    cbScaled->setChecked(doc->GetScaled());
    Canvas& canvas = PatternPicture.canvas();
    const Bitmap* pattern = doc->GetPatternBitmap(); // also refreshes PatternName
    if (!doc->PatternName.empty() && pattern && !pattern->Empty())
        canvas.StretchDraw(kSwatchRect, *pattern);
    else
        canvas.Rectangle(kSwatchRect);
    ShowPatternPicture();
}

void TEditBar::RepaintPatternSwatch() {
    TButtonBar* doc = main_.Document.get();
    Canvas& canvas = PatternPicture.canvas();
    canvas.brush.SetColor(kWhite);
    canvas.FillRect(kSwatchRect);
    const Bitmap* pattern = doc ? doc->GetPatternBitmap() : nullptr;
    if (pattern && !pattern->Empty()) canvas.StretchDraw(kSwatchRect, *pattern);
    ShowPatternPicture();
}

void TEditBar::Redraw(bool adjust) {
    TButtonBar* doc = main_.Document.get();
    {
        THourglass hourglass;
        doc->DrawPictureCentred();
        doc->DrawFrame();
    }
    if (adjust) main_.AdjustWindow();
    if (main_.frmWindow) main_.frmWindow->ImageChanged();
}

void TEditBar::FrameHeightUDClick(int button) {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return;
    if (button != 0) doc->SetFrameHeight(doc->GetFrameHeight() + button);
    Redraw(true);
    FillEditBoxes();
}

void TEditBar::FrameWidthUDClick(int button) {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return;
    if (button != 0) doc->SetFrameWidth(doc->GetFrameWidth() + button);
    Redraw(true);
    FillEditBoxes();
}

void TEditBar::BorderWidthUDClick(int button) {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return;
    if (button != 0) doc->SetBorderWidth(doc->GetBorderWidth() + button);
    Redraw(false);
    FillEditBoxes();
}

void TEditBar::ProcessKeyPress() {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return;
    struct TBox {
        QLineEdit* Edit;
        void (TButtonBar::*Set)(int);
        int (TButtonBar::*Get)() const;
    };
    const TBox boxes[] = {
        {edFrameHeight, &TButtonBar::SetFrameHeight, &TButtonBar::GetFrameHeight},
        {edFrameWidth, &TButtonBar::SetFrameWidth, &TButtonBar::GetFrameWidth},
        {edBorderWidth, &TButtonBar::SetBorderWidth, &TButtonBar::GetBorderWidth},
    };
    for (const TBox& box : boxes) {
        if (box.Edit->isHidden()) continue;
        const int value = EditBoxValue(box.Edit->text().toStdString());
        if (value < 0) return;
        (doc->*box.Set)(value);
        box.Edit->setText(QString::number((doc->*box.Get)()));
    }
}

void TEditBar::EnterPressed(QLineEdit* box) {
    ProcessKeyPress();
    if (box == edFrameHeight)
        FrameHeightUDClick(0);
    else if (box == edFrameWidth)
        FrameWidthUDClick(0);
    else
        BorderWidthUDClick(0);
}

void TEditBar::pnlFrameColorClick() {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return;
    const auto color = Dialogs().ChooseColor(&main_, doc->GetFrameColor());
    if (!color) return;
    doc->SetPattern("");
    PatternPicture.canvas().brush.SetColor(kWhite);
    PatternPicture.canvas().FillRect(Rect(0, 0, 18, 18));
    ShowPatternPicture();
    doc->SetFrameColor(*color);
    SetSwatch(pnlFrameColor, *color);
    Redraw(false);
}

void TEditBar::pnlBorderColorClick() {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return;
    const auto color = Dialogs().ChooseColor(&main_, doc->GetBorderColor());
    if (!color) return;
    doc->SetBorderColor(*color);
    SetSwatch(pnlBorderColor, *color);
    Redraw(false);
}

void TEditBar::cbScaledClick() {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return;
    doc->SetScaled(cbScaled->isChecked());
    Redraw(true);
    FillEditBoxes();
}

void TEditBar::PatternClick() {
    main_.TogglePatternPicker();
}

bool TEditBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* box = qobject_cast<QLineEdit*>(watched);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool tab = key->key() == Qt::Key_Tab && box == edFrameHeight;
        if (box && (enter || tab)) {
            main_.RunCommand([this, box] { EnterPressed(box); });
            return true;
        }
    } else if (event->type() == QEvent::MouseMove && watched == pnlEdit_) {
        main_.ClosePatternPicker();
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (watched == pnlFrameColor) {
                main_.RunCommand([this] { pnlFrameColorClick(); });
                return true;
            }
            if (watched == pnlBorderColor) {
                main_.RunCommand([this] { pnlBorderColorClick(); });
                return true;
            }
            if (watched == pnlPattern || watched == Pattern) {
                main_.RunCommand([this] { PatternClick(); });
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quillon
