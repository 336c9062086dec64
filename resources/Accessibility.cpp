#include "resources/Accessibility.h"

#include "resources/DialogBuilder.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>

namespace {
struct ControlName
{
    int id;
    const char* name;
};

// Controls whose name is not a caption of their own.
constexpr ControlName ControlNames[] = {
    {IdResultList, "Generated pairs"},
    {IdPairCount, "Number to Generate"},
    {IdCharacterCount, "Number of Characters"},
    {IdPassword, "Password"},
    {IdUsername, "Username"},
    {IdBigUsername, "Username"},
    {IdBigPassword, "Password"},
};

// The toolkit announces a checkable button that is not auto-exclusive as a check box. The choice
// buttons are kept exclusive by the window's handlers, not by the toolkit, so they say so themselves.
class ChoiceButtonInterface final : public QAccessibleWidget
{
public:
    explicit ChoiceButtonInterface(QAbstractButton* button) : QAccessibleWidget(button, QAccessible::RadioButton) { }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (button()->isEnabled())
            names.prepend(toggleAction());
        return names;
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == toggleAction() && button()->isEnabled())
            button()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* choiceButtonFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(ChoiceButton::staticMetaObject.className()))
        return new ChoiceButtonInterface(static_cast<ChoiceButton*>(object));
    return nullptr;
}
} // namespace

void describeControls(const BuiltControls& built, TipLookup tipFor)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(choiceButtonFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    // Each caption is its field's buddy, so that the field is labelled by it; a group is named by its
    // caption as an edit is, without the colon.
    const QLatin1Char colon(':');
    for (QWidget* widget : built.inCreationOrder) {
        if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            QString name = box->title();
            if (name.endsWith(colon))
                name.chop(1);
            box->setAccessibleName(name);
        }
        auto* label = qobject_cast<QLabel*>(widget);
        if (!label)
            continue;
        for (const ControlName& named : ControlNames) {
            QWidget* field = built.byId.value(named.id);
            if (field && label->text() == QString::fromLatin1(named.name) + colon)
                label->setBuddy(field);
        }
    }

    for (auto control = built.byId.cbegin(); control != built.byId.cend(); ++control) {
        QWidget* widget = control.value();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            widget->setAccessibleName(button->text().remove(QLatin1Char('&')));
        for (const ControlName& named : ControlNames) {
            if (named.id == control.key())
                widget->setAccessibleName(QString::fromLatin1(named.name));
        }
        if (tipFor)
            widget->setAccessibleDescription(QString::fromLatin1(tipFor(control.key())));
    }
}
