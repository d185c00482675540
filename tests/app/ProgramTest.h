#pragma once
// The built program run as a user runs it, in a folder of the test's own, with what it printed.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
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

// The peak memory, in kilobytes, of the program run with the arguments, its output thrown away.
inline long PeakKilobytes(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(AMBLA_VIEWER_EXE)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execv(AMBLA_VIEWER_EXE, argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return usage.ru_maxrss;
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
