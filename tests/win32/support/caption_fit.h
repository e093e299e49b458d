#pragma once
// Whether a window's captions fit their controls, from the measures the
// test hook takes in the program itself (OpenMenuReader::MeasureCaptions).

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// One line for each control whose caption does not fit, saying by how much;
// empty when all fit (and when `measures` is empty, so check that apart).
// Check boxes need room for the check glyph (13 pixels at 96 DPI, scaled)
// and the gap after it (half a "0"); push buttons for their edges; group
// boxes for their caption's indent; labels must hold their text wrapped at
// their width, or on one line when they do not wrap.
std::vector<std::string> CaptionsThatDoNotFit(const std::wstring& measures, UINT dpi);

}  // namespace e2e
