#include "app/dialogs/StoreFrameDialog.h"

#include "document/FramingRecord.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quillon {

namespace {

constexpr int kPreviewSide = 220;

QString SizeText(const PrintSize& s) {
    return QString::fromStdString(LengthValueText(s.width) + "x" + LengthValueText(s.height) + " " +
                                  UnitSuffix(s.unit));
}

} // namespace

const std::vector<StoreFrameSize>& CommonStoreFrames() {
    using U = LengthUnit;
    static const std::vector<StoreFrameSize> sizes = {
        {{10, 15, U::Centimetres}, {7, 10, U::Centimetres}},
        {{13, 18, U::Centimetres}, {9, 13, U::Centimetres}},
        {{20, 25, U::Centimetres}, {13, 18, U::Centimetres}},
        {{30, 40, U::Centimetres}, {20, 30, U::Centimetres}},
        {{5, 7, U::Inches}, {3.5, 5, U::Inches}},
        {{8, 10, U::Inches}, {5, 7, U::Inches}},
        {{11, 14, U::Inches}, {8, 10, U::Inches}},
    };
    return sizes;
}

std::optional<PrintSize> ParseSizeText(const std::string& text) {
    std::string t;
    for (char c : text)
        if (c != ' ') t += c;
    const auto x = t.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    double w = 0;
    const char* end = t.data() + x;
    const auto [p, ec] = std::from_chars(t.data(), end, w);
    const std::optional<Length> h = ParseLength(t.substr(x + 1));
    if (ec != std::errc() || p != end || !h || !h->IsPhysical() || !(w > 0) || !(h->value > 0))
        return std::nullopt;
    return PrintSize{w, h->value, h->unit};
}

StoreFrameDialog::StoreFrameDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("storeFrameDialog");
    setWindowTitle("Store Frame");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    sizeCombo = new QComboBox(this);
    sizeCombo->setObjectName("sizeCombo");
    sizeCombo->setAccessibleName("Frame size");
    sizeCombo->setToolTip("The bought frame's outer size; the result prints at this size");
    for (const StoreFrameSize& s : CommonStoreFrames()) sizeCombo->addItem(SizeText(s.outer));
    openingEdit = new QLineEdit(this);
    openingEdit->setObjectName("openingEdit");
    openingEdit->setAccessibleName("Mat opening");
    openingEdit->setToolTip("The mat's opening, width x height with a unit (9x13 cm, 5x7 in); "
                            "smaller than the frame both ways. The photo is cropped to its "
                            "proportions where the crop position puts it");
    dpiSpin = new QSpinBox(this);
    dpiSpin->setObjectName("dpiSpin");
    dpiSpin->setAccessibleName("Resolution in dots an inch");
    dpiSpin->setToolTip("Resize the photo to fill the opening at this many pixels an inch "
                        "(1 to 100000); \"keep\" keeps the photo's own pixels");
    dpiSpin->setRange(0, 100000);
    dpiSpin->setSpecialValueText("keep");
    dpiSpin->setSuffix(" dpi");
    form->addRow("&Frame size", sizeCombo);
    form->addRow("Mat &opening", openingEdit);
    cropSlider = new QSlider(Qt::Horizontal, this);
    cropSlider->setObjectName("cropSlider");
    cropSlider->setAccessibleName("Crop position");
    cropSlider->setToolTip("Where the photo is cut to the opening's proportions: from the left "
                           "(or top) to the right (or bottom); centred in the middle");
    cropSlider->setRange(0, 100);
    cropSlider->setValue(50);
    form->addRow("&Resolution", dpiSpin);
    form->addRow("&Crop position", cropSlider);
    layout->addLayout(form);
    previewLabel = new QLabel(this);
    previewLabel->setObjectName("previewLabel");
    previewLabel->setAccessibleName("Preview of the framed photo, to scale");
    previewLabel->setFixedSize(kPreviewSide, kPreviewSide);
    previewLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(previewLabel, 0, Qt::AlignHCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("&Frame");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("frameButton");
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(sizeCombo, &QComboBox::currentIndexChanged, this, &StoreFrameDialog::sizeChosen);
    connect(openingEdit, &QLineEdit::textChanged, this, &StoreFrameDialog::showPreview);
    connect(cropSlider, &QSlider::valueChanged, this, &StoreFrameDialog::showPreview);
    sizeCombo->setCurrentIndex(1);
    sizeChosen(1);
}

void StoreFrameDialog::sizeChosen(int index) {
    if (index < 0 || index >= int(CommonStoreFrames().size())) return;
    openingEdit->setText(SizeText(CommonStoreFrames()[std::size_t(index)].opening));
    showPreview();
}

void StoreFrameDialog::prepare(const QImage& photo) {
    photo_ = photo.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::FastTransformation);
    showPreview();
}

Recipe StoreFrameDialog::recipe() const {
    const int index = sizeCombo->currentIndex();
    const std::optional<PrintSize> opening = ParseSizeText(openingEdit->text().toStdString());
    if (!opening)
        throw RecipeError("The mat opening \"" + openingEdit->text().toStdString() +
                          "\" is not a size such as 9x13 cm or 5x7 in.");
    Recipe r;
    r.storeFrame = StoreFrame{CommonStoreFrames()[std::size_t(std::max(index, 0))].outer, *opening,
                              cropSlider->value() / 100.0};
    if (dpiSpin->value() > 0) r.dpi = dpiSpin->value();
    CheckRecipe(r);
    return r;
}

void StoreFrameDialog::showPreview() {
    QImage picture(kPreviewSide, kPreviewSide, QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    const std::optional<PrintSize> opening = ParseSizeText(openingEdit->text().toStdString());
    const int index = sizeCombo->currentIndex();
    if (opening && index >= 0 && !photo_.isNull()) {
        const PrintSize& outer = CommonStoreFrames()[std::size_t(index)].outer;
        double ow = InInches(outer.width, outer.unit), oh = InInches(outer.height, outer.unit);
        double iw = InInches(opening->width, opening->unit);
        double ih = InInches(opening->height, opening->unit);
        // The frame turns to the photo's orientation, as the recipe does.
        if ((photo_.width() > photo_.height()) != (iw > ih)) {
            std::swap(ow, oh);
            std::swap(iw, ih);
        }
        if (iw < ow && ih < oh) {
            const double scale = (kPreviewSide - 8) / std::max(ow, oh);
            const QRectF frame((kPreviewSide - ow * scale) / 2, (kPreviewSide - oh * scale) / 2,
                               ow * scale, oh * scale);
            const QRectF hole(frame.center().x() - iw * scale / 2,
                              frame.center().y() - ih * scale / 2, iw * scale, ih * scale);
            QPainter p(&picture);
            p.fillRect(frame, QColor(0xF4, 0xF1, 0xEA));
            p.setPen(QColor(90, 70, 40));
            p.drawRect(frame);
            // The photo cropped to the opening's proportions, the crop box
            // where the slider puts it.
            const double aspect = iw / ih, at = cropSlider->value() / 100.0;
            QRectF source(0, 0, photo_.width(), photo_.height());
            if (source.width() / source.height() > aspect) {
                const double spare = source.width() - source.height() * aspect;
                source.adjust(spare * at, 0, -spare * (1 - at), 0);
            } else {
                const double spare = source.height() - source.width() / aspect;
                source.adjust(0, spare * at, 0, -spare * (1 - at));
            }
            p.drawImage(hole, photo_, source);
        }
    }
    previewLabel->setPixmap(QPixmap::fromImage(picture));
}

} // namespace quillon
