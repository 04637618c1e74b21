#include "shell/small_view.h"

#include "shell/error_text.h"
#include "shell/gl_api.h"
#include "shell/gl_version.h"
#include "shell/pixel_format.h"
#include "shell/run_log.h"
#include "shell/shell_calls.h"

#include <cstdio>
#include <string>

namespace {

constexpr char hidden_class[] = "QUILLMERE_OFFSCREEN";
constexpr GLenum framebuffer_target = 0x8D40;
constexpr GLenum renderbuffer_target = 0x8D41;
constexpr GLenum colour_attachment = 0x8CE0;
constexpr GLenum framebuffer_complete = 0x8CD5;
constexpr GLenum rgba8 = 0x8058;
constexpr GLenum bgra = 0x80E1; // OpenGL 1.2, and every context with framebuffer objects

// Why a step of the offscreen way failed, in the system's words.
std::string failure(const char* call)
{
    const DWORD error = GetLastError();
    return std::string(call) + " failed (" + (error ? error_text(error) : "no reason given") + ")";
}

// The renderer's name without what follows it in brackets:
// "llvmpipe (LLVM 15.0.6, 256 bits)" is "llvmpipe".
std::string renderer_name(const std::string& renderer)
{
    return renderer.substr(0, renderer.find(" ("));
}

} // namespace

const char* small_view::start(HWND window, small_view_scene& scene, bool try_offscreen)
{
    if (const char* failed = prepare(window, try_offscreen))
        return failed;
    return begin(scene);
}

const char* small_view::prepare(HWND window, bool try_offscreen)
{
    release();
    window_ = window;
    try_offscreen_ = try_offscreen;
    if (const char* failed = shell_calls.load_gl())
        return failed;
    RECT client;
    GetClientRect(window_, &client);
    width_ = client.right;
    height_ = client.bottom;
    if (const char* failed = make_frame())
        return failed;
    const std::string why = try_offscreen ? start_offscreen() : "the offscreen way not tried";
    if (why.empty()) {
        way_ = small_view_way::offscreen;
        const gl_version version = read_gl_version(gl_string(GL_VERSION));
        log_write("Small view: offscreen, %s (OpenGL %d.%d), light %s\n", renderer_name(gl_string(GL_RENDERER)).c_str(),
                  version.major, version.minor, offers_shaders(version) ? "per pixel" : "per vertex");
    } else {
        release();
        log_write("Small view: bitmap context (%s)\n", why.c_str());
        if (const char* failed = make_frame())
            return failed;
        if (const char* failed = make_context(frame_dc_, bitmap_pixel_format()))
            return failed;
        way_ = small_view_way::bitmap;
    }
    return nullptr;
}

const char* small_view::make_frame()
{
    frame_dc_ = CreateCompatibleDC(nullptr);
    if (!frame_dc_)
        return "CreateCompatibleDC";
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = height_; // from the bottom row up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    frame_ = CreateDIBSection(frame_dc_, &info, DIB_RGB_COLORS, &pixels_, nullptr, 0);
    if (!frame_)
        return "CreateDIBSection";
    first_bitmap_ = SelectObject(frame_dc_, frame_);
    return nullptr;
}

