#pragma once

#include <string_view>
#include <vector>

// Right-button help of the main window: the lines each control explains itself
// with, and where the help panel stands.

namespace kwizmar {

struct THelpEntry {
    const char* H1;
    const char* H2;
    const char* H3; // "" for a two-line entry
};

// The help of a main-window control, by its name; nullptr for the controls
// that give none (group boxes, figures, the summary, "Oceny" ...).
const THelpEntry* HelpFor(std::string_view controlName);

// The names of all controls that have help, in no particular order.
std::vector<std::string_view> HelpControlNames();

// The help of the statistics window's spreadsheet export and class summary
// and of the class summary window's controls, by name; nullptr for others.
const THelpEntry* ResultsHelpFor(std::string_view controlName);
// The help of the analysis of the questions' controls, by name.
const THelpEntry* AnalysisHelpFor(std::string_view controlName);

struct TScreenPoint {
    int x = 0;
    int y = 0;
};

// The main window's outer frame on the screen, and the size of the client
// area inside it, where the panel is placed.
struct TWindowFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int clientWidth = 0;
    int clientHeight = 0;
};

struct THelpPlacement {
    int left = 0;
    int top = 0;
};

// Where the help panel of the given size goes for a press at `pointer`:
// the pointer's offset from the window's outer top-left corner, pulled back
// inside the window where it would pass the right edge (8 px inside) or come
// within 18 px of the bottom (then 36 px above it). Those rules measure the
// outer frame while the panel lies in the client area, so where a tall title
// bar would leave the panel's end cut off, it is pulled up or left to the
// client area's edge; and never left of or above the client area's corner.
THelpPlacement PlaceHelpPanel(TScreenPoint pointer, TWindowFrame window, int panelWidth,
                              int panelHeight);

} // namespace kwizmar
