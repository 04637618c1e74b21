// The seven settings as the scene draws with them, on their stored scales:
// read from the store at the start of a run, or taken from the settings
// dialog's controls while they move.
#pragma once

struct water_settings {
    double quality = 50; // 0..100 each
    double speed = 50;
    double freq = 50;
    double amp = 50;
    bool radial = true;
    bool light = false;
    double rain = 0; // 0..100, 0: no drops
};
