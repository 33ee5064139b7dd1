// Names of the installed skins ("skin\*.ini" beside the executable), packed
// once at start-up for the context menu: records of a 16-bit little-endian
// length (the name's bytes with its NUL) and the name, ended by a length of 0.
#pragma once

#include "toolkit/ByteBuffer.h"

constexpr int kMaxSkins = 50;

extern ByteBuffer gSkinList;

// Lists directory\skin\*.ini into list, at most kMaxSkins names in the file
// system's order. When the buffer cannot be made the list has no data at all,
// which users treat as an empty list.
void BuildSkinList(ByteBuffer& list, const char* directory);
// gSkinList from the executable's directory.
void BuildSkinList();

// Number of names, and the name at index or null; both safe on a list
// without data.
int SkinListCount(const ByteBuffer& list);
const char* SkinListName(const ByteBuffer& list, int index);
