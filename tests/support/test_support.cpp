#include "support/test_support.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace corvan::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "corvan";
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = std::filesystem::temp_directory_path() /
            ("corvan_" + name + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& name, const std::string& text) const {
    std::ofstream(file(name), std::ios::trunc) << text;
    return file(name);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void expect_golden(const std::string& written, const std::string& golden) {
    const std::filesystem::path path = std::filesystem::path(CORVAN_SOURCE_DIR) / "tests" / "expected" / golden;
    const std::string got = read_file(written);
    if (const char* r = std::getenv("CORVAN_REGEN_GOLDEN"); r != nullptr && std::string(r) == "1") {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::trunc) << got;
        return;
    }
    const std::string want = read_file(path.string());
    if (got == want) return;
    std::istringstream gs(got), ws(want);
    std::string gl, wl;
    for (int line = 1;; ++line) {
        const bool g_ok = static_cast<bool>(std::getline(gs, gl));
        const bool w_ok = static_cast<bool>(std::getline(ws, wl));
        if (!g_ok || !w_ok || gl != wl) {
            ADD_FAILURE() << path << " differs at line " << line << ":\n  expected: " << (w_ok ? wl : "<end>")
                          << "\n  got:      " << (g_ok ? gl : "<end>");
            return;
        }
    }
}

}  // namespace corvan::test
