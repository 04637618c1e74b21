#pragma once

// Shows the system's text for the last error under " Fatal error in <step> "
// and returns when the user has closed the box.
void fatal_error(const char* step_name);
