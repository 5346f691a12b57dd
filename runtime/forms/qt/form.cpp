#include "runtime/forms/qt/form.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "runtime/forms/announcements.h"
#include "runtime/forms/qt/accessibility.h"
#include "runtime/forms/qt/controls.h"
#include "runtime/forms/qt/layout_scale.h"

namespace parvolin::qt {
namespace {

QWidget* makeWidget(const ControlDesign& design, QWidget* parent) {
    switch (design.kind) {
    case ControlKind::Label: return new QLabel(fromUtf8(design.text), parent);
    case ControlKind::DropDownCombo: {
        // Made editable at once, so that its line edit joins the focus chain
        // in creation order.
        auto* box = new PlainDropDown(parent);
        for (std::string_view item : design.items) box->addItem(fromUtf8(item));
        box->setEditText(fromUtf8(design.text));
        return box;
    }
    case ControlKind::TextBox: return new QLineEdit(fromUtf8(design.text), parent);
    case ControlKind::MultiLineTextBox: {
        auto* box = new QPlainTextEdit(fromUtf8(design.text), parent);
        box->setWordWrapMode(QTextOption::WordWrap);  // Qt's default also breaks inside words
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);
        return box;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(fromUtf8(design.text), parent);
        // Never the default button: Enter in another box must not press it. A
        // plain widget has no default-button mechanism at all, so autoDefault
        // only makes Enter press the button while the button has the focus.
        button->setDefault(false);
        button->setAutoDefault(true);
        return button;
    }
    }
    throw std::invalid_argument("unknown control kind");
}

}  // namespace

void MessageBoxReporter::report(QWidget* window, std::string_view message) {
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), fromUtf8(message),
                    QMessageBox::Ok, window);
    // A typed text must never be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Created in the design's order: Qt chains the focus in creation order
// (setTabOrder on editable combos breaks the chain in Qt 6.4).
Form::Form(const FormDesign& design, ErrorReporter& reporter, QWidget* parent)
    : QWidget(parent), design_(design), reporter_(reporter), announcer_(*this) {
    installAccessibleInterfaces();
    setObjectName(fromUtf8(design.name));
    // A label names the box created right after it, for screen readers.
    QLabel* label = nullptr;
    for (const ControlDesign& control : design.controls) {
        QWidget* widget = createControl(control);
        if (label != nullptr) label->setBuddy(widget);
        label = qobject_cast<QLabel*>(widget);
    }
    setUpFrame();
    layOut();
    styleStatusBoxes();
    for (const EventBinding& binding : design.events) bindEvent(binding);
    focusChanges_ = connect(qApp, &QApplication::focusChanged, this,
                            [this](QWidget*, QWidget* now) { onFocusChanged(now); });
}

Form::~Form() { disconnect(focusChanges_); }

QWidget* Form::createControl(const ControlDesign& design) {
    QWidget* widget = makeWidget(design, this);
    widget->setObjectName(fromUtf8(design.name));
    if (!design.accessibleName.empty()) widget->setAccessibleName(fromUtf8(design.accessibleName));
    placeCaretBeforeFirstFocus(*widget);
    return widget;
}

// A fixed dialog frame with a caption and a close box only. A plain widget
// rather than a QDialog: a dialog would press a button on Enter and close on
// Escape.
void Form::setUpFrame() {
    setWindowTitle(fromUtf8(design_.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // The texts are English and the controls placed by coordinates: a
    // right-to-left session (or -reverse) would only half-mirror them,
    // flipping arrows and scroll bars and writing "!Calculate".
    setLayoutDirection(Qt::LeftToRight);
}

// Qt's logical pixels are 96-dpi pixels; its high-DPI scaling does the rest.
int Form::pixels(int twips) const { return twipsToPixels(twips, 96, scale_); }

QSize Form::clientSize() const {
    return {pixels(design_.clientWidth), pixels(design_.clientHeight)};
}

void Form::fitWithin(QSize room) {
    room_ = room;
    layOut();
}

// Places every control for the window's font: the twip grid grows with the
// font, as far as the room allows, and each label sizes itself to its
// caption in that font. Runs again when the font changes, so it must not
// throw: a control not made yet is skipped.
void Form::layOut() {
    scale_ = std::min(layoutScaleFor(*this, design_), scaleFitting(design_, room_));
    for (const ControlDesign& design : design_.controls) {
        auto* widget = findChild<QWidget*>(fromUtf8(design.name), Qt::FindDirectChildrenOnly);
        if (widget == nullptr) continue;
        if (design.kind == ControlKind::Label) {
            widget->move(pixels(design.place.left), pixels(design.place.top));
            widget->adjustSize();
        } else {
            widget->setGeometry(pixels(design.place.left), pixels(design.place.top),
                                pixels(design.place.width), pixels(design.place.height));
        }
    }
    setFixedSize(clientSize());
}

// Fusion draws a scroll area's frame as cosmetic lines along its last
// logical row and column; at a fractional scale (1.25, 1.5, 1.75) those fall
// on a part of a device pixel, are rounded past the box's edge and clipped
// away. Under Fusion the status box therefore gets a box frame, filled as
// rectangles that cover whole device pixels at every scale, in the outline
// colour Fusion gives the other boxes (the window colour darkened by 140 per
// cent). That colour follows the palette; any other style keeps its own
// frame, so that the box matches the boxes around it.
void Form::styleStatusBoxes() {
    const bool fusion = style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
    for (auto* box : findChildren<QPlainTextEdit*>(Qt::FindDirectChildrenOnly)) {
        if (!fusion) {
            box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            box->setPalette(QPalette());
            continue;
        }
        box->setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette outline = box->palette();
        outline.setColor(QPalette::WindowText, palette().color(QPalette::Window).darker(140));
        box->setPalette(outline);
    }
}

void Form::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange: layOut(); break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange: styleStatusBoxes(); break;
    default: break;
    }
}

