#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace orv::testing {

// Whole-file reads and writes for fixtures; they throw std::runtime_error naming the file on failure.
inline std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

inline void writeFileText(const std::filesystem::path& file, std::string_view text) {
    writeFileBytes(file, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Raw fixture edits at literal offsets, bypassing every encoder; writing past the end throws.
inline void poke(std::vector<std::uint8_t>& bytes, std::size_t offset,
                 std::initializer_list<std::uint8_t> values) {
    for (std::uint8_t v : values)
        bytes.at(offset++) = v;
}

inline void pokeText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::string_view raw) {
    for (char c : raw)
        bytes.at(offset++) = static_cast<std::uint8_t>(c);
}

} // namespace orv::testing
