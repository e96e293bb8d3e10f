// SPDX-License-Identifier: MIT
#include "generate/contains_automaton.h"

#include <algorithm>
#include <queue>
#include <string_view>

namespace haoma::generate {

ContainsAutomaton::ContainsAutomaton(const std::vector<std::string>& contains, DigitSet allowed) {
    std::vector<std::string> strings(contains);
    std::sort(strings.begin(), strings.end());
    strings.erase(std::unique(strings.begin(), strings.end()), strings.end());
    if (strings.size() > 64) {
        strings.resize(64);  // the command line refuses more
    }
    std::vector<std::array<int, 10>> child(1);
    child[0].fill(-1);
    output.assign(1, 0);
    std::vector<std::string> spelled(1);  // by state: the digits that lead to it
    for (std::size_t index = 0; index < strings.size(); ++index) {
        int state = 0;
        for (const char c : strings[index]) {
            // Filler digits never hold anything else, nor a digit the rule leaves out.
            if (c < '0' || c > '9' || !holds(allowed, c - '0')) {
                possible = false;
                break;
            }
            const auto digit = static_cast<std::size_t>(c - '0');
            if (child[static_cast<std::size_t>(state)][digit] < 0) {
                child[static_cast<std::size_t>(state)][digit] = static_cast<int>(child.size());
                child.emplace_back().fill(-1);
                output.push_back(0);
                spelled.push_back(spelled[static_cast<std::size_t>(state)] + c);
            }
            state = child[static_cast<std::size_t>(state)][digit];
        }
        output[static_cast<std::size_t>(state)] |= std::uint64_t{1} << index;
        wanted |= std::uint64_t{1} << index;
        stringLength.push_back(static_cast<std::uint8_t>(strings[index].size()));
    }
    // How many digits each string still needs from each state: its length less the longest
    // of its beginnings that the digits read end with (the state's spelling ends with all
    // of them).
    need.assign(spelled.size() * strings.size(), 0);
    for (std::size_t state = 0; state < spelled.size(); ++state) {
        const std::string_view read = spelled[state];
        for (std::size_t index = 0; index < strings.size(); ++index) {
            const std::string_view string = strings[index];
            std::size_t done = std::min(read.size(), string.size());
            while (done > 0 && !read.ends_with(string.substr(0, done))) {
                --done;
            }
            need[state * strings.size() + index] = static_cast<std::uint8_t>(string.size() - done);
        }
    }
    step.assign(child.size(), {});
    std::vector<int> fail(child.size(), 0);
    std::queue<int> queue;
    for (int digit = 0; digit < 10; ++digit) {
        const int next = child[0][static_cast<std::size_t>(digit)];
        step[0][static_cast<std::size_t>(digit)] = next < 0 ? 0 : next;
        if (next > 0) {
            queue.push(next);
        }
    }
    while (!queue.empty()) {
        const auto state = static_cast<std::size_t>(queue.front());
        queue.pop();
        output[state] |= output[static_cast<std::size_t>(fail[state])];
        for (std::size_t digit = 0; digit < 10; ++digit) {
            const int next = child[state][digit];
            const int fallback = step[static_cast<std::size_t>(fail[state])][digit];
            if (next < 0) {
                step[state][digit] = fallback;
            } else {
                fail[static_cast<std::size_t>(next)] = fallback;
                step[state][digit] = next;
                queue.push(next);
            }
        }
    }
}

}  // namespace haoma::generate
