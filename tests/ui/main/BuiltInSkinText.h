#pragma once

#include <string>

// The bytes of the built-in skin text: from the test program's own resources
// under Windows (it links the program's resource script), from the file that
// the resource script embeds elsewhere.
std::string BuiltInSkinText();

// src/resources/skin.ini, read from the source tree.
std::string BuiltInSkinFile();
