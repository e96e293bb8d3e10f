// SPDX-License-Identifier: MIT
#pragma once
// A checksum of a segment store file, kept in its own header: a store this program wrote is
// checked in a few milliseconds at every open, so that damage is reported, never read as
// "no rows".

#include <cstdint>
#include <optional>
#include <string>

namespace haoma::lookup {

// The checksum kept in the header (the 4 bytes of the SQLite user version, big-endian); 0
// when the file has none (a store of another writer). Nothing when the file cannot be read.
std::optional<std::uint32_t> storedChecksum(const std::string& path, std::string& error);

// The checksum of the file's bytes with the header's checksum field read as zero; never 0.
// Nothing, with the reason, when the file cannot be read.
std::optional<std::uint32_t> fileChecksum(const std::string& path, std::string& error);

// Computes the checksum and writes it into the header. The empty text on success.
std::string stampChecksum(const std::string& path);

}  // namespace haoma::lookup
