#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace tervela::testing {

// A parameterised test case's name: its index, then the letters and digits
// of `text` with each run of other characters starting a capitalised word
// ("--settings FILE is required" as case 3 gives "3_SettingsFILEIsRequired").
inline std::string CaseName(std::size_t index, std::string_view text) {
  std::string name = std::to_string(index) + "_";
  bool word_start = true;
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x80 && std::isalnum(byte)) {
      name.push_back(word_start ? static_cast<char>(std::toupper(byte)) : c);
      word_start = false;
    } else {
      word_start = true;
    }
  }
  return name;
}

}  // namespace tervela::testing
