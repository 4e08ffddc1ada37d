// The file of the story steps the player has read, kept in the player's own data folder: one
// line a scene, "SCENE: STEP STEP-STEP …", after a first line naming the file's kind. Anything
// else (missing, cut off, another program's file, a folder, a pipe, too large) reads as nothing
// read yet; the next write puts a good file in its place where it can.
#pragma once

#include <string>

#include "state/read_steps.h"

namespace vern {

inline constexpr const char* kReadFileHead = "vernadora-read 1";
// Larger than every step of every scene written out; a larger file is not ours.
inline constexpr std::size_t kReadFileMaxBytes = 1 << 20;
// More steps than the whole story holds, many times over; a file whose runs name more is not
// ours either. (A few bytes name a run of 65,536 steps: without a bound a small damaged file
// would fill the memory before the game could start.)
inline constexpr std::size_t kReadFileMaxSteps = 1 << 16;

std::string FormatReadSteps(const ReadSteps& steps);
// False (and steps empty) when text is not a whole read file.
bool ParseReadSteps(const std::string& text, ReadSteps& steps);

// The steps read so far from path; empty for anything but a good file.
ReadSteps LoadReadFile(const std::string& path);
// Writes steps whole (a temporary file, then the rename; the folder made when missing). 0, or
// the errno of the failure; a folder, a pipe or a device at path is never written through.
int WriteReadFile(const std::string& path, const ReadSteps& steps);

} // namespace vern
