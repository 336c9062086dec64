#include "LayoutFaults.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace {

QString nameOf(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return QStringLiteral("\"%1\"").arg(button->text());
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return QStringLiteral("\"%1\"").arg(label->text());
    if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        return QStringLiteral("\"%1\"").arg(box->title());
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// The widgets a user reads or works: captions, edits, the list, the menu bar.
bool isControl(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLabel*>(widget)
        || qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QGroupBox*>(widget)
        || qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QMenuBar*>(widget);
}

// The room a button leaves for its caption once its frame, or its indicator, is drawn.
QRect captionRoom(const QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QRadioButton*>(button))
        element = QStyle::SE_RadioButtonContents;
    else if (qobject_cast<const QCheckBox*>(button))
        element = QStyle::SE_CheckBoxContents;
    else if (const auto* push = qobject_cast<const QPushButton*>(button);
             push && (push->autoDefault() || push->isDefault()))
        option.features |= QStyleOptionButton::AutoDefaultButton;
    return button->style()->subElementRect(element, &option, button);
}

bool captionFits(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        const QRect room = captionRoom(button);
        const QFontMetrics metrics = button->fontMetrics();
        const QString text = QString(button->text()).remove(u'&');
        return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->wordWrap())
            return label->heightForWidth(label->width()) <= label->height();
        const QFontMetrics metrics = label->fontMetrics();
        const QRect room = label->contentsRect();
        return metrics.horizontalAdvance(label->text()) <= room.width() && metrics.height() <= room.height();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        return box->minimumSizeHint().width() <= box->width();
    if (const auto* menuBar = qobject_cast<const QMenuBar*>(widget))
        return menuBar->sizeHint().width() <= menuBar->width();
    return true;
}

// A group box covers the buttons inside its frame by design; only its caption must stay clear of them.
QRect coveredArea(const QWidget* widget, const QWidget& window)
{
    const QRect area(widget->mapTo(&window, QPoint(0, 0)), widget->size());
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (!box)
        return area;
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    return caption.translated(area.topLeft());
}

} // namespace

QStringList layoutFaults(const QWidget& window)
{
    QList<const QWidget*> controls;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible() || !isControl(widget))
            continue;
        // A list's own scroll bars and header, or the parts of a compound control, are its business.
        bool inside = false;
        for (const QWidget* up = widget->parentWidget(); up && up != &window; up = up->parentWidget())
            inside = inside || qobject_cast<const QAbstractItemView*>(up);
        if (!inside)
            controls.append(widget);
    }

    QStringList faults;
    const QRect windowArea = window.rect();
    for (const QWidget* control : std::as_const(controls)) {
        if (!captionFits(control))
            faults.append(QStringLiteral("%1 is cut off").arg(nameOf(control)));
        const QRect area(control->mapTo(&window, QPoint(0, 0)), control->size());
        if (!windowArea.contains(area))
            faults.append(QStringLiteral("%1 reaches past the window's edge").arg(nameOf(control)));
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QWidget* first = controls[i];
            const QWidget* second = controls[j];
            if (first->isAncestorOf(second) || second->isAncestorOf(first))
                continue;
            if (coveredArea(first, window).intersects(coveredArea(second, window)))
                faults.append(QStringLiteral("%1 and %2 overlap").arg(nameOf(first), nameOf(second)));
        }
    }
    return faults;
}
