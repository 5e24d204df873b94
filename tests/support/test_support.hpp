// Helpers shared by the tests.
#pragma once

#include <cstdint>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

// Expects the statement to stop the program with a non-zero exit status and
// a standard output matching the regular expression. Standard output is sent
// to standard error inside the child so the death test can see it.
#define EXPECT_STOP(statement, regex)                                   \
    EXPECT_EXIT(                                                        \
        {                                                               \
            std::cout.flush();                                          \
            ::dup2(2, 1);                                               \
            statement;                                                  \
        },                                                              \
        ::testing::ExitedWithCode(1), regex)

namespace corvan::test {

// Marsaglia's xorshift64: a fixed, portable stream of draws for tests.
struct Xorshift64 {
    std::uint64_t seed;
    std::uint64_t operator()() {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    }
};


// A fresh empty directory for the test's files, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Writes text to a file of the directory; returns its path.
    std::string write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path_;
};

std::string read_file(const std::string& path);

// Compares the text of a written file with tests/expected/<golden>, whole;
// a failure names the golden file and the first differing line.
// CORVAN_REGEN_GOLDEN=1 rewrites the golden file instead.
void expect_golden(const std::string& written, const std::string& golden);

}  // namespace corvan::test
