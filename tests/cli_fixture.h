// SPDX-License-Identifier: MIT
#pragma once
// haoma-cli in process through run(), on a small store of its own, and the real executable
// where the process matters.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "lookup/store_writer.h"
#include "platform/paths.h"
#include "temp_dir.h"

#ifndef HAOMA_CLI_PATH
#error "HAOMA_CLI_PATH names the built haoma-cli"
#endif

namespace haoma::cli {

struct Result {
    int status;
    std::string out, err;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::vector<lookup::SegmentRow> rows = {
            {"1390101", "北京市", "北京市", "中国移动", "010", "100000"},
            {"1300101", "北京市", "北京市", "中国联通", "010", "100000"},
            {"1330101", "北京市", "北京市", "中国电信", "010", "100000"},
            {"1380013", "广东省", "广州市", "中国移动", "020", "510000"},
            {"1700020", "广东省", "广州市", "中国移动(虚拟运营商)", "020", "510000"},
            {"1920755", "广东省", "深圳市", "中国广电", "0755", "518000"},
        };
        ASSERT_EQ(lookup::writeStore(dir.file("mobile.db"), rows, {{"source", "test store"}}), "");
        environment.programDirectory = dir.path().string();
    }

    Result cli(const std::vector<std::string>& args, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = run(args, in, out, err, environment);
        return {status, out.str(), err.str()};
    }

    static std::string slurp(const std::string& path) {
        std::ifstream file(platform::toPath(path), std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

    test::TempDir dir;
    Environment environment;
};

// What a shell command prints on its standard output.
inline std::string shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> chunk{};
    while (const std::size_t n = fread(chunk.data(), 1, chunk.size(), pipe)) {
        output.append(chunk.data(), n);
    }
    pclose(pipe);
    return output;
}

}  // namespace haoma::cli
