#pragma once

struct BuiltControls;

// The tip of a control by its id, or nullptr for one without a tip.
using TipLookup = const char* (*)(int controlId);

// Gives the controls of a window what a screen reader announces: a name for every control that takes
// the focus (an edit is named by its label, without the colon, and labelled by it), the radio-button
// role for the choice buttons, a name for each group box, and, for a window with tips (a lookup given),
// each control's tip text as its description. Switching the tips off hides the pop-ups only; the
// descriptions stay.
void describeControls(const BuiltControls& built, TipLookup tipFor = nullptr);
