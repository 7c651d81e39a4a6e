// The binary interface of the hanja-to-Hangul converter "Tibrel.dll", for
// the converter itself and for the programs that import it.
//
//   int HanjaToHangeul(wchar_t* text, int reserved)   (cdecl, by name)
//
// text is a NUL-terminated UTF-16 string, rewritten in place: every hanja
// the converter knows becomes its Hangul reading, everything else stays. The
// text never grows (a hanja outside the basic plane, two units, becomes one
// syllable). reserved is 0. Returns the number of hanja replaced.
#pragma once

#ifdef _WIN32
#define TIBREL_API __cdecl
#else
#define TIBREL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif
typedef int(TIBREL_API* HanjaToHangeulFn)(wchar_t* text, int reserved);
#ifdef __cplusplus
}
#endif
