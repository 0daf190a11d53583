// The POSIX file primitives of the private-profile engine (platform/profile/file_primitives.h):
// whole-file reads, the writers' lock (flock on the folder), and crash-safe replacement by a
// nameless temporary file renamed over the file, with an in-place fallback.
#pragma once

#include <string>
#include <string_view>

#include "platform/profile/file_primitives.h"

namespace morlane::platform::posix {

// True when errno after a failed read means "no such file" rather than "a file that cannot be
// read".
bool ReadFailedAsMissing(int error);

// Gives path the content. old is the current content, oldSt its status (nullptr: a new file).
bool ReplaceFile(const std::string& path, std::string_view old, const profile::Pieces& content,
                 const profile::FileStatus* oldSt, const profile::ReplaceOptions& options);

// A symbolic link is followed to the file it names, so that a write replaces that file and
// keeps the link.
std::string FollowSymlinks(std::string path);

}  // namespace morlane::platform::posix
