// SPDX-License-Identifier: MIT
#include "lookup/store_checksum.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/paths.h"

namespace haoma::lookup {
namespace {

constexpr long kChecksumOffset = 60;  // the user version of the SQLite header
constexpr std::size_t kChunk = 1 << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::string& path, const char* mode, std::string& error) {
    File file(platform::openFile(path, mode));
    if (!file) {
        error = std::strerror(errno);
    }
    return file;
}

}  // namespace

std::optional<std::uint32_t> storedChecksum(const std::string& path, std::string& error) {
    const File file = openFile(path, "rb", error);
    std::array<unsigned char, 4> field{};
    if (!file) {
        return std::nullopt;
    }
    if (std::fseek(file.get(), kChecksumOffset, SEEK_SET) != 0 ||
        std::fread(field.data(), 1, field.size(), file.get()) != field.size()) {
        return 0U;  // too short to hold one: the open reports what is wrong
    }
    return (std::uint32_t{field[0]} << 24) | (std::uint32_t{field[1]} << 16) |
           (std::uint32_t{field[2]} << 8) | std::uint32_t{field[3]};
}

std::optional<std::uint32_t> fileChecksum(const std::string& path, std::string& error) {
    const File file = openFile(path, "rb", error);
    if (!file) {
        return std::nullopt;
    }
    // Eight bytes at a time, multiply and mix: a few milliseconds for tens of megabytes.
    std::vector<unsigned char> chunk(kChunk);
    std::uint64_t hash = 0x243F6A8885A308D3ULL;
    std::uint64_t length = 0;
    std::size_t read = 0;
    while ((read = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        if (length <= kChecksumOffset + 3 && length + read > kChecksumOffset) {
            for (long at = kChecksumOffset; at < kChecksumOffset + 4; ++at) {
                const auto offset = static_cast<std::uint64_t>(at) - length;
                if (offset < read) {
                    chunk[offset] = 0;
                }
            }
        }
        std::size_t at = 0;
        for (; at + 8 <= read; at += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, chunk.data() + at, 8);
            hash = (hash ^ word) * 0x9E3779B97F4A7C15ULL;
            hash ^= hash >> 31;
        }
        for (; at < read; ++at) {
            hash = (hash ^ chunk[at]) * 0x100000001B3ULL;
        }
        length += read;
    }
    if (std::ferror(file.get())) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    hash ^= length;
    const auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
    return folded == 0 ? 1U : folded;
}

std::string stampChecksum(const std::string& path) {
    std::string error;
    const auto checksum = fileChecksum(path, error);
    if (!checksum) {
        return "cannot read " + path + ": " + error;
    }
    const File file = openFile(path, "r+b", error);
    if (!file) {
        return "cannot write " + path + ": " + error;
    }
    const std::array<unsigned char, 4> field = {
        static_cast<unsigned char>(*checksum >> 24), static_cast<unsigned char>(*checksum >> 16),
        static_cast<unsigned char>(*checksum >> 8), static_cast<unsigned char>(*checksum)};
    if (std::fseek(file.get(), kChecksumOffset, SEEK_SET) != 0 ||
        std::fwrite(field.data(), 1, field.size(), file.get()) != field.size() ||
        std::fflush(file.get()) != 0) {
        return "cannot write " + path + ": " + std::strerror(errno);
    }
    return {};
}

}  // namespace haoma::lookup
