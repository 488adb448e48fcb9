// Symbol visibility for the shared library: only what is marked VELMORA_API
// is exported from libvelmora.so.
#pragma once

#if defined(VELMORA_STATIC)
#define VELMORA_API
#else
#define VELMORA_API __attribute__((visibility("default")))
#endif
