#include "app/dialogs/Resize.h"

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

TfrmResize::TfrmResize(QWidget* parent) : QDialog(parent) {
    setObjectName("frmResize");
    setWindowTitle("Resize Image");
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(240, 293);
    auto* form = new QFormLayout;
    lblWidth = new QLabel(this);
    lblWidth->setObjectName("lblWidth");
    lblHeight = new QLabel(this);
    lblHeight->setObjectName("lblHeight");
    form->addRow("Original Width", lblWidth);
    form->addRow("Original Height", lblHeight);
    cbAspect = new QCheckBox("Maintain Aspect Ratio", this);
    cbAspect->setObjectName("cbAspect");
    cbAspect->setChecked(true);
    form->addRow(cbAspect);
    auto edit = [this, form](const char* name, const char* label) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        form->addRow(label, e);
        return e;
    };
    edWidthPerc = edit("edWidthPerc", "Width %");
    edHeightPerc = edit("edHeightPerc", "Height %");
    edPixWidth = edit("edPixWidth", "Pixel Width");
    edPixHeight = edit("edPixHeight", "Pixel Height");
    auto* buttons = new QDialogButtonBox(this);
    btnResize = buttons->addButton("Resize", QDialogButtonBox::AcceptRole);
    btnResize->setObjectName("btnResize");
    btnResize->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    btnCancel = buttons->addButton(QDialogButtonBox::Cancel);
    btnCancel->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addStretch();
    top->addWidget(buttons);
    setTabOrder(cbAspect, edWidthPerc);
    setTabOrder(edWidthPerc, edHeightPerc);
    setTabOrder(edHeightPerc, edPixWidth);
    setTabOrder(edPixWidth, edPixHeight);
    setTabOrder(edPixHeight, btnResize);
    setTabOrder(btnResize, btnCancel);

    const QLineEdit* edits[] = {edWidthPerc, edHeightPerc, edPixWidth, edPixHeight};
    for (int i = 0; i < 4; ++i)
        connect(edits[i], &QLineEdit::textChanged, this, [this, i] { EditChanged(i); });
}

void TfrmResize::FormShow(int width, int height) {
    lblWidth->setText(QString::number(width));
    lblHeight->setText(QString::number(height));
    // Filling the edits must not run the linking.
    for (bool& g : guard_) g = true;
    SetEdits(InitialResizeEdits(width, height));
    for (bool& g : guard_) g = false;
}

ResizeEdits TfrmResize::Edits() const {
    return {edWidthPerc->text().toStdString(), edHeightPerc->text().toStdString(),
            edPixWidth->text().toStdString(), edPixHeight->text().toStdString()};
}

void TfrmResize::SetEdits(const ResizeEdits& e) {
    auto set = [](QLineEdit* edit, const std::string& text) {
        const QString t = QString::fromStdString(text);
        if (edit->text() != t) edit->setText(t);
    };
    set(edWidthPerc, e.WidthPerc);
    set(edHeightPerc, e.HeightPerc);
    set(edPixWidth, e.PixWidth);
    set(edPixHeight, e.PixHeight);
}

void TfrmResize::EditChanged(int which) {
    for (int i = 0; i < 4; ++i)
        if (i != which && guard_[i]) return;
    if (guard_[which]) return;
    guard_[which] = true;
    try {
        ResizeEdits e = Edits();
        const float ow = ParseFloatText(lblWidth->text().toStdString());
        const float oh = ParseFloatText(lblHeight->text().toStdString());
        const bool aspect = cbAspect->isChecked();
        switch (which) {
        case gWidthPerc:
            WidthPercChanged(e, aspect, ow, oh);
            break;
        case gHeightPerc:
            HeightPercChanged(e, aspect, ow, oh);
            break;
        case gPixWidth:
            PixWidthChanged(e, aspect, ow, oh);
            break;
        default:
            PixHeightChanged(e, aspect, ow, oh);
            break;
        }
        SetEdits(e);
    } catch (const std::exception& err) {
        guard_[which] = false;
        if (ShowError)
            ShowError(err.what());
        else
            QMessageBox::critical(this, windowTitle(), QString::fromStdString(err.what()));
        return;
    }
    guard_[which] = false;
}

std::pair<int, int> TfrmResize::RequestedSize() const {
    const int h = ParseIntText(edPixHeight->text().toStdString());
    const int w = ParseIntText(edPixWidth->text().toStdString());
    CheckResizeSize(w, h);
    return {w, h};
}

} // namespace quillon
