// The temporary files a save has in flight, removed if the program is ended
// by SIGINT, SIGTERM or SIGHUP before the save finishes.
//
// A fixed table of paths, written only outside signal handlers and read by
// the handler with nothing but atomic loads and unlink(), both safe in a
// signal handler. The handlers are installed at registration, for the
// signals whose action is the default (one that ends the program); an
// ignored signal stays ignored and a program's own handler is left in
// place, since the program then goes on or cleans up itself.
#pragma once

namespace quillon::temp_files {

// Notes path as a temporary file to remove should the program be ended.
// Returns a handle for Forget, or -1 when the path cannot be held (too long,
// or too many saves at once): the save goes on without the safety net.
int Remember(const char* path);

// The file at handle is renamed or removed: no longer the handler's concern.
void Forget(int handle);

} // namespace quillon::temp_files
