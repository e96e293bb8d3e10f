// SPDX-License-Identifier: MIT
// haoma-cli.exe as a Windows process: arguments read as UTF-16 whatever the code page, paths
// in Chinese with spaces, a reader that goes away, Ctrl-Break through the console handler.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "cli_fixture.h"
#include "platform/paths.h"
#include "platform/windows_text.h"

namespace haoma::cli {
namespace {

using platform::windows::widen;

// A pipe whose one end the child inherits.
struct Pipe {
    HANDLE read = nullptr, write = nullptr;
    explicit Pipe(bool childReads) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        CreatePipe(&read, &write, &inherit, 0);
        SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0);
    }
    ~Pipe() {
        close(read);
        close(write);
    }
    static void close(HANDLE& handle) {
        if (handle != nullptr) {
            CloseHandle(handle);
            handle = nullptr;
        }
    }
};

std::string readAll(HANDLE from) {
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(from, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        text.append(chunk, got);
    }
    return text;
}

// haoma-cli with these arguments, quoted for its command line, on pipes of its own.
class Child {
  public:
    explicit Child(const std::vector<std::string>& args, DWORD flags = 0) {
        std::wstring line = L"\"" + widen(HAOMA_CLI_PATH) + L"\"";
        for (const auto& arg : args) {
            line += L" \"" + widen(arg) + L"\"";
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in_.read;
        startup.hStdOutput = out_.write;
        startup.hStdError = err_.write;
        started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                  nullptr, &startup, &process_) != 0;
        Pipe::close(in_.read);
        Pipe::close(out_.write);
        Pipe::close(err_.write);
        errors_ = std::thread([this] { err = readAll(err_.read); });
    }
    ~Child() {
        Pipe::close(in_.write);
        Pipe::close(out_.read);
        if (started_) {
            WaitForSingleObject(process_.hProcess, INFINITE);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
        errors_.join();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return process_.dwProcessId; }
    void write(std::string_view text) {
        DWORD wrote = 0;
        WriteFile(in_.write, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    }
    void closeInput() { Pipe::close(in_.write); }
    std::string readOutput() { return readAll(out_.read); }
    // Reads `bytes` of the output, then goes away as `head` does.
    std::string readThenLeave(std::size_t bytes) {
        std::string text(bytes, '\0');
        DWORD got = 0;
        ReadFile(out_.read, text.data(), static_cast<DWORD>(bytes), &got, nullptr);
        text.resize(got);
        Pipe::close(out_.read);
        return text;
    }
    // Waits for the end; the exit status, or nothing when it had not ended after `wait`.
    std::optional<DWORD> exitStatus(DWORD waitMilliseconds = INFINITE) {
        if (WaitForSingleObject(process_.hProcess, waitMilliseconds) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD status = 0;
        GetExitCodeProcess(process_.hProcess, &status);
        errors_.join();
        errors_ = std::thread([] {});
        return status;
    }
    std::string err;

  private:
    Pipe in_{true}, out_{false}, err_{false};
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    std::thread errors_;
};

TEST_F(CliTest, ArgumentsAreReadAsUtf16AndPathsInChineseWork) {
    const std::string store = dir.file("mobile.db");
    const std::string folder = platform::joinPath(dir.path().string(), "号码 表");
    std::filesystem::create_directory(platform::toPath(folder));
    const std::string output = platform::joinPath(folder, "北京 号段.txt");
    const auto expected = cli({"--db", store, "query", "北京", "--carrier", "移动"});
    ASSERT_EQ(expected.status, 0) << expected.err;
    ASSERT_FALSE(expected.out.empty());
    {
        Child child({"--db", store, "query", "北京", "--carrier", "移动"});
        ASSERT_TRUE(child.started());
        child.closeInput();
        EXPECT_EQ(child.readOutput(), expected.out);
        EXPECT_EQ(child.exitStatus(), 0U) << child.err;
    }
    Child child({"--db", store, "query", "北京", "--carrier", "移动", "-o", output});
    child.closeInput();
    EXPECT_EQ(child.exitStatus(), 0U) << child.err;
    EXPECT_EQ(slurp(output), expected.out);
}

TEST(CliProcess, AReaderThatGoesAwayEndsTheRunQuietlyWithZero) {
    Child child({"all", "1380013", "1390000"});
    child.closeInput();
    EXPECT_EQ(child.readThenLeave(36), "13800130000\n13800130001\n13800130002\n");
    EXPECT_EQ(child.exitStatus(), 0U);
    EXPECT_EQ(child.err, "");
}

// Ctrl-C while a run writes its file: it ends with 128 + 2 and leaves no temporary file. The
// event goes to every process of the console, this test's too: it takes its own share.
BOOL WINAPI takeCtrlC(DWORD event) {
    return event == CTRL_C_EVENT ? TRUE : FALSE;
}

TEST_F(CliTest, CtrlCEndsARunAndLeavesNoTemporaryFile) {
    const std::string output = dir.file("numbers.txt");
    Child child({"all", "-", "-o", output});
    ASSERT_TRUE(child.started());
    child.write("1380013\n");  // the run begins; the rest of its input never comes
    const std::string temporary = dir.file(".numbers.txt.part-" + std::to_string(child.id()));
    while (!std::filesystem::exists(temporary) && !child.exitStatus(0)) {
        Sleep(1);
    }
    ASSERT_TRUE(std::filesystem::exists(temporary));
    SetConsoleCtrlHandler(takeCtrlC, TRUE);
    const bool sent = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != 0;
    const DWORD error = GetLastError();
    if (!sent) {
        SetConsoleCtrlHandler(takeCtrlC, FALSE);
        child.closeInput();
        // Run on a console (as the Windows checks do), this is a failure.
        ASSERT_EQ(std::getenv("HAOMA_ON_A_CONSOLE"), nullptr) << "error " << error;
        GTEST_SKIP() << "no console to send Ctrl-C through (error " << error
                     << "); run this test on a console";
    }
    const auto status = child.exitStatus();
    SetConsoleCtrlHandler(takeCtrlC, FALSE);
    EXPECT_EQ(status, 128U + 2U) << child.err;
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace haoma::cli
