// Makes the fader, bar graph, level meter and LED segment available to
// window descriptions (TSlider, TBarGraph, TLevelMeter, TLumi), with their
// published properties in declaration order.
#pragma once

namespace zentra {

// Registers them with the process-wide class registry; safe to call again.
void RegisterAudioControlClasses();

}  // namespace zentra
