#include "resources/DialogBuilder.h"

#include "resources/AppIcon.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <cmath>
#include <limits>

namespace {
const char* const ControlIdProperty = "varnelControlId";

int mulDiv(int value, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}
} // namespace

DialogUnits DialogUnits::forFont(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(alphabetWidth / 26 + 1) / 2, metrics.height()};
}

int DialogUnits::toPixelsX(int units) const
{
    return mulDiv(units, baseX, 4);
}

int DialogUnits::toPixelsY(int units) const
{
    return mulDiv(units, baseY, 8);
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    return {toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height)};
}

QFont dialogFont(int pointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
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
                auto* box = new QGroupBox(caption, parent);
                box->setAttribute(Qt::WA_TransparentForMouseEvents);
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
        QRect geometry = units.toPixels(control.x, control.y, control.width, control.height);
        if (control.kind == ControlKind::GroupBox) {
            // The layout puts the frame's top line, with the caption on it, half a text line below the
            // box's top; this style draws the caption above the line, so the box starts that much higher.
            geometry.setTop(geometry.top() - QFontMetrics(widget->font()).height() / 2);
        }
        widget->setGeometry(geometry);
        if (control.id != NoControlId) {
            widget->setProperty(ControlIdProperty, control.id);
            widget->setObjectName(QStringLiteral("control%1").arg(control.id));
            built.byId.insert(control.id, widget);
        }
        built.inCreationOrder.push_back(widget);
    }
    // Frames are drawn behind the buttons they surround, whatever their place in the creation order.
    for (QWidget* box : groupBoxes)
        box->lower();
    return built;
}
