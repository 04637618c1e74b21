// The settings dialog's pane as a small view, timed: the processor time a
// frame costs, offscreen and on a bitmap, for the water (the real scene with
// the stored settings) and for a bare quad of the same texture drawn the
// same way, at the pane's size for the DPI the process runs at.
//   small_view_bench [FRAMES [ROUNDS]]    (defaults 300 and 5)
// Prints one line for each way: the medians over the rounds of the CPU
// milliseconds a frame (every thread of the process: llvmpipe's too), water
// and bare quad, and their ratio. The rounds run the four in turn, in
// another order each time.
#include "res/resource_ids.h"
#include "scene/desktop_pixels.h"
#include "scene/desktop_texture.h"
#include "scene/water_saver.h"
#include "settings/reg_settings.h"
#include "shell/gl_api.h"
#include "shell/monitors.h"
#include "shell/run_log.h"
#include "shell/shell.h"
#include "shell/small_view.h"
#include "ui/config_dialog.h"
#include "ui/hyper_link.h"
#include "ui/water_pane.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

static run_log bench_log("small_view_bench.log");
hyper_link_class app_link_class;
reg_settings app_settings("Software\\Tovarind\\Quillmere");
water_saver app_scene;

namespace {

// The picture as one textured quad over the view, from a texture planned as
// the pane's is.
class bare_quad : public small_view_scene {
public:
    explicit bare_quad(const desktop_picture& picture) : picture(picture) {}
    bool start(int w, int h) override
    {
        width = static_cast<float>(w), height = static_cast<float>(h);
        gl.glClearColor(0, 0, 0, 1);
        gl.glEnable(GL_TEXTURE_2D);
        if (texture)
            gl.glDeleteTextures(1, &texture);
        gl.glGenTextures(1, &texture);
        gl.glBindTexture(GL_TEXTURE_2D, texture);
        upload_picture(picture, {0, 0, picture.width, picture.height},
                       plan_texture(read_gl_capabilities(), picture.width, picture.height, w, h, true));
        gl.glViewport(0, 0, w, h);
        gl.glMatrixMode(GL_PROJECTION);
        gl.glLoadIdentity();
        gl.glOrtho(0, w, h, 0, -1, 1);
        gl.glMatrixMode(GL_MODELVIEW);
        gl.glLoadIdentity();
        return true;
    }
    void draw(float) override
    {
        const mesh_vertex corners[4] = {{0, 0, 0, 1}, {width, 0, 1, 1}, {width, height, 1, 0}, {0, height, 0, 0}};
        const GLubyte order[6] = {0, 1, 2, 0, 2, 3};
        gl.glClear(GL_COLOR_BUFFER_BIT);
        gl.glBindTexture(GL_TEXTURE_2D, texture);
        gl.glEnableClientState(GL_VERTEX_ARRAY);
        gl.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        gl.glVertexPointer(2, GL_FLOAT, sizeof(mesh_vertex), &corners[0].x);
        gl.glTexCoordPointer(2, GL_FLOAT, sizeof(mesh_vertex), &corners[0].u);
        gl.glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, order);
        gl.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        gl.glDisableClientState(GL_VERTEX_ARRAY);
    }

private:
    const desktop_picture& picture;
    GLuint texture = 0;
    float width = 0, height = 0;
};

double cpu_seconds()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto seconds = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7; };
    return seconds(kernel) + seconds(user);
}

// The pane's client size in the settings dialog at this process's DPI.
SIZE pane_size(HINSTANCE instance)
{
    load_trackbar_class();
    register_water_pane();
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_CONFIG), nullptr,
                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    RECT client = {};
    GetClientRect(GetDlgItem(dialog, IDC_PANE), &client);
    DestroyWindow(dialog);
    return {client.right, client.bottom};
}

// CPU milliseconds a frame over `frames` frames of `scene` drawn `way` into `view_window`, after a few unmeasured.
double cpu_ms_a_frame(HWND view_window, small_view_scene& scene, bool offscreen, int frames)
{
    small_view view;
    if (const char* failed = view.start(view_window, scene, offscreen)) {
        std::fprintf(stderr, "small_view_bench: %s failed\n", failed);
        std::exit(2);
    }
    if ((view.way() == small_view_way::offscreen) != offscreen) {
        std::fprintf(stderr, "small_view_bench: the %s way is not to be had here\n", offscreen ? "offscreen" : "bitmap");
        std::exit(2);
    }
    HDC dc = GetDC(view_window);
    for (int k = 0; k < 5; ++k)
        view.draw(1 / 30.0f, dc);
    const double before = cpu_seconds();
    for (int k = 0; k < frames; ++k)
        view.draw(1 / 30.0f, dc);
    const double spent = cpu_seconds() - before;
    ReleaseDC(view_window, dc);
    return spent * 1000 / frames;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 300;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    app_instance = instance;
    const SIZE size = pane_size(instance);
    // The desktop as the dialog takes it, before any window of ours covers it.
    if (!app_scene.init_data())
        return 2;
    desktop_picture picture;
    const screen_rect area = virtual_screen();
    HBITMAP bitmap = capture_desktop(area);
    read_desktop_picture(bitmap, picture);
    DeleteObject(bitmap);

    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy, nullptr, nullptr, instance, nullptr);
    pane_scene water;
    bare_quad quad(picture);
    small_view_scene* scenes[2] = {&water, &quad};
    std::vector<double> spent[2][2]; // [offscreen][quad]
    for (int round = 0; round < rounds; ++round)
        for (int k = 0; k < 4; ++k) {
            const int turn = (k + round) % 4; // another order each round
            spent[turn / 2][turn % 2].push_back(cpu_ms_a_frame(window, *scenes[turn % 2], turn / 2 == 1, frames));
        }
    DestroyWindow(window);
    for (const int offscreen : {1, 0}) {
        const double pane = median(spent[offscreen][0]), bare = median(spent[offscreen][1]);
        std::printf("%s %ld x %ld: water %.2f ms, bare quad %.2f ms, ratio %.2f\n", offscreen ? "offscreen" : "bitmap",
                    size.cx, size.cy, pane, bare, pane / bare);
    }
    std::fflush(stdout);
    return 0;
}
