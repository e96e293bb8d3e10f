// SPDX-License-Identifier: MIT
#pragma once
// A fresh folder for one test, removed afterwards.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace haoma::test {

class TempDir {
  public:
    // A name no other folder has: create_directory fails on one that is there.
    TempDir() {
        const auto base = std::filesystem::temp_directory_path();
        auto seed = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        for (;;) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            path_ = base / ("haoma-test-" + std::to_string(seed >> 40));
            std::error_code ec;
            if (std::filesystem::create_directory(path_, ec)) {
                return;
            }
            if (ec) {
                throw std::filesystem::filesystem_error("cannot make a test folder", path_, ec);
            }
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(std::string_view name) const { return (path_ / name).string(); }
    std::string write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(file(name), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file(name);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace haoma::test
