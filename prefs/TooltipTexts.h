#pragma once

#include <cstddef>
#include <span>

// The text field of one request for a tip's text: at most 79 characters and the terminating zero.
inline constexpr std::size_t TooltipTextFieldSize = 80;

struct TooltipRequest
{
    char text[TooltipTextFieldSize] = {};
};

struct TooltipRow
{
    int controlId;
    const char* text;
};

// Every control of the main window that explains itself, with its tip.
std::span<const TooltipRow> tooltipTable();

// The tip of a control, or nullptr for an id without one.
const char* TooltipTextFor(int controlId);

// Copies text with its terminating zero into the request; a text too long for the field is cut so that
// the zero still fits. A null text leaves the field as it is.
void copyTooltipText(TooltipRequest& request, const char* text);
