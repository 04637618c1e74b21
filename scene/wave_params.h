#pragma once

// What the scene derives from the four slider settings.
struct wave_params {
    int columns = 0; // vertices per row (N)
    int rows = 0;    // rows of vertices (N)
    float speed = 0; // phase advance, radians per second
    float freq = 0;  // spatial frequency factor
    float amp = 0;   // displacement, in texture units
};

// From the settings' values on the 0..100 scale (already range-checked).
wave_params derive_wave_params(double quality, double speed, double freq, double amp);
