// SPDX-License-Identifier: MIT
#pragma once
// The temporary files that writes go through: a recognisable name beside the target, and
// the removal of those that a killed process left behind.

#include <string>

namespace haoma::lookup {

// ".NAME.part-PID" in the folder of `target`, for this process.
std::string temporaryPathFor(const std::string& target);

// Removes the files named ".NAME.part-PID" in `folder` whose process is gone; returns how
// many were removed. A file of a living process is left alone.
int removeStaleTemporaries(const std::string& folder);

}  // namespace haoma::lookup
