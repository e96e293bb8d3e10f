// SPDX-License-Identifier: MIT
#include "platform/paths.h"

namespace haoma::platform {

std::string joinPath(std::string_view directory, std::string_view name) {
    return fromPath((toPath(directory) / toPath(name)).make_preferred());
}

std::optional<std::string> followLinks(const std::string& given) {
    std::filesystem::path path = toPath(given);
    std::error_code ec;
    for (int hops = 0; std::filesystem::is_symlink(path, ec); ++hops) {
        if (hops == 40) {
            return std::nullopt;
        }
        const auto link = std::filesystem::read_symlink(path, ec);
        if (ec) {
            break;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return fromPath(path);
}

std::string xdgDataDirectory(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + "/haoma";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share/haoma";
    }
    return {};
}

}  // namespace haoma::platform
