// SPDX-License-Identifier: MIT
#pragma once
// The temporary files that writes go through: a recognisable name beside the target,
// created so that no one can redirect them, and the removal of those that a killed process
// left behind.

#include <optional>
#include <string>

namespace haoma::lookup {

// The file a path names once its symbolic links are followed (the last link's target may
// not exist yet); nothing for a loop of links.
std::optional<std::string> followLinks(const std::string& path);

// ".NAME.part-PID" in the folder of `target`, for this process.
std::string temporaryPathFor(const std::string& target);

// Creates `path` anew with mode 0600: never through a symbolic link and never over a file
// that is there already (O_CREAT | O_EXCL | O_NOFOLLOW). The open descriptor, or -1 with
// errno set.
int createTemporary(const std::string& path);

// Removes the temporaries of `target` that a gone process left: ".NAME.part-PID" beside it,
// regular files (a link is not followed) owned by this user whose process is gone. Returns
// how many were removed; nothing else in the folder is touched.
int removeStaleTemporaries(const std::string& target);

}  // namespace haoma::lookup
