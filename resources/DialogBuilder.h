#pragma once

#include "resources/Layouts.h"

#include <QFont>
#include <QHash>
#include <QRadioButton>
#include <QRect>

#include <functional>
#include <vector>

class QWidget;

// Dialog units of a font: the base units are the font's average character width and its height.
struct DialogUnits
{
    int baseX = 0;
    int baseY = 0;

    static DialogUnits forFont(const QFont& font);
    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int width, int height) const;
};

// The desktop's default sans-serif face at a given size, standing in for the layouts' own face.
QFont dialogFont(int pointSize);

// A radio button that the user can only choose, never clear by clicking it again; the window's own
// handlers keep each group to one choice.
class ChoiceButton final : public QRadioButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChoiceButton)

public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override;
};

// The id of a control built from a layout, or -1 for one without (labels, group boxes).
int controlId(const QWidget* widget);

struct BuiltControls
{
    QHash<int, QWidget*> byId;
    std::vector<QWidget*> inCreationOrder;
};

using ControlFactory = std::function<QWidget*(const ControlLayout&, QWidget* parent)>;

// Creates the controls of a layout as children of parent, in creation order (which is the Tab order),
// placed in pixels. The factory may supply a control itself; it returns nullptr to leave it to us.
BuiltControls buildControls(QWidget* parent, const DialogLayout& layout, const DialogUnits& units,
                            const ControlFactory& factory = {});
