#pragma once
// The built program run as a user runs it, in a folder of the test's own, with what it printed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

struct TRun {
    int ExitCode = -1;
    std::string Out, Err;
};

// The program with the arguments, its output kept in dir, or written to outDevice (such as
// /dev/full) and not read back; environment settings such as "NAME=value" or "-u NAME" go before
// it, to env.
inline TRun RunProgram(const std::filesystem::path& dir, const std::vector<std::string>& args,
                       const std::string& environment = {}, const std::string& outDevice = {}) {
    std::string command = "env " + environment + " '" + std::string(AMBLA_VIEWER_EXE) + "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    const std::string out = outDevice.empty() ? (dir / "out").string() : outDevice;
    const int status =
        std::system((command + " >'" + out + "' 2>'" + (dir / "err").string() + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            outDevice.empty() ? ReadAll(dir / "out") : std::string(), ReadAll(dir / "err")};
}

class TProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = std::filesystem::temp_directory_path() /
              ("ambla-app-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    TRun Run(const std::vector<std::string>& args, const std::string& environment = {}) const {
        return RunProgram(Dir, args, environment);
    }

    std::filesystem::path Dir;
};
