#pragma once

class TextString;

// The URL cut right behind its third "/" (searched from position 1, stepping
// over double-byte characters): "http://host:port/path" gives
// "http://host:port/". A URL with fewer than three is taken whole.
void CutServerRootUrl(const char* url, TextString& root);
