#pragma once

#include "support/ProjectBuilder.h"

#include <filesystem>

namespace orv::bench {

// A dense project of the kind the benchmarks measure: `scenes` scenes with
// both header statements on and all 20 slots holding objects of every type in
// turn, every statement switched on, the flags spread over 1 to 255; a cue
// card and an inventory item for every six scenes (every choice and every
// examine action changing a flag), a location for every ten; and two media
// folders.
struct LargeProjectShape {
    int scenes = 1000;
    // 0: each slot names one of a few thousand pictures and sounds; the
    // folders hold nine in ten of them (in another letter case) and a tenth
    // as many again that nothing names. Otherwise the references name this
    // many different files (half pictures, half sounds; fewer when there are
    // fewer references), every one of them present.
    int distinctFiles = 0;
    // Otherwise, when above 0: the picture references name this many
    // different files (fewer when there are fewer references), none of them
    // present, and the picture folder holds as many unused files of about
    // the same length (ten letters, give or take one, and an extension); one
    // in five of those is a slip of a missing name (a letter changed,
    // dropped or swapped, or another extension) and the rest are unrelated.
    // The sounds are those of the plain project.
    int nearMisses = 0;
    // Every slot a Flag Conjunction whose six conditions test flags outside
    // 1 to 255 (300 to 305), and the project otherwise empty: a valid
    // project that makes millions of findings.
    bool conjunctions = false;
    // With conjunctions: the conditions test flags 8 to 13, which nothing
    // changes, for 1: millions of tests that never hold, and results that
    // can never happen.
    bool deadEnds = false;
};

// The project without its scenes (those are many; see WriteLargeProject).
testing::ProjectBuilder LargeProjectBuilder(const LargeProjectShape& shape);
// Scene s (from 1) of the project.
SceneRecord LargeProjectScene(const LargeProjectShape& shape, int s);

// Writes the project into `folder`, the scenes one at a time; returns the
// path of its project file.
std::filesystem::path WriteLargeProject(const std::filesystem::path& folder, const LargeProjectShape& shape);

} // namespace orv::bench
