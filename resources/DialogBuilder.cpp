#include "resources/DialogBuilder.h"

#include "resources/AppIcon.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {
const char* const ControlIdProperty = "varnelControlId";

int scaled(double value, double numerator, int denominator)
{
    return static_cast<int>(std::lround(value * numerator / denominator));
}

// How much wider the horizontal unit must be for each caption to fit its control, with a pixel to spare
// for rounding: 1 when all fit already.
double captionWidening(const std::vector<std::pair<QWidget*, const ControlLayout*>>& placed, const DialogUnits& units)
{
    double widening = 1.0;
    for (const auto& [widget, control] : placed) {
        int needed = 0;
        switch (control->kind) {
        case ControlKind::StaticText:
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
            needed = widget->sizeHint().width();
            break;
        case ControlKind::GroupBox:
            needed = widget->minimumSizeHint().width();
            break;
        default:
            break;
        }
        const double width = control->width * units.baseX / 4;
        if (needed > 0 && width > 0)
            widening = std::max(widening, (needed + 1) / width);
    }
    return widening;
}

bool inside(const ControlLayout& inner, const ControlLayout& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width
        && inner.y + inner.height <= outer.y + outer.height;
}

// A screen reader announces a radio button with the group it belongs to, which it learns from the
// widget tree: each radio button becomes a child of the group box around it, at the same place on the
// screen. Reparenting within one window keeps the focus chain, so the Tab order stays the creation order.
void adoptChoiceButtons(const std::vector<std::pair<QWidget*, const ControlLayout*>>& placed)
{
    for (const auto& [radio, control] : placed) {
        if (control->kind != ControlKind::RadioButton)
            continue;
        for (const auto& [box, frame] : placed) {
            if (frame->kind != ControlKind::GroupBox || !inside(*control, *frame))
                continue;
            const QRect geometry = radio->geometry().translated(-box->pos());
            radio->setParent(box);
            radio->setGeometry(geometry);
            break;
        }
    }
}
} // namespace

DialogUnits DialogUnits::forFont(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {static_cast<double>((alphabetWidth / 26 + 1) / 2), metrics.height()};
}

int DialogUnits::toPixelsX(int units) const
{
    return scaled(units, baseX, 4);
}

int DialogUnits::toPixelsY(int units) const
{
    return scaled(units, baseY, 8);
}

// The edges are mapped rather than the size, so that controls that meet in the layout meet on screen.
QRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    const int left = toPixelsX(x);
    const int top = toPixelsY(y);
    return {left, top, toPixelsX(x + width) - left, toPixelsY(y + height) - top};
}

QFont dialogFont(int pointSize)
{
    QFont font = QApplication::font();
    if (pointSize != DesktopPointSize)
        font.setPointSize(pointSize);
    return font;
}

void ChoiceButton::nextCheckState()
{
    setChecked(true);
}

int controlId(const QWidget* widget)
{
    if (!widget)
        return NoControlId;
    const QVariant id = widget->property(ControlIdProperty);
    return id.isValid() ? id.toInt() : NoControlId;
}

BuiltControls buildControls(QWidget* parent, const DialogLayout& layout, const DialogUnits& units,
                            const ControlFactory& factory)
{
    BuiltControls built;
    std::vector<QWidget*> groupBoxes;
    std::vector<std::pair<QWidget*, const ControlLayout*>> placed;
    for (const ControlLayout& control : layout.controls) {
        const QString caption = QString::fromLatin1(control.caption);
        QWidget* widget = factory ? factory(control, parent) : nullptr;
        if (!widget) {
            switch (control.kind) {
            case ControlKind::DefaultPushButton:
            case ControlKind::PushButton: {
                auto* button = new QPushButton(caption, parent);
                button->setAutoDefault(true);
                button->setDefault(control.kind == ControlKind::DefaultPushButton);
                widget = button;
                break;
            }
            case ControlKind::StaticText: {
                auto* label = new QLabel(caption, parent);
                label->setTextFormat(Qt::PlainText);
                widget = label;
                break;
            }
            case ControlKind::NumberEdit: {
                auto* edit = new QLineEdit(parent);
                edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
                widget = edit;
                break;
            }
            case ControlKind::TextEdit: {
                auto* edit = new QLineEdit(parent);
                edit->setMaxLength(std::numeric_limits<int>::max());
                widget = edit;
                break;
            }
            case ControlKind::RadioButton: {
                auto* radio = new ChoiceButton(caption, parent);
                radio->setAutoExclusive(false);
                widget = radio;
                break;
            }
            case ControlKind::GroupBox: {
                // Not transparent for the mouse: that would keep clicks from the buttons inside it too.
                auto* box = new QGroupBox(caption, parent);
                box->setFocusPolicy(Qt::NoFocus);
                groupBoxes.push_back(box);
                widget = box;
                break;
            }
            case ControlKind::CheckBox:
                widget = new QCheckBox(caption, parent);
                break;
            case ControlKind::Icon: {
                auto* label = new QLabel(parent);
                label->setPixmap(appIcon().pixmap(32, 32));
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                widget = label;
                break;
            }
            case ControlKind::ListView:
                widget = new QWidget(parent);
                break;
            }
        }
        placed.emplace_back(widget, &control);
        if (control.id != NoControlId) {
            widget->setProperty(ControlIdProperty, control.id);
            widget->setObjectName(QStringLiteral("control%1").arg(control.id));
            built.byId.insert(control.id, widget);
        }
        built.inCreationOrder.push_back(widget);
    }
    built.units = units;
    built.units.baseX *= captionWidening(placed, units);
    for (const auto& [widget, control] : placed) {
        QRect geometry = built.units.toPixels(control->x, control->y, control->width, control->height);
        if (control->kind == ControlKind::GroupBox) {
            // The layout puts the frame's top line, with the caption on it, half a text line below the
            // box's top; this style draws the caption above the line, so the box starts that much higher.
            geometry.setTop(geometry.top() - QFontMetrics(widget->font()).height() / 2);
        }
        widget->setGeometry(geometry);
    }
    // Frames are drawn behind the controls they surround, whatever their place in the creation order.
    for (QWidget* box : groupBoxes)
        box->lower();
    adoptChoiceButtons(placed);
    return built;
}