std::string small_view::start_offscreen()
{
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_OWNDC;
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = hidden_class;
    if (!RegisterClassExA(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return failure("RegisterClassEx");
    hidden_ = CreateWindowExA(WS_EX_TOOLWINDOW, hidden_class, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              window_class.hInstance, nullptr);
    if (!hidden_)
        return failure("CreateWindowEx");
    hidden_dc_ = GetDC(hidden_);
    if (!hidden_dc_)
        return failure("GetDC");
    if (const char* failed = make_context(hidden_dc_, render_pixel_format()))
        return failure(failed);
    const gl_version version = read_gl_version(gl_string(GL_VERSION));
    const framebuffer_calls calls = offered_framebuffers(version, gl_string(GL_EXTENSIONS));
    if (calls == framebuffer_calls::none || !load_gl_framebuffers(calls == framebuffer_calls::ext ? "EXT" : ""))
        return "no framebuffer objects in OpenGL " + std::to_string(version.major) + "." + std::to_string(version.minor);
    gl_fb.glGenFramebuffers(1, &framebuffer_);
    gl_fb.glBindFramebuffer(framebuffer_target, framebuffer_);
    gl_fb.glGenRenderbuffers(1, &renderbuffer_);
    return size_framebuffer();
}

std::string small_view::size_framebuffer()
{
    gl_fb.glBindRenderbuffer(renderbuffer_target, renderbuffer_);
    gl_fb.glRenderbufferStorage(renderbuffer_target, rgba8, width_, height_);
    gl_fb.glFramebufferRenderbuffer(framebuffer_target, colour_attachment, renderbuffer_target, renderbuffer_);
    const GLenum status = gl_fb.glCheckFramebufferStatus(framebuffer_target);
    if (status == framebuffer_complete)
        return {};
    char why[64];
    std::snprintf(why, sizeof why, "the framebuffer is incomplete: 0x%04X", static_cast<unsigned>(status));
    return why;
}

const char* small_view::make_context(HDC dc, const PIXELFORMATDESCRIPTOR& format)
{
    const int index = shell_calls.choose_format(dc, &format);
    if (index == 0)
        return "ChoosePixelFormat";
    if (!shell_calls.set_format(dc, index, &format))
        return "SetPixelFormat";
    context_ = shell_calls.create_context(dc);
    if (!context_)
        return "wglCreateContext";
    if (!shell_calls.make_current(dc, context_))
        return "wglMakeCurrent";
    return nullptr;
}

const char* small_view::begin(small_view_scene& scene)
{
    scene_ = &scene;
    SetLastError(0);
    if (!scene_->start(width_, height_))
        return "gl_init";
    // Something to show before the first frame is due.
    draw_frame(0);
    return nullptr;
}

const char* small_view::resize(int width, int height)
{
    if (width == width_ && height == height_)
        return nullptr;
    // A bitmap context keeps its bitmap: a new size is a new context.
    if (way_ != small_view_way::offscreen)
        return start(window_, *scene_, try_offscreen_);
    make_current();
    release_frame();
    width_ = width;
    height_ = height;
    if (const char* failed = make_frame())
        return failed;
    // Refused at this size: the offscreen way is tried afresh, and the log
    // says why it falls back.
    if (!size_framebuffer().empty())
        return start(window_, *scene_, try_offscreen_);
    return begin(*scene_);
}

void small_view::make_current() const
{
    if (gl.wglGetCurrentContext() != context_)
        gl.wglMakeCurrent(hidden_dc_ ? hidden_dc_ : frame_dc_, context_);
}

void small_view::draw_frame(float seconds)
{
    make_current();
    scene_->draw(seconds);
    if (way_ == small_view_way::offscreen)
        gl.glReadPixels(0, 0, width_, height_, bgra, GL_UNSIGNED_BYTE, pixels_);
    else
        gl.glFinish();
}

void small_view::render(float seconds)
{
    if (way_ == small_view_way::none)
        return;
    draw_frame(seconds);
    ++frames_;
}

void small_view::draw(float seconds, HDC shown)
{
    render(seconds);
    show(shown);
}

void small_view::show(HDC shown) const
{
    if (frame_dc_)
        BitBlt(shown, 0, 0, width_, height_, frame_dc_, 0, 0, SRCCOPY);
}

void small_view::release_frame()
{
    if (frame_dc_) {
        if (first_bitmap_)
            SelectObject(frame_dc_, first_bitmap_);
        DeleteDC(frame_dc_);
    }
    if (frame_)
        DeleteObject(frame_);
    frame_dc_ = nullptr;
    frame_ = nullptr;
    first_bitmap_ = nullptr;
    pixels_ = nullptr;
}

void small_view::release()
{
    if (context_) {
        if (framebuffer_) {
            make_current();
            gl_fb.glBindFramebuffer(framebuffer_target, 0);
            gl_fb.glDeleteFramebuffers(1, &framebuffer_);
            gl_fb.glDeleteRenderbuffers(1, &renderbuffer_);
        }
        if (gl.wglGetCurrentContext() == context_)
            gl.wglMakeCurrent(nullptr, nullptr);
        gl.wglDeleteContext(context_);
    }
    context_ = nullptr;
    framebuffer_ = renderbuffer_ = 0;
    if (hidden_) {
        if (hidden_dc_)
            ReleaseDC(hidden_, hidden_dc_);
        DestroyWindow(hidden_);
    }
    hidden_ = nullptr;
    hidden_dc_ = nullptr;
    release_frame();
    way_ = small_view_way::none;
}
