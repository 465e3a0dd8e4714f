#pragma once
// Revisions of model objects: every change of an object's content gives it a revision no object
// has had before, and a copy carries its original's. So two equal revisions mean equal content,
// and whoever kept something worked out from an object can tell it is still good by its revision
// alone, without looking at the content.

#include <cstdint>

// A revision not handed out before in this process (never 0). Safe to call from several threads.
std::uint64_t NewRevision();