void Form::bindEvent(const EventBinding& binding) {
    QWidget& source = control(binding.control);
    const Handler handler = binding.handler;
    switch (binding.event) {
    case ControlEvent::Pick:
        // activated is a pick from the list only: PlainDropDown sees to that.
        connect(&dynamic_cast<QComboBox&>(source), &QComboBox::activated, this,
                [this, handler] { run(handler); });
        break;
    case ControlEvent::Press:
        connect(&dynamic_cast<QPushButton&>(source), &QPushButton::clicked, this,
                [this, handler] { run(handler); });
        break;
    }
}

// The load handler fills the window before anyone sees it: it announces nothing.
void Form::load() {
    guard([this] { runHandlerReportingFailure(design_.load, *this, *this, design_); });
}

void Form::run(Handler handler) {
    guard([this, handler] { runEventHandler(handler, *this, *this, *this, design_); });
}

// Nothing a handler's report throws may reach Qt's event loop.
template <typename Step>
void Form::guard(Step step) noexcept {
    try {
        step();
    } catch (...) {
        // Reporting failed too (out of memory, say): the handler has ended and
        // the window stays usable, which is all that is left to keep.
    }
}

void Form::announce(std::string_view sentence) { announcer_.announce(fromUtf8(sentence)); }

void Form::showError(std::string_view message) { reporter_.report(this, message); }

// After an error the window is not active yet (the message box is still
// closing): Qt keeps the box as the focus to give back on activation, so that
// nothing else gets the focus on the way. Its text is selected only once it
// has the focus: selected before, a screen reader reads the selection out
// before it says where the focus is.
void Form::focusWithTextSelected(std::string_view name) {
    QWidget& box = control(name);
    box.setFocus(Qt::OtherFocusReason);
    if (box.hasFocus()) return selectAllOf(box);
    selectOnFocus_ = &box;
}

// Called as the focus moves, before Qt announces it: the selection follows
// the announcement. A focus that goes elsewhere in the window first (a click
// into another box) drops the selection to make.
void Form::onFocusChanged(QWidget* now) {
    if (selectOnFocus_ == nullptr || now == nullptr || now->window() != this) return;
    const QPointer<QWidget> box = std::exchange(selectOnFocus_, nullptr);
    if (now != box) return;
    QMetaObject::invokeMethod(
        this,
        [box] {
            if (box != nullptr && box->hasFocus()) selectAllOf(*box);
        },
        Qt::QueuedConnection);
}

void Form::selectAllOf(QWidget& box) {
    if (auto* combo = qobject_cast<QComboBox*>(&box); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    else if (auto* line = qobject_cast<QLineEdit*>(&box))
        line->selectAll();
    else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(&box))
        multiLine->selectAll();
}

QWidget& Form::control(std::string_view name) const {
    auto* widget = findChild<QWidget*>(fromUtf8(name), Qt::FindDirectChildrenOnly);
    if (widget == nullptr) throw std::out_of_range("no control named " + std::string(name));
    return *widget;
}

std::string Form::text(std::string_view name) const {
    QWidget& box = control(name);
    if (auto* combo = qobject_cast<QComboBox*>(&box)) return controlText(*combo);
    if (auto* line = qobject_cast<QLineEdit*>(&box)) return controlText(*line);
    if (auto* multiLine = qobject_cast<QPlainTextEdit*>(&box)) return controlText(*multiLine);
    throw std::invalid_argument(std::string(name) + " has no text to read");
}

void Form::setText(std::string_view name, std::string_view text) {
    QWidget& box = control(name);
    if (auto* combo = qobject_cast<QComboBox*>(&box)) return setControlText(*combo, text);
    if (auto* line = qobject_cast<QLineEdit*>(&box)) return setControlText(*line, text);
    if (auto* multiLine = qobject_cast<QPlainTextEdit*>(&box))
        return setControlText(*multiLine, text);
    throw std::invalid_argument(std::string(name) + " has no text to set");
}

QComboBox& Form::list(std::string_view name) const {
    auto* combo = qobject_cast<QComboBox*>(&control(name));
    if (combo == nullptr) throw std::invalid_argument(std::string(name) + " has no list");
    return *combo;
}

void Form::setListItem(std::string_view name, int index, std::string_view text) {
    qt::setListItem(list(name), index, text);
}

void Form::clearList(std::string_view name) { qt::clearList(list(name)); }

NumberLocale Form::numberLocale() const { return numberLocaleOf(QLocale()); }

}  // namespace parvolin::qt
