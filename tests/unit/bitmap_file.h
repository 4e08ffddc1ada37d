// Writes a small 24-bit Windows bitmap, for tests and benchmarks that need a picture file.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace vern::test {

// A 24-bit bitmap of w × h black pixels at file (its folders are made as needed).
inline void WriteBmp(const std::filesystem::path& file, int w, int h) {
    std::filesystem::create_directories(file.parent_path());
    const int row = (w * 3 + 3) / 4 * 4;
    unsigned char head[54] = {'B', 'M'};
    auto put32 = [&](int at, int v) {
        for (int k = 0; k < 4; ++k) head[at + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    put32(2, 54 + row * h);
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    head[26] = 1;
    head[28] = 24;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(head), sizeof head);
    out << std::string(static_cast<std::size_t>(row * h), '\0');
}

} // namespace vern::test
