// The preview as a small view: drawn offscreen (or on a bitmap) by a context
// of its own and put into its window with GDI, as the settings dialog's pane
// is. Under Wine nothing a context draws on a child window can be seen, and
// on Windows a host sees the same frames either way.
#pragma once
#include "shell/small_view.h"

// The preview's view, from the render window's creation to its teardown.
extern small_view preview_view;

// The scene as the shell drives it, filling the preview: through gl_init
// (as the shell's call table has it) and gl_resize at the view's size, and
// gl_draw.
class preview_scene : public small_view_scene {
public:
    bool start(int width, int height) override;
    void draw(float seconds) override;
};
extern preview_scene preview_drawn;
