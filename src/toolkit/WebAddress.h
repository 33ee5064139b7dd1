// The test that a text handed to the shell from elsewhere (a stream's
// header, a playlist, a favorite) is a web address and not a program or
// document path.
#pragma once

// True for "http://" or "https://" (any letter case) followed by at least
// one character.
bool IsWebAddress(const char* text);
