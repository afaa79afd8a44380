#pragma once

namespace qm {

struct Context;

// Converts the source window's text into the converted window with the loaded dictionary.
// Before any dictionary has loaded it says so and changes nothing.
// True when the converted window then shows the conversion of the source as it is now (false:
// no dictionary, cancelled or failed).
bool ConvertProgram(Context& context);

// Convert menu.
void MenuRunStart_Click(Context& context);
void MenuRunLine_Click(Context& context);
void MenuRunOptionSpace_Click(Context& context);
void MenuRunOptionBig_Click(Context& context);
void MenuRunOptionCaps_Click(Context& context);
// The real-time conversion, 300 ms after the last change of the source text.
void Timer1_Timer(Context& context);

inline constexpr int kRealTimeDelayMs = 300;

}  // namespace qm
