// The settings dialog's live water: a child window of class "WATER_PANE"
// that shows the process's scene, drawn with the dialog's current values at
// the pane's size, at most 30 frames a second and only while the dialog can
// be seen. The scene draws through an OpenGL context of the pane's own into
// a bitmap of the pane's size, which the pane then shows: a context on a
// bitmap works on every Windows (and under Wine, where a context on a child
// window draws nothing that can be seen). Where the pane can't have OpenGL
// it shows a line of text instead, and the log says why.
#pragma once
#include "scene/water_settings.h"

#include <windows.h>

#include <cstdint>

constexpr char water_pane_class[] = "WATER_PANE";
// What the pane shows where it has no OpenGL.
constexpr char pane_without_gl_text[] = "No OpenGL here: the water can't be shown";
// The frame timer's period: at most 30 frames a second.
constexpr UINT pane_frame_ms = 34;

// Registers the pane's window class; the dialog template names it.
bool register_water_pane();

class water_pane {
public:
    water_pane() = default;
    ~water_pane();
    water_pane(const water_pane&) = delete;
    water_pane& operator=(const water_pane&) = delete;

    // Takes over the pane window `window` (may be null) and sets up its
    // context and the scene with `settings`. Returns whether it draws.
    bool attach(HWND window, const water_settings& settings);
    // The dialog's controls moved: the next frame shows `settings`.
    void use(const water_settings& settings);
    bool drawing() const { return context != nullptr; }

private:
    friend LRESULT CALLBACK water_pane_proc(HWND, UINT, WPARAM, LPARAM);

    // The bitmap, the context and the scene for the pane's client size.
    // False, with the text shown and the reason logged, when they can't be
    // had.
    bool start();
    // Each step of start; the name of the call that failed, or null.
    const char* set_up();
    // Draws a frame (`advance`: the water moves on by the time since the
    // last) and shows it on `shown`.
    void draw_frame(bool advance, HDC shown);
    void release();

    HWND window = nullptr;
    HDC bitmap_dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ first_bitmap = nullptr; // the DC's own, put back before it goes
    HGLRC context = nullptr;
    int width = 0, height = 0;
    std::int64_t last_tick = 0; // the performance counter at the last frame
    int frames = 0;             // drawn with the water moving on
};

LRESULT CALLBACK water_pane_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
