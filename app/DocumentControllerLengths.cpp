// The edit bar's lengths: units, the print size or resolution they are
// measured against, and the conversion to and from the frame's pixels.
#include "app/DocumentController.h"

#include "document/PhotoDocument.h"
#include "frames/FrameStyle.h"

#include <algorithm>
#include <string>

namespace quillon {

namespace {

// The frame's own limit, in pixels, of a length field.
int PixelLimit(const FrameStyle& frame, EditField field) {
    return field == EditField::BorderWidth ? frame.BorderWidthLimit() : frame.ThicknessLimit();
}

} // namespace

void DocumentController::setLengthUnit(EditField field, LengthUnit unit) {
    if (int(field) >= kLengthFieldCount) return;
    units_.units[std::size_t(field)] = unit;
    emit unitsChanged();
}

void DocumentController::setPrintSize(const PrintSize& size) {
    if (!(size.width > 0 && size.height > 0)) return;
    EditUnits units = units_;
    units.printSize = size;
    units.dpi.reset();
    changePrintBasis(units);
}

void DocumentController::setPrintDpi(double dpi) {
    if (!(dpi >= 1)) return;
    EditUnits units = units_;
    units.dpi = dpi;
    changePrintBasis(units);
}

void DocumentController::changePrintBasis(const EditUnits& units) {
    const EditUnits before = units_;
    units_ = units;
    // The current style's print lengths keep their length on the paper:
    // they are set again in pixels at the new resolution.
    LengthEdit physical;
    bool any = false;
    if (framing()) {
        const std::pair<EditField, std::optional<Length> LengthEdit::*> fields[] = {
            {EditField::FrameHeight, &LengthEdit::frameHeight},
            {EditField::FrameWidth, &LengthEdit::frameWidth},
            {EditField::BorderWidth, &LengthEdit::borderWidth}};
        for (const auto& [field, member] : fields)
            if (const auto given = record_.GivenLength(field); given && given->IsPhysical()) {
                physical.*member = given;
                any = true;
            }
    }
    if (any) {
        try {
            editFrameLengths(physical);
        } catch (...) {
            units_ = before;
            throw;
        }
    }
    // Print lengths of the stacked frames come to other pixels too. A frame
    // in progress is painted on the stack as it is; the stack follows when
    // that frame is applied.
    if (!framing() && stackHasPrintLengths()) {
        syncPrintBasis();
        renderStack();
        rebuildTopDocument();
        emit pictureChanged();
        resized();
    }
    emit unitsChanged();
}

bool DocumentController::stackHasPrintLengths() const {
    return std::any_of(stack_.Groups().begin(), stack_.Groups().end(),
                       [](const StackGroup& g) { return HasPrintLengths(g.group); });
}

int DocumentController::shorterSide() const {
    return std::min(record_.BaseWidth(), record_.BaseHeight());
}

double DocumentController::pixelsPerInch() const {
    if (record_.BaseWidth() <= 0 || record_.BaseHeight() <= 0) return 0;
    return PixelsPerInch(units_, record_.BaseWidth(), record_.BaseHeight());
}

int DocumentController::lengthInPixels(EditField field, const Length& length) const {
    const StyleInfo& info = StyleInfoOf(*style());
    // The mask's third field is a brightness: a plain number.
    if (field == EditField::BorderWidth && !info.thirdFieldIsLength) return int(length.value);
    const int pixels = LengthInPixels(length, shorterSide(), pixelsPerInch());
    // With a unit, a length may be up to half the shorter side, as in a
    // recipe; plain pixels go to the document, which ignores what is out of
    // its range.
    const int limit = shorterSide() / 2;
    if (length.unit != LengthUnit::Pixels && pixels > limit)
        throw SettingError(std::string(info.Caption(field)) + " " + FormatLength(length) + " is " +
                           std::to_string(pixels) + " pixels; this photo takes at most " +
                           std::to_string(limit) + " (half its shorter side)");
    return pixels;
}

void DocumentController::editFrameLengths(const LengthEdit& edit) {
    if (!framing()) return;
    // Every length is converted before anything changes.
    FrameEdit pixels;
    if (edit.frameHeight)
        pixels.frameHeight = lengthInPixels(EditField::FrameHeight, *edit.frameHeight);
    if (edit.frameWidth)
        pixels.frameWidth = lengthInPixels(EditField::FrameWidth, *edit.frameWidth);
    if (edit.borderWidth)
        pixels.borderWidth = lengthInPixels(EditField::BorderWidth, *edit.borderWidth);
    applyFrameEdit(pixels, edit);
}

double DocumentController::shownLength(EditField field) const {
    if (!framing()) return 0;
    int pixels = 0;
    switch (field) {
    case EditField::FrameHeight:
        pixels = document_->GetFrameHeight();
        break;
    case EditField::FrameWidth:
        pixels = document_->GetFrameWidth();
        break;
    case EditField::BorderWidth:
        pixels = document_->GetBorderWidth();
        if (!StyleInfoOf(*style()).thirdFieldIsLength) return pixels;
        break;
    default:
        return 0;
    }
    const LengthUnit unit = units_.Unit(field);
    // The length as typed, while it still gives the frame's pixels (a print
    // size changed since gives other pixels, shown converted).
    if (const auto given = record_.GivenLength(field);
        given && given->unit == unit && unit != LengthUnit::Pixels &&
        LengthInPixels(*given, shorterSide(), pixelsPerInch()) == pixels)
        return given->value;
    return PixelsInUnit(pixels, unit, shorterSide(), pixelsPerInch());
}

double DocumentController::lengthLimit(EditField field) const {
    if (!framing()) return 0;
    const FrameStyle& frame = *document_->CurrentFrame();
    const StyleInfo& info = StyleInfoOf(*style());
    const LengthUnit unit = units_.Unit(field);
    if (field == EditField::BorderWidth && !info.thirdFieldIsLength) return info.borderWidthLimit;
    if (unit == LengthUnit::Pixels) return PixelLimit(frame, field);
    return PixelsInUnit(shorterSide() / 2, unit, shorterSide(), pixelsPerInch());
}

Length DocumentController::clampedLength(EditField field, const Length& length) const {
    if (!framing() || int(field) >= kLengthFieldCount) return length;
    if (!(length.value > 0)) return {0, length.unit};
    const StyleInfo& info = StyleInfoOf(*style());
    const FrameStyle& frame = *document_->CurrentFrame();
    // The mask's brightness, and lengths in pixels, go to the document as
    // they are: their limits are the document's own.
    if (field == EditField::BorderWidth && !info.thirdFieldIsLength)
        return {std::min(length.value, double(info.borderWidthLimit)), length.unit};
    if (length.unit == LengthUnit::Pixels)
        return {std::min(length.value, double(PixelLimit(frame, field))), length.unit};
    // With a unit, up to half the photo's shorter side, given in the unit.
    const int limit = shorterSide() / 2;
    if (LengthInPixels(length, shorterSide(), pixelsPerInch()) <= limit) return length;
    return {PixelsInUnit(limit, length.unit, shorterSide(), pixelsPerInch()), length.unit};
}

} // namespace quillon
