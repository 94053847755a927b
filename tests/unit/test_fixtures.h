#pragma once
// Test input files in tests/fixtures/, found next to this folder.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> ReadFixture(const std::string& name) {
    const auto path =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures" / name;
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}
