#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace orv::testing {

// Whole-file reads and writes for fixtures; both throw std::runtime_error
// naming the file when the system refuses.
std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& file);
void writeFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
void writeFileText(const std::filesystem::path& file, std::string_view text);

// Raw fixture edits at literal offsets, bypassing every encoder.
void poke(std::vector<std::uint8_t>& bytes, std::size_t offset, std::initializer_list<std::uint8_t> values);
void pokeText(std::vector<std::uint8_t>& bytes, std::size_t offset, std::string_view raw);

} // namespace orv::testing
