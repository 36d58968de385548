// The red and white bar with its percentage, drawn straight into a stage
// dialog's client area over the frame control. Set up once per stage, drawn
// any number of times, torn down before the dialog ends.
#pragma once

#include <windows.h>

#include <cstdint>

// Takes the dialog's drawing context, places the bar (CurrentGauge), creates
// and selects the drawing objects, centres the dialog and sets StageActive.
// Draws nothing.
void GaugeSetUp(HWND dialog);

// Red up to `fillEdge`, white after it, the percentage over both; sets
// LastPercent.
void GaugeDraw(std::int32_t fillEdge, std::int32_t percent);

// Restores what GaugeSetUp replaced, deletes what it created and releases
// the context.
void GaugeTearDown(HWND dialog);
