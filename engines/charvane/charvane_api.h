// Binary interface of the code detector "CHARVANE.dll": one export,
// `Charvane`, with the C calling convention (__cdecl) and no name
// decoration, exported by name. Shared by our stand-in DLL and by the
// programs that import it, so that the two always agree. Plain C types only.
#pragma once

#if defined(_WIN32)
#define CHARVANE_API __cdecl
#else
#define CHARVANE_API
#endif

extern "C" {

// Looks at length bytes and returns the flag word of the codes they may be
// in, among the codes that mask names (see charvane_detect.h for the bits).
typedef unsigned int(CHARVANE_API* CharvaneFn)(const unsigned char* bytes, unsigned int mask, int length);

}  // extern "C"
