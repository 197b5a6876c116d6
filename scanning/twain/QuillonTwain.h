/* The scanner access library: the four scanner entry points the program
   looks up by name, on top of SANE (libsane loaded at run time). The library
   cannot show windows or reach the program's clipboard, so the program hands
   it two callbacks after loading it: one that lets the user choose among the
   devices, and one that receives the scanned picture. */
#ifndef QUILLON_TWAIN_H
#define QUILLON_TWAIN_H

#ifdef __cplusplus
extern "C" {
#endif

/* Chooses a device: names[i] is the SANE name, labels[i] a readable
   description. Returns the index chosen, or -1 for none. */
typedef int (*QTwainChooseSource)(void* context, const char* const* names,
                                  const char* const* labels, int count);
/* Receives a scanned picture: 8-bit RGB, rows of width * 3 bytes, top row
   first. Returns nonzero when it took the picture. */
typedef int (*QTwainDeliverImage)(void* context, int width, int height, const unsigned char* rgb);

void QTWAIN_SetCallbacks(QTwainChooseSource choose, QTwainDeliverImage deliver, void* context);
/* The message of the last failure, or an empty text. */
const char* QTWAIN_LastError(void);

/* Receives one device found by QTWAIN_ListSources. */
typedef void (*QTwainSourceFound)(void* context, const char* name, const char* label);
/* Lists the devices SANE knows without showing anything, calling found once
   for each; it may run on a worker thread, one call at a time. Returns 1
   when SANE answered (with no device, perhaps), 0 when it could not be
   asked (QTWAIN_LastError says why). */
int QTWAIN_ListSources(QTwainSourceFound found, void* context);
/* The device later scans use (a name QTWAIN_ListSources gave). */
void QTWAIN_SetSource(const char* name);

int TWAIN_SelectImageSource(long parentWindow);
int TWAIN_LoadSourceManager(void);
int TWAIN_AcquireToClipboard(long window, long pixelTypes);
void TWAIN_UnloadSourceManager(void);

#ifdef __cplusplus
}
#endif

#endif
