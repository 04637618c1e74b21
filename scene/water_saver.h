#pragma once

// The scene: the captured desktop, its texture, the grid and the waves.
class water_saver {
public:
    water_saver();
    virtual ~water_saver();
    bool init_data();
    bool init_gl();
    void draw(float seconds);
    void resize(int width, int height);
};

extern water_saver app_scene;
