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
    double baseX = 0;
    int baseY = 0;

    static DialogUnits forFont(const QFont& font);
    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int width, int height) const;
};

// The desktop's default font, standing in for the layouts' own face: at the size the desktop sets, or at
// the layout's own size where it has one.
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
    // The units the controls were placed in; the window takes its size in them too.
    DialogUnits units;
};

using ControlFactory = std::function<QWidget*(const ControlLayout&, QWidget* parent)>;

// Creates the controls of a layout as children of parent (a radio button as a child of the group box
// around it), in creation order (which is the Tab order), placed in pixels. Where the font is wider for
// its average character than the layouts' own face, the horizontal unit grows just enough for every
// caption to fit its control. The factory may supply a control itself; it returns nullptr to leave it
// to us.
BuiltControls buildControls(QWidget* parent, const DialogLayout& layout, const DialogUnits& units,
                            const ControlFactory& factory = {});
