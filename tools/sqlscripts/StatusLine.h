// One line on a terminal's stderr kept up to date in place: redrawn at most ten times a second unless a
// change must show at once, cut to the terminal's width, and erased before other output. Not locked: its
// owner serialises the calls.
#pragma once

#include <chrono>
#include <string>

class StatusLine {
public:
    // Draws text (which starts with "sqlscripts:") in place of the line before; force: also when the line was
    // drawn less than a tenth of a second ago.
    void Draw(std::string text, bool force);
    void Erase();

private:
    std::chrono::steady_clock::time_point lastDraw_{};
    bool shown_ = false;
};
