// A small view of the water: a window the size of a preview or of the
// settings dialog's pane. It is drawn offscreen by a GL context of its own,
// on a hidden top-level window, into a framebuffer object of the view's
// size; the frame is read back and put into the view's window with GDI.
// Where the context has no framebuffer objects (Windows' own OpenGL 1.1) a
// context on a bitmap of the view's size draws it instead. Either way the
// view's window gets only GDI's pixels: under Wine a context on a child
// window shows nothing.
#pragma once
#include <windows.h>
#include <GL/gl.h>

#include <string>

// What a small view draws, in its context: the scene, or a benchmark's
// bare quad.
class small_view_scene {
public:
    virtual ~small_view_scene() = default;
    // The view is width x height: textures and grid for that size, in the
    // context current now (new, or the one before at another size). False
    // when it can't be set up.
    virtual bool start(int width, int height) = 0;
    // One frame, the water moved on by `seconds`.
    virtual void draw(float seconds) = 0;
};

enum class small_view_way { none, offscreen, bitmap };

class small_view {
public:
    small_view() = default;
    ~small_view() { release(); }
    small_view(const small_view&) = delete;
    small_view& operator=(const small_view&) = delete;

    // Sets up `scene` in `window` at its client size: prepare, then begin.
    const char* start(HWND window, small_view_scene& scene, bool try_offscreen = true);
    // A context for `window` at its client size, current: offscreen where
    // it can be had (and `try_offscreen`), else on a bitmap; the log says
    // which way, and why not offscreen. Null, or the name of the call that
    // failed with the system's error code left for the report.
    const char* prepare(HWND window, bool try_offscreen = true);
    // Sets up `scene` in the context and draws a first frame, not shown.
    // Null, or "gl_init" when the scene could not be set up.
    const char* begin(small_view_scene& scene);
    // The window's client size changed: the frame and the scene follow.
    // Null, or what failed, as start says.
    const char* resize(int width, int height);
    // Draws the next frame, the water moved on by `seconds`, and shows it
    // on `shown` (the window's DC): render, then show.
    void draw(float seconds, HDC shown);
    // Draws the next frame into the view's bitmap, not yet shown.
    void render(float seconds);
    // Shows the last frame again (a repaint).
    void show(HDC shown) const;
    // Everything goes: the framebuffer, the bitmap, the context and the
    // hidden window, with the scene's textures and program in the context.
    void release();

    small_view_way way() const { return way_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Frames drawn with the water moving on, since the view was made.
    int frames() const { return frames_; }
    // The device context the GL context draws with.
    HDC gl_dc() const { return hidden_dc_ ? hidden_dc_ : frame_dc_; }

private:
    const char* make_frame();
    // The offscreen way; an empty text, else why it can't be had.
    std::string start_offscreen();
    std::string size_framebuffer();
    // Pixel format and context on `dc`, made current; null, or the call
    // that failed.
    const char* make_context(HDC dc, const PIXELFORMATDESCRIPTOR& format);
    void draw_frame(float seconds);
    void make_current() const;
    void release_frame();

    HWND window_ = nullptr;
    small_view_scene* scene_ = nullptr;
    bool try_offscreen_ = true;
    small_view_way way_ = small_view_way::none;
    int width_ = 0, height_ = 0;
    int frames_ = 0;
    // The frame as GDI shows it: a 32-bit bitmap, rows from the bottom, as
    // OpenGL reads them.
    HDC frame_dc_ = nullptr;
    HBITMAP frame_ = nullptr;
    HGDIOBJ first_bitmap_ = nullptr; // the DC's own, put back before it goes
    void* pixels_ = nullptr;
    HGLRC context_ = nullptr;
    // The offscreen way's hidden window and framebuffer.
    HWND hidden_ = nullptr;
    HDC hidden_dc_ = nullptr;
    GLuint framebuffer_ = 0, renderbuffer_ = 0;
};
