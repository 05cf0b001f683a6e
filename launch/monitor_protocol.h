// The messages the configurator accepts from the engine: the monitor
// window's codes (WM_COMMAND, low word of wParam) and the relay messages on
// the main window, which carry the text of a hidden relay field across the
// process boundary into a line of the monitor window.
#pragma once

enum MonitorCode {
    kMonitorHide = 1,          // the window disappears
    kMonitorFirstRange = 400,  // first bar: range 0 to 100, step 1
    kMonitorFirstPos = 401,    // first bar: position := lParam
    kMonitorLine1Text = 402,   // line 1 := text at lParam (in-process senders only)
    kMonitorSecondRange = 403,
    kMonitorSecondPos = 404,
    kMonitorLine2Text = 405
};

enum RelayMessage {
    kRelayLine1 = 1242,  // relay field 1119 into line 1
    kRelayLine2 = 1243,  // relay field 1120 into line 2
    kRelayClose = 1244,  // lParam 0 hides the monitor window, any other destroys it
    kRelayLine3 = 1561   // relay field 1120 into line 3
};

enum { kRelayTextMax = 259 };  // the most characters a relay carries

// The fixed titles by which the engine finds the two windows.
inline constexpr char kMainWindowTitle[] = "Ombrello_zandrix Monitor";
inline constexpr char kMonitorWindowTitle[] = " Processing...";
