// The settings dialog's live water: a child window of class "WATER_PANE"
// that shows the process's scene, drawn with the dialog's current values at
// the pane's size, at most 30 frames a second and only while the dialog can
// be seen: shown, not minimised, a display on and the session unlocked. It
// is a small view (shell/small_view.h): drawn offscreen, or on a bitmap, and
// shown with GDI. Where the pane can't have OpenGL it shows a line of text
// instead, in the user's language, and the log says why.
#pragma once
#include "scene/water_settings.h"
#include "shell/small_view.h"
#include "shell/viewer_watch.h"

#include <windows.h>

#include <cstdint>

constexpr wchar_t water_pane_class[] = L"WATER_PANE";
// The frame timer's period: at most 30 frames a second.
constexpr UINT pane_frame_ms = 34;

// Registers the pane's window class; the dialog template names it.
bool register_water_pane();

// The process's scene filling the pane: the whole picture, from a texture
// of about the pane's size, as in a preview.
class pane_scene : public small_view_scene {
public:
    bool start(int width, int height) override;
    void draw(float seconds) override;
};

class water_pane {
public:
    water_pane() = default;
    ~water_pane();
    water_pane(const water_pane&) = delete;
    water_pane& operator=(const water_pane&) = delete;

    // Takes over the pane window `window` (may be null) and sets up its
    // view and the scene with `settings`. Returns whether it draws.
    bool attach(HWND window, const water_settings& settings);
    // The dialog's controls moved: the next frame shows `settings`.
    void use(const water_settings& settings);
    bool drawing() const { return view.way() != small_view_way::none; }

private:
    friend LRESULT CALLBACK water_pane_proc(HWND, UINT, WPARAM, LPARAM);

    // What failed (from the view's start or resize), or null: logged, and
    // the text shown in place of the water. Returns whether it draws.
    bool report(const char* failed);

    HWND window = nullptr;
    pane_scene scene;
    small_view view;
    viewer_watch viewers; // displays off or the session locked: no frames
    std::int64_t last_frame = 0; // the performance counter at the last frame
};

LRESULT CALLBACK water_pane_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
