#include "app/dialogs/ResizeDialog.h"

#include "canvas/Types.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace quillon {

ResizeDialog::ResizeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("resizeDialog");
    setWindowTitle("Resize Image");
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(240, 293);
    auto* form = new QFormLayout;
    originalWidthLabel = new QLabel(this);
    originalWidthLabel->setObjectName("originalWidthLabel");
    originalHeightLabel = new QLabel(this);
    originalHeightLabel->setObjectName("originalHeightLabel");
    form->addRow("Original Width", originalWidthLabel);
    form->addRow("Original Height", originalHeightLabel);
    aspectCheck = new QCheckBox("Maintain Aspect Ratio", this);
    aspectCheck->setObjectName("aspectCheck");
    aspectCheck->setChecked(true);
    form->addRow(aspectCheck);
    auto edit = [this, form](const char* name, const char* label) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        form->addRow(label, e);
        return e;
    };
    widthPercentEdit = edit("widthPercentEdit", "Width %");
    heightPercentEdit = edit("heightPercentEdit", "Height %");
    pixelWidthEdit = edit("pixelWidthEdit", "Pixel Width");
    pixelHeightEdit = edit("pixelHeightEdit", "Pixel Height");
    auto* buttons = new QDialogButtonBox(this);
    resizeButton = buttons->addButton("Resize", QDialogButtonBox::AcceptRole);
    resizeButton->setObjectName("resizeButton");
    resizeButton->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    cancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    cancelButton->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addStretch();
    top->addWidget(buttons);
    setTabOrder(aspectCheck, widthPercentEdit);
    setTabOrder(widthPercentEdit, heightPercentEdit);
    setTabOrder(heightPercentEdit, pixelWidthEdit);
    setTabOrder(pixelWidthEdit, pixelHeightEdit);
    setTabOrder(pixelHeightEdit, resizeButton);
    setTabOrder(resizeButton, cancelButton);

    const std::pair<const QLineEdit*, Edit> edits[] = {{widthPercentEdit, Edit::WidthPercent},
                                                       {heightPercentEdit, Edit::HeightPercent},
                                                       {pixelWidthEdit, Edit::PixelWidth},
                                                       {pixelHeightEdit, Edit::PixelHeight}};
    for (const auto& [e, which] : edits)
        connect(e, &QLineEdit::textChanged, this, [this, which] { editChanged(which); });
}

void ResizeDialog::prepare(int width, int height) {
    originalWidthLabel->setText(QString::number(width));
    originalHeightLabel->setText(QString::number(height));
    // Filling the edits must not run the linking.
    for (bool& g : guard_) g = true;
    setEdits(InitialResizeEdits(width, height));
    for (bool& g : guard_) g = false;
}

ResizeEdits ResizeDialog::edits() const {
    return {widthPercentEdit->text().toStdString(), heightPercentEdit->text().toStdString(),
            pixelWidthEdit->text().toStdString(), pixelHeightEdit->text().toStdString()};
}

void ResizeDialog::setEdits(const ResizeEdits& e) {
    auto set = [](QLineEdit* edit, const std::string& text) {
        const QString t = QString::fromStdString(text);
        if (edit->text() != t) edit->setText(t);
    };
    set(widthPercentEdit, e.WidthPerc);
    set(heightPercentEdit, e.HeightPerc);
    set(pixelWidthEdit, e.PixWidth);
    set(pixelHeightEdit, e.PixHeight);
}

void ResizeDialog::editChanged(Edit which) {
    const auto index = std::size_t(which);
    for (std::size_t i = 0; i < guard_.size(); ++i)
        if (i != index && guard_[i]) return;
    if (guard_[index]) return;
    guard_[index] = true;
    try {
        ResizeEdits e = edits();
        const float ow = ParseFloatText(originalWidthLabel->text().toStdString());
        const float oh = ParseFloatText(originalHeightLabel->text().toStdString());
        const bool aspect = aspectCheck->isChecked();
        switch (which) {
        case Edit::WidthPercent:
            WidthPercChanged(e, aspect, ow, oh);
            break;
        case Edit::HeightPercent:
            HeightPercChanged(e, aspect, ow, oh);
            break;
        case Edit::PixelWidth:
            PixWidthChanged(e, aspect, ow, oh);
            break;
        case Edit::PixelHeight:
            PixHeightChanged(e, aspect, ow, oh);
            break;
        }
        setEdits(e);
    } catch (const std::exception& err) {
        guard_[index] = false;
        if (showError)
            showError(err.what());
        else
            QMessageBox::critical(this, windowTitle(), QString::fromStdString(err.what()));
        return;
    }
    guard_[index] = false;
}

std::pair<int, int> ResizeDialog::requestedSize() const {
    const int h = ParseIntText(pixelHeightEdit->text().toStdString());
    const int w = ParseIntText(pixelWidthEdit->text().toStdString());
    CheckResizeSize(w, h);
    return {w, h};
}

} // namespace quillon
