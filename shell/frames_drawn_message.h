// The message every view that draws water answers with the frames it has
// drawn so far (the render window, the settings dialog's pane): one that
// rests is told from one that draws by a count that does not move.
#pragma once
#include <windows.h>

constexpr UINT frames_drawn_message = WM_APP + 0x37;
