// What differs between the English and the Turkish build of the demo: the two
// scroll texts and when and where the second one follows the first. Each
// program is compiled with exactly one of these records (see kEdition in
// scroll_scene.cpp); nothing chooses between them at run time.
#pragma once

#include <SDL/SDL.h>

struct Edition {
    const char* firstMessage;   // one line of printable ASCII, rendered once
    const char* secondMessage;  // follows the first, drawn from secondMessageStart on
    Uint32 secondMessageStart;  // SDL_GetTicks() value from which the second text shows
    Sint32 secondMessageOffset; // pixels from the first text's left edge to the second's
};

extern const Edition kEnglishEdition;
extern const Edition kTurkishEdition;

// The record this program is built with; the build defines GLASS_EDITION_TR
// for the Turkish program.
#ifdef GLASS_EDITION_TR
inline const Edition& kEdition = kTurkishEdition;
#else
inline const Edition& kEdition = kEnglishEdition;
#endif
