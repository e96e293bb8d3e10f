// SPDX-License-Identifier: MIT
#pragma once
// Standard input for a program that must answer Ctrl-C while it waits on a terminal or a
// pipe: the stream library retries a read that a signal broke off, so it would wait on.
// Reads take what is there, as soon as it is there.

#include <array>
#include <streambuf>

namespace haoma::platform {

class InterruptibleInput : public std::streambuf {
  public:
    // Reads standard input. While `*interrupted` is non-zero the input ends (at most a tenth
    // of a second after the flag is set, whatever the reads wait on). A read error sets errno
    // and is thrown, which a std::istream turns into its bad bit.
    explicit InterruptibleInput(const volatile int* interrupted) : interrupted_(interrupted) {}

  protected:
    // Fills the buffer with what one read gives once something has come, never waiting to
    // fill it: a reader that takes in_avail() bytes sees the lines of a slow pipe as they come.
    int_type underflow() override;

  private:
    // Reads what is available into `into` (at most `room` bytes, waiting until something
    // is); 0 at the end of the input or once interrupted.
    std::size_t readSome(char* into, std::size_t room);

    const volatile int* interrupted_;
    std::array<char, 1 << 16> buffer_{};
};

}  // namespace haoma::platform
