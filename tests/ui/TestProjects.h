#pragma once

#include "support/ProjectBuilder.h"

#include <QByteArray>

#include <string>

namespace orv::testing {

// A project with `sceneCount` scenes whose flags the trackers find: each
// scene sets a flag on load, one object per scene tests one, the score uses
// flag 12, a cue card and an item change flags.
ProjectBuilder trackerProject(int sceneCount, const std::string& name = "Harbour Test");

// A project for the files manager: one missing and several unused files in
// each media folder, among them real BMP, JPEG and GIF pictures and a text
// file named like a picture.
ProjectBuilder filesProject();

// A picture of the given size encoded in `format` ("BMP", "JPEG", "PNG"),
// or a 1 by 1 GIF for "GIF".
std::string pictureBytes(const char* format, int width, int height);

} // namespace orv::testing
