// Test MP3 files made by tests/servers/make_media.py. CTest runs it as a
// fixture and passes its directory in VELMORIN_MEDIA_DIR; a missing
// directory or file fails the test instead of skipping it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::string MediaPath(const std::string& name);
// The file's bytes; an empty vector (with a test failure recorded) when it
// cannot be read.
std::vector<std::uint8_t> ReadMedia(const std::string& name);
