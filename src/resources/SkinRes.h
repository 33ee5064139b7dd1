// The built-in skin's resources: its bitmap and its text, whose resource type
// is the program's own. Shared by the resource script and the canvas, so plain
// macros only.
#pragma once

#define IDB_SKIN 302
#define IDR_SKIN_TEXT 350
// A resource script names a type as a bare word, code as a string.
#ifdef RC_INVOKED
#define RT_SKIN_TEXT EXDAT
#else
#define RT_SKIN_TEXT "EXDAT"
#endif
