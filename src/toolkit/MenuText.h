// Texts from outside the program (a station's name, an address, a file name)
// shown as menu items.
#pragma once

#include "toolkit/TextString.h"

// The text as a menu item shows it literally: "&" doubled (a single one
// underlines the character after it and vanishes) and a tab made a space (it
// would push what follows to the menu's right edge).
void MenuItemText(const char* text, TextString& out);
