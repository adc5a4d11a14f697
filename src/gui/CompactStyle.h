// Controls as small as the templates make them: the desktop theme's padding and minimum sizes are meant for
// layouts that grow to fit, while a template fixes every rectangle in dialog units.
#pragma once

class wxWindow;

// Gives the window, and the controls in it, the compact style.
void ApplyCompactStyle(wxWindow& window);
