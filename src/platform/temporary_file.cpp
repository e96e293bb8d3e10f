// SPDX-License-Identifier: MIT
// What the temporary files have in common on every system: their names, and the removal of
// those a gone process left.
#include <charconv>
#include <filesystem>

#include "platform/paths.h"
#include "platform/temporary_file.h"

namespace haoma::platform {

std::string temporaryPathFor(const std::string& target) {
    const std::filesystem::path path = toPath(target);
    return joinPath(fromPath(path.parent_path()),
                    "." + fromPath(path.filename()) + ".part-" + std::to_string(processId()));
}

int removeStaleTemporaries(const std::string& target) {
    const std::filesystem::path path = toPath(target);
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    const std::string prefix = "." + fromPath(path.filename()) + ".part-";
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(
             folder, std::filesystem::directory_options::none, ec)) {
        const std::string name = fromPath(entry.path().filename());
        if (!name.starts_with(prefix)) {
            continue;
        }
        const char* digits = name.data() + prefix.size();
        const char* end = name.data() + name.size();
        long pid = 0;
        const auto [stop, error] = std::from_chars(digits, end, pid);
        // A link is never followed; a file of another user, or of a process that runs (under
        // any user), is left alone.
        if (error != std::errc() || stop != end || pid <= 0 ||
            entry.symlink_status(ec).type() != std::filesystem::file_type::regular ||
            !ownedByThisUser(fromPath(entry.path())) || processRuns(pid)) {
            continue;
        }
        removed += std::filesystem::remove(entry.path(), ec) ? 1 : 0;
    }
    return removed;
}

}  // namespace haoma::platform
