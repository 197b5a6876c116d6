// Reuse and prefaulting of large pixel buffers (see PixelAllocator.h).
//
// A program that frames one photo after another (a batch) allocates buffers
// of the same sizes again and again, and every fresh buffer is zeroed by the
// kernel page by page before it is used. Such a program may ask for freed
// large buffers to be kept, up to a limit, and handed out again for a
// request of the same size; a bitmap fills a kept buffer as it fills a fresh
// one.
#pragma once

#include <cstddef>

namespace quillon::pixel_memory {

// Keeps up to limitBytes of freed large buffers for reuse (0, the start:
// none); a lower limit frees the ones over it at once. When a freed buffer
// does not fit, the ones kept longest make room for it.
void KeepFreedBuffers(std::size_t limitBytes);
// The bytes of freed buffers kept now.
std::size_t KeptBytes();

// Has every fresh large buffer faulted in by a helper thread while its
// writer fills it (off at the start). It pays in a short run that writes each
// buffer once as soon as it is made, with a core to spare: a program framing
// one photo. In a long run that frees and makes buffers often (the desktop
// program) the freed memory is at hand again anyway and the helpers only
// compete with the writer.
void PrefaultFreshBuffers(bool on);

} // namespace quillon::pixel_memory
