// Small services for the configurator's windows: tooltips of the main
// dialog, the themed dialog background, centring on the screen, the GIF
// transparency colour chooser and its swatch, and pixel sizes at the
// system's DPI. The tooltip table and the
// centring arithmetic are plain data and code; the rest needs Win32.
#pragma once

struct MainTooltip {
    int control;
    const char* text;
};

enum { kMainTooltipCount = 9, kTooltipMaxWidth = 400 };

// The tooltips of the main dialog, in the order they are added.
extern const MainTooltip kMainTooltips[kMainTooltipCount];

// Where a window of that outer rectangle goes to sit in the middle of a
// screen of that size: integer halves, truncated toward zero, so a window
// wider than the screen gets a negative position.
void CenteredOrigin(long left, long top, long right, long bottom, long screenWidth,
                    long screenHeight, long* x, long* y);

#ifdef _WIN32
#include <windows.h>

// Creates the tooltip control of the main dialog and its nine tools,
// active when tooltipsOn is nonzero. Returns the control, null on failure.
HWND CreateMainTooltips(HWND dialog, int tooltipsOn);

// Gives the window the themed dialog background (with the tab texture when
// tabTexture is nonzero) where the visual-styles library is present.
// Returns 1 when the library's function was found and called.
int EnableDialogTheme(HWND window, int tabTexture);

// A length in pixels at 96 dots per inch, scaled to the system's DPI (144
// on a 150% screen): the programs declare themselves system-DPI-aware, so
// sizes given in pixels rather than dialog units are theirs to scale.
int ScaleToSystemDpi(int pixels);

// Moves the window to the middle of the primary screen and raises it.
void CenterWindowOnScreen(HWND window);

// Runs the colour dialog, opened on black with white custom colours.
// Returns 1 and stores the colour when the user confirms, 0 otherwise.
int PickTransparencyColor(HWND owner, COLORREF* colour);

// Makes the swatch brush anew from the colour and repaints the dialog; the
// previous brush is released. Returns the new brush.
HBRUSH RefreshColorSwatch(HWND dialog, COLORREF colour, HBRUSH previous);
#endif
