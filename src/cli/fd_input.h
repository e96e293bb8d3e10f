// SPDX-License-Identifier: MIT
#pragma once
// Standard input for a program that must answer Ctrl-C while it waits on a terminal or a
// pipe: the stream library retries a read that a signal broke off, so it would wait on.

#include <array>
#include <streambuf>

namespace haoma::cli {

class FdInputBuffer : public std::streambuf {
  public:
    // Reads descriptor `fd`. While `*interrupted` is non-zero the input ends (at most a
    // tenth of a second after the flag is set, whatever the reads wait on). A read error
    // sets errno and is thrown, which a std::istream turns into its bad bit.
    FdInputBuffer(int fd, const volatile int* interrupted) : fd_(fd), interrupted_(interrupted) {}

  protected:
    int_type underflow() override;

  private:
    int fd_;
    const volatile int* interrupted_;
    std::array<char, 1 << 16> buffer_{};
};

}  // namespace haoma::cli
