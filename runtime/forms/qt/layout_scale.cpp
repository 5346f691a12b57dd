#include "runtime/forms/qt/layout_scale.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QWidget>
#include <algorithm>
#include <limits>

#include "runtime/forms/qt/controls.h"

namespace parvolin::qt {
namespace {

// The font's size as drawn, in points at 96 dpi: Qt draws a point size at
// the screen's logical dpi, which Xft.dpi or QT_FONT_DPI raise wherever Qt's
// own scaling does not take them up; a pixel size is drawn as it is.
double drawnPoints(const QWidget& window) {
    const QFont& font = window.font();
    return font.pointSizeF() > 0 ? font.pointSizeF() * window.logicalDpiY() / 96.0
                                 : font.pixelSize() * 72.0 / 96.0;
}

// The scale at which `needed` pixels fit into `twips` of the design.
double scaleToHold(double needed, int twips) { return twips > 0 ? needed * 15.0 / twips : 1.0; }

// A label ends before the box it names begins, both placed as rounded.
double labelNeeds(const QLabel& label, const ControlDesign& design, const ControlDesign& box) {
    const int width = label.sizeHint().width(), room = box.place.left - design.place.left;
    double scale = scaleToHold(width, room);
    while (twipsToPixels(box.place.left, 96, scale) - twipsToPixels(design.place.left, 96, scale) <
           width)
        scale += scaleToHold(0.5, room);
    return scale;
}

// A combo box's edit field holds its widest item, with the line edit's
// margin of 2 pixels on each side; the arrow and frame around it do not grow.
double comboNeeds(const QComboBox& box, const ControlDesign& design) {
    int widest = 0;
    for (int item = 0; item < box.count(); ++item)
        widest = std::max(widest, box.fontMetrics().horizontalAdvance(box.itemText(item)));
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = true;
    option.rect = QRect(0, 0, design.place.width / 15, design.place.height / 15);
    const int chrome =
        option.rect.width() -
        box.style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box)
            .width();
    return scaleToHold(widest + 4 + chrome, design.place.width);
}

// A button's contents (inside its bevel and margins) hold its caption.
double buttonNeeds(const QPushButton& button, const ControlDesign& design) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.rect = QRect(0, 0, design.place.width / 15, design.place.height / 15);
    const int chrome =
        option.rect.width() -
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
    return scaleToHold(button.fontMetrics().horizontalAdvance(button.text()) + chrome,
                       design.place.width);
}

}  // namespace

double layoutScaleFor(const QWidget& window, const FormDesign& design) {
    double scale = layoutScale(drawnPoints(window));
    const auto& controls = design.controls;
    for (std::size_t at = 0; at < controls.size(); ++at) {
        const auto* widget =
            window.findChild<QWidget*>(fromUtf8(controls[at].name), Qt::FindDirectChildrenOnly);
        if (const auto* label = qobject_cast<const QLabel*>(widget);
            label != nullptr && at + 1 < controls.size())
            scale = std::max(scale, labelNeeds(*label, controls[at], controls[at + 1]));
        else if (const auto* box = qobject_cast<const QComboBox*>(widget))
            scale = std::max(scale, comboNeeds(*box, controls[at]));
        else if (const auto* button = qobject_cast<const QPushButton*>(widget))
            scale = std::max(scale, buttonNeeds(*button, controls[at]));
        if (qEnvironmentVariableIsSet("PARVOLIN_DEBUG"))
            qWarning("%s %f", controls[at].name.data(), scale);
    }
    return scale;
}

double scaleFitting(const FormDesign& design, QSize room) {
    if (!room.isValid()) return std::numeric_limits<double>::infinity();
    // A pixel spare, for the rounding of the scaled size.
    return std::max(1.0, std::min(scaleToHold(room.width() - 1, design.clientWidth),
                                  scaleToHold(room.height() - 1, design.clientHeight)));
}

}  // namespace parvolin::qt
